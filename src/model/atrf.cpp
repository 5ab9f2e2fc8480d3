#include "model/atrf.h"

#include <cstring>

SxfZCdbATRFInfo::~SxfZCdbATRFInfo() {
  DeleteAll();
}

void SxfZCdbATRFInfo::DeleteAll() {
  for (int i = 0; i < GetCount(); ++i) delete (*this)[i];
  RemoveAll();
}

SxfZCdbATRF::SxfZCdbATRF() : info(new SxfZCdbATRFInfo) {}

SxfZCdbATRF::SxfZCdbATRF(const SxfZCdbATRF& other) : info(new SxfZCdbATRFInfo) {
  const SxfZCdbATRFInfo& src = *other.info;
  for (int i = 0; i < src.GetCount(); ++i) {
    // An empty slot copies as an empty reference, so the copy always has a full list.
    info->Add(src[i] ? new SxfZCdbAttrSetRef(*src[i]) : new SxfZCdbAttrSetRef);
  }
}

SxfZCdbATRF& SxfZCdbATRF::operator=(const SxfZCdbATRF& other) {
  if (this == &other) return *this;
  SxfZCdbATRFInfo& dst = *info;
  const SxfZCdbATRFInfo& src = *other.info;
  const int n = src.GetCount();
  if (dst.GetCount() > n) {
    for (int i = n; i < dst.GetCount(); ++i) delete dst[i];
    dst.Truncate(n);
  }
  while (dst.GetCount() < n) dst.Add(new SxfZCdbAttrSetRef);
  for (int i = 0; i < n; ++i) {
    if (!dst[i]) dst[i] = new SxfZCdbAttrSetRef;
    if (src[i]) {
      // Group assignment copies isAttrSetRef too.
      *dst[i] = *src[i];
    } else {
      dst[i]->ClrAll();
      dst[i]->SetName("");
      dst[i]->isAttrSetRef = 1;
    }
  }
  return *this;
}

SxfZCdbATRF::~SxfZCdbATRF() {
  delete info;
}

int SxfZCdbATRF::GetAttrSetRefCnt() const {
  return info->GetCount();
}

SxfZCdbAttrSetRef* SxfZCdbATRF::GetAttrSetRefData(int i) const {
  return info->IsValidIndex(i) ? (*info)[i] : nullptr;
}

SxfZCdbAttrSetRef* SxfZCdbATRF::FindAttrSetRefData(const char* refId) const {
  if (!refId) return nullptr;
  for (int i = 0; i < info->GetCount(); ++i) {
    SxfZCdbAttrSetRef* ref = (*info)[i];
    if (ref && std::strcmp(ref->GetRefId(), refId) == 0) return ref;
  }
  return nullptr;
}

SxfZCdbAttrSetRef* SxfZCdbATRF::AddAttrSetRefData(const char* refId, int unique) {
  if (unique) {
    if (SxfZCdbAttrSetRef* found = FindAttrSetRefData(refId ? refId : "")) return found;
  }
  SxfZCdbAttrSetRef* ref = new SxfZCdbAttrSetRef;
  ref->SetRefId(refId ? refId : "");
  info->Add(ref);
  return ref;
}

SxfZCdbAttrSetRef* SxfZCdbATRF::AddAttrSetRefData(const SxfZCdbAttrSetRef& src) {
  SxfZCdbAttrSetRef* ref = new SxfZCdbAttrSetRef(src);
  info->Add(ref);
  return ref;
}

void SxfZCdbATRF::DelAttrSetRefData(int i) {
  if (!info->IsValidIndex(i)) return;
  delete (*info)[i];
  info->RemoveAt(i);
}

void SxfZCdbATRF::ClrAttrSetRefData() {
  info->DeleteAll();
}

int SxfZCdbATRF::GetAttrDataCnt(int& nAttr, int& nTarget, int& nAtrs) const {
  nAttr = nTarget = nAtrs = 0;
  for (int i = 0; i < info->GetCount(); ++i) {
    if (const SxfZCdbAttrSetRef* ref = (*info)[i]) ref->GetAttrDataCnt(nAttr, nTarget, nAtrs);
  }
  return nAttr + nTarget + nAtrs;
}

int SxfZCdbATRF::IsSame(const SxfZCdbATRF& other) const {
  if (this == &other) return 1;
  if (info->GetCount() != other.info->GetCount()) return 0;
  for (int i = 0; i < info->GetCount(); ++i) {
    const SxfZCdbAttrSetRef* a = (*info)[i];
    const SxfZCdbAttrSetRef* b = (*other.info)[i];
    if (!a || !b) {
      if (a != b) return 0;
      continue;
    }
    // The group comparison checks isAttrSetRef before the content.
    if (!a->IsSame(*b)) return 0;
  }
  return 1;
}
