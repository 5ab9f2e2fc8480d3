#include "entries/alloc_meter.h"

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

namespace {

struct MeterState {
  bool installed = false;
  bool armed = false;
  bool exceeded = false;
  int64_t held = 0;
  int64_t peak = 0;
  uint64_t limit = 0;
  AllocMeter::ExceedHandler handler = nullptr;
};

// A function-local object: the hooks may run before or after any other static is constructed.
MeterState& State() {
  static MeterState state;
  return state;
}

#if defined(SXF_ALLOC_METER)
void OnMalloc(const volatile void*, size_t size) {
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

void OnFree(const volatile void* p) {
  MeterState& s = State();
  if (!s.armed || p == nullptr) return;
  s.held -= static_cast<int64_t>(__sanitizer_get_allocated_size(p));
}
#endif

}  // namespace

bool AllocMeter::Available() {
#if defined(SXF_ALLOC_METER)
  return true;
#else
  return false;
#endif
}

void AllocMeter::SetExceedHandler(ExceedHandler handler) {
  State().handler = handler;
}

void AllocMeter::Begin(size_t inputSize) {
  MeterState& s = State();
#if defined(SXF_ALLOC_METER)
  if (!s.installed) {
    __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree);
    s.installed = true;
  }
#endif
  s.held = 0;
  s.peak = 0;
  s.exceeded = false;
  s.limit = LimitFor(inputSize);
  s.armed = true;
}

void AllocMeter::End() {
  State().armed = false;
}

int64_t AllocMeter::Peak() {
  return State().peak;
}

bool AllocMeter::Exceeded() {
  return State().exceeded;
}
