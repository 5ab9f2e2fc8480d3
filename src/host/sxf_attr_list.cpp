#include "host/sxf_attr_list.h"

#include <cstring>

namespace {

struct Unit {
  const char* name;
  double inMicrometres;
};

// Length units as SXF writes them. Sizes are whole numbers of micrometres, so a conversion is one
// exact multiplication (for ordinary values) and one correctly rounded division: 12.5 cm gives
// exactly 0.125 m.
const Unit kLengthUnits[] = {{"km", 1e9}, {"m", 1e6}, {"cm", 1e4}, {"mm", 1e3}, {"um", 1.0}};

const Unit* FindLength(const char* name) {
  for (const Unit& unit : kLengthUnits) {
    if (std::strcmp(unit.name, name) == 0) return &unit;
  }
  return nullptr;
}

}  // namespace

CSxfAttrList::CSxfAttrList(const CEnvironObj* env) : env_(env) {}

CSxfAttrList::~CSxfAttrList() = default;

int CSxfAttrList::CONVVAL(const char* category, const char* from, const char* to, double& value) const {
  if (!category || !from || !to || std::strcmp(category, "LEN") != 0) return 0;
  const Unit* source = FindLength(from);
  const Unit* target = FindLength(to);
  if (!source || !target) return 0;
  // Same unit: leave the value bit for bit as it is rather than multiply and divide by 1.
  if (source != target) value = value * source->inMicrometres / target->inMicrometres;
  return 1;
}
