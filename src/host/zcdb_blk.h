// ZCdbBlk: an attribute parent block (kind 20), a record that the host keeps beside another
// record (its owner) to carry attributes on the owner's behalf. A block may own a block in turn,
// so blocks form a chain upwards from a record. Blocks live outside the record tree: they are
// reached through ZCdb::FindAttrParentBlk and ZCdb::GetAttrBlk, never as children.
#pragma once

#include "host/zcdb_rec.h"
#include "platform/visibility.h"

class SXF_HOST_API ZCdbBlk : public ZCdbTblBase {
 public:
  ZCdbBlk() : ZCdbTblBase(ZCDB_KIND_BLK) {}
  ~ZCdbBlk() override;

  // The handle of the record (or block) this block belongs to.
  DWORD GetOwnerHandle() const { return owner_; }

  ZCdbRecBase* CloneSelf() const override;

 private:
  friend class ZCdb;
  DWORD owner_ = ZCDB_NO_HANDLE;
};
