// Fuzz target: the JSON document reader of `sxfattr import` (import_json_entry.h).
#include "fuzz_target.h"
#include "import_json_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_import_json", ReadImportJson, data, size);
}
