#include "host/zcdb_blk.h"

ZCdbBlk::~ZCdbBlk() = default;

ZCdbRecBase* ZCdbBlk::CloneSelf() const {
  ZCdbBlk* copy = new ZCdbBlk();
  copy->CopyBaseFrom(*this);
  return copy;
}
