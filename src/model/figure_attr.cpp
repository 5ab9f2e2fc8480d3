#include "model/figure_attr.h"

#include "model/atrf.h"
#include "model/atru.h"

SxfZCdbFigureAttr::~SxfZCdbFigureAttr() {
  Reset();
}

SxfZCdbATRS* SxfZCdbFigureAttr::ATRS() const {
  if (class_ == kATRS) return atrs_;
  if (class_ == kATRU) return atru_;
  return nullptr;
}

void SxfZCdbFigureAttr::Reset() {
  switch (class_) {
    case kATRF:
      delete atrf_;
      break;
    case kATRU:
      delete atru_;
      break;
    case kATRS:
      delete atrs_;
      break;
    case kNone:
      break;
  }
  class_ = kNone;
  atrs_ = nullptr;
}

void SxfZCdbFigureAttr::Reset(SxfZCdbATRF* obj) {
  Reset();
  if (obj) {
    atrf_ = obj;
    class_ = kATRF;
  }
}

void SxfZCdbFigureAttr::Reset(SxfZCdbATRU* obj) {
  Reset();
  if (obj) {
    atru_ = obj;
    class_ = kATRU;
  }
}

void SxfZCdbFigureAttr::Reset(SxfZCdbATRS* obj) {
  Reset();
  if (obj) {
    atrs_ = obj;
    class_ = kATRS;
  }
}

void SxfZCdbFigureAttr::Create(Class cls) {
  switch (cls) {
    case kATRF:
      Reset(new SxfZCdbATRF);
      break;
    case kATRU:
      Reset(new SxfZCdbATRU);
      break;
    case kATRS:
      Reset(new SxfZCdbATRS);
      break;
    case kNone:
      Reset();
      break;
  }
}

int SxfZCdbFigureAttr::IsSame(const SxfZCdbFigureAttr& other) const {
  if (class_ != other.class_) return 0;
  switch (class_) {
    case kATRF:
      return atrf_->IsSame(*other.atrf_) ? 1 : 0;
    case kATRU:
      return atru_->IsSame(*other.atru_) ? 1 : 0;
    case kATRS:
      return atrs_->IsSame(*other.atrs_) ? 1 : 0;
    case kNone:
      break;
  }
  return 1;
}
