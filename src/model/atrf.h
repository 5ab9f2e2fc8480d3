// SxfZCdbATRF: the attribute-file record of a figure, an ordered list of attribute set
// references.
//
// The record owns its references (through its info, SxfZCdbATRFInfo) and every group tree below
// them; pointers it returns stay owned by it. Assignment reuses the reference objects already in
// the target, so pointers a caller holds to the first references stay valid and see the new
// content; the copy constructor makes new references. Lookups are linear in the number of
// references.
#pragma once

#include "model/attr_set_ref.h"
#include "model/tvector.h"
#include "platform/platform.h"
#include "platform/visibility.h"

class SxfZCdbAttrDB;

// The list of references of an ATRF. It owns them: destroying it destroys every reference.
class SXF_API SxfZCdbATRFInfo : public TVector<SxfZCdbAttrSetRef*> {
 public:
  SXF_SLAB_ALLOCATED

  SxfZCdbATRFInfo() = default;
  virtual ~SxfZCdbATRFInfo();
  // Destroys every reference and empties the list.
  void DeleteAll();
};

class SXF_API SxfZCdbATRF {
 public:
  SXF_SLAB_ALLOCATED

  SxfZCdbATRF();
  SxfZCdbATRF(const SxfZCdbATRF& other);
  SxfZCdbATRF& operator=(const SxfZCdbATRF& other);
  virtual ~SxfZCdbATRF();

  int GetAttrSetRefCnt() const;
  // The i-th reference; null out of range.
  SxfZCdbAttrSetRef* GetAttrSetRefData(int i) const;
  // The first reference whose RefId equals refId exactly; null when none.
  SxfZCdbAttrSetRef* FindAttrSetRefData(const char* refId) const;
  // With unique nonzero an existing reference of this RefId is returned and nothing is added;
  // otherwise a new empty reference with this RefId is appended and returned.
  SxfZCdbAttrSetRef* AddAttrSetRefData(const char* refId, int unique);
  // Appends a copy of src (no check of its RefId) and returns it.
  SxfZCdbAttrSetRef* AddAttrSetRefData(const SxfZCdbAttrSetRef& src);
  // Destroys the i-th reference; later ones move up. No effect out of range.
  void DelAttrSetRefData(int i);
  void ClrAttrSetRefData();

  // Sets the counters to 0, adds the counts of every reference tree and returns their sum.
  int GetAttrDataCnt(int& nAttr, int& nTarget, int& nAtrs) const;
  // 1 when both hold as many references and each pair has equal isAttrSetRef and content.
  int IsSame(const SxfZCdbATRF& other) const;

  // Old-format ATRF record (version 4 written; 0 to 4 read). Read replaces the references;
  // versions 0 to 2 hold old attribute set records whose definitions are registered in db, and
  // for versions 3 and 4 a RefId that is a set name is turned into the id of that set in db.
  // A failed read keeps the references read before the failure.
  int Read(CFile* file, SxfZCdbAttrDB* db);
  int Write(CFile* file);
  // New-format ATRF record: one tag-100 group record per reference. NewRead replaces the
  // references and takes RefIds as stored (db is not used).
  int NewRead(CArchive& ar, SxfZCdbAttrDB* db);
  int NewWrite(CArchive& ar);

  SxfZCdbATRFInfo* info;  // owned
};
