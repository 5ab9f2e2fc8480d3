// AllocMeter: measures how much heap memory one reader run holds at its peak.
//
// A reader must never hold more than a small multiple of its input: kAllocPerInputByte bytes per
// input byte plus kAllocMargin. The meter counts every heap block that the process allocates and
// frees between Begin and End (malloc, calloc, realloc and operator new alike, the plug-in's and
// the host's included) and keeps the peak of the bytes held. Exceeding the limit calls the
// handler installed with SetExceedHandler at once, from inside the allocation, so a handler that
// aborts leaves the allocating stack in its report; without a handler the meter only remembers
// that the limit was exceeded.
//
// The counts come from the address sanitizer's allocation hooks, so the meter works only in
// builds with AddressSanitizer (the fuzz targets always have it). Elsewhere Available() is false
// and Begin and End do nothing. Blocks allocated before Begin and freed during the run lower the
// count; the readers only free what they allocated themselves, so this does not hide growth.
// Not thread-safe: one run at a time, on one thread.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint64_t kAllocPerInputByte = 64;
inline constexpr uint64_t kAllocMargin = uint64_t{1} << 20;

class AllocMeter {
 public:
  // Called with the limit and the bytes held when a run first goes over its limit.
  using ExceedHandler = void (*)(uint64_t limit, uint64_t held);

  static bool Available();
  static uint64_t LimitFor(size_t inputSize) { return kAllocPerInputByte * inputSize + kAllocMargin; }
  static void SetExceedHandler(ExceedHandler handler);

  // Starts counting for one reader run over an input of inputSize bytes; End stops it.
  static void Begin(size_t inputSize);
  static void End();

  // Results of the last run.
  static int64_t Peak();
  static bool Exceeded();
};

// Meters the reader run of its lifetime.
class MeteredRun {
 public:
  explicit MeteredRun(size_t inputSize) { AllocMeter::Begin(inputSize); }
  ~MeteredRun() { AllocMeter::End(); }
  MeteredRun(const MeteredRun&) = delete;
  MeteredRun& operator=(const MeteredRun&) = delete;
};
