// Fuzz target: old-format figure records, read by ZCdbAttrFigureReadVer3 into a fresh figure with
// a fresh attribute database.
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RunFuzzEntry("fuzz_old_figure", ReadOldFigure, data, size);
}
