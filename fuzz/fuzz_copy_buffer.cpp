// Fuzz target: the copy-buffer section, tagged form or old handle-prefixed form by the first
// byte, read into a buffer's database and written back (entries/section_entries.cpp).
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_copy_buffer", ReadCopyBuffer, data, size);
}
