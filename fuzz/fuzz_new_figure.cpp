// Fuzz target: new-format figure records, read by SxfZCdbFigure::NewRead from a loading archive.
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_new_figure", ReadNewFigure, data, size);
}
