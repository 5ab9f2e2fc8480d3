// Copying a group of records with the references between them.
//
// Inside the bracket OnAddData keeps the copied figures' target references (and does not count
// them yet) and notes which new handle each source record got. At the end the references of
// every figure attached during the copy are rewritten through that table and counted, so a copy
// of A that referenced B references the copy of B.
#include <algorithm>
#include <vector>

#include "attrdb/attrdb.h"
#include "host/dword_array_x.h"
#include "host/zcdb_rec.h"
#include "model/figure.h"
#include "model/group_walk.h"

namespace {

constexpr UINT kCopyMapBuckets = 773;

}  // namespace

void SxfZCdbAttrDB::BeginCopyWithTarget(SxfZCdbAttrDB* src) {
  // A nested begin belongs to the copy already running; it keeps that copy's source.
  if (m_copyMap != nullptr) return;
  m_copyMap = new CMap<DWORD, DWORD, DWORD, DWORD>;
  m_copyMap->InitHashTable(kCopyMapBuckets);
  m_copyFirstHandle = ZCDB_NO_HANDLE;
  m_copyLastHandle = ZCDB_NO_HANDLE;
  m_copySource = src;
}

void SxfZCdbAttrDB::EndCopyWithTarget() {
  if (m_copyMap == nullptr) return;
  if (m_copyFirstHandle != ZCDB_NO_HANDLE) {
    // The host hands out increasing handles, so the copies are the entries between the first
    // and the last new handle, taken in map order. A copy of part of a drawing looks the handles
    // of that span up and orders them as a pass would meet them, instead of walking every entry.
    std::vector<DWORD> handles;
    const bool span = m_copyFirstHandle <= m_copyLastHandle &&
                      m_copyLastHandle - m_copyFirstHandle < static_cast<DWORD>(m_attrMap.GetCount());
    if (span) {
      for (DWORD handle = m_copyFirstHandle;; ++handle) {
        const ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
        if (entry != nullptr && entry->figure != nullptr) handles.push_back(handle);
        if (handle == m_copyLastHandle) break;
      }
      m_attrMap.SortInPassOrder(handles);
    } else {
      POSITION pos = m_attrMap.GetStartPosition();
      while (pos != nullptr) {
        DWORD handle = 0;
        ZCDB_SXFATTR_MAP* entry = nullptr;
        m_attrMap.GetNextAssoc(pos, handle, entry);
        if (entry == nullptr || entry->figure == nullptr) continue;
        if (handle < m_copyFirstHandle || handle > m_copyLastHandle) continue;
        handles.push_back(handle);
      }
    }
    std::vector<SxfZCdbFigure*> copied;
    copied.reserve(handles.size());
    for (size_t first = 0; first < handles.size(); first += kTargetPrefetchRun) {
      const size_t n = std::min(handles.size() - first, kTargetPrefetchRun);
      m_attrMap.TouchRun(handles.data() + first, n);
      for (size_t i = first; i < first + n; ++i) copied.push_back(FindEntry(handles[i])->figure);
    }
    std::vector<DWORD> targets;
    for (SxfZCdbFigure* fig : copied) {
      // ChangeTarget rewrites every reference to one handle; references to records that were
      // not copied keep their handles. The handles are listed first: the rewriting changes the
      // figure the list comes from.
      targets.clear();
      group_walk::ForEachTarget(*fig, [&](DWORD target) { targets.push_back(target); });
      for (DWORD target : targets) {
        DWORD newHandle = 0;
        if (m_copyMap->Lookup(target, newHandle)) fig->ChangeTarget(target, newHandle);
      }
    }
    // Counting may add target-only entries to the map, so it runs over the collected figures
    // rather than during a pass over the map.
    AppendTargetEntries(copied.data(), copied.size());
  }
  delete m_copyMap;
  m_copyMap = nullptr;
  m_copySource = nullptr;
}
