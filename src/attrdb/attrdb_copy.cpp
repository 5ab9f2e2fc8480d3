// Copying a group of records with the references between them.
//
// Inside the bracket OnAddData keeps the copied figures' target references (and does not count
// them yet) and notes which new handle each source record got. At the end the references of
// every figure attached during the copy are rewritten through that table and counted, so a copy
// of A that referenced B references the copy of B.
#include <vector>

#include "attrdb/attrdb.h"
#include "model/figure.h"
#include "host/zcdb_rec.h"
#include "host/dword_array_x.h"

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
    // and the last new handle.
    std::vector<SxfZCdbFigure*> copied;
    POSITION pos = m_attrMap.GetStartPosition();
    while (pos != nullptr) {
      DWORD handle = 0;
      ZCDB_SXFATTR_MAP* entry = nullptr;
      m_attrMap.GetNextAssoc(pos, handle, entry);
      if (entry == nullptr || entry->figure == nullptr) continue;
      if (handle < m_copyFirstHandle || handle > m_copyLastHandle) continue;
      copied.push_back(entry->figure);
    }
    for (SxfZCdbFigure* fig : copied) {
      // ChangeTarget rewrites every reference to one handle; references to records that were
      // not copied keep their handles.
      CDWordArrayX targets;
      fig->GetTarget(targets);
      for (int i = 0; i < targets.GetCount(); ++i) {
        DWORD newHandle = 0;
        if (m_copyMap->Lookup(targets[i], newHandle)) fig->ChangeTarget(targets[i], newHandle);
      }
    }
    // Counting may add target-only entries to the map, so it runs over the collected figures
    // rather than during a pass over the map.
    for (SxfZCdbFigure* fig : copied) AppendTargetEntry(fig);
  }
  delete m_copyMap;
  m_copyMap = nullptr;
  m_copySource = nullptr;
}
