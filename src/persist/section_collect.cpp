#include "persist/section_collect.h"

#include "host/record_walk.h"
#include "host/zcdb.h"
#include "persist/section_format.h"

namespace {

class Collector {
 public:
  Collector(int mode, const SxfAttrHandleMap& map, NewFileAttrList& out)
      : mode_(mode), map_(map), out_(out) {}

  void Walk(ZCdbRecBase* root) {
    WalkRecordTree(
        root, [this](ZCdbRecBase* r) { return Visit(r, 0); },
        [this](ZCdbRecBase* r) {
          AfterChildren(r);
          return true;
        });
  }

 private:
  // A block reached through a chain (chained 1) gives only its own figure: its own chain is the
  // rest of the chain being walked, and its children are not attribute holders of their own.
  WalkStep Visit(ZCdbRecBase* r, int chained) {
    if (r->TestStatus(ZCDB_STATUS_REMOVED) != 0) return WalkStep::kSkipBelow;
    if (mode_ != 0 && r->TestStatus(ZCDB_STATUS_TMP1 | ZCDB_STATUS_TMP2) != 0) return WalkStep::kSkipBelow;
    const DWORD handle = r->GetHandle();
    if (handle != ZCDB_NO_HANDLE) {
      ZCDB_SXFATTR_MAP* entry = nullptr;
      if (map_.Lookup(handle, entry) && entry != nullptr && entry->figure != nullptr) {
        out_.push_back(NewFileAttrData{handle, entry});
      }
      ZCdb* db = r->GetZCdb();
      if (chained == 0 && db != nullptr) {
        ForEachAttrParentBlk(*db, handle, [this](ZCdbBlk* b) {
          Visit(b, 1);
          return true;
        });
      }
    }
    return r->IsElm() != 0 || chained != 0 ? WalkStep::kSkipBelow : WalkStep::kDescend;
  }

  void AfterChildren(ZCdbRecBase* r) {
    if (r->GetRecKind() != ZCDB_KIND_DB) return;
    ZCdb* db = static_cast<ZCdb*>(r);
    const int count = db->GetSfigDefCnt(kAttrDefinitionKind);
    for (int i = 0; i < count; ++i) {
      ZCdbSfigInfo info;
      if (db->GetSfigDefInfo(kAttrDefinitionKind, i, &info) == 0) continue;
      for (int k = 0; k < info.buff.GetNum(); ++k) {
        ZCdbRecBase* rec = info.buff.GetPtr(k);
        if (rec != nullptr) Walk(rec);
      }
    }
  }

  const int mode_;
  const SxfAttrHandleMap& map_;
  NewFileAttrList& out_;
};

}  // namespace

void CollectAttrEntries(ZCdbRecBase* root, int mode, const SxfAttrHandleMap& map, NewFileAttrList& out) {
  if (root == nullptr) return;
  Collector(mode, map, out).Walk(root);
}
