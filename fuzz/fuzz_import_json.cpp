// Fuzz target: the JSON document reader of `sxfattr import` (entries/import_json_entry.cpp).
#include "entries/import_json_entry.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_import_json", ReadImportJson, data, size);
}
