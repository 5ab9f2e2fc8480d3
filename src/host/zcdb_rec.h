// ZCdbRecBase and ZCdbTblBase: the records of the host database.
//
// Records form a tree under a ZCdb (kind 1, the root). A table (ZCdbTblBase) owns its children
// and keeps them in order; GetFirstChild/GetNextChild walk them in O(1) per step. Every record
// attached to a ZCdb has a handle (a DWORD, unique within its ZCdb, never 0xFFFFFFFF); a record
// that is not attached has handle 0xFFFFFFFF and no ZCdb.
//
// Record kinds: 1 the database (ZCdb), 2 a plain table (ZCdbTbl, also used as a plain record),
// 4 a group (ZCdbGrp), 8 and 9 element records (ZCdbElm), 12 contour records (ZCdbContour),
// 20 attribute parent blocks (ZCdbBlk). Status bits: 8 removed (delete-marked by the host), 0x100
// area control (see area_control.h), 0x2000 and 0x4000 (host states that temporary saves leave
// out). The host sets the removed bit itself; the others are the caller's to set.
//
// Records are created with new and handed to a ZCdb (ZCdb::AddRecord, LoadRecord, ...), which
// owns them from then on. Only a ZCdb changes the tree.
#pragma once

#include "platform/types.h"
#include "platform/visibility.h"

class ZCdb;
class ZCdbGrp;
class ZCdbTblBase;

enum : BYTE {
  ZCDB_KIND_DB = 1,
  ZCDB_KIND_TBL = 2,
  ZCDB_KIND_GRP = 4,
  ZCDB_KIND_ELM = 8,
  ZCDB_KIND_ELM2 = 9,
  ZCDB_KIND_CONTOUR = 12,
  ZCDB_KIND_BLK = 20
};

enum : DWORD {
  ZCDB_STATUS_REMOVED = 0x0008,
  ZCDB_STATUS_AREACONTROL = 0x0100,
  ZCDB_STATUS_TMP1 = 0x2000,
  ZCDB_STATUS_TMP2 = 0x4000
};

inline constexpr DWORD ZCDB_NO_HANDLE = 0xFFFFFFFF;

class SXF_HOST_API ZCdbRecBase {
 public:
  virtual ~ZCdbRecBase();
  ZCdbRecBase(const ZCdbRecBase&) = delete;
  ZCdbRecBase& operator=(const ZCdbRecBase&) = delete;

  DWORD GetHandle() const { return handle_; }
  // The database the record belongs to, or null while it is not attached.
  ZCdb* GetZCdb() const { return db_; }
  // The nearest group above the record (its parent, grandparent, ...), or null.
  ZCdbGrp* GetZCdbGrp() const;
  // The table that holds the record, or null for the root, for records at the top of a kind-2
  // definition, for attribute parent blocks and for records not attached.
  ZCdbTblBase* GetParent() const { return parent_; }
  // Non-zero for an element record (kinds 8 and 9).
  int IsElm() const { return kind_ == ZCDB_KIND_ELM || kind_ == ZCDB_KIND_ELM2; }

  virtual BYTE GetRecKind() const { return kind_; }
  // Non-zero when the record has any of the status bits in mask.
  virtual int TestStatus(DWORD mask) const { return (status_ & mask) != 0; }
  virtual ZCdbRecBase* GetFirstChild() const { return nullptr; }
  // The child after child, or null; null also when child is not a child of this record.
  virtual ZCdbRecBase* GetNextChild(ZCdbRecBase* child) const;

  DWORD GetStatus() const { return status_; }
  void SetStatus(DWORD bits) { status_ |= bits; }
  void ClearStatus(DWORD bits) { status_ &= ~bits; }

  // A new unattached record of the same class with the same own data (kind, status without the
  // removed bit, element, elevation, ...) and no children.
  virtual ZCdbRecBase* CloneSelf() const = 0;

 protected:
  explicit ZCdbRecBase(BYTE kind) : kind_(kind) {}
  // Copies what CloneSelf keeps from other (kind and status without the removed bit).
  void CopyBaseFrom(const ZCdbRecBase& other);

 private:
  friend class ZCdb;
  friend class ZCdbTblBase;

  BYTE kind_;
  DWORD handle_ = ZCDB_NO_HANDLE;
  DWORD status_ = 0;
  ZCdb* db_ = nullptr;
  ZCdbTblBase* parent_ = nullptr;
  ZCdbRecBase* prev_ = nullptr;  // siblings within parent_
  ZCdbRecBase* next_ = nullptr;
};

class ZCdbBuff;

// A record that holds child records. It owns them and deletes them with itself.
class SXF_HOST_API ZCdbTblBase : public ZCdbRecBase {
 public:
  ~ZCdbTblBase() override;

  ZCdbRecBase* GetFirstChild() const override { return first_; }
  ZCdbRecBase* GetLastChild() const { return last_; }
  int GetChildCount() const { return count_; }

  // Builds a subtree before it is handed to a ZCdb: appends child as the last child. Only while
  // this table is not attached to a ZCdb and child is unattached and has no parent; returns 1,
  // or 0 (taking nothing) otherwise. Attached tables change through their ZCdb only.
  int AppendChild(ZCdbRecBase* child);

  // Appends the element records below this table (children and, depth first, the children of
  // child tables) to buff, skipping removed records and everything below them. kind 0xFF takes
  // kinds 8 and 9, 8 or 9 only that kind. Returns the number of records appended.
  int GetElm2(ZCdbBuff& buff, BYTE kind) const;

 protected:
  explicit ZCdbTblBase(BYTE kind) : ZCdbRecBase(kind) {}

 private:
  friend class ZCdb;
  // Links child (unattached, no siblings) as the last child, or before `before` when given.
  void LinkChild(ZCdbRecBase* child, ZCdbRecBase* before = nullptr);
  void UnlinkChild(ZCdbRecBase* child);

  ZCdbRecBase* first_ = nullptr;
  ZCdbRecBase* last_ = nullptr;
  int count_ = 0;
};

// A plain table: a layer, a sheet or any record the plug-in only passes on. It may hold
// children or none. kind must not be one of the kinds with a class of their own (1, 4, 8, 9,
// 12, 20); the default is 2.
class SXF_HOST_API ZCdbTbl : public ZCdbTblBase {
 public:
  explicit ZCdbTbl(BYTE kind = ZCDB_KIND_TBL) : ZCdbTblBase(kind) {}
  ZCdbRecBase* CloneSelf() const override;
};
