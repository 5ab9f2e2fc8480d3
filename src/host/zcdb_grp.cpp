#include "host/zcdb_grp.h"

ZCdbGrp::~ZCdbGrp() = default;

ZCdbRecBase* ZCdbGrp::CloneSelf() const {
  ZCdbGrp* copy = new ZCdbGrp();
  copy->CopyBaseFrom(*this);
  if (matrix_) copy->SetVirtualMatrix(*matrix_);
  return copy;
}
