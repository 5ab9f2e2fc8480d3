// Fuzz target: the drawing-file section in the tagged layout, read by SxfZCdbAttrDB::Read into a
// drawing and written back (entries/section_entries.cpp).
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_new_section", ReadNewSection, data, size);
}
