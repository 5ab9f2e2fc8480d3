// New-format records of attribute values.
//
//   ATRS record := tag 1 { string name, string type, string unit }  int32 0
//   ATRU record := tag 1 { int32 kind, string value, string zukeiName }
//                  tag 100 { ATRS record of the same attribute }  int32 0
//
// A tag-1 block that ends early leaves the remaining fields as they were; other tags are skipped.
#include <memory>

#include "model/atrs.h"
#include "model/atru.h"
#include "model/new_format.h"
#include "model/record_tags.h"
#include "model/value_records.h"

using namespace new_format;

int NewWriteATRS(CArchive& ar, const SxfZCdbATRS& atrs) {
  WriteBlock(ar, kTagFields, [&](CArchive& block) { block << atrs.name << atrs.type << atrs.unit; });
  WriteEnd(ar);
  return 1;
}

int NewReadATRS(CArchive& ar, SxfZCdbATRS& atrs) {
  return ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag == kTagFields) {
      ReadFields(block, [&](CArchive& in) { in >> atrs.name >> atrs.type >> atrs.unit; });
    }
    return 1;
  });
}

int NewWriteATRU(CArchive& ar, const SxfZCdbATRU& atru) {
  WriteBlock(ar, kTagFields,
             [&](CArchive& block) { block << static_cast<int>(atru.kind) << atru.value << atru.zukeiName; });
  if (!WriteBlock(ar, kTagAtruDefinition, [&](CArchive& block) { return NewWriteATRS(block, atru); }))
    return 0;
  WriteEnd(ar);
  return 1;
}

int NewReadATRU(CArchive& ar, SxfZCdbATRU& atru) {
  return ReadRecord(ar, [&](LONG tag, CArchive& block) {
    switch (tag) {
      case kTagFields:
        ReadFields(block, [&](CArchive& in) { in >> atru.kind >> atru.value >> atru.zukeiName; });
        return 1;
      case kTagAtruDefinition:
        return NewReadATRS(block, atru);
      default:
        return 1;
    }
  });
}

SxfZCdbATRU* NewReadATRU(CArchive& ar) {
  std::unique_ptr<SxfZCdbATRU> atru(NewFromSlab<SxfZCdbATRU>(ar.Slabs()));
  return NewReadATRU(ar, *atru) ? atru.release() : nullptr;
}
