// Attribute groups: named tree nodes holding an ordered list of SxfZCdbATRU values and an
// ordered list of sub-groups. Set references are groups, so every figure's attribute sets, target
// attributes included, live in group trees.
//
// Ownership: a group owns its info; info owns its sub-groups and attributes. Pointers returned by
// GetAttrGrpData, AddAttrGrpData and FindTarget stay owned by the tree. Pointers to attributes
// (GetAttrData, FindAttrData) point into the owning list and stay valid only until it changes.
//
// Tree order: a group visits its own attributes first to last, then each sub-group first to last,
// each completely before the next. Every search and collection below runs in tree order and,
// where it stops at a first hit, prefers own attributes, then earlier sub-groups at any depth.
//
// Copying (copy constructor, operator=) copies isAttrSetRef and makes a deep copy of the content;
// every copied sub-group is a plain SxfZCdbAttrGrp that keeps its source's isAttrSetRef.
// Assignment from a group inside this group's own tree is safe.
//
// Records: Read/Write are the old format, NewRead/NewWrite the new one. Readers accept trees up to
// kMaxGroupDepth levels (the group read into is level 1); deeper input fails the read with 0.
// A failed read keeps what was read before the failure.
#pragma once

#include "model/atrs.h"
#include "model/atru.h"
#include "model/tvector.h"
#include "platform/carchive.h"
#include "platform/carray.h"
#include "platform/cfile.h"
#include "platform/cstring.h"
#include "platform/types.h"
#include "platform/visibility.h"

class WildCardEx;
class CDWordArrayX;
class SxfZCdbAttrGrp;
class ATRS_BUFF;

// Deepest group tree a reader accepts, the group read into counted as level 1.
inline constexpr int kMaxGroupDepth = 1000;

// The content of a group. Destroying it destroys the whole subtree below it.
class SXF_API SxfZCdbAttrGrpInfo {
 public:
  SXF_SLAB_ALLOCATED

  SxfZCdbAttrGrpInfo() = default;
  SxfZCdbAttrGrpInfo(const SxfZCdbAttrGrpInfo&) = delete;
  SxfZCdbAttrGrpInfo& operator=(const SxfZCdbAttrGrpInfo&) = delete;
  virtual ~SxfZCdbAttrGrpInfo();

  CString name;                     // group name; the RefId of a set reference
  TVector<SxfZCdbAttrGrp*> groups;  // owned sub-groups
  TVector<SxfZCdbATRU> attrs;       // own attributes
};

class SXF_API SxfZCdbAttrGrp {
 public:
  SXF_SLAB_ALLOCATED

  SxfZCdbAttrGrp();
  SxfZCdbAttrGrp(const SxfZCdbAttrGrp& other);
  SxfZCdbAttrGrp& operator=(const SxfZCdbAttrGrp& other);
  virtual ~SxfZCdbAttrGrp();

  // Old-format group record. Read with merge 0 replaces the content (and the name, when the
  // record's name is not empty); with merge nonzero it appends the record's attributes and
  // sub-groups to what the group holds and drops the record's name. Write stops with 0 at the
  // first failed write or a missing (null) sub-group.
  virtual int Read(CFile* file, int merge);
  virtual int Write(CFile* file);
  // New-format group record. NewRead never clears: what it reads is added to the group; the name
  // is taken only with merge 0. Write returns 0 when a nested writer fails or a sub-group is null.
  virtual int NewRead(CArchive& ar, int merge);
  virtual int NewWrite(CArchive& ar);

  const char* GetName() const;
  void SetName(const char* name);
  int IsAttrSetRef() const { return isAttrSetRef; }

  int GetAttrGrpCnt() const;
  SxfZCdbAttrGrp* GetAttrGrpData(int i) const;  // null out of range
  // Appends a plain copy of *src (an empty group for null) and returns it.
  SxfZCdbAttrGrp* AddAttrGrpData(const SxfZCdbAttrGrp* src);
  void DelAttrGrpData(int i);
  void ClrAttrGrpData();

  int GetAttrCnt() const;
  SxfZCdbATRU* GetAttrData(int i) const;  // null out of range
  void SetAttrData(int i, const SxfZCdbATRU& attr);
  int AddAttrData(const SxfZCdbATRU& attr);  // index of the new attribute
  void DelAttrData(int i);
  void ClrAttrData();
  // Removes all attributes and sub-groups; the name and isAttrSetRef stay.
  void ClrAll();

  // 1 when isAttrSetRef, name, the sub-groups (pairwise, recursively, isAttrSetRef included) and
  // the attributes (pairwise IsSame, kind included) are equal, in order.
  int IsSame(const SxfZCdbAttrGrp& other) const;

  // First attribute of the tree whose name equals name exactly; null when none.
  SxfZCdbATRU* FindAttrData(const char* name) const;
  // 1 when some attribute matches pattern by name (byName nonzero) or by value (byValue nonzero).
  int HasData(int byName, int byValue, const WildCardEx& pattern) const;
  // Finds the first attribute named as an image or contour attribute of the older format (own
  // attributes first, then sub-groups in order, depth first), moves it into out and returns 1;
  // appends "\n" and the name of every sub-group entered to path. 0 when there is none.
  int GetOldRasterContor30(SxfZCdbATRU& out, CString& path);
  // Adds the tree's ATRS-marker, target and other attributes to the three counters (never reset
  // here) and returns their sum as they then stand.
  int GetAttrDataCnt(int& nAttr, int& nTarget, int& nAtrs) const;
  // Adds an SxfZCdbATRS per ATRS-marker attribute to buf, stopping once buf holds nMax entries
  // (one is always added when there is any); returns buf's count.
  int FindAtrsData(ATRS_BUFF& buf, int nMax) const;

  // Appends a new target attribute (kind 10) to the own attributes; returns its index.
  int AddTarget(ULONG handle, const char* memo);
  // Removes the first target attribute of the tree with this handle: 1, or 0 when none.
  int DelTarget(ULONG handle);
  // Appends the handle of every target attribute (0xFFFFFFFF skipped) to out; out is not emptied.
  void GetTarget(CDWordArrayX& out) const;
  // Removes every target attribute whose handle is not 0xFFFFFFFF, appending each removed handle
  // to *out when out is not null.
  void ClearTarget(CDWordArrayX* out);
  // The group directly holding the first target attribute with this handle, memo set to its
  // zukeiName; null (memo untouched) when none.
  SxfZCdbAttrGrp* FindTarget(ULONG handle, CString& memo) const;

  int isAttrSetRef;          // 1 for an attribute set reference, 0 for a plain group
  SxfZCdbAttrGrpInfo* info;  // owned content

 protected:
  // The old attribute set record reads its listed groups one level below the set.
  friend class SxfZCdbAttrSet;
  // The readers with the level of the group read into (1 for the group a caller reads into);
  // a sub-group that would sit deeper than kMaxGroupDepth fails the read.
  int ReadTree(CFile* file, int merge, int depth);
  int NewReadTree(CArchive& ar, int merge, int depth);
  // The writers with the level of the group written, mirroring the readers: a sub-group deeper
  // than kMaxGroupDepth fails the write, so nothing is written that cannot be read back.
  int WriteTree(CFile* file, int depth);
  int NewWriteTree(CArchive& ar, int depth);
};

// An ordered list of owned SxfZCdbATRS copies, filled by SxfZCdbAttrGrp::FindAtrsData.
class SXF_API ATRS_BUFF {
 public:
  ATRS_BUFF() = default;
  ATRS_BUFF(const ATRS_BUFF&) = delete;
  ATRS_BUFF& operator=(const ATRS_BUFF&) = delete;
  ~ATRS_BUFF();

  // Appends a copy; returns its index.
  int Add(const SxfZCdbATRS& atrs);
  int GetCount() const;
  // A copy of entry i; an empty value at or beyond the count. A negative i raises
  // CInvalidArgException: asking for a negative index is a caller's bug, not a missing entry.
  SxfZCdbATRS Get(int i) const;

 private:
  CArray<SxfZCdbATRS*, SxfZCdbATRS*> m_list;
};
