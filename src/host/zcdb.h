// ZCdb: the host database of one drawing, the root record (kind 1) of its record tree.
//
// What it owns: every record attached to it (the tree, the attribute parent blocks, the records
// of kind-2 definitions, and the record objects that left the drawing), its registered attribute
// databases and its undo manager. Records that leave the drawing (DeleteRecord, Commit,
// ReplaceRecordObject) are not freed before the ZCdb itself is destroyed, because undo items of
// attribute databases may still point at them. The destructor releases the undo manager's items
// first, then deletes the attribute databases, then the records; so a plug-in that created an
// attribute database must stay loaded until its ZCdb is gone.
//
// Handles: AddRecord and CopyRecord give each new record the next free handle, counting up from
// 1; LoadRecord takes the handle from the caller (a record read from a file) and moves the
// counter past it. The root has no handle (0xFFFFFFFF).
//
// Notifications: the editing operations below tell every registered attribute database, in
// registration order, what changed, with mode 0, after the tree has been changed:
//   AddRecord     OnAddData(0, r, 0xFFFFFFFF, null) for rec and each record below it, pre-order.
//   CopyRecord    copies the whole subtree first, then OnAddData(0, copy, source handle, source
//                 ZCdb) for each copy, pre-order; the source ZCdb is this ZCdb for a copy within
//                 the drawing and the other drawing's ZCdb otherwise.
//   ChangeRecord  OnChangeData(0, rec).
//   MarkDeleted   sets the removed bit on rec and each record below it that does not have it and
//                 calls OnDelDataMark(0, this, r, 1) for each of them, pre-order.
//   Unmark        clears the removed bit on rec and each record below it that has it and calls
//                 OnDelDataMark(0, this, r, 0) for each, pre-order.
//   DeleteRecord  MarkDeleted first when rec is not marked, then OnDelData(0, this, r) for rec and
//                 each record below it, pre-order; then rec leaves the drawing.
//   Commit        the marked records leave the drawing (no OnDelData), then OnCommit(0, this).
//   ReplaceRecordObject(s)  the new objects take the old ones' handles, places, status and
//                 children (a null new object: the record leaves the drawing), then one
//                 OnChangePtr with the map handle -> new object (or null).
// Undo(): OnUndoStart(this, 1), the undo manager's Undo, OnUndoEnd(this, 1); Redo() the same
// with 2. Blocks made by AddAttrParentBlk and records loaded with LoadRecord are not notified.
//
// Cost: handle lookup O(1); tree operations O(size of the subtree); FindAttrParentBlk O(1).
#pragma once

#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "host/zcdb_attr_db.h"
#include "host/zcdb_blk.h"
#include "host/zcdb_buff.h"
#include "host/zcdb_rec.h"
#include "host/zcdb_undo.h"
#include "platform/cstring.h"
#include "platform/visibility.h"

class CEnvironObj;

// One definition of the host (a symbol or other shared figure): its name and the records it is
// made of, in order. Slots of records that left the drawing are null.
struct SXF_HOST_API ZCdbSfigInfo {
  DWORD kind = 0;
  CString name;
  ZCdbBuff buff;
};

class SXF_HOST_API ZCdb : public ZCdbTblBase {
 public:
  // withUndo 0 makes a database without undo manager (GetUndo gives null).
  explicit ZCdb(int withUndo = 1);
  ~ZCdb() override;

  ZCdbRecBase* CloneSelf() const override { return nullptr; }  // a drawing is not copied

  // ---- attribute databases ----
  // Registers adb under name and takes ownership; hands it this ZCdb and the undo manager.
  // Returns 0 (the caller keeps adb) when name or adb is null, or name or adb is already
  // registered.
  int RegisterAttrDB(const char* name, ZCdbAttrDB* adb);
  // Creates an attribute database with a plug-in's entry function and registers it under name.
  // Returns it, or null when entry is null, returns null or the registration fails (the
  // database made is then deleted).
  ZCdbAttrDB* CreateAttrDB(ZCdbAttrDBEntryFunc entry, CEnvironObj* env, const char* name = "SXF");
  // The database registered under name (exact comparison), or null.
  ZCdbAttrDB* GetAttrDB(const char* name) const;
  int GetAttrDBCount() const { return static_cast<int>(attrDbs_.size()); }
  ZCdbAttrDB* GetAttrDBAt(int index) const;

  // ---- undo ----
  ZCdbUndo* GetUndo() const { return undo_.get(); }
  void BeginUndoStep();
  void EndUndoStep();
  int Undo();
  int Redo();

  // ---- records ----
  // The attached record with handle (removed-marked ones included), or null.
  ZCdbRecBase* FindRecord(DWORD handle) const;
  // The handle the next new record will get.
  DWORD GetNextHandle() const { return next_; }

  // Adds a new record (with whatever it already holds below it) as the last child of parent (the
  // root when null) and notifies. Takes ownership and returns rec's handle; returns 0xFFFFFFFF
  // and takes nothing when rec is null or attached, parent is not a table of this ZCdb, or the
  // handles are used up.
  DWORD AddRecord(ZCdbRecBase* rec, ZCdbTblBase* parent = nullptr);
  // Adds a record read from a file under the given handle, without notifying. rec must have no
  // children. Returns 1 and takes ownership; 0 (taking nothing) when rec is null, attached or has
  // children, handle is 0xFFFFFFFF or in use, or parent is not a table of this ZCdb.
  int LoadRecord(ZCdbRecBase* rec, DWORD handle, ZCdbTblBase* parent = nullptr);
  // Copies src and everything below it (src may belong to another ZCdb, not to this one's
  // graveyard) as the last child of parent, then notifies. Returns the copy, or null when src is
  // null, not attached or the root of a drawing, or parent is not a table of this ZCdb.
  ZCdbRecBase* CopyRecord(const ZCdbRecBase* src, ZCdbTblBase* parent = nullptr);
  // Notifies a change of rec's own data (its element text, ...). 0 when rec is not in the
  // drawing.
  int ChangeRecord(ZCdbRecBase* rec);
  // 0 when rec is not in the drawing, is the root, or (MarkDeleted) is already marked or
  // (Unmark) not marked.
  int MarkDeleted(ZCdbRecBase* rec);
  int Unmark(ZCdbRecBase* rec);
  // 0 when rec is not in the drawing or is the root.
  int DeleteRecord(ZCdbRecBase* rec);
  int Commit();
  // Gives oldRec's handle, place, status and children to newRec (which must be unattached, and a
  // table when oldRec has children, and a ZCdbBlk when oldRec is an attribute parent block) and
  // notifies; with newRec null the record leaves the drawing. Returns 0 and changes nothing on a
  // bad argument (oldRec not in the drawing or the root, newRec attached or unfit).
  int ReplaceRecordObject(ZCdbRecBase* oldRec, ZCdbRecBase* newRec);
  // The same for several records at once, with one OnChangePtr; pairs are (old, new). All pairs
  // are checked first; any bad pair makes the whole call return 0 without changes.
  int ReplaceRecordObjects(const std::vector<std::pair<ZCdbRecBase*, ZCdbRecBase*>>& pairs);

  // ---- attribute parent blocks ----
  // The block owned by the record (or block) with handle, or null.
  ZCdbBlk* FindAttrParentBlk(DWORD handle) const;
  // Creates the block of the record (or block) with handle and returns it; null when no record
  // of this ZCdb has that handle or it already has a block.
  ZCdbBlk* AddAttrParentBlk(DWORD handle);
  // Walks the blocks in creation order: first non-zero starts a walk, 0 goes on; null at the end.
  ZCdbBlk* GetAttrBlk(POSITION& pos, int first) const;

  // ---- definitions ----
  // Adds an empty definition of kind and returns its index among that kind.
  int AddSfigDef(DWORD kind, const char* name);
  // Adds a new record to definition index of kind (as its last record) and notifies like
  // AddRecord. Returns the handle, 0xFFFFFFFF when the definition does not exist or rec is bad.
  DWORD AddSfigDefRecord(DWORD kind, int index, ZCdbRecBase* rec);
  int GetSfigDefCnt(DWORD kind) const;
  // Copies definition index of kind into *info; 0 when info is null or there is no such
  // definition.
  int GetSfigDefInfo(DWORD kind, int index, ZCdbSfigInfo* info) const;

 private:
  int IsInDrawing(const ZCdbRecBase* rec) const;
  int IsOurTable(const ZCdbTblBase* table) const;
  // A record that may be added: not null, not the root, not attached anywhere.
  int IsUnattached(const ZCdbRecBase* rec) const;
  int HandlesLeft(size_t count) const;
  // Non-zero when rec is one of the attribute parent blocks (kept outside the tree).
  int IsListedBlock(const ZCdbRecBase* rec) const;
  void Attach(ZCdbRecBase* rec, DWORD handle);
  void AttachNew(const std::vector<ZCdbRecBase*>& recs);
  void NotifyAdded(const std::vector<ZCdbRecBase*>& recs);
  template <class Fn>
  void Notify(Fn fn);
  // A copy of src and everything below it; appends the source handles in pre-order.
  ZCdbRecBase* CloneTree(const ZCdbRecBase* src, std::vector<DWORD>& sourceHandles);
  // Marks rec and every unmarked record below it and notifies each.
  void MarkSubtree(ZCdbRecBase* rec);
  // Puts with into the definition slot that holds rec; 0 when rec is in no definition.
  int ReplaceInDefs(const ZCdbRecBase* rec, ZCdbRecBase* with);
  // Takes rec (and what is below it) out of the drawing into the graveyard.
  void Retire(ZCdbRecBase* rec);

  std::unique_ptr<ZCdbUndo> undo_;
  std::vector<std::pair<CString, ZCdbAttrDB*>> attrDbs_;
  std::unordered_map<DWORD, ZCdbRecBase*> byHandle_;
  DWORD next_ = 1;
  std::vector<ZCdbBlk*> blocks_;                      // owned, creation order
  std::unordered_map<DWORD, ZCdbBlk*> blockOfOwner_;  // owner handle -> block
  std::map<DWORD, std::vector<ZCdbSfigInfo>> defs_;   // records owned
  std::vector<ZCdbRecBase*> graveyard_;               // owned
};
