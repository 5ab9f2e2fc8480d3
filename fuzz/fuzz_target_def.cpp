#include "target_def_entry.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_target_def", ReadTargetDef, data, size);
}
