// How the database follows the host's record changes: copies, new contour records, the
// two-phase deletion (delete mark, then removal), commits and records that get new objects.
// Every notification answers 1; the host has no use for a failure.
#include <algorithm>
#include <vector>

#include "attrdb/attrdb.h"
#include "attrdb/contour_sync.h"
#include "attrdb/handle_map_entry.h"
#include "host/record_walk.h"
#include "host/zcdb_blk.h"
#include "host/zcdb_elm.h"
#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "model/atrs.h"
#include "model/atru.h"
#include "model/figure.h"
#include "model/group_walk.h"

namespace {

bool IsStringElement(ZCdbRecBase* rec) {
  const BYTE kind = rec->GetRecKind();
  if (kind != ZCDB_KIND_ELM && kind != ZCDB_KIND_ELM2) return false;
  const ZGElm* element = static_cast<ZCdbElm*>(rec)->GetZGElm();
  return element != nullptr && element->GetElmType() == ZGELM_STRING;
}

}  // namespace

int SxfZCdbAttrDB::ShouldAttrCopy(SxfZCdbFigure* fig) {
  if (fig == nullptr) return 0;
  if (fig->contour != nullptr || fig->image != nullptr) return 1;
  switch (fig->GetAttrType()) {
    case SXF_ATTR_NONE:
      return 0;
    case SXF_ATTR_ATRF:
      return fig->ATRF_GetAttr() != nullptr ? 1 : 0;
    case SXF_ATTR_ATRU: {
      const SxfZCdbATRU* attr = fig->ATRU_GetAttr();
      return !fig->name.IsEmpty() || (attr != nullptr && !attr->name.IsEmpty()) ? 1 : 0;
    }
    case SXF_ATTR_ATRS: {
      // A title stub belongs to the one element that shows the title; a copy of that element
      // is a plain string again.
      const SxfZCdbATRS* stub = fig->ATRS_GetAttr();
      return stub != nullptr && SrchTitleId(stub->name) == 0 ? 1 : 0;
    }
    default:
      return 1;
  }
}

int SxfZCdbAttrDB::OnAddData(int mode, ZCdbRecBase* rec, DWORD srcHandle, ZCdb* srcDb) {
  if (mode != 0 || rec == nullptr) return 1;
  const DWORD handle = rec->GetHandle();
  if (handle == ZCDB_NO_HANDLE) return 1;

  if (srcHandle == ZCDB_NO_HANDLE) {
    // A new contour line carries its elevation as an attribute from the start.
    if (rec->GetRecKind() == ZCDB_KIND_CONTOUR) {
      _SetRecFigure(rec, NewContourFigure(rec), 0);
      m_titleIndexStale = 1;
    }
    return 1;
  }

  if (m_copyMap != nullptr) {
    if (m_copyFirstHandle == ZCDB_NO_HANDLE) m_copyFirstHandle = handle;
    m_copyLastHandle = handle;
    m_copyMap->SetAt(srcHandle, handle);
  }

  ZCdb* sourceDb = rec->GetZCdb();
  SxfZCdbAttrDB* source = this;
  if (srcDb != nullptr && srcDb != sourceDb) {
    sourceDb = srcDb;
    source = SXF_GetAttrDB(srcDb);
  }
  if (source != nullptr) CopyAttributesOf(rec, srcHandle, sourceDb, source);
  m_titleIndexStale = 1;
  return 1;
}

void SxfZCdbAttrDB::CopyAttributesOf(ZCdbRecBase* rec, DWORD srcHandle, ZCdb* sourceDb,
                                     SxfZCdbAttrDB* source) {
  // A record that is only referenced has nothing of its own to pass on.
  if (source->IsTargetOnly(srcHandle) != 0) return;
  ZCDB_SXFATTR_MAP* entry = nullptr;
  // Pending entries count too: a record the user has just delete-marked may still be copied.
  SxfZCdbFigure* fig = source->_GetRecFigure(srcHandle, entry, 0);
  if (fig == nullptr || ShouldAttrCopy(fig) == 0) return;
  // Outside a copy with targets the references would point at the originals' targets, so the
  // copy gets none.
  if (_SetRecFigure(rec, *fig, m_copyMap != nullptr ? 1 : 0) == nullptr) return;

  // The attribute parent blocks above the source record, nearest first, are rebuilt above the
  // copy as a chain of the same shape; blocks without attributes are left out.
  ZCdb* ownDb = rec->GetZCdb();
  if (sourceDb == nullptr || ownDb == nullptr) return;
  DWORD parent = rec->GetHandle();
  ForEachAttrParentBlk(*sourceDb, srcHandle, [&](ZCdbBlk* block) {
    SxfZCdbFigure blockFig;
    if (source->GetRecFigure(block->GetHandle(), blockFig) == 0) return true;
    blockFig.ClearTarget(nullptr);
    if (ShouldAttrCopy(&blockFig) == 0) return true;
    ZCdbBlk* copy = ownDb->AddAttrParentBlk(parent);
    if (copy == nullptr || SetRecFigure(copy, blockFig) == ZCDB_NO_HANDLE) return false;
    parent = copy->GetHandle();
    return true;
  });
}

int SxfZCdbAttrDB::OnChangeData(int, ZCdbRecBase* rec) {
  if (rec != nullptr) CheckTitleString(rec);
  return 1;
}

int SxfZCdbAttrDB::OnDelDataMark(int mode, ZCdb*, ZCdbRecBase* rec, int mark) {
  if (mode != 0 || rec == nullptr || rec->GetHandle() == ZCDB_NO_HANDLE) return 1;
  ZCDB_SXFATTR_MAP* entry = nullptr;
  if (!m_attrMap.Lookup(rec->GetHandle(), entry)) return 1;
  m_titleIndexStale = 1;
  if (entry == nullptr) return 1;
  if (mark != 0) {
    // A second mark must not uncount the figure twice.
    if ((entry->flags & kDeleteMark) != 0) return 1;
    entry->flags |= kDeleteMark;
    entry->rec = nullptr;
    if (entry->figure != nullptr) RemoveTargetEntry(entry->figure);
  } else {
    const bool wasMarked = (entry->flags & kDeleteMark) != 0;
    entry->flags &= ~kDeleteMark;
    entry->rec = rec;
    if (wasMarked && entry->figure != nullptr) AppendTargetEntry(entry->figure);
  }
  return 1;
}

void SxfZCdbAttrDB::RemoveEntry(DWORD handle, ZCDB_SXFATTR_MAP* entry) {
  if (entry != nullptr) {
    // A marked entry's references were uncounted by the mark. A host that drops a record
    // without marking it first would otherwise leave its references counted for good.
    if ((entry->flags & kDeleteMark) == 0 && entry->figure != nullptr) RemoveTargetEntry(entry->figure);
    DestroyEntry(entry);
  }
  m_attrMap.RemoveKey(handle);
}

int SxfZCdbAttrDB::OnDelData(int mode, ZCdb*, ZCdbRecBase* rec) {
  if (mode != 0 || rec == nullptr || rec->GetHandle() == ZCDB_NO_HANDLE) return 1;
  const DWORD handle = rec->GetHandle();
  ZCDB_SXFATTR_MAP* entry = nullptr;
  if (!m_attrMap.Lookup(handle, entry)) return 1;
  m_titleIndexStale = 1;
  // The handle now belongs to another record object: that record's attributes stay.
  if (entry != nullptr && entry->rec != nullptr && entry->rec != rec) return 1;
  RemoveEntry(handle, entry);
  return 1;
}

int SxfZCdbAttrDB::OnCommit(int mode, ZCdb*) {
  if (mode != 0) return 1;
  m_titleIndexStale = 1;

  std::vector<DWORD> dead;
  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    if (entry == nullptr || (entry->flags & kDeleteMark) != 0) dead.push_back(handle);
  }
  // Taken apart a run at a time, each run's entries and figures read in first (see PrefetchTargets).
  SxfZCdbFigure* doomed[kTargetPrefetchRun];
  for (size_t first = 0; first < dead.size(); first += kTargetPrefetchRun) {
    const size_t n = std::min(dead.size() - first, kTargetPrefetchRun);
    m_attrMap.TouchRun(dead.data() + first, n);
    for (size_t i = 0; i < n; ++i) {
      const ZCDB_SXFATTR_MAP* entry = FindEntry(dead[first + i]);
      doomed[i] = entry != nullptr ? entry->figure : nullptr;
    }
    group_walk::TouchTargetPaths(doomed, n);
    for (size_t i = first; i < first + n; ++i) {
      DestroyEntry(FindEntry(dead[i]));
      m_attrMap.RemoveKey(dead[i]);
    }
  }

  // With the dead entries gone, every reference to them (or to records nobody counts any
  // more) is dropped from the stored figures. The figures are taken a run at a time in map order,
  // and the entries their targets name are brought in for the whole run before it is checked.
  std::vector<ZCDB_SXFATTR_MAP*> run;
  std::vector<SxfZCdbFigure*> figures;
  run.reserve(kTargetPrefetchRun);
  figures.reserve(kTargetPrefetchRun);
  pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    run.clear();
    figures.clear();
    while (pos != nullptr && run.size() < kTargetPrefetchRun) {
      DWORD handle = 0;
      ZCDB_SXFATTR_MAP* entry = nullptr;
      m_attrMap.GetNextAssoc(pos, handle, entry);
      if (entry->figure == nullptr) continue;
      run.push_back(entry);
      figures.push_back(entry->figure);
    }
    PrefetchTargets(figures.data(), figures.size());
    for (ZCDB_SXFATTR_MAP* entry : run) CommitData(entry->rec, *entry->figure);
  }
  return 1;
}

int SxfZCdbAttrDB::OnChangePtr(const CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*>& changes) {
  const bool recording = IsUndoRecording();
  bool anyKnown = false;
  bool titleChanged = false;
  POSITION pos = changes.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCdbRecBase* newRec = nullptr;
    changes.GetNextAssoc(pos, handle, newRec);
    ZCDB_SXFATTR_MAP* entry = nullptr;
    if (!m_attrMap.Lookup(handle, entry)) continue;
    anyKnown = true;
    if (newRec == nullptr) {
      RemoveEntry(handle, entry);
      continue;
    }
    if (entry == nullptr) continue;
    if (!recording) {
      // Outside an undo step the entry keeps its figure, title stubs included, and no title
      // check runs. Nothing can bring the old object back and the host may free it, so the
      // entry follows the record to its new object; a delete-marked entry has no record to
      // follow (unmarking hands it the live one).
      if (entry->rec != nullptr) entry->rec = newRec;
      continue;
    }
    if (entry->rec != nullptr && IsTitleElm(entry->rec) != 0) {
      titleChanged = true;
      // Only a string element can go on showing a title line.
      if (!IsStringElement(newRec)) {
        RemoveEntry(handle, entry);
        continue;
      }
    }
    ZCdbRecBase* oldRec = entry->rec;
    entry->rec = newRec;
    RegisterUndo(SXF_UNDO_RECPTR, newRec, oldRec);
  }
  if (titleChanged) CheckTitleString(nullptr);
  if (anyKnown) m_titleIndexStale = 1;
  return 1;
}
