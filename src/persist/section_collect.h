// The collection of the attribute entries that a section stores for a record tree.
//
// Order: depth first from the record given; for each record its own figure, then the figures of
// its chain of attribute parent blocks (the block of the record, the block of that block, ...),
// then, except below element records, its children in order; for the database record itself,
// after its children, the records of its kind-2 definitions (each collected the same way).
//
// Left out with everything below them: removed records (status 8) and, when mode is not 0,
// records with status 0x2000 or 0x4000. Only entries that hold a figure are listed. A record
// reached twice (listed twice in a buffer, say) is listed once per time it is reached.
#pragma once

#include "attrdb/attrdb.h"
#include "persist/new_file_attr_data.h"

using SxfAttrHandleMap = CMap<DWORD, DWORD, ZCDB_SXFATTR_MAP*, ZCDB_SXFATTR_MAP*>;

// Appends the entries of root's tree to out. A null root adds nothing.
void CollectAttrEntries(ZCdbRecBase* root, int mode, const SxfAttrHandleMap& map, NewFileAttrList& out);
