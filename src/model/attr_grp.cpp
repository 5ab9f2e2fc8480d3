#include "model/attr_grp.h"

#include <memory>
#include <utility>
#include <vector>

#include "host/dword_array_x.h"
#include "host/wildcard.h"
#include "host/zcdb_rec.h"
#include "model/group_walk.h"
#include "platform/exceptions.h"

namespace {

template <class Group, class Enter, class AfterSub>
bool WalkTree(Group& root, Enter&& enter, AfterSub&& afterSub) {
  return group_walk::Walk(root, enter, afterSub);
}

template <class Group, class Enter>
bool WalkTree(Group& root, Enter&& enter) {
  return group_walk::Walk(root, enter);
}

// Gives copy the name and attributes of src and a plain copy of every sub-group below it (null
// slots stay null); each copied sub-group keeps its source's isAttrSetRef.
void CopyContent(const SxfZCdbAttrGrpInfo& src, SxfZCdbAttrGrpInfo& copy) {
  std::vector<std::pair<const SxfZCdbAttrGrpInfo*, SxfZCdbAttrGrpInfo*>> pending{{&src, &copy}};
  while (!pending.empty()) {
    const SxfZCdbAttrGrpInfo& from = *pending.back().first;
    SxfZCdbAttrGrpInfo& to = *pending.back().second;
    pending.pop_back();
    to.name = from.name;
    for (int i = 0; i < from.attrs.GetCount(); ++i) to.attrs.Add(from.attrs[i]);
    for (int i = 0; i < from.groups.GetCount(); ++i) {
      const SxfZCdbAttrGrp* sub = from.groups[i];
      std::unique_ptr<SxfZCdbAttrGrp> made(sub ? new SxfZCdbAttrGrp : nullptr);
      to.groups.Add(made.get());
      if (!sub) continue;
      made->isAttrSetRef = sub->isAttrSetRef;
      pending.emplace_back(sub->info, made.release()->info);
    }
  }
}

}  // namespace

// The subtree is taken apart with an explicit list so that destroying any tree uses constant
// stack.
SxfZCdbAttrGrpInfo::~SxfZCdbAttrGrpInfo() {
  std::vector<SxfZCdbAttrGrp*> pending;
  for (int i = 0; i < groups.GetCount(); ++i) pending.push_back(groups[i]);
  groups.RemoveAll();
  while (!pending.empty()) {
    SxfZCdbAttrGrp* group = pending.back();
    pending.pop_back();
    if (group && group->info) {
      TVector<SxfZCdbAttrGrp*>& children = group->info->groups;
      for (int i = 0; i < children.GetCount(); ++i) pending.push_back(children[i]);
      children.RemoveAll();
    }
    delete group;
  }
}

SxfZCdbAttrGrp::SxfZCdbAttrGrp() : isAttrSetRef(0), info(new SxfZCdbAttrGrpInfo) {}

SxfZCdbAttrGrp::SxfZCdbAttrGrp(const SxfZCdbAttrGrp& other)
    : isAttrSetRef(other.isAttrSetRef), info(nullptr) {
  std::unique_ptr<SxfZCdbAttrGrpInfo> copy(new SxfZCdbAttrGrpInfo);
  CopyContent(*other.info, *copy);
  info = copy.release();
}

// The copy is made before the old content goes, so a group may be assigned one of its own
// descendants; info itself keeps its identity.
SxfZCdbAttrGrp& SxfZCdbAttrGrp::operator=(const SxfZCdbAttrGrp& other) {
  if (this == &other) return *this;
  std::unique_ptr<SxfZCdbAttrGrpInfo> copy(new SxfZCdbAttrGrpInfo);
  CopyContent(*other.info, *copy);
  isAttrSetRef = other.isAttrSetRef;
  info->name = copy->name;
  info->attrs.Swap(copy->attrs);
  info->groups.Swap(copy->groups);
  return *this;
}

SxfZCdbAttrGrp::~SxfZCdbAttrGrp() {
  delete info;
}

const char* SxfZCdbAttrGrp::GetName() const {
  return info->name;
}
void SxfZCdbAttrGrp::SetName(const char* name) {
  info->name = name;
}

int SxfZCdbAttrGrp::GetAttrGrpCnt() const {
  return info->groups.GetCount();
}

SxfZCdbAttrGrp* SxfZCdbAttrGrp::GetAttrGrpData(int i) const {
  return info->groups.IsValidIndex(i) ? info->groups[i] : nullptr;
}

SxfZCdbAttrGrp* SxfZCdbAttrGrp::AddAttrGrpData(const SxfZCdbAttrGrp* src) {
  std::unique_ptr<SxfZCdbAttrGrp> group(src ? new SxfZCdbAttrGrp(*src) : new SxfZCdbAttrGrp);
  info->groups.Add(group.get());
  return group.release();
}

void SxfZCdbAttrGrp::DelAttrGrpData(int i) {
  if (!info->groups.IsValidIndex(i)) return;
  SxfZCdbAttrGrp* group = info->groups[i];
  info->groups.RemoveAt(i);
  delete group;
}

void SxfZCdbAttrGrp::ClrAttrGrpData() {
  for (int i = 0; i < info->groups.GetCount(); ++i) delete info->groups[i];
  info->groups.RemoveAll();
}

int SxfZCdbAttrGrp::GetAttrCnt() const {
  return info->attrs.GetCount();
}

SxfZCdbATRU* SxfZCdbAttrGrp::GetAttrData(int i) const {
  return info->attrs.IsValidIndex(i) ? &info->attrs[i] : nullptr;
}

void SxfZCdbAttrGrp::SetAttrData(int i, const SxfZCdbATRU& attr) {
  if (info->attrs.IsValidIndex(i)) info->attrs[i] = attr;
}

int SxfZCdbAttrGrp::AddAttrData(const SxfZCdbATRU& attr) {
  return info->attrs.Add(attr);
}

void SxfZCdbAttrGrp::DelAttrData(int i) {
  info->attrs.RemoveAt(i);
}

void SxfZCdbAttrGrp::ClrAttrData() {
  info->attrs.RemoveAll();
}

void SxfZCdbAttrGrp::ClrAll() {
  ClrAttrData();
  ClrAttrGrpData();
}

int SxfZCdbAttrGrp::IsSame(const SxfZCdbAttrGrp& other) const {
  if (isAttrSetRef != other.isAttrSetRef) return 0;
  // Pairs of groups still to compare; a pair is equal when its names, attributes and sub-group
  // counts are, and its sub-groups pair up equal (isAttrSetRef included).
  std::vector<std::pair<const SxfZCdbAttrGrp*, const SxfZCdbAttrGrp*>> pending{{this, &other}};
  while (!pending.empty()) {
    const SxfZCdbAttrGrpInfo& a = *pending.back().first->info;
    const SxfZCdbAttrGrpInfo& b = *pending.back().second->info;
    pending.pop_back();
    if (a.name != b.name) return 0;
    if (a.groups.GetCount() != b.groups.GetCount()) return 0;
    if (a.attrs.GetCount() != b.attrs.GetCount()) return 0;
    for (int i = 0; i < a.attrs.GetCount(); ++i)
      if (!a.attrs[i].IsSame(b.attrs[i])) return 0;
    for (int i = 0; i < a.groups.GetCount(); ++i) {
      const SxfZCdbAttrGrp* x = a.groups[i];
      const SxfZCdbAttrGrp* y = b.groups[i];
      if (!x || !y) {
        if (x != y) return 0;
        continue;
      }
      if (x->isAttrSetRef != y->isAttrSetRef) return 0;
      pending.emplace_back(x, y);
    }
  }
  return 1;
}

SxfZCdbATRU* SxfZCdbAttrGrp::FindAttrData(const char* name) const {
  CString wanted(name);
  SxfZCdbATRU* found = nullptr;
  WalkTree(*this, [&](const SxfZCdbAttrGrp& g) {
    for (int i = 0; i < g.info->attrs.GetCount(); ++i) {
      if (g.info->attrs[i].name == wanted) {
        found = &g.info->attrs[i];
        return false;
      }
    }
    return true;
  });
  return found;
}

int SxfZCdbAttrGrp::HasData(int byName, int byValue, const WildCardEx& pattern) const {
  if (!byName && !byValue) return 0;
  const bool all = WalkTree(*this, [&](const SxfZCdbAttrGrp& g) {
    for (int i = 0; i < g.info->attrs.GetCount(); ++i) {
      const SxfZCdbATRU& attr = g.info->attrs[i];
      if (byName && pattern.IsMatch(attr.name, 0)) return false;
      if (byValue && pattern.IsMatch(attr.value, 0)) return false;
    }
    return true;
  });
  return all ? 0 : 1;
}

int SxfZCdbAttrGrp::GetAttrDataCnt(int& nAttr, int& nTarget, int& nAtrs) const {
  WalkTree(*this, [&](const SxfZCdbAttrGrp& g) {
    for (int i = 0; i < g.info->attrs.GetCount(); ++i) {
      const SxfZCdbATRU& attr = g.info->attrs[i];
      if (attr.IsAtrsData()) {
        ++nAtrs;
      } else if (attr.IsTarget() != ZCDB_NO_HANDLE) {
        ++nTarget;
      } else {
        ++nAttr;
      }
    }
    return true;
  });
  return nAttr + nTarget + nAtrs;
}

int SxfZCdbAttrGrp::FindAtrsData(ATRS_BUFF& buf, int nMax) const {
  // A group stops at the marker that fills buf; a parent stops after any sub-group that leaves
  // buf full. There is no test before the first addition, so nMax < 1 still takes one marker.
  WalkTree(
      *this,
      [&](const SxfZCdbAttrGrp& g) {
        for (int i = 0; i < g.info->attrs.GetCount(); ++i) {
          const SxfZCdbATRU& attr = g.info->attrs[i];
          if (!attr.IsAtrsData()) continue;
          buf.Add(attr);  // the SxfZCdbATRS part: name, type, unit
          if (buf.GetCount() >= nMax) return false;
        }
        return true;
      },
      [&](const SxfZCdbAttrGrp&) { return buf.GetCount() < nMax; });
  return buf.GetCount();
}

int SxfZCdbAttrGrp::AddTarget(ULONG handle, const char* memo) {
  SxfZCdbATRU target;
  target.SetTarget(handle, memo);
  return AddAttrData(target);
}

int SxfZCdbAttrGrp::DelTarget(ULONG handle) {
  // Non-target attributes report 0xFFFFFFFF, so that handle must never match.
  if (handle == ZCDB_NO_HANDLE) return 0;
  const bool none = WalkTree(*this, [&](SxfZCdbAttrGrp& g) {
    for (int i = 0; i < g.info->attrs.GetCount(); ++i) {
      if (g.info->attrs[i].IsTarget() == handle) {
        g.info->attrs.RemoveAt(i);
        return false;
      }
    }
    return true;
  });
  return none ? 0 : 1;
}

void SxfZCdbAttrGrp::GetTarget(CDWordArrayX& out) const {
  group_walk::ForEachTarget(*this, [&](DWORD handle) { out.Add(handle); });
}

void SxfZCdbAttrGrp::ClearTarget(CDWordArrayX* out) {
  WalkTree(*this, [&](SxfZCdbAttrGrp& g) {
    TVector<SxfZCdbATRU>& attrs = g.info->attrs;
    for (int i = 0; i < attrs.GetCount();) {
      const DWORD handle = attrs[i].IsTarget();
      if (handle == ZCDB_NO_HANDLE) {
        ++i;
        continue;
      }
      if (out) out->Add(handle);
      attrs.RemoveAt(i);  // the next attribute moves into i
    }
    return true;
  });
}

SxfZCdbAttrGrp* SxfZCdbAttrGrp::FindTarget(ULONG handle, CString& memo) const {
  if (handle == ZCDB_NO_HANDLE) return nullptr;
  const SxfZCdbAttrGrp* found = nullptr;
  WalkTree(*this, [&](const SxfZCdbAttrGrp& g) {
    for (int i = 0; i < g.info->attrs.GetCount(); ++i) {
      if (g.info->attrs[i].IsTarget() == handle) {
        memo = g.info->attrs[i].zukeiName;
        found = &g;
        return false;
      }
    }
    return true;
  });
  return const_cast<SxfZCdbAttrGrp*>(found);
}

ATRS_BUFF::~ATRS_BUFF() {
  for (int i = 0; i < m_list.GetCount(); ++i) delete m_list[i];
}

int ATRS_BUFF::Add(const SxfZCdbATRS& atrs) {
  std::unique_ptr<SxfZCdbATRS> copy(new SxfZCdbATRS(atrs));
  int index = m_list.Add(copy.get());
  copy.release();
  return index;
}

int ATRS_BUFF::GetCount() const {
  return m_list.GetCount();
}

SxfZCdbATRS ATRS_BUFF::Get(int i) const {
  if (i < 0) throw CInvalidArgException();
  if (i >= m_list.GetCount()) return SxfZCdbATRS();
  return *m_list[i];
}
