// The platform's exceptions: CException, the file and archive exceptions and the
// invalid-argument exception.
//
// They are thrown and caught by value (catch by reference), so nothing has to be deleted by the
// catcher. The cause codes are MFC's.
#pragma once

#include <exception>

#include "platform/cstring.h"
#include "platform/types.h"

class SXF_PLATFORM_API CException : public std::exception {
 public:
  ~CException() override = default;
  const char* what() const noexcept override { return "CException"; }
};

class SXF_PLATFORM_API CFileException : public CException {
 public:
  enum {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14
  };
  explicit CFileException(int cause = none, const CString& fileName = CString())
      : m_cause(cause), m_strFileName(fileName) {}
  const char* what() const noexcept override { return "CFileException"; }

  int m_cause;
  CString m_strFileName;
};

class SXF_PLATFORM_API CArchiveException : public CException {
 public:
  enum {
    none = 0,
    genericException = 1,
    readOnly = 2,
    endOfFile = 3,
    writeOnly = 4,
    badIndex = 5,
    badClass = 6,
    badSchema = 7
  };
  explicit CArchiveException(int cause = none) : m_cause(cause) {}
  const char* what() const noexcept override { return "CArchiveException"; }

  int m_cause;
};

// Raised where a caller passes an argument no call may have, such as a negative index or an
// index past the end of an array whose accessor cannot answer with an empty value (MFC raises it
// in the same places).
class SXF_PLATFORM_API CInvalidArgException : public CException {
 public:
  CInvalidArgException() = default;
  const char* what() const noexcept override { return "CInvalidArgException"; }
};
