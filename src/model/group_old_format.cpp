// Old-format group record.
//
//   group record := byte version (2)  file-string name
//                   int32 n  ATRU record * n
//                   int32 m  group record * m        (version 2 only)
//
// Versions 0 and 1 end after the attributes. The record keeps no isAttrSetRef: sub-groups come
// back as plain groups and the group read into keeps its own value.
#include <memory>

#include "model/attr_grp.h"
#include "model/old_format.h"
#include "model/record_tags.h"
#include "model/value_records.h"

using namespace old_format;

int SxfZCdbAttrGrp::Write(CFile* file) {
  return WriteTree(file, 1);
}

int SxfZCdbAttrGrp::WriteTree(CFile* file, int depth) {
  if (!WriteByte(file, kGroupRecordVersion) || !WriteString(file, info->name)) return 0;
  if (!WriteInt32(file, info->attrs.GetCount())) return 0;
  for (int i = 0; i < info->attrs.GetCount(); ++i)
    if (!WriteATRU(file, info->attrs[i])) return 0;
  if (!WriteInt32(file, info->groups.GetCount())) return 0;
  for (int i = 0; i < info->groups.GetCount(); ++i) {
    if (depth >= kMaxGroupDepth) return 0;
    if (!info->groups[i] || !info->groups[i]->WriteTree(file, depth + 1)) return 0;
  }
  return 1;
}

int SxfZCdbAttrGrp::Read(CFile* file, int merge) {
  return ReadTree(file, merge, 1);
}

int SxfZCdbAttrGrp::ReadTree(CFile* file, int merge, int depth) {
  if (!merge) ClrAll();
  BYTE version;
  if (!ReadByte(file, version) || version > kGroupRecordVersion) return 0;
  // A merged record (the trailing group of an old attribute set) brings content, not a name.
  CString droppedName;
  if (!ReadString(file, merge ? droppedName : info->name)) return 0;

  // Items are read and kept one at a time: a count larger than what follows fails at the first
  // missing item and leaves the items before it in the group. Nothing is sized by the count, and
  // each item takes at least one byte, so a huge count ends at the end of the data.
  LONG count;
  if (!ReadInt32(file, count)) return 0;
  for (LONG i = 0; i < count; ++i) {
    std::unique_ptr<SxfZCdbATRU> attr(ReadATRU(file));
    if (!attr) return 0;
    info->attrs.Add(*attr);
  }
  if (version < kGroupFirstVersionWithSubGroups) return 1;

  if (!ReadInt32(file, count)) return 0;
  for (LONG i = 0; i < count; ++i) {
    if (depth >= kMaxGroupDepth) return 0;
    std::unique_ptr<SxfZCdbAttrGrp> group(new SxfZCdbAttrGrp);
    if (!group->ReadTree(file, 0, depth + 1)) return 0;
    info->groups.Add(group.get());
    group.release();
  }
  return 1;
}
