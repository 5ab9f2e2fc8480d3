// Writing the attribute entries of a section, one tag-102 block each.
//
// An entry whose figure writer fails is left out whole: the archive holds each entry in its buffer
// until the entry is complete (CArchive::BeginHold) and drops it when its writer failed. Without
// this a failed entry would stand in the file as a figure record without its end tag, and a
// reader would run off the end of its block. A figure that cannot be written is the sign of a
// damaged figure in memory; losing its attributes is better than losing the attributes of the
// whole drawing, so the writer goes on with the next entry instead of failing the save. Entries
// are written in place: no entry is copied on its way to the archive.
#pragma once

#include <functional>

#include "persist/new_file_attr_data.h"
#include "platform/carchive.h"

// Writes tag 102 and a block holding what writeOne wrote, for each entry of entries whose
// writeOne returned non-zero. Returns the number of entries left out. Archive and file
// exceptions pass on; the entry being written when one is raised is left out.
int WriteAttrEntryBlocks(CArchive& ar, NewFileAttrList& entries,
                         const std::function<int(CArchive&, NewFileAttrData&)>& writeOne);
