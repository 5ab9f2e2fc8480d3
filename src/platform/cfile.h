// CFile (a disk file) and CMemFile (a growable memory file), with MFC's interface.
//
// Read returns the number of bytes read (fewer at the end of the file, never an exception for
// that). Write writes all bytes or raises CFileException. Seek raises CFileException (badSeek)
// for a position before the start. A closed or unopened file raises CFileException on use.
// Reads and writes on one open file may follow each other in any order. modeCreate with
// modeNoTruncate opens an existing file as it is (writes land where the file stands) and creates
// a missing one.
#pragma once

#include <cstdio>

#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/types.h"

class SXF_PLATFORM_API CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  // Opens the file or raises CFileException.
  CFile(const char* path, UINT flags);
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens the file; on failure returns FALSE and fills *error when given.
  virtual BOOL Open(const char* path, UINT flags, CFileException* error = nullptr);
  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void Flush();
  virtual void Close();
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  CString GetFilePath() const { return path_; }

 private:
  // C streams need a seek between a write and a following read (and back); the file inserts it.
  enum class LastIo { kNone, kRead, kWrite };
  void SwitchTo(LastIo next);

  std::FILE* fp_ = nullptr;
  CString path_;
  mutable LastIo lastIo_ = LastIo::kNone;
};

class SXF_PLATFORM_API CMemFile : public CFile {
 public:
  explicit CMemFile(UINT growBytes = 1024);
  // Attaches to a caller's buffer of size bytes. With growBytes 0 the buffer's bytes are the
  // file's contents and the file cannot grow past them (a write past the end raises
  // CFileException diskFull). With growBytes above 0 the file starts empty, as in MFC, and a
  // write past the buffer moves the contents to memory of the file's own. The buffer stays the
  // caller's.
  CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
  ~CMemFile() override;

  void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
  // Hands the written bytes to the caller (release with free()) and empties the file.
  BYTE* Detach();
  // Takes over a buffer from malloc() holding size bytes; the file frees it (not in MFC).
  void Adopt(BYTE* buffer, UINT size);

  BOOL Open(const char* path, UINT flags, CFileException* error = nullptr) override;
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetPosition() const override { return position_; }
  ULONGLONG GetLength() const override { return length_; }
  void Flush() override {}
  void Close() override;
  void SetLength(ULONGLONG length);

  // Direct view of the contents (not in MFC; used by tests and the tool).
  const BYTE* Data() const { return data_; }

 private:
  void Free();
  void GrowTo(size_t needed);

  BYTE* data_ = nullptr;
  size_t capacity_ = 0;
  size_t length_ = 0;
  size_t position_ = 0;
  UINT growBytes_ = 1024;
  bool owned_ = true;
};
