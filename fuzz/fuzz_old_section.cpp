// Fuzz target: the drawing-file section in the old layouts, read by SxfZCdbAttrDB::Read into a
// drawing and written back (entries/section_entries.cpp).
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_old_section", ReadOldSection, data, size);
}
