// Writing sections in the old layouts, which the database reads but never saves: for the tools
// that make old files (the demo, the fuzz corpus maker) and for tests. See section_format.h.
//
// Every writer returns 1, or 0 when the file refused a write (what was written before stays).
#pragma once

#include <string>
#include <vector>

#include "model/attr_set_def.h"
#include "model/figure.h"
#include "platform/cfile.h"
#include "title/title_info.h"

// One figure entry: a figure, written with the old figure record, or, when figure is null, the
// bytes of an old figure record made by hand (for record versions no writer makes any more).
struct OldSectionEntry {
  DWORD handle;
  SxfZCdbFigure* figure;
  std::string record;
};

// A drawing-file section of the old layout: version (at most 0x2000), title, the set definitions
// when the version is 0x2000 (none are written otherwise), the entries, the end marker.
int WriteOldSection(CFile* file, DWORD version, const SxfTitleInfo& title,
                    const std::vector<SxfZCdbAttrSetDef>& setDefs,
                    const std::vector<OldSectionEntry>& entries);

// The figure entries and their end marker: the body of an old section, and the whole old
// copy-buffer section.
int WriteOldEntries(CFile* file, const std::vector<OldSectionEntry>& entries);
