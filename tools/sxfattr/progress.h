// A progress line on standard error for long work.
//
// The line is shown only when standard error is a terminal and the work is long: more than
// kProgressFigures figures, or, where only bytes are known, more than kProgressBytes bytes (about
// what that many small figures take in a section). It is redrawn at most a few times a second
// and erased when the work ends, so nothing of it stays in a terminal or reaches a file or pipe.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/cfile.h"

inline constexpr uint64_t kProgressFigures = 100000;
inline constexpr uint64_t kProgressBytes = kProgressFigures * 32;

class Progress {
 public:
  // what names the work ("reading in.sxfattr"); total is the amount of work in unit ("figures"
  // or "bytes"), 0 when it is not known beforehand; show says whether the work is long enough to
  // be shown.
  Progress(const std::string& what, uint64_t total, const char* unit, bool show);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Update(uint64_t done);

 private:
  void Erase();

  std::string what_;
  uint64_t total_;
  const char* unit_;
  bool active_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point next_;
};

// A memory file that reports how far its reader has got, for the plug-in's section readers.
class ProgressMemFile : public CMemFile {
 public:
  ProgressMemFile(BYTE* buffer, UINT size, Progress& progress)
      : CMemFile(buffer, size), progress_(progress) {}
  UINT Read(void* buffer, UINT count) override {
    const UINT got = CMemFile::Read(buffer, count);
    progress_.Update(GetPosition());
    return got;
  }

 private:
  Progress& progress_;
};

// A growing memory file that reports how much its writer has written.
class ProgressWriteFile : public CMemFile {
 public:
  explicit ProgressWriteFile(Progress& progress) : CMemFile(1 << 20), progress_(progress) {}
  void Write(const void* buffer, UINT count) override {
    CMemFile::Write(buffer, count);
    progress_.Update(GetLength());
  }

 private:
  Progress& progress_;
};
