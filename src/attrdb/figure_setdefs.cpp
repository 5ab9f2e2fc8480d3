// The figure operations that work on a database: moving a figure into the default set, moving
// its set references between databases, reviving the definitions it names.
#include <cstdlib>

#include "attrdb/attrdb.h"
#include "host/zcdb_elm.h"
#include "host/zgelm.h"
#include "model/attr_set_def.h"
#include "model/figure.h"

namespace {

// The text of a string element, the value a stub stands for; empty for anything else.
CString StringElementText(ZCdbRecBase* rec) {
  if (!rec) return CString();
  const BYTE kind = rec->GetRecKind();
  if (kind != ZCDB_KIND_ELM && kind != ZCDB_KIND_ELM2) return CString();
  ZGElm* elm = static_cast<ZCdbElm*>(rec)->GetZGElm();
  if (!elm || elm->GetElmType() != ZGELM_STRING) return CString();
  return static_cast<ZString*>(elm)->GetCString();
}

}  // namespace

int SxfZCdbFigure::ToATRF(SxfZCdbAttrDB* db) {
  if (attrType == SXF_ATTR_ATRF) return 1;
  // Without a database there is no default set to move into: refuse and change nothing.
  if (!db) return 0;
  SxfZCdbATRF* atrf = new SxfZCdbATRF;
  SxfZCdbATRU moved;
  if (attrType == SXF_ATTR_ATRU) {
    if (const SxfZCdbATRU* atru = attr.ATRU()) moved = *atru;
  } else if (attrType == SXF_ATTR_ATRS) {
    if (const SxfZCdbATRS* stub = attr.ATRS()) {
      moved.name = stub->name;
      moved.type = stub->type;
      moved.unit = stub->unit;
    }
    moved.value = StringElementText(db->GetZCdbRec(handle));
  }
  attr.Reset(atrf);
  attrType = SXF_ATTR_ATRF;

  SxfZCdbAttrSetDef* def =
      db->AddAttrSetDefData(SxfZCdbAttrDB::GetDefAttrSetName(), SxfZCdbAttrDB::GetDefAttrVersion(),
                            SxfZCdbAttrDB::GetDefAttrDesigned(), 1);
  // With returnExisting 1 the registry always answers; the guard only keeps a broken registry
  // from crashing the caller.
  const char* id = def ? def->GetId() : "";
  SxfZCdbAttrSetRef* ref = atrf->AddAttrSetRefData(id, 1);
  ref->AddAttrData(moved);
  return 1;
}

void SxfZCdbFigure::CheckAttrSetRef(SxfZCdbAttrDB* dst, SxfZCdbAttrDB* src) {
  if (attrType != SXF_ATTR_ATRF || !dst || !src) return;
  SxfZCdbATRF* atrf = attr.ATRF();
  if (!atrf) return;
  for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
    SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
    if (!ref) continue;
    const SxfZCdbAttrSetDef* from =
        src->FindAttrSetDefData(static_cast<unsigned int>(std::atoi(ref->GetRefId())));
    if (!from) continue;
    const SxfZCdbAttrSetDef* to =
        dst->AddAttrSetDefData(from->GetName(), from->GetVersion(), from->GetDesigner(), 1);
    if (to) ref->SetRefId(to->GetId());
  }
}

void SxfZCdbFigure::CheckAttrSetDef(SxfZCdbAttrDB* db) {
  if (attrType != SXF_ATTR_ATRF || !db) return;
  const SxfZCdbATRF* atrf = attr.ATRF();
  if (!atrf) return;
  for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
    const SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
    if (!ref) continue;
    SxfZCdbAttrSetDef* def = db->FindAttrSetDefData(static_cast<unsigned int>(std::atol(ref->GetRefId())));
    if (def && def->IsDelete()) def->IsDelete(0);
  }
}
