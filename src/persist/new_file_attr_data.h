// NewFileAttrData: one attribute entry of a file section, the record handle beside the handle-map
// entry that holds its figure.
//
// The writers list the entries to store as NewFileAttrData items; the reader fills one item per
// stored entry. An item does not own its entry: the writer's entries belong to the handle map,
// and a reader hands the entry it made over to the map (or deletes it) before it goes on.
#pragma once

#include <vector>

#include "attrdb/attrdb.h"
#include "host/zcdb_rec.h"
#include "platform/types.h"

struct NewFileAttrData {
  DWORD handle = ZCDB_NO_HANDLE;      // record handle; none until one is known
  ZCDB_SXFATTR_MAP* entry = nullptr;  // the entry holding the figure, or null
};

// The entries a writer stores, in the order they are written. A std::vector: its storage grows
// geometrically, so collecting a million entries costs a few dozen reallocations, not one per
// thousand entries.
using NewFileAttrList = std::vector<NewFileAttrData>;
