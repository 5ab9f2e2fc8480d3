#include "persist/entry_block.h"

#include "model/new_format.h"
#include "persist/section_format.h"

int WriteAttrEntryBlocks(CArchive& ar, NewFileAttrList& entries,
                         const std::function<int(CArchive&, NewFileAttrData&)>& writeOne) {
  int leftOut = 0;
  // Each entry is staged in memory first, so a figure whose writer fails leaves nothing behind.
  // One staging archive serves every entry: its buffer grows to the largest entry once.
  CArchive staged{CArchive::MemoryStore{}};
  for (NewFileAttrData& data : entries) {
    staged.ReopenMemoryStore();
    if (writeOne(staged, data) == 0) {
      ++leftOut;
      continue;
    }
    const UINT length = static_cast<UINT>(staged.StoredSize());
    new_format::WriteBlock(ar, kTagSectionAttrEntry,
                           [&](CArchive& block) { block.Write(staged.StoredData(), length); });
  }
  return leftOut;
}
