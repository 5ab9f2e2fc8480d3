// New-format ATRF record.
//
//   ATRF record := tag 100 { group record of one reference } * n  int32 0
//
// RefIds are taken as stored; the database argument of NewRead is not used.
#include <memory>

#include "model/atrf.h"
#include "model/new_format.h"
#include "model/record_tags.h"

using namespace new_format;

int SxfZCdbATRF::NewWrite(CArchive& ar) {
  for (int i = 0; i < info->GetCount(); ++i) {
    SxfZCdbAttrSetRef* ref = (*info)[i];
    if (!WriteBlock(ar, kTagAtrfSetRef, [&](CArchive& block) { return ref ? ref->NewWrite(block) : 0; })) {
      return 0;
    }
  }
  WriteEnd(ar);
  return 1;
}

int SxfZCdbATRF::NewRead(CArchive& ar, SxfZCdbAttrDB*) {
  ClrAttrSetRefData();
  return ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag != kTagAtrfSetRef) return 1;
    SlabCache* slabs = block.Slabs();
    std::unique_ptr<SxfZCdbAttrSetRef> ref(NewFromSlab<SxfZCdbAttrSetRef>(slabs));
    if (!ref->NewRead(block, 0)) return 0;
    info->AddBuilt(
        [&](SxfZCdbAttrSetRef*& slot) {
          slot = ref.release();
          return true;
        },
        slabs);
    return 1;
  });
}
