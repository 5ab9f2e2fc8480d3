#include "model/attr_set_ref.h"

SxfZCdbAttrSetRef::SxfZCdbAttrSetRef() {
  isAttrSetRef = 1;
}

SxfZCdbAttrSetRef::~SxfZCdbAttrSetRef() = default;

int SxfZCdbAttrSetRef::IsTargetOnly() const {
  int nAttr = 0, nTarget = 0, nAtrs = 0;
  GetAttrDataCnt(nAttr, nTarget, nAtrs);
  return nAttr == 0 && nTarget > 0 && nAtrs == 0 ? 1 : 0;
}

int SxfZCdbAttrSetRef::IsNoTarget() const {
  int nAttr = 0, nTarget = 0, nAtrs = 0;
  GetAttrDataCnt(nAttr, nTarget, nAtrs);
  return nTarget == 0 ? 1 : 0;
}
