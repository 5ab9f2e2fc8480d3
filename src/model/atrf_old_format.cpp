// Old-format ATRF record.
//
//   ATRF record := byte version (4)  int32 n  reference * n
//   reference   := group record                  (versions 3 and 4)
//               |  attribute set record          (versions 0 to 2, see attr_set_old_format.cpp)
//
// Versions 3 and 4 may name a set by its name instead of its id; reading turns such a RefId into
// the id of the definition of that name when the database has one.
#include <memory>

#include "model/atrf.h"
#include "model/attr_set_def.h"
#include "model/old_format.h"
#include "model/record_tags.h"
#include "model/set_def_registry.h"

using namespace old_format;

namespace {

bool AllDigits(const char* text) {
  for (; *text; ++text) {
    if (*text < '0' || *text > '9') return false;
  }
  return true;
}

}  // namespace

int SxfZCdbATRF::Write(CFile* file) {
  if (!WriteByte(file, kAtrfRecordVersion) || !WriteInt32(file, info->GetCount())) return 0;
  for (int i = 0; i < info->GetCount(); ++i) {
    if (!(*info)[i] || !(*info)[i]->Write(file)) return 0;
  }
  return 1;
}

int ReadOldAtrfRecord(CFile* file, SxfZCdbATRF& atrf, SetDefRegistry* registry) {
  BYTE version;
  LONG count;
  if (!ReadByte(file, version) || version > kAtrfRecordVersion || !ReadInt32(file, count)) return 0;
  atrf.ClrAttrSetRefData();
  // References are read and kept one at a time (see the group record): a count beyond what
  // follows fails at the first missing reference with the ones before it kept.
  const bool byName = version >= kAtrfFirstVersionWithGroups;
  for (LONG i = 0; i < count; ++i) {
    std::unique_ptr<SxfZCdbAttrSetRef> ref(new SxfZCdbAttrSetRef);
    if (!byName) {
      if (!ReadOldAttrSetRecord(file, *ref, registry)) return 0;
    } else {
      if (!ref->Read(file, 0)) return 0;
      const char* refId = ref->GetRefId();
      if (registry && *refId && !AllDigits(refId) && !registry->IsEmpty()) {
        if (const SxfZCdbAttrSetDef* def = registry->FindByName(refId)) {
          ref->SetRefId(def->GetId());
        }
      }
    }
    atrf.info->Add(ref.release());
  }
  return 1;
}
