#include "model/attr_grp.h"

#include <memory>
#include <vector>

#include "host/dword_array_x.h"
#include "host/wildcard.h"
#include "platform/exceptions.h"

namespace {

constexpr DWORD kNoHandle = 0xFFFFFFFF;

// A deep copy of a group's content; every sub-group becomes a plain group.
std::unique_ptr<SxfZCdbAttrGrpInfo> CopyInfo(const SxfZCdbAttrGrpInfo& src) {
  std::unique_ptr<SxfZCdbAttrGrpInfo> copy(new SxfZCdbAttrGrpInfo);
  copy->name = src.name;
  for (int i = 0; i < src.attrs.GetCount(); ++i) copy->attrs.Add(src.attrs[i]);
  for (int i = 0; i < src.groups.GetCount(); ++i) {
    std::unique_ptr<SxfZCdbAttrGrp> sub(src.groups[i] ? new SxfZCdbAttrGrp(*src.groups[i]) : nullptr);
    copy->groups.Add(sub.get());
    sub.release();
  }
  return copy;
}

}  // namespace

// Trees read from files are at most kMaxGroupDepth deep, but callers can build deeper ones: the
// subtree is taken apart with an explicit list so that destroying any tree uses constant stack.
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
    : isAttrSetRef(other.isAttrSetRef), info(CopyInfo(*other.info).release()) {}

// The copy is made before the old content goes, so a group may be assigned one of its own
// descendants; info itself keeps its identity.
SxfZCdbAttrGrp& SxfZCdbAttrGrp::operator=(const SxfZCdbAttrGrp& other) {
  if (this == &other) return *this;
  std::unique_ptr<SxfZCdbAttrGrpInfo> copy = CopyInfo(*other.info);
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
  if (info->name != other.info->name) return 0;
  const TVector<SxfZCdbAttrGrp*>& groups = info->groups;
  const TVector<SxfZCdbAttrGrp*>& otherGroups = other.info->groups;
  if (groups.GetCount() != otherGroups.GetCount()) return 0;
  for (int i = 0; i < groups.GetCount(); ++i) {
    if (!groups[i] || !otherGroups[i]) {
      if (groups[i] != otherGroups[i]) return 0;
      continue;
    }
    if (!groups[i]->IsSame(*otherGroups[i])) return 0;
  }
  const TVector<SxfZCdbATRU>& attrs = info->attrs;
  const TVector<SxfZCdbATRU>& otherAttrs = other.info->attrs;
  if (attrs.GetCount() != otherAttrs.GetCount()) return 0;
  for (int i = 0; i < attrs.GetCount(); ++i)
    if (!attrs[i].IsSame(otherAttrs[i])) return 0;
  return 1;
}

SxfZCdbATRU* SxfZCdbAttrGrp::FindAttrData(const char* name) const {
  CString wanted(name);
  for (int i = 0; i < info->attrs.GetCount(); ++i)
    if (info->attrs[i].name == wanted) return &info->attrs[i];
  for (int i = 0; i < info->groups.GetCount(); ++i) {
    if (!info->groups[i]) continue;
    if (SxfZCdbATRU* found = info->groups[i]->FindAttrData(name)) return found;
  }
  return nullptr;
}

int SxfZCdbAttrGrp::HasData(int byName, int byValue, const WildCardEx& pattern) const {
  if (!byName && !byValue) return 0;
  for (int i = 0; i < info->attrs.GetCount(); ++i) {
    const SxfZCdbATRU& attr = info->attrs[i];
    if (byName && pattern.IsMatch(attr.name, 0)) return 1;
    if (byValue && pattern.IsMatch(attr.value, 0)) return 1;
  }
  for (int i = 0; i < info->groups.GetCount(); ++i)
    if (info->groups[i] && info->groups[i]->HasData(byName, byValue, pattern)) return 1;
  return 0;
}

int SxfZCdbAttrGrp::GetAttrDataCnt(int& nAttr, int& nTarget, int& nAtrs) const {
  for (int i = 0; i < info->attrs.GetCount(); ++i) {
    const SxfZCdbATRU& attr = info->attrs[i];
    if (attr.IsAtrsData()) {
      ++nAtrs;
    } else if (attr.IsTarget() != kNoHandle) {
      ++nTarget;
    } else {
      ++nAttr;
    }
  }
  for (int i = 0; i < info->groups.GetCount(); ++i)
    if (info->groups[i]) info->groups[i]->GetAttrDataCnt(nAttr, nTarget, nAtrs);
  return nAttr + nTarget + nAtrs;
}

int SxfZCdbAttrGrp::FindAtrsData(ATRS_BUFF& buf, int nMax) const {
  for (int i = 0; i < info->attrs.GetCount(); ++i) {
    const SxfZCdbATRU& attr = info->attrs[i];
    if (!attr.IsAtrsData()) continue;
    buf.Add(attr);  // the SxfZCdbATRS part: name, type, unit
    if (buf.GetCount() >= nMax) return buf.GetCount();
  }
  for (int i = 0; i < info->groups.GetCount(); ++i) {
    if (!info->groups[i]) continue;
    info->groups[i]->FindAtrsData(buf, nMax);
    if (buf.GetCount() >= nMax) break;
  }
  return buf.GetCount();
}

int SxfZCdbAttrGrp::AddTarget(ULONG handle, const char* memo) {
  SxfZCdbATRU target;
  target.SetTarget(handle, memo);
  return AddAttrData(target);
}

int SxfZCdbAttrGrp::DelTarget(ULONG handle) {
  // Non-target attributes report 0xFFFFFFFF, so that handle must never match.
  if (handle == kNoHandle) return 0;
  for (int i = 0; i < info->attrs.GetCount(); ++i) {
    if (info->attrs[i].IsTarget() == handle) {
      info->attrs.RemoveAt(i);
      return 1;
    }
  }
  for (int i = 0; i < info->groups.GetCount(); ++i)
    if (info->groups[i] && info->groups[i]->DelTarget(handle)) return 1;
  return 0;
}

void SxfZCdbAttrGrp::GetTarget(CDWordArrayX& out) const {
  for (int i = 0; i < info->attrs.GetCount(); ++i) {
    DWORD handle = info->attrs[i].IsTarget();
    if (handle != kNoHandle) out.Add(handle);
  }
  for (int i = 0; i < info->groups.GetCount(); ++i)
    if (info->groups[i]) info->groups[i]->GetTarget(out);
}

void SxfZCdbAttrGrp::ClearTarget(CDWordArrayX* out) {
  for (int i = 0; i < info->attrs.GetCount();) {
    DWORD handle = info->attrs[i].IsTarget();
    if (handle == kNoHandle) {
      ++i;
      continue;
    }
    if (out) out->Add(handle);
    info->attrs.RemoveAt(i);  // the next attribute moves into i
  }
  for (int i = 0; i < info->groups.GetCount(); ++i)
    if (info->groups[i]) info->groups[i]->ClearTarget(out);
}

SxfZCdbAttrGrp* SxfZCdbAttrGrp::FindTarget(ULONG handle, CString& memo) const {
  if (handle == kNoHandle) return nullptr;
  for (int i = 0; i < info->attrs.GetCount(); ++i) {
    if (info->attrs[i].IsTarget() == handle) {
      memo = info->attrs[i].zukeiName;
      return const_cast<SxfZCdbAttrGrp*>(this);
    }
  }
  for (int i = 0; i < info->groups.GetCount(); ++i) {
    if (!info->groups[i]) continue;
    if (SxfZCdbAttrGrp* found = info->groups[i]->FindTarget(handle, memo)) return found;
  }
  return nullptr;
}

SxfZCdbAttrSet::~SxfZCdbAttrSet() = default;

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
  // The platform has no invalid-argument exception class of its own; its base class stands in.
  if (i < 0) throw CException();
  if (i >= m_list.GetCount()) return SxfZCdbATRS();
  return *m_list[i];
}
