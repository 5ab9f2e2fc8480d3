// The database object itself and the attachment of figures to host records.
#include <memory>
#include <utility>

#include "attrdb/attrdb.h"
#include "attrdb/contour_sync.h"
#include "attrdb/handle_map_entry.h"
#include "attrdb/setdef_name_index.h"
#include "host/dword_array_x.h"
#include "host/record_walk.h"
#include "host/sxf_attr_list.h"
#include "model/atrf.h"
#include "model/atru.h"
#include "model/attr_grp.h"
#include "model/attr_set_def.h"
#include "model/figure.h"
#include "model/group_walk.h"

namespace {

constexpr UINT kHandleMapBuckets = 773;
constexpr UINT kSetDefMapBuckets = 7;
constexpr int kHandleMapBlock = 10;

// The record with handle below root, depth first in child order; the database itself, removed
// records and element records are not searched below.
ZCdbRecBase* FindRecordBelow(ZCdbRecBase* root, DWORD handle) {
  ZCdbRecBase* found = nullptr;
  WalkRecordTree(root, [&](ZCdbRecBase* r) {
    if (r->GetRecKind() != ZCDB_KIND_DB && r->GetHandle() == handle) {
      found = r;
      return WalkStep::kStop;
    }
    return r->TestStatus(ZCDB_STATUS_REMOVED) != 0 || r->IsElm() != 0 ? WalkStep::kSkipBelow
                                                                      : WalkStep::kDescend;
  });
  return found;
}

}  // namespace

SxfZCdbAttrDB* SXF_GetAttrDB(ZCdb* db) {
  if (db == nullptr) return nullptr;
  // A checked cast: another plug-in's database registered under "SXF" is not ours to use.
  return dynamic_cast<SxfZCdbAttrDB*>(db->GetAttrDB("SXF"));
}

SxfZCdbAttrDB::SxfZCdbAttrDB(const CEnvironObj& env)
    : ZCdbAttrDB("SXF"),
      m_attrMap(kHandleMapBlock),
      m_titleIndexStale(0),
      m_attrList(new CSxfAttrList(&env)),
      m_copyMap(nullptr),
      m_copyFirstHandle(ZCDB_NO_HANDLE),
      m_copyLastHandle(ZCDB_NO_HANDLE),
      m_copySource(nullptr),
      m_environ(&env) {
  m_attrMap.InitHashTable(kHandleMapBuckets);
  m_setDefMap.InitHashTable(kSetDefMapBuckets);
}

SxfZCdbAttrDB::~SxfZCdbAttrDB() {
  Clear();
  delete m_attrList;
  m_attrList = nullptr;
  // A copy that was never ended would otherwise leave its table behind.
  delete m_copyMap;
  m_copyMap = nullptr;
}

int SxfZCdbAttrDB::CanTmpClone() const {
  return 1;
}

int SxfZCdbAttrDB::WriteText() const {
  return 1;
}

int SxfZCdbAttrDB::ClearData(int mode) {
  if (mode == 0) Clear();
  return 1;
}

// The database keeps nothing that depends on these events.
int SxfZCdbAttrDB::OnVerify(int, ZCdb*, CStringArray&, int) {
  return 1;
}
int SxfZCdbAttrDB::OnChangeOrder(int, ZCdbRecBase*) {
  return 1;
}
int SxfZCdbAttrDB::OnChangeSelect(int, ZCdbRecBase*) {
  return 1;
}
int SxfZCdbAttrDB::OnUndoStart(ZCdb*, int) {
  return 1;
}
int SxfZCdbAttrDB::OnUndoEnd(ZCdb*, int) {
  return 1;
}

void SxfZCdbAttrDB::Clear() {
  POSITION pos = m_setDefMap.GetStartPosition();
  while (pos != nullptr) {
    unsigned int id = 0;
    SxfZCdbAttrSetDef* def = nullptr;
    m_setDefMap.GetNextAssoc(pos, id, def);
    delete def;
  }
  m_setDefMap.RemoveAll();
  m_setDefFreeFrom = 1;
  if (m_setDefIndex != nullptr) m_setDefIndex->Clear();

  pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    DestroyEntry(entry);
  }
  m_attrMap.RemoveAll();
}

void SxfZCdbAttrDB::SetFileVersion(const char* version) {
  m_fileVersion = version;
}

CString SxfZCdbAttrDB::GetFileVersion() const {
  return m_fileVersion;
}

const CSxfAttrList* SxfZCdbAttrDB::AttrList() const {
  return m_attrList;
}

ZCDB_SXFATTR_MAP* SxfZCdbAttrDB::FindEntry(DWORD handle) const {
  ZCDB_SXFATTR_MAP* entry = nullptr;
  return m_attrMap.Lookup(handle, entry) ? entry : nullptr;
}

SxfZCdbFigure* SxfZCdbAttrDB::_SetRecFigure(ZCdbRecBase* rec, const SxfZCdbFigure& fig, int withTargets) {
  if (rec == nullptr) return nullptr;
  const DWORD handle = rec->GetHandle();
  if (handle == ZCDB_NO_HANDLE) return nullptr;

  StoreContourElevation(rec, fig, *m_attrList);

  std::unique_ptr<SxfZCdbFigure> copy(new SxfZCdbFigure(fig));
  copy->SetHandle(handle);
  if (withTargets == 0) copy->ClearTarget(nullptr);
  SxfZCdbFigure* stored = copy.get();

  ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  if (entry != nullptr) {
    SxfZCdbFigure* old = entry->figure;
    if (entry->rec == nullptr) entry->rec = rec;
    // A delete-marked entry's figure was uncounted when the mark was set; uncounting it again
    // would take references away from other figures.
    if (withTargets != 0 && old != nullptr && (entry->flags & kDeleteMark) == 0) {
      RemoveTargetEntry(old);
    }
    if (IsUndoRecording()) {
      // The undo record owns the old figure from here on.
      RegisterUndo(SXF_UNDO_CHANGE, rec, old);
    } else {
      delete old;
    }
    entry->figure = copy.release();
    entry->flags &= ~kPending;
  } else {
    entry = MakeEntry(0, rec, std::move(copy));
    if (IsUndoRecording()) RegisterUndo(SXF_UNDO_ADD, rec, nullptr);
    m_attrMap.SetAt(handle, entry);
  }

  const bool copying = m_copyMap != nullptr;
  if (copying && m_copySource != nullptr) stored->CheckAttrSetRef(this, m_copySource);
  // During a copy the references are remapped and counted when the copy ends.
  if (withTargets != 0 && !copying) AppendTargetEntry(stored);
  stored->CheckAttrSetDef(this);
  return stored;
}

SxfZCdbFigure* SxfZCdbAttrDB::_GetRecFigure(DWORD handle, ZCDB_SXFATTR_MAP*& entry, int skipPending) {
  entry = FindEntry(handle);
  if (entry == nullptr) return nullptr;
  if (skipPending != 0 && (entry->flags & kPending) != 0) return nullptr;
  if (entry->rec != nullptr) RefreshTitleIndexFor(entry->rec);
  return entry->figure;
}

DWORD SxfZCdbAttrDB::SetRecFigure(ZCdbRecBase* rec, const SxfZCdbFigure& fig) {
  return _SetRecFigure(rec, fig, 1) != nullptr ? rec->GetHandle() : ZCDB_NO_HANDLE;
}

int SxfZCdbAttrDB::GetRecFigure(DWORD handle, SxfZCdbFigure& out) {
  ZCDB_SXFATTR_MAP* entry = nullptr;
  SxfZCdbFigure* stored = _GetRecFigure(handle, entry, 1);
  if (stored == nullptr) return 0;
  if (&out != stored) out = *stored;
  out.targetedCnt = static_cast<int>(entry->flags & kTargetedMask);
  const int result = CommitData(entry->rec, out);
  // An attribute-file record without set references holds nothing a caller can use as sets.
  if (result != 0 && out.GetAttrType() == 1 && out.ATRF_GetAttr() != nullptr &&
      out.ATRF_GetAttr()->GetAttrSetRefCnt() == 0) {
    out.SetAttrType(2);
  }
  return result;
}

int SxfZCdbAttrDB::CommitData(ZCdbRecBase* rec, SxfZCdbFigure& fig) {
  if (rec == nullptr || rec->TestStatus(ZCDB_STATUS_REMOVED) != 0) return 0;

  RefreshContourValue(rec, fig);

  // Nearly always every reference is still live: one walk without a list tells.
  bool allLive = true;
  group_walk::ForEachTarget(fig, [&](DWORD target) {
    if (allLive && _TargetIsOk(target) == 0) allLive = false;
  });
  if (allLive) return 1;

  CDWordArrayX targets;
  fig.GetTarget(targets);
  for (int i = 0; i < targets.GetCount(); ++i) {
    const DWORD target = targets[i];
    if (_TargetIsOk(target) != 0) continue;
    CString memo;
    for (SxfZCdbAttrGrp* group = fig.FindTarget(target, memo); group != nullptr;
         group = fig.FindTarget(target, memo)) {
      if (group->DelTarget(target) == 0) break;
    }
  }
  return 1;
}

int SxfZCdbAttrDB::DelRecFigure(DWORD handle) {
  ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  if (entry == nullptr) return 1;
  SxfZCdbFigure* old = entry->figure;
  // Uncount before the figure is handed over: once registered it belongs to the undo record.
  if (old != nullptr && (entry->flags & kDeleteMark) == 0) RemoveTargetEntry(old);
  if (IsUndoRecording()) {
    RegisterUndo(SXF_UNDO_DEL, entry->rec, old);
  } else {
    delete old;
  }
  entry->figure = nullptr;
  return 1;
}

ZCdbRecBase* SxfZCdbAttrDB::GetZCdbRec(DWORD handle) {
  ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  if (entry == nullptr) return nullptr;
  if ((entry->flags & kDeleteMark) == 0 && entry->rec == nullptr && GetZCdb() != nullptr) {
    ZCdbRecBase* found = FindRecordBelow(GetZCdb(), handle);
    if (found != nullptr && found->TestStatus(ZCDB_STATUS_REMOVED) == 0) entry->rec = found;
  }
  return entry->rec;
}
