#include "host/zcdb_rec.h"

#include "host/zcdb_buff.h"
#include "host/zcdb_grp.h"

ZCdbRecBase::~ZCdbRecBase() = default;

ZCdbGrp* ZCdbRecBase::GetZCdbGrp() const {
  for (ZCdbTblBase* t = parent_; t; t = t->parent_) {
    if (t->GetRecKind() == ZCDB_KIND_GRP) return static_cast<ZCdbGrp*>(t);
  }
  return nullptr;
}

ZCdbRecBase* ZCdbRecBase::GetNextChild(ZCdbRecBase* child) const {
  return child && child->parent_ == this ? child->next_ : nullptr;
}

void ZCdbRecBase::CopyBaseFrom(const ZCdbRecBase& other) {
  kind_ = other.kind_;
  status_ = other.status_ & ~static_cast<DWORD>(ZCDB_STATUS_REMOVED);
}

ZCdbTblBase::~ZCdbTblBase() {
  for (ZCdbRecBase* child = first_; child;) {
    ZCdbRecBase* next = child->next_;
    delete child;
    child = next;
  }
}

void ZCdbTblBase::LinkChild(ZCdbRecBase* child, ZCdbRecBase* before) {
  child->parent_ = this;
  child->next_ = before;
  child->prev_ = before ? before->prev_ : last_;
  if (child->prev_) {
    child->prev_->next_ = child;
  } else {
    first_ = child;
  }
  if (before) {
    before->prev_ = child;
  } else {
    last_ = child;
  }
  ++count_;
}

void ZCdbTblBase::UnlinkChild(ZCdbRecBase* child) {
  if (child->prev_) {
    child->prev_->next_ = child->next_;
  } else {
    first_ = child->next_;
  }
  if (child->next_) {
    child->next_->prev_ = child->prev_;
  } else {
    last_ = child->prev_;
  }
  child->parent_ = nullptr;
  child->prev_ = child->next_ = nullptr;
  --count_;
}

int ZCdbTblBase::AppendChild(ZCdbRecBase* child) {
  if (GetZCdb() || !child || child == this || child->GetZCdb() || child->parent_) return 0;
  // A table cannot go below itself.
  for (const ZCdbTblBase* t = this; t; t = t->parent_) {
    if (t == child) return 0;
  }
  LinkChild(child);
  return 1;
}

int ZCdbTblBase::GetElm2(ZCdbBuff& buff, BYTE kind) const {
  int added = 0;
  for (ZCdbRecBase* child = first_; child; child = child->next_) {
    if (child->TestStatus(ZCDB_STATUS_REMOVED)) continue;
    if (child->IsElm()) {
      if (kind == 0xFF || child->GetRecKind() == kind) {
        buff.Add(child);
        ++added;
      }
    } else if (child->GetFirstChild()) {
      // Only tables have children.
      added += static_cast<const ZCdbTblBase*>(child)->GetElm2(buff, kind);
    }
  }
  return added;
}

ZCdbRecBase* ZCdbTbl::CloneSelf() const {
  ZCdbTbl* copy = new ZCdbTbl(GetRecKind());
  copy->CopyBaseFrom(*this);
  return copy;
}
