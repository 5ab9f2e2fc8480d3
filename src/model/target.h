// SxfZCdbTarget: a target definition, the legacy form of a figure's references to other host
// records: a named, versioned list of RecTargetData entries (record handle and memo).
//
// Old figure records of version 1 carry target definitions; the figure reader turns each into a
// set reference holding target attributes. Callers may also build, read and write target
// definitions themselves. Entries keep their insertion order, indices run from 0 to GetCnt() - 1.
//
// Storage: the entries live in one array that grows in steps of 8 (capacity 8 for a new object;
// adding to a full array makes the capacity the next multiple of 8). Removing the last entry or
// clearing releases the array (capacity 0). References from GetData(int) stay valid until the
// list next changes.
#pragma once

#include "host/zcdb_rec.h"
#include "platform/platform.h"
#include "platform/visibility.h"

// One reference of a target definition.
struct SXF_API RecTargetData {
  DWORD handle = ZCDB_NO_HANDLE;  // record handle of the target record
  CString memo;                   // becomes the memo of the target attribute
};

class SxfZCdbTargetInfo;

class SXF_API SxfZCdbTarget {
 public:
  SxfZCdbTarget();
  SxfZCdbTarget(const SxfZCdbTarget& other);
  SxfZCdbTarget& operator=(const SxfZCdbTarget& other);
  virtual ~SxfZCdbTarget();

  const char* GetName() const;
  void SetName(const char* name);
  const char* GetVersion() const;  // "1.0" for a new object
  void SetVersion(const char* version);
  const char* GetDesigner() const;
  void SetDesigner(const char* designer);

  int GetCnt() const;
  // Entries kept in storage (not in the original interface; for tests and diagnostics).
  int GetCapacity() const;
  // The entry itself; an index out of range raises CInvalidArgException.
  RecTargetData& GetData(int index) const;
  // 0 out of range; otherwise 1, copying the entry into *out when out is not null.
  int GetData(int index, RecTargetData* out) const;
  // 0 out of range; otherwise assigns rec to the entry and returns 1.
  int SetData(int index, const RecTargetData& rec);
  // Appends a copy of rec and returns its index.
  int AddData(const RecTargetData& rec);
  // Removes the entry (later ones move down); no effect out of range.
  void DelData(int index);
  // Removes every entry and releases the storage; name, version and designer stay.
  void ClrData();

  // Old record (version byte 1; 0 and 1 read alike). Read empties the list first; after a failed
  // entry the list is empty again while the texts read before it stay.
  int Read(CFile* file);
  int Write(CFile* file);
  // New tagged record: tag 1 {name, version, designer}, tag 100 per entry, end. NewRead appends
  // to the entries already held and returns 1; an early end of a tag-1 block keeps the fields not
  // yet read, other archive exceptions pass on after the open block is closed.
  int NewRead(CArchive& ar);
  int NewWrite(CArchive& ar);

 private:
  SxfZCdbTargetInfo* info_;
};
