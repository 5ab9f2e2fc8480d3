// The registry of attribute set definitions: lookup, numbering, delete marks and the
// class-wide default definition.
#include <cstdlib>
#include <cstring>

#include "attrdb/attrdb.h"
#include "attrdb/setdef_name_index.h"
#include "host/dword_array_x.h"
#include "model/atrf.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"

namespace {

// The defaults live for the whole process and are set when the library is loaded.
CString& DefaultSetName() {
  static CString text("Default");
  return text;
}
CString& DefaultVersion() {
  static CString text("1.0");
  return text;
}
CString& DefaultDesigner() {
  static CString text("Default");
  return text;
}

bool SameText(const CString& stored, const char* wanted) {
  return wanted == nullptr || stored.Compare(wanted) == 0;
}

// The attribute-file record of a figure that a registry pass may look at: the entry is visible
// (neither delete-marked nor parked) and holds a figure of attribute type 1 with its record.
SxfZCdbATRF* VisibleAtrf(const ZCDB_SXFATTR_MAP* entry) {
  if (entry == nullptr || (entry->flags & SxfZCdbAttrDB::kPending) != 0) return nullptr;
  if (entry->figure == nullptr || entry->figure->GetAttrType() != 1) return nullptr;
  return entry->figure->ATRF_GetAttr();
}

}  // namespace

const char* SxfZCdbAttrDB::GetDefAttrSetName() {
  return DefaultSetName();
}
const char* SxfZCdbAttrDB::GetDefAttrVersion() {
  return DefaultVersion();
}
const char* SxfZCdbAttrDB::GetDefAttrDesigned() {
  return DefaultDesigner();
}
void SxfZCdbAttrDB::SetDefAttrSetName(const char* name) {
  DefaultSetName() = name;
}
void SxfZCdbAttrDB::SetDefAttrVersion(const char* version) {
  DefaultVersion() = version;
}
void SxfZCdbAttrDB::SetDefAttrDesigned(const char* designer) {
  DefaultDesigner() = designer;
}

SxfZCdbAttrDB::SetDefIndexScope::SetDefIndexScope(SxfZCdbAttrDB& db) : db_(db) {
  delete db_.m_setDefIndex;  // an outer scope's (see the header)
  db_.m_setDefIndex = new SetDefNameIndex(db_.m_setDefMap);
}

SxfZCdbAttrDB::SetDefIndexScope::~SetDefIndexScope() {
  delete db_.m_setDefIndex;
  db_.m_setDefIndex = nullptr;
}

int SxfZCdbAttrDB::GetAttrSetDefCnt(CDWordArrayX* ids) const {
  if (ids == nullptr) return m_setDefMap.GetCount();
  POSITION pos = m_setDefMap.GetStartPosition();
  while (pos != nullptr) {
    unsigned int id = 0;
    SxfZCdbAttrSetDef* def = nullptr;
    m_setDefMap.GetNextAssoc(pos, id, def);
    if (def != nullptr && def->IsDelete() == 0) ids->Add(id);
  }
  ids->Sort(1);
  return ids->GetCount();
}

SxfZCdbAttrSetDef* SxfZCdbAttrDB::GetDefAttrSetDefData() {
  return AddAttrSetDefData(GetDefAttrSetName(), GetDefAttrVersion(), GetDefAttrDesigned(), 1);
}

SxfZCdbAttrSetDef* SxfZCdbAttrDB::FindAttrSetDefData(unsigned int id) const {
  SxfZCdbAttrSetDef* def = nullptr;
  return m_setDefMap.Lookup(id, def) ? def : nullptr;
}

SxfZCdbAttrSetDef* SxfZCdbAttrDB::FindAttrSetDefData(const char* name, const char* version,
                                                     const char* designer) const {
  if (name == nullptr) return nullptr;
  const auto matches = [&](const SxfZCdbAttrSetDef* def) {
    return def != nullptr && def->name.Compare(name) == 0 && SameText(def->version, version) &&
           SameText(def->designer, designer);
  };
  if (m_setDefIndex != nullptr) {
    const std::vector<unsigned int>* ids = m_setDefIndex->Find(CString(name));
    if (ids == nullptr) return nullptr;
    for (unsigned int id : *ids) {
      SxfZCdbAttrSetDef* def = FindAttrSetDefData(id);
      if (matches(def)) return def;
    }
    return nullptr;
  }
  // The first match in map order wins, so which of two definitions with the same name answers
  // a name-only search depends on their ids' places in the map.
  POSITION pos = m_setDefMap.GetStartPosition();
  while (pos != nullptr) {
    unsigned int id = 0;
    SxfZCdbAttrSetDef* def = nullptr;
    m_setDefMap.GetNextAssoc(pos, id, def);
    if (matches(def)) return def;
  }
  return nullptr;
}

SxfZCdbAttrSetDef* SxfZCdbAttrDB::AddAttrSetDefData(const char* name, const char* version,
                                                    const char* designer, int returnExisting) {
  // A null name searches like an empty one, so a definition made from it is found again.
  SxfZCdbAttrSetDef* found = FindAttrSetDefData(name ? name : "", version, designer);
  if (found != nullptr) {
    if (found->IsDelete() != 0) {
      found->IsDelete(0);
      return found;
    }
    return returnExisting != 0 ? found : nullptr;
  }
  // Delete-marked definitions keep their keys, so their ids are never handed out again.
  unsigned int id = m_setDefFreeFrom;
  SxfZCdbAttrSetDef* taken = nullptr;
  while (m_setDefMap.Lookup(id, taken)) ++id;
  m_setDefFreeFrom = id + 1;

  SxfZCdbAttrSetDef* def = new SxfZCdbAttrSetDef;
  def->name = name;
  def->version = version;
  def->designer = designer;
  def->id.Format("%d", static_cast<int>(id));
  def->deleted = 0;
  m_setDefMap.SetAt(id, def);
  if (m_setDefIndex != nullptr) m_setDefIndex->Added(def->name, id);
  return def;
}

SxfZCdbAttrSetDef* SxfZCdbAttrDB::AddAttrSetDefData(const SxfZCdbAttrSetDef& def) {
  SxfZCdbAttrSetDef* found = FindAttrSetDefData(def.name, def.version, def.designer);
  if (found != nullptr) {
    if (found->id.Compare(def.id) != 0) return nullptr;
    if (found->IsDelete() != 0) found->IsDelete(0);
    return found;
  }
  unsigned int id = static_cast<unsigned int>(std::atoi(def.id));
  SxfZCdbAttrSetDef* taken = nullptr;
  if (m_setDefMap.Lookup(id, taken)) return nullptr;
  SxfZCdbAttrSetDef* copy = new SxfZCdbAttrSetDef(def);
  m_setDefMap.SetAt(id, copy);
  if (m_setDefIndex != nullptr) m_setDefIndex->Added(copy->name, id);
  return copy;
}

int SxfZCdbAttrDB::IsUseAttrSetDef(unsigned int id) {
  CString idText;
  idText.Format("%d", static_cast<int>(id));
  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    SxfZCdbATRF* atrf = VisibleAtrf(entry);
    if (atrf != nullptr && atrf->FindAttrSetRefData(idText) != nullptr) return 1;
  }
  return 0;
}

int SxfZCdbAttrDB::RemoveAttrSetDef(unsigned int id, int force) {
  if (force == 0 && IsUseAttrSetDef(id) == 1) return 0;
  SxfZCdbAttrSetDef* def = FindAttrSetDefData(id);
  if (def == nullptr) return 0;
  if (force != 0) {
    POSITION pos = m_attrMap.GetStartPosition();
    while (pos != nullptr) {
      DWORD handle = 0;
      ZCDB_SXFATTR_MAP* entry = nullptr;
      m_attrMap.GetNextAssoc(pos, handle, entry);
      SxfZCdbATRF* atrf = VisibleAtrf(entry);
      if (atrf == nullptr) continue;
      // Only the first reference to the definition goes; a figure naming it twice keeps one.
      for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
        SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
        if (ref == nullptr) continue;
        if (static_cast<unsigned int>(std::atol(ref->GetRefId())) == id) {
          atrf->DelAttrSetRefData(i);
          break;
        }
      }
    }
  }
  def->IsDelete(1);
  return 1;
}

int SxfZCdbAttrDB::ReActiveAttrSetDef(unsigned int id) {
  SxfZCdbAttrSetDef* def = FindAttrSetDefData(id);
  if (def != nullptr) def->IsDelete(0);
  return 1;
}
