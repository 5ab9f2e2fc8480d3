// New-format record of a set definition (set references use the group record unchanged).
//
//   set definition := tag 1 { string name, string version, string designer, string id }  int32 0
//
// The delete mark is not stored; reading leaves it as it was.
#include "model/attr_set_def.h"
#include "model/new_format.h"
#include "model/record_tags.h"

using namespace new_format;

int SxfZCdbAttrSetDef::NewWrite(CArchive& ar) {
  WriteBlock(ar, kTagFields, [&](CArchive& block) { block << name << version << designer << id; });
  WriteEnd(ar);
  return 1;
}

int SxfZCdbAttrSetDef::NewRead(CArchive& ar) {
  return ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag == kTagFields) {
      ReadFields(block, [&](CArchive& in) { in >> name >> version >> designer >> id; });
    }
    return 1;
  });
}
