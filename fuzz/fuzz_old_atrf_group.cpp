// Fuzz target: old-format attribute-file, group, set and value records; the first byte picks the
// reader (entries/atrf_group_entries.cpp).
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_old_atrf_group", ReadOldAtrfGroup, data, size);
}
