#include "model/atrs.h"

SxfZCdbATRS::~SxfZCdbATRS() = default;

int SxfZCdbATRS::IsSame(const SxfZCdbATRS& other) const {
  return name == other.name && type == other.type && unit == other.unit ? 1 : 0;
}
