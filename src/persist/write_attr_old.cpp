// Old-layout figure entries of a record tree: { DWORD handle, old figure record } per figure, in
// the collection order of the section writer. The section writer stores the tagged layout; this
// is kept for callers that need the old entries (the end marker is theirs to write).
#include "attrdb/attrdb.h"
#include "host/record_walk.h"
#include "host/zcdb.h"
#include "model/figure.h"
#include "model/old_format.h"

int SxfZCdbAttrDB::WriteAttr(CFile* file, ZCdbRecBase* rec, int chained, int mode) {
  if (rec == nullptr) return 0;

  auto leftOut = [mode](ZCdbRecBase* r) {
    return r->TestStatus(ZCDB_STATUS_REMOVED) != 0 ||
           (mode != 0 && r->TestStatus(ZCDB_STATUS_TMP1 | ZCDB_STATUS_TMP2) != 0);
  };
  // Writes r's own entry when it has a figure; false when a write failed.
  auto writeOwn = [&](ZCdbRecBase* r) {
    if (leftOut(r) || r->GetHandle() == ZCDB_NO_HANDLE) return true;
    ZCDB_SXFATTR_MAP* entry = FindEntry(r->GetHandle());
    if (entry == nullptr || entry->figure == nullptr) return true;
    return old_format::WriteInt32(file, static_cast<LONG>(r->GetHandle())) != 0 &&
           entry->figure->Write(file) != 0;
  };

  bool isRoot = true;
  const bool done = WalkRecordTree(rec, [&](ZCdbRecBase* r) {
    const int viaChain = isRoot ? chained : 0;
    isRoot = false;
    // A record without a handle is not looked at further, nor anything below it.
    if (leftOut(r) || r->GetHandle() == ZCDB_NO_HANDLE) return WalkStep::kSkipBelow;
    if (!writeOwn(r)) return WalkStep::kStop;
    ZCdb* db = r->GetZCdb();
    if (viaChain == 0 && db != nullptr &&
        !ForEachAttrParentBlk(*db, r->GetHandle(), [&](ZCdbBlk* b) { return writeOwn(b); })) {
      return WalkStep::kStop;
    }
    return r->IsElm() != 0 || viaChain != 0 ? WalkStep::kSkipBelow : WalkStep::kDescend;
  });
  return done ? 1 : 0;
}
