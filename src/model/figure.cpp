#include "model/figure.h"

#include <cstring>

#include "host/dword_array_x.h"
#include "host/record_walk.h"
#include "host/wildcard.h"
#include "host/zcdb_elm.h"
#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "model/attr_grp.h"
#include "model/group_walk.h"
#include "model/japanese_texts.h"

namespace {

// The host record text that a stub's value stands for: a string or text element's text.
int ElementTextMatches(ZCdbRecBase* rec, const WildCardEx& pattern) {
  ZGElm* elm = static_cast<ZCdbElm*>(rec)->GetZGElm();
  if (!elm) return 0;
  switch (elm->GetElmType()) {
    case ZGELM_STRING:
      return pattern.IsMatch(static_cast<ZString*>(elm)->GetCString(), 0) ? 1 : 0;
    case ZGELM_TEXT:
      return pattern.IsMatch(static_cast<ZText*>(elm)->GetCString(), 0) ? 1 : 0;
    default:
      return 0;
  }
}

// The record's own text, or the first text below it that matches: depth first over the
// children of a non-element record, skipping removed ones.
int RecordTextMatches(ZCdbRecBase* rec, const WildCardEx& pattern) {
  if (rec->IsElm()) return ElementTextMatches(rec, pattern);
  int matched = 0;
  bool root = true;
  WalkRecordTree(rec, [&](ZCdbRecBase* r) {
    if (root) {
      root = false;
      return WalkStep::kDescend;
    }
    if (r->TestStatus(ZCDB_STATUS_REMOVED)) return WalkStep::kSkipBelow;
    if (!r->IsElm()) return WalkStep::kDescend;
    matched = ElementTextMatches(r, pattern);
    return matched ? WalkStep::kStop : WalkStep::kSkipBelow;
  });
  return matched;
}

int AttrMatches(const SxfZCdbATRU& attr, int byName, int byValue, const WildCardEx& pattern) {
  if (byName && pattern.IsMatch(attr.name, 0)) return 1;
  if (byValue && pattern.IsMatch(attr.value, 0)) return 1;
  return 0;
}

}  // namespace

SxfZCdbFigure::SxfZCdbFigure()
    : handle(ZCDB_NO_HANDLE), attrType(SXF_ATTR_NONE), contour(nullptr), image(nullptr), targetedCnt(0) {}

SxfZCdbFigure::SxfZCdbFigure(const SxfZCdbFigure& other) : SxfZCdbFigure() {
  handle = other.handle;
  Copy(other);
}

SxfZCdbFigure& SxfZCdbFigure::operator=(const SxfZCdbFigure& other) {
  if (this != &other) {
    handle = other.handle;
    Copy(other);
  }
  return *this;
}

SxfZCdbFigure::~SxfZCdbFigure() {
  DeleteContents();
  handle = ZCDB_NO_HANDLE;
}

void SxfZCdbFigure::DeleteContents() {
  delete contour;
  contour = nullptr;
  delete image;
  image = nullptr;
  attr.Reset();
  attrType = SXF_ATTR_NONE;
}

void SxfZCdbFigure::Copy(const SxfZCdbFigure& other) {
  if (this == &other) return;
  DeleteContents();
  if (other.contour) contour = new SxfZCdbATRU(*other.contour);
  if (other.image) image = new SxfZCdbATRU(*other.image);
  name = other.name;
  // The type makes the object (an empty one of its class, none for type 0 or codes above 3),
  // and the source's object fills it when it can be read as that class. So a figure read from
  // an odd record (a type without an object, or an object of another class) copies to a figure
  // whose object matches its type.
  SetAttrType(other.attrType);
  switch (attrType) {
    case SXF_ATTR_ATRF:
      if (const SxfZCdbATRF* atrf = other.attr.ATRF()) *attr.ATRF() = *atrf;
      break;
    case SXF_ATTR_ATRU:
      if (const SxfZCdbATRU* atru = other.attr.ATRU()) *attr.ATRU() = *atru;
      break;
    case SXF_ATTR_ATRS:
      if (const SxfZCdbATRS* stub = other.attr.ATRS()) ATRS_SetAttr(*stub);
      break;
    default:
      break;
  }
}

void SxfZCdbFigure::Clear(int resetHandle) {
  DeleteContents();
  if (resetHandle) handle = ZCDB_NO_HANDLE;
}

void SxfZCdbFigure::SetAttrType(BYTE type) {
  if (attrType != SXF_ATTR_NONE && attrType != type) {
    attr.Reset();
    attrType = SXF_ATTR_NONE;
  }
  if (attrType == SXF_ATTR_NONE && type != SXF_ATTR_NONE) {
    attrType = type;
    switch (type) {
      case SXF_ATTR_ATRF:
        attr.Create(SxfZCdbFigureAttr::kATRF);
        break;
      case SXF_ATTR_ATRU:
        attr.Create(SxfZCdbFigureAttr::kATRU);
        break;
      case SXF_ATTR_ATRS:
        attr.Create(SxfZCdbFigureAttr::kATRS);
        break;
      default:
        attr.Reset();
        break;
    }
  }
}

void SxfZCdbFigure::ATRU_SetAttr(const SxfZCdbATRU& value) {
  if (attr.IsNull()) {
    attrType = SXF_ATTR_ATRU;
    attr.Reset(new SxfZCdbATRU(value));
  } else if (SxfZCdbATRU* atru = attr.ATRU()) {
    *atru = value;
  }
  // Another class in the slot is a caller error; overwriting it would silently drop set
  // references or a stub, so the figure stays as it is.
}

void SxfZCdbFigure::ATRS_SetAttr(const SxfZCdbATRS& value) {
  // Only a stub figure takes stub fields; a user attribute keeps its own definition part.
  if (attrType != SXF_ATTR_ATRS) return;
  SxfZCdbATRS* stub = attr.ATRS();
  if (!stub || stub == &value) return;
  stub->name = value.name;
  stub->type = value.type;
  stub->unit = value.unit;
}

SxfZCdbATRU* SxfZCdbFigure::FindAttrData(const char* text) const {
  if (!text) return nullptr;
  if (attrType == SXF_ATTR_ATRU) {
    SxfZCdbATRU* atru = attr.ATRU();
    return atru && std::strcmp(atru->name, text) == 0 ? atru : nullptr;
  }
  if (attrType != SXF_ATTR_ATRF) return nullptr;
  const SxfZCdbATRF* atrf = attr.ATRF();
  if (!atrf) return nullptr;
  for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
    const SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
    if (!ref) continue;
    if (SxfZCdbATRU* found = ref->FindAttrData(text)) return found;
  }
  return nullptr;
}

int SxfZCdbFigure::GetTarget(CDWordArrayX& handles) const {
  if (attrType != SXF_ATTR_ATRF) return 0;
  group_walk::ForEachTarget(*this, [&](DWORD handle) { handles.Add(handle); });
  return handles.GetCount();
}

void SxfZCdbFigure::ClearTarget(CDWordArrayX* removed) {
  if (attrType != SXF_ATTR_ATRF) return;
  if (SxfZCdbATRF* atrf = attr.ATRF()) {
    for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
      if (SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i)) ref->ClearTarget(removed);
    }
  }
}

SxfZCdbAttrGrp* SxfZCdbFigure::FindTarget(DWORD target, CString& memo) {
  if (attrType != SXF_ATTR_ATRF) return nullptr;
  SxfZCdbATRF* atrf = attr.ATRF();
  if (!atrf) return nullptr;
  for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
    SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
    if (!ref) continue;
    if (SxfZCdbAttrGrp* found = ref->FindTarget(target, memo)) return found;
  }
  return nullptr;
}

int SxfZCdbFigure::ChangeTarget(DWORD oldHandle, DWORD newHandle) {
  CString scratch;
  SxfZCdbAttrGrp* group = FindTarget(oldHandle, scratch);
  if (!group) return 1;
  // Rewriting a handle to itself would find the same attribute for ever.
  if (oldHandle == newHandle) return 1;
  int changed = 0;
  while (group) {
    SxfZCdbATRU* hit = nullptr;
    for (int i = 0; i < group->GetAttrCnt(); ++i) {
      SxfZCdbATRU* a = group->GetAttrData(i);
      // The same test as FindTarget, so the group it found always has a match here.
      if (a->IsTarget() == oldHandle) {
        hit = a;
        break;
      }
    }
    if (!hit) return changed;
    hit->value.Format("%u", static_cast<unsigned>(newHandle));
    changed = 1;
    // Should the new text still read back as the old handle, stop rather than loop.
    if (hit->IsTarget() == oldHandle) return changed;
    group = FindTarget(oldHandle, scratch);
  }
  return changed;
}

int SxfZCdbFigure::HasData(int byName, int byValue, const WildCardEx& pattern, ZCdbRecBase* rec) const {
  if (contour && AttrMatches(*contour, byName, byValue, pattern)) return 1;
  if (image && AttrMatches(*image, byName, byValue, pattern)) return 1;
  switch (attrType) {
    case SXF_ATTR_ATRS: {
      const SxfZCdbATRS* stub = attr.ATRS();
      if (stub && byName && pattern.IsMatch(stub->name, 0)) return 1;
      if (!byValue || !rec) return 0;
      return RecordTextMatches(rec, pattern);
    }
    case SXF_ATTR_ATRU: {
      const SxfZCdbATRU* atru = attr.ATRU();
      return atru && AttrMatches(*atru, byName, byValue, pattern) ? 1 : 0;
    }
    case SXF_ATTR_ATRF: {
      const SxfZCdbATRF* atrf = attr.ATRF();
      if (!atrf) return 0;
      for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
        const SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
        if (ref && ref->HasData(byName, byValue, pattern)) return 1;
      }
      return 0;
    }
    default:
      return 0;
  }
}

int SxfZCdbFigure::GetAtrfAtrs(ATRS_BUFF& buf, int max) const {
  const int limit = max < 1 ? 10000 : max;
  if (attrType == SXF_ATTR_ATRF) {
    if (const SxfZCdbATRF* atrf = attr.ATRF()) {
      for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
        const SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
        if (!ref) continue;
        if (ref->FindAtrsData(buf, limit) >= limit) break;
      }
    }
  }
  return buf.GetCount();
}

int SxfZCdbFigure::HasAtrfAtrs() const {
  ATRS_BUFF buf;
  return GetAtrfAtrs(buf, 1) > 0 ? 1 : 0;
}

int SxfZCdbFigure::IsSame(const SxfZCdbFigure& other, int checkTargeted) {
  if (this == &other) return 1;
  if (checkTargeted && (targetedCnt > 0 || other.targetedCnt > 0)) return 0;
  if (attrType != other.attrType) return 0;
  if (name.Compare(other.name) != 0) return 0;
  if ((contour == nullptr) != (other.contour == nullptr)) return 0;
  if (contour && !contour->IsSame(*other.contour)) return 0;
  if ((image == nullptr) != (other.image == nullptr)) return 0;
  if (image && !image->IsSame(*other.image)) return 0;
  if (attr.IsNull() && other.attr.IsNull()) return 1;
  if (attr.IsNull() || other.attr.IsNull()) return 0;
  switch (attrType) {
    case SXF_ATTR_ATRF:
    case SXF_ATTR_ATRU:
      return attr.IsSame(other.attr);
    case SXF_ATTR_ATRS: {
      // A stub compares by name, type and unit only.
      const SxfZCdbATRS* a = attr.ATRS();
      const SxfZCdbATRS* b = other.attr.ATRS();
      if (a && b) return a->SxfZCdbATRS::IsSame(*b) ? 1 : 0;
      return attr.IsSame(other.attr);
    }
    default:
      return 1;
  }
}

void SxfZCdbFigure::WriteText(CArchive&, BYTE, ZCdbRecBase*) {}

BYTE SxfZCdbFigure::StoredType() const {
  switch (attrType) {
    case SXF_ATTR_ATRF:
      return attr.ATRF() != nullptr ? attrType : BYTE{SXF_ATTR_NONE};
    case SXF_ATTR_ATRU:
      return attr.ATRU() != nullptr ? attrType : BYTE{SXF_ATTR_NONE};
    case SXF_ATTR_ATRS:
      return attr.ATRS() != nullptr ? attrType : BYTE{SXF_ATTR_NONE};
    default:
      return SXF_ATTR_NONE;
  }
}
