// The target reference index: how many counted figures reference each handle.
//
// The count sits in bits 0-15 of the entry's flags. It saturates: once it reaches 0xFFFF the
// exact number is lost, so from then on it neither rises nor falls (until the entry goes). A
// saturated handle therefore stays a live target; the other choice, counting down from a wrong
// number, would drop references that still exist at the next commit. The bits above the count
// are never touched here.
#include <algorithm>

#include "attrdb/attrdb.h"
#include "attrdb/handle_map_entry.h"
#include "host/dword_array_x.h"
#include "model/figure.h"
#include "model/group_walk.h"

// Both walk the figure's targets in the order GetTarget lists them; the walk changes only the map,
// never the figure.
int SxfZCdbAttrDB::AppendTargetEntry(SxfZCdbFigure* fig) {
  if (fig == nullptr) return 1;
  group_walk::ForEachTarget(*fig, [this](DWORD target) {
    ZCDB_SXFATTR_MAP* entry = FindEntry(target);
    if (entry == nullptr) {
      // A target-only entry. Its undo record carries no host record, so undo and redo leave the
      // entry alone and releasing only frees the record.
      if (IsUndoRecording()) RegisterUndo(SXF_UNDO_ADD, nullptr, nullptr);
      m_attrMap.SetAt(target, MakeEntry(1, nullptr, nullptr));
      return;
    }
    if ((entry->flags & kTargetedMask) != kTargetedMask) ++entry->flags;
  });
  return 1;
}

void SxfZCdbAttrDB::AppendTargetEntries(SxfZCdbFigure* const* figures, size_t count) {
  for (size_t first = 0; first < count; first += kTargetPrefetchRun) {
    const size_t n = std::min(count - first, kTargetPrefetchRun);
    PrefetchTargets(figures + first, n);
    for (size_t i = first; i < first + n; ++i) AppendTargetEntry(figures[i]);
  }
}

void SxfZCdbAttrDB::PrefetchTargets(SxfZCdbFigure* const* figures, size_t count) const {
  group_walk::TouchTargetPaths(figures, count);
  DWORD targets[4 * kTargetPrefetchRun];
  size_t n = 0;
  for (size_t i = 0; i < count && n < sizeof targets / sizeof targets[0]; ++i) {
    if (figures[i] == nullptr) continue;
    group_walk::ForEachTarget(*figures[i], [&](DWORD target) {
      if (n < sizeof targets / sizeof targets[0]) targets[n++] = target;
    });
  }
  m_attrMap.TouchRun(targets, n);
}

int SxfZCdbAttrDB::RemoveTargetEntry(SxfZCdbFigure* fig) {
  if (fig == nullptr) return 1;
  group_walk::ForEachTarget(*fig, [this](DWORD target) {
    ZCDB_SXFATTR_MAP* entry = FindEntry(target);
    if (entry == nullptr) return;
    const DWORD count = entry->flags & kTargetedMask;
    if (count != 0 && count != kTargetedMask) --entry->flags;
  });
  return 1;
}

int SxfZCdbAttrDB::_TargetIsOk(DWORD handle) {
  return IsTarget(handle);
}

int SxfZCdbAttrDB::IsTarget(DWORD handle) const {
  const ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  return entry != nullptr && (entry->flags & kDeleteMark) == 0 && (entry->flags & kTargetedMask) != 0 ? 1 : 0;
}

int SxfZCdbAttrDB::TargetedCnt(DWORD handle) const {
  const ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  return entry != nullptr ? static_cast<int>(entry->flags & kTargetedMask) : 0;
}

int SxfZCdbAttrDB::IsTargetOnly(DWORD handle) const {
  const ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  return IsTarget(handle) != 0 && entry->figure == nullptr ? 1 : 0;
}
