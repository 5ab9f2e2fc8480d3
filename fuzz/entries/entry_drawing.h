// EntryDrawing: the host drawing a section entry reads into, and make_corpus writes its section
// seeds from. It holds six records under fixed handles (the samples and the writers' seeds use
// small handles, so their figures find records to bind to): two plain records, a contour record
// with an elevation (binding gives it a contour attribute), a raster element, and a table holding
// one record (binding walks down a tree). On request record 1 holds a figure that targets 2.
#pragma once

#include "attrdb/attrdb.h"
#include "host/host.h"

enum : DWORD {
  kEntryPlainA = 1,
  kEntryPlainB = 2,
  kEntryContour = 3,
  kEntryRaster = 4,
  kEntryGroup = 5,
  kEntryChild = 6
};

// The database with the checks an entry needs of its handle map.
class EntryAttrDB : public SxfZCdbAttrDB {
 public:
  using SxfZCdbAttrDB::SxfZCdbAttrDB;

  // True when every entry's flags hold only the targeted count, the delete mark and the parked
  // bit.
  bool FlagsClean() const;
  // True when two title elements that count now name the same line of one item.
  bool SharesTitleLine() const;
};

class EntryDrawing {
 public:
  explicit EntryDrawing(bool withFigure = false);
  EntryDrawing(const EntryDrawing&) = delete;
  EntryDrawing& operator=(const EntryDrawing&) = delete;

  ZCdb& db() { return db_; }
  EntryAttrDB& adb() { return *adb_; }
  // The records as a copy buffer lists them.
  ZCdbBuff Buffer();

 private:
  void Load(DWORD handle, ZCdbRecBase* rec, ZCdbTblBase* parent = nullptr);

  CEnvironObj env_;
  ZCdb db_;           // owns the registered database and the records
  EntryAttrDB* adb_;  // owned by db_
};

// Keeps the rejected-figures warning of the old layout off standard error while it lives.
class SilentMessages {
 public:
  SilentMessages();
  ~SilentMessages();
  SilentMessages(const SilentMessages&) = delete;
  SilentMessages& operator=(const SilentMessages&) = delete;

 private:
  AfxMessageBoxHandler previous_;
};
