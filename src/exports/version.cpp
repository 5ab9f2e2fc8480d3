#include "exports/version.h"

const char* SxfAttrVersion() {
  return "0.1.0";
}
