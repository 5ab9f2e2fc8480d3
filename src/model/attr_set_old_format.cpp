// Old-format records of set references and set definitions.
//
//   set definition      := byte version (1)  string name  string version  string designer  string id
//   set reference       := group record (see group_old_format.cpp); the name is the RefId
//   attribute set (read only, oldest files), by its version byte v:
//     v = 1     := byte 1  string name  string version  string designer  int32 k
//                  group record * k (the set's sub-groups)  group record (merged into the set)
//     v = 0, 2  := byte v  string version  string designer  group record (name and content)
//
// The delete mark of a definition is not stored.
#include "model/attr_set.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/old_format.h"
#include "model/record_tags.h"
#include "model/set_def_registry.h"

using namespace old_format;

int SxfZCdbAttrSetDef::Write(CFile* file) {
  return WriteByte(file, kSetDefRecordVersion) && WriteString(file, name) && WriteString(file, version) &&
                 WriteString(file, designer) && WriteString(file, id)
             ? 1
             : 0;
}

int SxfZCdbAttrSetDef::Read(CFile* file) {
  BYTE v;
  if (!ReadByte(file, v) || v > kSetDefRecordVersion) return 0;
  return ReadString(file, name) && ReadString(file, version) && ReadString(file, designer) &&
                 ReadString(file, id)
             ? 1
             : 0;
}

int SxfZCdbAttrSetRef::Read(CFile* file, int) {
  return SxfZCdbAttrGrp::Read(file, 0);
}

int SxfZCdbAttrSetRef::Write(CFile* file) {
  return SxfZCdbAttrGrp::Write(file);
}

SxfZCdbAttrSet::~SxfZCdbAttrSet() = default;

int SxfZCdbAttrSet::ReadSetRecord(CFile* file) {
  BYTE v;
  if (!ReadByte(file, v) || v > kAttrSetRecordMaxVersion) return 0;
  if (v != kAttrSetRecordSplitVersion) {
    return ReadString(file, version) && ReadString(file, designer) && Read(file, 0) ? 1 : 0;
  }
  CString setName;
  if (!ReadString(file, setName) || !ReadString(file, version) || !ReadString(file, designer)) return 0;
  SetName(setName);
  LONG k;
  if (!ReadInt32(file, k)) return 0;
  // The listed groups are the set's sub-groups: one level below the set, which counts as level 1
  // like any group read into, so deep nesting is refused exactly where a set reference's would be.
  for (LONG i = 0; i < k; ++i) {
    if (!AddAttrGrpData(nullptr)->ReadTree(file, 0, 2)) return 0;
  }
  // The trailing group brings the set's own attributes and further sub-groups, not a name.
  return Read(file, 1);
}

int ReadOldAttrSetRecord(CFile* file, SxfZCdbAttrSetRef& ref, SetDefRegistry* registry) {
  // Without a registry the set cannot be given an id: refuse rather than keep a name as RefId.
  if (!registry) return 0;
  SxfZCdbAttrSet set;
  if (!set.ReadSetRecord(file)) return 0;
  const SxfZCdbAttrSetDef* def = registry->Register(set.GetName(), set.version, set.designer);
  if (!def) return 0;
  static_cast<SxfZCdbAttrGrp&>(ref) = set;
  ref.SetRefId(def->GetId());
  ref.isAttrSetRef = 1;
  return 1;
}
