#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace {

constexpr std::chrono::milliseconds kRedrawInterval(200);

}  // namespace

Progress::Progress(const std::string& what, uint64_t total, const char* unit, bool show)
    : what_(what), total_(total), unit_(unit), active_(show && isatty(STDERR_FILENO) != 0) {
  next_ = std::chrono::steady_clock::now();
}

Progress::~Progress() {
  Erase();
}

void Progress::Update(uint64_t done) {
  if (!active_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_) return;
  next_ = now + kRedrawInterval;
  if (total_ > 0) {
    std::fprintf(stderr, "\r%s: %llu of %llu %s (%u%%)\x1b[K", what_.c_str(),
                 static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_), unit_,
                 static_cast<unsigned>(done * 100 / total_));
  } else {
    std::fprintf(stderr, "\r%s: %llu %s\x1b[K", what_.c_str(), static_cast<unsigned long long>(done), unit_);
  }
  std::fflush(stderr);
  drawn_ = true;
}

void Progress::Erase() {
  if (!drawn_) return;
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}
