// FailingFile: a memory file that runs out of room after a fixed number of bytes.
//
// Writes land in memory like CMemFile's until the limit is reached; the write that would pass it
// stores the bytes that still fit and then raises CFileException diskFull, as a full disk does.
// Every later write fails the same way. Reads, seeks and the length behave as CMemFile's, so a
// failed section can be inspected afterwards. Header-only so any test program can use it.
#pragma once

#include <algorithm>

#include "platform/cfile.h"
#include "platform/exceptions.h"

class FailingFile : public CMemFile {
 public:
  explicit FailingFile(ULONGLONG limit) : limit_(limit) {}

  void Write(const void* buffer, UINT count) override {
    ULONGLONG position = GetPosition();
    if (position + count <= limit_) {
      CMemFile::Write(buffer, count);
      return;
    }
    UINT fits = position < limit_ ? static_cast<UINT>(limit_ - position) : 0;
    if (fits > 0) CMemFile::Write(buffer, fits);
    ++failures_;
    throw CFileException(CFileException::diskFull);
  }

  // How many writes were refused.
  int Failures() const { return failures_; }

 private:
  ULONGLONG limit_;
  int failures_ = 0;
};
