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

#if defined(__SANITIZE_ADDRESS__)
#define SXF_ALLOC_METER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SXF_ALLOC_METER 1
#endif
#endif

#if defined(SXF_ALLOC_METER)
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#endif

inline constexpr uint64_t kAllocPerInputByte = 64;
inline constexpr uint64_t kAllocMargin = uint64_t{1} << 20;

class AllocMeter {
 public:
  // Called with the limit and the bytes held when a run first goes over its limit.
  using ExceedHandler = void (*)(uint64_t limit, uint64_t held);

  static bool Available() {
#if defined(SXF_ALLOC_METER)
    return true;
#else
    return false;
#endif
  }

  static uint64_t LimitFor(size_t inputSize) {
    return kAllocPerInputByte * inputSize + kAllocMargin;
  }

  static void SetExceedHandler(ExceedHandler handler) {
    State().handler = handler;
  }

  // Starts counting for one reader run over an input of inputSize bytes.
  static void Begin(size_t inputSize) {
    Install();
    MeterState& s = State();
    s.held = 0;
    s.peak = 0;
    s.exceeded = false;
    s.limit = LimitFor(inputSize);
    s.armed = true;
  }
  static void End() {
    State().armed = false;
  }

  // Results of the last run.
  static int64_t Peak() {
    return State().peak;
  }
  static bool Exceeded() {
    return State().exceeded;
  }

 private:
  struct MeterState {
    bool installed = false;
    bool armed = false;
    bool exceeded = false;
    int64_t held = 0;
    int64_t peak = 0;
    uint64_t limit = 0;
    ExceedHandler handler = nullptr;
  };
  static MeterState& State() {
    static MeterState state;
    return state;
  }

#if defined(SXF_ALLOC_METER)
  static void OnMalloc(const volatile void*, size_t size) {
    MeterState& s = State();
    if (!s.armed) return;
    s.held += static_cast<int64_t>(size);
    if (s.held > s.peak) s.peak = s.held;
    if (!s.exceeded && s.peak > static_cast<int64_t>(s.limit)) {
      s.exceeded = true;
      // Disarmed first: the handler may itself allocate.
      s.armed = false;
      if (s.handler) s.handler(s.limit, static_cast<uint64_t>(s.peak));
      s.armed = true;
    }
  }
  static void OnFree(const volatile void* p) {
    MeterState& s = State();
    if (!s.armed || p == nullptr) return;
    s.held -= static_cast<int64_t>(__sanitizer_get_allocated_size(p));
  }
#endif

  static void Install() {
#if defined(SXF_ALLOC_METER)
    MeterState& s = State();
    if (!s.installed) {
      __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree);
      s.installed = true;
    }
#endif
  }
};

// Meters the reader run of its lifetime.
class MeteredRun {
 public:
  explicit MeteredRun(size_t inputSize) { AllocMeter::Begin(inputSize); }
  ~MeteredRun() { AllocMeter::End(); }
  MeteredRun(const MeteredRun&) = delete;
  MeteredRun& operator=(const MeteredRun&) = delete;
};
