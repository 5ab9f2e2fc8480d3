#include "persist/old_section_writer.h"

#include "model/old_format.h"
#include "persist/section_format.h"
#include "persist/section_records.h"

int WriteOldSection(CFile* file, DWORD version, const SxfTitleInfo& title,
                    const std::vector<SxfZCdbAttrSetDef>& setDefs,
                    const std::vector<OldSectionEntry>& entries) {
  using namespace old_format;
  if (WriteInt32(file, static_cast<LONG>(version)) == 0 || WriteOldTitleRecord(file, title) == 0) return 0;
  if (version == kSectionVersionWithSetDefs) {
    if (WriteInt32(file, static_cast<LONG>(setDefs.size())) == 0) return 0;
    for (SxfZCdbAttrSetDef def : setDefs) {
      if (def.Write(file) == 0) return 0;
    }
  }
  return WriteOldEntries(file, entries);
}

int WriteOldEntries(CFile* file, const std::vector<OldSectionEntry>& entries) {
  using namespace old_format;
  for (const OldSectionEntry& entry : entries) {
    const int written = entry.figure != nullptr ? WriteOldFigureEntry(file, entry.handle, *entry.figure)
                                                : WriteInt32(file, static_cast<LONG>(entry.handle)) &&
                                                      WriteBytes(file, entry.record.data(),
                                                                 static_cast<UINT>(entry.record.size()));
    if (written == 0) return 0;
  }
  return WriteInt32(file, static_cast<LONG>(kOldEntriesEnd));
}
