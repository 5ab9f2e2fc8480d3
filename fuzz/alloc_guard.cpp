// The fuzz targets' policy for AllocMeter: an input that makes a reader hold more than its limit
// is a finding, reported with the allocating stack and ended like a crash, so that libFuzzer
// saves the input.
#include <cstdio>
#include <cstdlib>

#include "entries/alloc_meter.h"

extern "C" void __sanitizer_print_stack_trace();

namespace {

void AbortOnExcess(uint64_t limit, uint64_t held) {
  // No stdio buffering: the process ends right here.
  std::fprintf(
      stderr,
      "==ALLOC GUARD== a reader holds %llu bytes, over its limit of %llu (%llu per input byte + %llu)\n",
      static_cast<unsigned long long>(held), static_cast<unsigned long long>(limit),
      static_cast<unsigned long long>(kAllocPerInputByte), static_cast<unsigned long long>(kAllocMargin));
  __sanitizer_print_stack_trace();
  std::abort();
}

const bool installed = (AllocMeter::SetExceedHandler(&AbortOnExcess), true);

}  // namespace
