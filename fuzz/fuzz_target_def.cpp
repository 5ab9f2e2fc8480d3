// Fuzz target: target definition records, old and new; the first byte picks the reader
// (entries/target_def_entry.cpp).
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_target_def", ReadTargetDef, data, size);
}
