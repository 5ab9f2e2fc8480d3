// Fuzz target: the recovery of damaged drawing sections of either layout
// (entries/recover_entry.cpp).
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_recover", RecoverSection, data, size);
}
