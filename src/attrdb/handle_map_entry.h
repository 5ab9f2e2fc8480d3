// The one place handle-map entries are made and destroyed.
//
// An entry owns its figure. The entry's layout belongs to the host interface (ZCDB_SXFATTR_MAP,
// three raw fields), so its pointers stay raw; a figure on its way into an entry is held as a
// std::unique_ptr until MakeEntry takes it over.
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
