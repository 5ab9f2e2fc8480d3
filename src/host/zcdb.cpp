#include "host/zcdb.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_set>

#include "host/record_walk.h"

namespace {

// rec and everything below it, parents before children, children in order.
std::vector<ZCdbRecBase*> PreOrder(ZCdbRecBase* rec) {
  std::vector<ZCdbRecBase*> out;
  WalkRecordTree(rec, [&](ZCdbRecBase* r) {
    out.push_back(r);
    return WalkStep::kDescend;
  });
  return out;
}

POSITION ToPosition(size_t value) {
  return reinterpret_cast<POSITION>(static_cast<uintptr_t>(value));
}
size_t FromPosition(POSITION pos) {
  return static_cast<size_t>(reinterpret_cast<uintptr_t>(pos));
}

}  // namespace

ZCdb::ZCdb(int withUndo) : ZCdbTblBase(ZCDB_KIND_DB) {
  if (withUndo) undo_.reset(new ZCdbUndo());
  // The root is its own database, so a walk that asks any record for its ZCdb gets an answer.
  db_ = this;
}

ZCdb::~ZCdb() {
  // Undo items may point at figures of attribute databases and at retired records: release
  // them while both still exist.
  if (undo_) undo_->Clear();
  for (auto it = attrDbs_.rbegin(); it != attrDbs_.rend(); ++it) delete it->second;
  attrDbs_.clear();
  for (ZCdbBlk* blk : blocks_) delete blk;
  for (auto& kind : defs_) {
    for (ZCdbSfigInfo& def : kind.second) {
      for (int i = 0; i < def.buff.GetNum(); ++i) delete def.buff.GetPtr(i);
    }
  }
  for (ZCdbRecBase* rec : graveyard_) delete rec;
  // The tree itself goes with the table base class.
}

// ---- attribute databases ----

int ZCdb::RegisterAttrDB(const char* name, ZCdbAttrDB* adb) {
  if (!name || !adb || GetAttrDB(name)) return 0;
  for (const auto& entry : attrDbs_) {
    if (entry.second == adb) return 0;
  }
  adb->m_pZCdb = this;
  adb->m_pUndo = undo_.get();
  attrDbs_.emplace_back(CString(name), adb);
  return 1;
}

ZCdbAttrDB* ZCdb::CreateAttrDB(ZCdbAttrDBEntryFunc entry, CEnvironObj* env, const char* name) {
  if (!entry) return nullptr;
  ZCdbAttrDB* adb = entry(env);
  if (!adb) return nullptr;
  if (!RegisterAttrDB(name, adb)) {
    delete adb;
    return nullptr;
  }
  return adb;
}

ZCdbAttrDB* ZCdb::GetAttrDB(const char* name) const {
  if (!name) return nullptr;
  for (const auto& entry : attrDbs_) {
    if (std::strcmp(entry.first, name) == 0) return entry.second;
  }
  return nullptr;
}

ZCdbAttrDB* ZCdb::GetAttrDBAt(int index) const {
  return index >= 0 && index < GetAttrDBCount() ? attrDbs_[static_cast<size_t>(index)].second : nullptr;
}

template <class Fn>
void ZCdb::Notify(Fn fn) {
  // A copy, so an attribute database registered during a notification does not disturb the walk.
  std::vector<ZCdbAttrDB*> targets;
  for (const auto& entry : attrDbs_) targets.push_back(entry.second);
  for (ZCdbAttrDB* adb : targets) fn(adb);
}

// ---- undo ----

void ZCdb::BeginUndoStep() {
  if (undo_) undo_->BeginStep();
}

void ZCdb::EndUndoStep() {
  if (undo_) undo_->EndStep();
}

int ZCdb::Undo() {
  if (!undo_ || undo_->IsBegin() || undo_->GetUndoCount() == 0) return 0;
  Notify([this](ZCdbAttrDB* adb) { adb->OnUndoStart(this, UNDOFUNC_UNDO); });
  const int done = undo_->Undo();
  Notify([this](ZCdbAttrDB* adb) { adb->OnUndoEnd(this, UNDOFUNC_UNDO); });
  return done;
}

int ZCdb::Redo() {
  if (!undo_ || undo_->IsBegin() || undo_->GetRedoCount() == 0) return 0;
  Notify([this](ZCdbAttrDB* adb) { adb->OnUndoStart(this, UNDOFUNC_REDO); });
  const int done = undo_->Redo();
  Notify([this](ZCdbAttrDB* adb) { adb->OnUndoEnd(this, UNDOFUNC_REDO); });
  return done;
}

// ---- records ----

ZCdbRecBase* ZCdb::FindRecord(DWORD handle) const {
  auto it = byHandle_.find(handle);
  return it == byHandle_.end() ? nullptr : it->second;
}

int ZCdb::IsInDrawing(const ZCdbRecBase* rec) const {
  if (rec == this) return 1;
  return rec && rec->db_ == this && rec->handle_ != ZCDB_NO_HANDLE && FindRecord(rec->handle_) == rec;
}

int ZCdb::IsOurTable(const ZCdbTblBase* table) const {
  return table && IsInDrawing(table);
}

int ZCdb::IsUnattached(const ZCdbRecBase* rec) const {
  return rec && rec != this && !rec->db_ && !rec->parent_ && rec->handle_ == ZCDB_NO_HANDLE;
}

int ZCdb::HandlesLeft(size_t count) const {
  return ZCDB_NO_HANDLE - next_ >= count;
}

void ZCdb::Attach(ZCdbRecBase* rec, DWORD handle) {
  rec->db_ = this;
  rec->handle_ = handle;
  byHandle_[handle] = rec;
}

void ZCdb::AttachNew(const std::vector<ZCdbRecBase*>& recs) {
  for (ZCdbRecBase* rec : recs) Attach(rec, next_++);
}

void ZCdb::NotifyAdded(const std::vector<ZCdbRecBase*>& recs) {
  for (ZCdbRecBase* rec : recs) {
    Notify([rec](ZCdbAttrDB* adb) { adb->OnAddData(0, rec, ZCDB_NO_HANDLE, nullptr); });
  }
}

DWORD ZCdb::AddRecord(ZCdbRecBase* rec, ZCdbTblBase* parent) {
  if (!parent) parent = this;
  if (!IsUnattached(rec) || !IsOurTable(parent)) return ZCDB_NO_HANDLE;
  const std::vector<ZCdbRecBase*> recs = PreOrder(rec);
  if (!HandlesLeft(recs.size())) return ZCDB_NO_HANDLE;
  parent->LinkChild(rec);
  AttachNew(recs);
  NotifyAdded(recs);
  return rec->handle_;
}

int ZCdb::LoadRecord(ZCdbRecBase* rec, DWORD handle, ZCdbTblBase* parent) {
  if (!parent) parent = this;
  if (!IsUnattached(rec) || rec->GetFirstChild() || !IsOurTable(parent)) return 0;
  if (handle == ZCDB_NO_HANDLE || FindRecord(handle)) return 0;
  parent->LinkChild(rec);
  Attach(rec, handle);
  if (handle >= next_) next_ = handle + 1;
  return 1;
}

ZCdbRecBase* ZCdb::CloneTree(const ZCdbRecBase* src, std::vector<DWORD>& sourceHandles) {
  ZCdbRecBase* root = nullptr;
  std::vector<ZCdbRecBase*> open;  // the copies of the records being walked below, innermost last
  WalkRecordTree(
      const_cast<ZCdbRecBase*>(src),
      [&](ZCdbRecBase* r) {
        ZCdbRecBase* copy = r->CloneSelf();
        sourceHandles.push_back(r->handle_);
        if (open.empty()) {
          root = copy;
        } else {
          static_cast<ZCdbTblBase*>(open.back())->LinkChild(copy);
        }
        open.push_back(copy);
        return WalkStep::kDescend;
      },
      [&](ZCdbRecBase*) {
        open.pop_back();
        return true;
      });
  return root;
}

ZCdbRecBase* ZCdb::CopyRecord(const ZCdbRecBase* src, ZCdbTblBase* parent) {
  if (!parent) parent = this;
  if (!src || !src->db_ || src->GetRecKind() == ZCDB_KIND_DB || !src->db_->IsInDrawing(src)) return nullptr;
  if (!IsOurTable(parent)) return nullptr;
  ZCdb* srcDb = src->db_;
  std::vector<DWORD> sourceHandles;
  ZCdbRecBase* copy = CloneTree(src, sourceHandles);
  // CloneTree visits records in the same order as PreOrder, so the two lists pair up.
  const std::vector<ZCdbRecBase*> recs = PreOrder(copy);
  if (!HandlesLeft(recs.size())) {
    delete copy;
    return nullptr;
  }
  parent->LinkChild(copy);
  AttachNew(recs);
  for (size_t i = 0; i < recs.size(); ++i) {
    ZCdbRecBase* rec = recs[i];
    const DWORD srcHandle = sourceHandles[i];
    Notify([rec, srcHandle, srcDb](ZCdbAttrDB* adb) { adb->OnAddData(0, rec, srcHandle, srcDb); });
  }
  return copy;
}

int ZCdb::ChangeRecord(ZCdbRecBase* rec) {
  if (!IsInDrawing(rec) || rec == this) return 0;
  Notify([rec](ZCdbAttrDB* adb) { adb->OnChangeData(0, rec); });
  return 1;
}

void ZCdb::MarkSubtree(ZCdbRecBase* rec) {
  std::vector<ZCdbRecBase*> marked;
  for (ZCdbRecBase* r : PreOrder(rec)) {
    if (r->TestStatus(ZCDB_STATUS_REMOVED)) continue;
    r->SetStatus(ZCDB_STATUS_REMOVED);
    marked.push_back(r);
  }
  for (ZCdbRecBase* r : marked) {
    Notify([this, r](ZCdbAttrDB* adb) { adb->OnDelDataMark(0, this, r, 1); });
  }
}

int ZCdb::MarkDeleted(ZCdbRecBase* rec) {
  if (!IsInDrawing(rec) || rec == this || rec->TestStatus(ZCDB_STATUS_REMOVED)) return 0;
  MarkSubtree(rec);
  return 1;
}

int ZCdb::Unmark(ZCdbRecBase* rec) {
  if (!IsInDrawing(rec) || rec == this || !rec->TestStatus(ZCDB_STATUS_REMOVED)) return 0;
  std::vector<ZCdbRecBase*> unmarked;
  for (ZCdbRecBase* r : PreOrder(rec)) {
    if (!r->TestStatus(ZCDB_STATUS_REMOVED)) continue;
    r->ClearStatus(ZCDB_STATUS_REMOVED);
    unmarked.push_back(r);
  }
  for (ZCdbRecBase* r : unmarked) {
    Notify([this, r](ZCdbAttrDB* adb) { adb->OnDelDataMark(0, this, r, 0); });
  }
  return 1;
}

int ZCdb::DeleteRecord(ZCdbRecBase* rec) {
  if (!IsInDrawing(rec) || rec == this) return 0;
  // Attribute databases rely on every record being delete-marked before it is deleted.
  MarkSubtree(rec);
  for (ZCdbRecBase* r : PreOrder(rec)) {
    Notify([this, r](ZCdbAttrDB* adb) { adb->OnDelData(0, this, r); });
  }
  Retire(rec);
  return 1;
}

int ZCdb::Commit() {
  std::vector<ZCdbRecBase*> removed;
  // Topmost marked records only: what is below them leaves with them.
  std::vector<ZCdbRecBase*> roots;
  for (ZCdbRecBase* c = GetFirstChild(); c; c = GetNextChild(c)) roots.push_back(c);
  for (const auto& kind : defs_) {
    for (const ZCdbSfigInfo& def : kind.second) {
      for (int i = 0; i < def.buff.GetNum(); ++i) {
        if (def.buff.GetPtr(i)) roots.push_back(def.buff.GetPtr(i));
      }
    }
  }
  for (ZCdbBlk* blk : blocks_) roots.push_back(blk);
  for (ZCdbRecBase* root : roots) {
    WalkRecordTree(root, [&](ZCdbRecBase* r) {
      if (!r->TestStatus(ZCDB_STATUS_REMOVED)) return WalkStep::kDescend;
      removed.push_back(r);
      return WalkStep::kSkipBelow;
    });
  }
  for (ZCdbRecBase* r : removed) Retire(r);
  Notify([this](ZCdbAttrDB* adb) { adb->OnCommit(0, this); });
  return 1;
}

int ZCdb::ReplaceInDefs(const ZCdbRecBase* rec, ZCdbRecBase* with) {
  for (auto& kind : defs_) {
    for (ZCdbSfigInfo& def : kind.second) {
      for (int i = 0; i < def.buff.GetNum(); ++i) {
        if (def.buff.GetPtr(i) != rec) continue;
        def.buff.SetAt(i, with);
        return 1;
      }
    }
  }
  return 0;
}

int ZCdb::IsListedBlock(const ZCdbRecBase* rec) const {
  return !rec->parent_ && std::find(blocks_.begin(), blocks_.end(), rec) != blocks_.end();
}

void ZCdb::Retire(ZCdbRecBase* rec) {
  if (rec->parent_) {
    rec->parent_->UnlinkChild(rec);
  } else if (IsListedBlock(rec)) {
    ZCdbBlk* blk = static_cast<ZCdbBlk*>(rec);
    blocks_.erase(std::remove(blocks_.begin(), blocks_.end(), blk), blocks_.end());
    auto owner = blockOfOwner_.find(blk->owner_);
    if (owner != blockOfOwner_.end() && owner->second == blk) blockOfOwner_.erase(owner);
  } else {
    ReplaceInDefs(rec, nullptr);
  }
  for (ZCdbRecBase* r : PreOrder(rec)) {
    auto it = byHandle_.find(r->handle_);
    if (it != byHandle_.end() && it->second == r) byHandle_.erase(it);
  }
  graveyard_.push_back(rec);
}

int ZCdb::ReplaceRecordObject(ZCdbRecBase* oldRec, ZCdbRecBase* newRec) {
  return ReplaceRecordObjects({{oldRec, newRec}});
}

int ZCdb::ReplaceRecordObjects(const std::vector<std::pair<ZCdbRecBase*, ZCdbRecBase*>>& pairs) {
  std::unordered_set<const ZCdbRecBase*> olds, news;
  for (const auto& pair : pairs) {
    ZCdbRecBase* oldRec = pair.first;
    ZCdbRecBase* newRec = pair.second;
    if (!IsInDrawing(oldRec) || oldRec == this || !olds.insert(oldRec).second) return 0;
    if (!newRec) continue;
    if (!IsUnattached(newRec) || newRec->GetFirstChild() || !news.insert(newRec).second) return 0;
    if (oldRec->GetFirstChild() && !dynamic_cast<ZCdbTblBase*>(newRec)) return 0;
    if (IsListedBlock(oldRec) && !dynamic_cast<ZCdbBlk*>(newRec)) return 0;
  }
  // A record inside another replaced record's subtree would be handled twice.
  for (const auto& pair : pairs) {
    for (const ZCdbTblBase* t = pair.first->parent_; t; t = t->parent_) {
      if (olds.count(t)) return 0;
    }
  }

  CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*> changes;
  for (const auto& pair : pairs) {
    ZCdbRecBase* oldRec = pair.first;
    ZCdbRecBase* newRec = pair.second;
    const DWORD handle = oldRec->handle_;
    changes.SetAt(handle, newRec);
    if (!newRec) {
      Retire(oldRec);
      continue;
    }
    newRec->status_ = oldRec->status_;
    if (ZCdbTblBase* parent = oldRec->parent_) {
      parent->LinkChild(newRec, oldRec);
      parent->UnlinkChild(oldRec);
    } else if (IsListedBlock(oldRec)) {
      ZCdbBlk* oldBlk = static_cast<ZCdbBlk*>(oldRec);
      ZCdbBlk* newBlk = static_cast<ZCdbBlk*>(newRec);
      newBlk->owner_ = oldBlk->owner_;
      std::replace(blocks_.begin(), blocks_.end(), oldBlk, newBlk);
      auto owner = blockOfOwner_.find(oldBlk->owner_);
      if (owner != blockOfOwner_.end() && owner->second == oldBlk) owner->second = newBlk;
    } else {
      ReplaceInDefs(oldRec, newRec);
    }
    if (ZCdbTblBase* oldTable = dynamic_cast<ZCdbTblBase*>(oldRec)) {
      ZCdbTblBase* newTable = static_cast<ZCdbTblBase*>(newRec);
      while (ZCdbRecBase* child = oldTable->GetFirstChild()) {
        oldTable->UnlinkChild(child);
        newTable->LinkChild(child);
      }
    }
    Attach(newRec, handle);
    // The old object keeps its handle and database: undo items may still swap it back in.
    graveyard_.push_back(oldRec);
  }
  Notify([&changes](ZCdbAttrDB* adb) { adb->OnChangePtr(changes); });
  return 1;
}

// ---- attribute parent blocks ----

ZCdbBlk* ZCdb::FindAttrParentBlk(DWORD handle) const {
  auto it = blockOfOwner_.find(handle);
  return it == blockOfOwner_.end() ? nullptr : it->second;
}

ZCdbBlk* ZCdb::AddAttrParentBlk(DWORD handle) {
  if (!FindRecord(handle) || FindAttrParentBlk(handle) || !HandlesLeft(1)) return nullptr;
  ZCdbBlk* blk = new ZCdbBlk();
  blk->owner_ = handle;
  Attach(blk, next_++);
  blocks_.push_back(blk);
  blockOfOwner_[handle] = blk;
  return blk;
}

ZCdbBlk* ZCdb::GetAttrBlk(POSITION& pos, int first) const {
  // pos holds the index of the next block plus one, so null means the walk has ended.
  size_t next = 0;
  if (!first) {
    if (!pos) return nullptr;
    next = FromPosition(pos) - 1;
  }
  if (next >= blocks_.size()) {
    pos = nullptr;
    return nullptr;
  }
  pos = ToPosition(next + 2);
  return blocks_[next];
}

// ---- definitions ----

int ZCdb::AddSfigDef(DWORD kind, const char* name) {
  std::vector<ZCdbSfigInfo>& list = defs_[kind];
  ZCdbSfigInfo def;
  def.kind = kind;
  def.name = name;
  list.push_back(def);
  return static_cast<int>(list.size()) - 1;
}

DWORD ZCdb::AddSfigDefRecord(DWORD kind, int index, ZCdbRecBase* rec) {
  auto it = defs_.find(kind);
  if (it == defs_.end() || index < 0 || index >= static_cast<int>(it->second.size())) return ZCDB_NO_HANDLE;
  if (!IsUnattached(rec)) return ZCDB_NO_HANDLE;
  const std::vector<ZCdbRecBase*> recs = PreOrder(rec);
  if (!HandlesLeft(recs.size())) return ZCDB_NO_HANDLE;
  it->second[static_cast<size_t>(index)].buff.Add(rec);
  AttachNew(recs);
  NotifyAdded(recs);
  return rec->handle_;
}

int ZCdb::GetSfigDefCnt(DWORD kind) const {
  auto it = defs_.find(kind);
  return it == defs_.end() ? 0 : static_cast<int>(it->second.size());
}

int ZCdb::GetSfigDefInfo(DWORD kind, int index, ZCdbSfigInfo* info) const {
  auto it = defs_.find(kind);
  if (!info || it == defs_.end() || index < 0 || index >= static_cast<int>(it->second.size())) return 0;
  *info = it->second[static_cast<size_t>(index)];
  return 1;
}
