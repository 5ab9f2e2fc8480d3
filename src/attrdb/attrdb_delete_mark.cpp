// The first phase of the host's two-phase deletion: the delete mark hides a record's figure and
// takes its references out of the count; unmarking brings both back.
#include "attrdb/attrdb.h"
#include "model/figure.h"

int SxfZCdbAttrDB::OnDelDataMark(int mode, ZCdb* db, ZCdbRecBase* rec, int mark) {
  (void)db;
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
