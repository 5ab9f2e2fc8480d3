// The one place handle-map entries are made and destroyed.
//
// An entry owns its figure. The entry's layout belongs to the host interface (ZCDB_SXFATTR_MAP,
// three raw fields), so inside the map the pointers stay raw; code that holds an entry outside
// the map (a reader that has not stored it yet) holds it as an OwnedEntry, which destroys the
// entry with its figure unless it is released into the map.
#pragma once

#include <memory>

#include "attrdb/attrdb.h"
#include "model/figure.h"
#include "platform/slab.h"

// A new entry {flags, rec, figure}; the entry takes the figure over. Entries live in slab memory
// (platform/slab.h), from cache when one is given (a read's).
ZCDB_SXFATTR_MAP* MakeEntry(DWORD flags, ZCdbRecBase* rec, std::unique_ptr<SxfZCdbFigure> figure,
                            SlabCache* cache = nullptr);
// Deletes the entry's figure and the entry. A null entry is ignored.
void DestroyEntry(ZCDB_SXFATTR_MAP* entry);

struct EntryDeleter {
  void operator()(ZCDB_SXFATTR_MAP* entry) const { DestroyEntry(entry); }
};
using OwnedEntry = std::unique_ptr<ZCDB_SXFATTR_MAP, EntryDeleter>;
