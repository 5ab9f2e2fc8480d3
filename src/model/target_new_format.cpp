// New-format target definition record.
//
//   target record := tag 1 { string name, string version, string designer }
//                    tag 100 { entry record } * n  int32 0
//   entry record  := tag 1 { DWORD handle, string memo }  int32 0
//
// Reading appends to the entries already held; early ends of tag-1 blocks keep the fields not
// yet read.
#include "model/new_format.h"
#include "model/record_tags.h"
#include "model/target.h"
#include "model/target_info.h"

using namespace new_format;

int SxfZCdbTarget::NewWrite(CArchive& ar) {
  WriteBlock(ar, kTagFields,
             [&](CArchive& block) { block << info_->name << info_->version << info_->designer; });
  for (int i = 0; i < info_->count; ++i) {
    const RecTargetData& rec = info_->data[i];
    WriteBlock(ar, kTagTargetEntry, [&](CArchive& entry) {
      WriteBlock(entry, kTagFields, [&](CArchive& block) { block << rec.handle << rec.memo; });
      WriteEnd(entry);
    });
  }
  WriteEnd(ar);
  return 1;
}

int SxfZCdbTarget::NewRead(CArchive& ar) {
  // Each entry joins the list as soon as it is read, so an exception later in the record keeps
  // the entries read before it.
  return ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag == kTagFields) {
      ReadFields(block, [&](CArchive& in) { in >> info_->name >> info_->version >> info_->designer; });
    } else if (tag == kTagTargetEntry) {
      RecTargetData rec;
      ReadRecord(block, [&](LONG entryTag, CArchive& fields) {
        if (entryTag == kTagFields) ReadFields(fields, [&](CArchive& in) { in >> rec.handle >> rec.memo; });
        return 1;
      });
      info_->Add(rec);
    }
    return 1;
  });
}
