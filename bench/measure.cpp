#include "measure.h"

#include <time.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/cfile.h"

namespace {

constexpr UINT kPiece = 1 << 16;

}  // namespace

double CpuSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double WallSeconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

long StatusKib(const char* field) {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return -1;
  char line[256];
  long kib = -1;
  const size_t len = std::strlen(field);
  while (std::fgets(line, sizeof line, f) != nullptr) {
    if (std::strncmp(line, field, len) == 0 && line[len] == ':') {
      kib = std::strtol(line + len + 1, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return kib;
}

bool ResetPeakResident() {
  FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (f == nullptr) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

double RawReadSeconds(const std::string& path, ULONGLONG* sum) {
  static std::vector<BYTE> piece(kPiece);
  const double start = CpuSeconds();
  CFile file(path.c_str(), CFile::modeRead);
  ULONGLONG total = 0;
  for (UINT got; (got = file.Read(piece.data(), kPiece)) != 0;) {
    for (UINT i = 0; i < got; ++i) total += piece[i];
  }
  file.Close();
  const double seconds = CpuSeconds() - start;
  *sum = total;
  return seconds;
}

double RawWriteSeconds(const std::string& path, ULONGLONG bytes) {
  static std::vector<BYTE> piece(kPiece, 0x5A);
  const double start = CpuSeconds();
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  for (ULONGLONG left = bytes; left > 0;) {
    const UINT n = left < kPiece ? static_cast<UINT>(left) : kPiece;
    file.Write(piece.data(), n);
    left -= n;
  }
  file.Close();
  return CpuSeconds() - start;
}

ULONGLONG FileFingerprint(const std::string& path, ULONGLONG* bytes) {
  std::vector<BYTE> piece(kPiece);
  CFile file(path.c_str(), CFile::modeRead);
  ULONGLONG hash = 1469598103934665603ULL, total = 0;
  for (UINT got; (got = file.Read(piece.data(), kPiece)) != 0;) {
    for (UINT i = 0; i < got; ++i) hash = (hash ^ piece[i]) * 1099511628211ULL;
    total += got;
  }
  *bytes = total;
  return hash;
}
