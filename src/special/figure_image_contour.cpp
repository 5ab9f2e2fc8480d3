// The image and contour attributes of a figure, and the conversion of drawings that kept them
// the version 3.0 way, as an ordinary user attribute named "画像" or "等高線".
#include <cstring>

#include "attrdb/attrdb.h"
#include "model/attr_grp.h"
#include "model/figure.h"
#include "model/japanese_texts.h"

namespace {

bool IsOldRasterOrContourName(const CString& name) {
  return std::strcmp(name, kJpImage) == 0 || std::strcmp(name, kJpContour) == 0;
}

// Searches a group tree for the first version 3.0 image or contour attribute (own attributes
// before sub-groups), moves it into out and appends the names of the sub-groups entered on the
// way to path. Iterative, so a deep tree read from a file cannot exhaust the stack.
int TakeOldRasterContor30(SxfZCdbAttrGrp& root, SxfZCdbATRU& out, CString& path) {
  struct Frame {
    SxfZCdbAttrGrp* group;
    int next;  // next sub-group to enter
  };
  CArray<Frame> stack;
  Frame first{&root, -1};
  stack.Add(first);
  while (stack.GetSize() > 0) {
    Frame& top = stack.ElementAt(stack.GetUpperBound());
    SxfZCdbAttrGrp* group = top.group;
    if (top.next < 0) {
      for (int i = 0; i < group->GetAttrCnt(); ++i) {
        const SxfZCdbATRU* a = group->GetAttrData(i);
        if (IsOldRasterOrContourName(a->name)) {
          out = *a;
          group->DelAttrData(i);
          return 1;
        }
      }
      top.next = 0;
    }
    if (top.next >= group->GetAttrGrpCnt()) {
      stack.RemoveAt(stack.GetUpperBound());
      continue;
    }
    SxfZCdbAttrGrp* sub = group->GetAttrGrpData(top.next++);
    if (!sub) continue;
    // The names stay in path even for sub-groups that hold nothing.
    path += "\n";
    path += sub->GetName();
    Frame child{sub, -1};
    stack.Add(child);
  }
  return 0;
}

}  // namespace

int SxfZCdbFigure::SetImageName(const char* zukeiName, const char* value) {
  if (!image) image = new SxfZCdbATRU;
  image->name = kJpImage;
  image->type = "STR";
  image->unit = "";
  image->kind = kDefaultAttrKind;
  image->value = value;
  image->zukeiName = zukeiName;
  return 1;
}

int SxfZCdbFigure::GetImageName(CString& zukeiName, CString& value) {
  if (!image) return 0;
  zukeiName = image->zukeiName;
  value = image->value;
  return 1;
}

int SxfZCdbFigure::HasImage() const {
  return image ? 1 : 0;
}

int SxfZCdbFigure::IsImageOnly() const {
  return image && attrType == SXF_ATTR_NONE ? 1 : 0;
}

int SxfZCdbFigure::SetContour(const char* zukeiName, const char* value, const char* unit) {
  if (!contour) contour = new SxfZCdbATRU;
  contour->name = kJpContour;
  // A given unit, even an empty one, makes the value a length.
  contour->type = unit ? "LEN" : "";
  contour->unit = unit;
  contour->kind = kDefaultAttrKind;
  contour->value = value;
  contour->zukeiName = zukeiName;
  return 1;
}

int SxfZCdbFigure::GetContour(CString& zukeiName, CString& value, CString& unit) const {
  if (!contour) return 0;
  zukeiName = contour->zukeiName;
  value = contour->value;
  unit = contour->unit;
  return 1;
}

int SxfZCdbFigure::RemoveContour() {
  delete contour;
  contour = nullptr;
  return 1;
}

int SxfZCdbFigure::HasContour() const {
  return contour ? 1 : 0;
}

int SxfZCdbFigure::IsContourOnly() const {
  return contour && attrType == SXF_ATTR_NONE ? 1 : 0;
}

int SxfZCdbAttrGrp::GetOldRasterContor30(SxfZCdbATRU& out, CString& path) {
  return TakeOldRasterContor30(*this, out, path);
}

int SxfZCdbFigure::GetOldRasterContor30(SxfZCdbATRU& out, CString& path) {
  if (attrType == SXF_ATTR_ATRU) {
    const SxfZCdbATRU* atru = attr.ATRU();
    if (!atru || !IsOldRasterOrContourName(atru->name)) return 0;
    out = *atru;
    attr.Reset();
    attrType = SXF_ATTR_NONE;
    // Type NONE holds no targets, so this is a no-op kept for the order of the steps.
    ClearTarget(nullptr);
    return 1;
  }
  if (attrType != SXF_ATTR_ATRF) return 0;
  SxfZCdbATRF* atrf = attr.ATRF();
  if (!atrf) return 0;
  for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
    SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
    if (!ref) continue;
    path = ref->GetRefId();
    if (TakeOldRasterContor30(*ref, out, path)) return 1;
  }
  return 0;
}

int SxfZCdbFigure::CheckRastarAndContor30() {
  if (attrType == SXF_ATTR_NONE || attrType == SXF_ATTR_ATRS) return 1;
  SxfZCdbATRU found;
  CString path;
  if (!GetOldRasterContor30(found, path)) return 1;
  if (std::strcmp(found.name, kJpImage) == 0) {
    SetImageName(name, found.value);
  } else {
    SetContour(name, found.value, found.unit);
  }
  return 1;
}

int SxfZCdbAttrDB::IsDefAttrAndStrType(const char* name) {
  if (!name) return 0;
  if (std::strcmp(name, kJpImage) == 0 || std::strcmp(name, kJpColor) == 0 ||
      std::strcmp(name, kJpFileName) == 0 || std::strcmp(name, "URL") == 0) {
    return 1;
  }
  return SrchTitleId(name) != 0 ? 1 : 0;
}
