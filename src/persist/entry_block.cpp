#include "persist/entry_block.h"

#include "model/new_format.h"
#include "persist/section_format.h"
#include "platform/cfile.h"

namespace {
// An entry of a figure with one attribute set is a few hundred bytes; a buffer near that size
// spares a 4 KiB buffer per entry.
constexpr int kStagingBuffer = 1024;
}  // namespace

int WriteAttrEntryBlocks(CArchive& ar, NewFileAttrList& entries,
                         const std::function<int(CArchive&, NewFileAttrData&)>& writeOne) {
  int leftOut = 0;
  CMemFile scratch;  // reused: its storage grows to the largest entry once
  for (NewFileAttrData& data : entries) {
    scratch.SetLength(0);
    {
      CArchive staged(&scratch, CArchive::store, kStagingBuffer);
      if (writeOne(staged, data) == 0) {
        staged.Abort();
        ++leftOut;
        continue;
      }
      staged.Close();
    }
    const UINT length = static_cast<UINT>(scratch.GetLength());
    new_format::WriteBlock(ar, kTagSectionAttrEntry,
                           [&](CArchive& block) { block.Write(scratch.Data(), length); });
  }
  return leftOut;
}
