// New-format group record.
//
//   group record := tag 1 { string name }
//                   tag 100 { ATRU record }   one per attribute, in list order
//                   tag 101 { group record }  one per sub-group, in list order
//                   int32 0
//
// Readers take the tags in any order and number and skip unknown ones. The record keeps no
// isAttrSetRef: sub-groups come back as plain groups.
#include <memory>

#include "model/attr_grp.h"
#include "model/new_format.h"
#include "model/record_tags.h"
#include "model/value_records.h"

using namespace new_format;

int SxfZCdbAttrGrp::NewWrite(CArchive& ar) {
  return NewWriteTree(ar, 1);
}

int SxfZCdbAttrGrp::NewWriteTree(CArchive& ar, int depth) {
  WriteBlock(ar, kTagFields, [&](CArchive& block) { block << info->name; });
  for (int i = 0; i < info->attrs.GetCount(); ++i) {
    const SxfZCdbATRU& attr = info->attrs[i];
    if (!WriteBlock(ar, kTagGroupAttr, [&](CArchive& block) { return NewWriteATRU(block, attr); })) return 0;
  }
  for (int i = 0; i < info->groups.GetCount(); ++i) {
    SxfZCdbAttrGrp* group = info->groups[i];
    if (depth >= kMaxGroupDepth) return 0;
    if (!WriteBlock(ar, kTagGroupSubGroup,
                    [&](CArchive& block) { return group ? group->NewWriteTree(block, depth + 1) : 0; }))
      return 0;
  }
  WriteEnd(ar);
  return 1;
}

int SxfZCdbAttrGrp::NewRead(CArchive& ar, int merge) {
  return NewReadTree(ar, merge, 1);
}

int SxfZCdbAttrGrp::NewReadTree(CArchive& ar, int merge, int depth) {
  return ReadRecord(ar, [&](LONG tag, CArchive& block) -> int {
    switch (tag) {
      case kTagFields: {
        CString droppedName;
        CString& name = merge ? droppedName : info->name;
        ReadFields(block, [&](CArchive& in) { in >> name; });
        return 1;
      }
      case kTagGroupAttr:
        return info->attrs.AddBuilt([&](SxfZCdbATRU& attr) { return NewReadATRU(block, attr) != 0; },
                                    block.Slabs())
                   ? 1
                   : 0;
      case kTagGroupSubGroup: {
        if (depth >= kMaxGroupDepth) return 0;
        // The sub-group joins the list before it is read, so a failure keeps what it read.
        SlabCache* slabs = block.Slabs();
        std::unique_ptr<SxfZCdbAttrGrp> owned(NewFromSlab<SxfZCdbAttrGrp>(slabs));
        SxfZCdbAttrGrp* group = owned.get();
        info->groups.AddBuilt(
            [&](SxfZCdbAttrGrp*& slot) {
              slot = owned.release();
              return true;
            },
            slabs);
        return group->NewReadTree(block, 0, depth + 1);
      }
      default:
        return 1;
    }
  });
}
