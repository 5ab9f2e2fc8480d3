#include "persist/entry_block.h"

#include "model/new_format.h"
#include "persist/section_format.h"

int WriteAttrEntryBlocks(CArchive& ar, NewFileAttrList& entries,
                         const std::function<int(CArchive&, NewFileAttrData&)>& writeOne) {
  int leftOut = 0;
  for (NewFileAttrData& data : entries) {
    const size_t start = ar.BeginHold();
    int written = 0;
    try {
      written = new_format::WriteBlock(ar, kTagSectionAttrEntry,
                                       [&](CArchive& block) { return writeOne(block, data); });
    } catch (...) {
      ar.EndHold(start, false);
      throw;
    }
    ar.EndHold(start, written != 0);
    if (written == 0) ++leftOut;
  }
  return leftOut;
}
