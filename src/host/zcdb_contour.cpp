#include "host/zcdb_contour.h"

ZCdbContour::ZCdbContour(double elevation) : ZCdbTblBase(ZCDB_KIND_CONTOUR) {
  SetHyoko(elevation);
}

ZCdbContour::~ZCdbContour() = default;

CString ZCdbContour::GetHyokoStr() const {
  CString text;
  // 17 significant digits give back the same double through atof.
  if (hasHyoko_) text.Format("%.17g", hyoko_);
  return text;
}

void ZCdbContour::SetHyoko(double elevation) {
  hyoko_ = elevation;
  hasHyoko_ = 1;
}

ZCdbRecBase* ZCdbContour::CloneSelf() const {
  ZCdbContour* copy = new ZCdbContour();
  copy->CopyBaseFrom(*this);
  copy->hasHyoko_ = hasHyoko_;
  copy->hyoko_ = hyoko_;
  return copy;
}
