// The database's reads of its drawing section, with a reporter: what SxfZCdbAttrDB::Read does,
// for callers that need to know where a section stops reading (the command-line tool names the
// byte and the reason). Results, effects and exceptions are those of
// the database's readers; the reporter (may be null) is told the damage before a read returns 0
// or passes an archive exception on.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "persist/section_walk.h"

class SxfZCdbAttrDB;
class ZCdb;

// SxfZCdbAttrDB::Read(mode, file, drawing).
int ReadDrawingSection(SxfZCdbAttrDB& db, int mode, CFile* file, ZCdb* drawing, SectionReporter* reporter);

// What a count of a section's figures keeps of each: its attribute type and whether it holds a
// contour and an image attribute.
struct FigureTally {
  BYTE attrType;
  bool contour;
  bool image;
};
using FigureTallies = std::vector<std::pair<DWORD, FigureTally>>;

// ReadDrawingSection with mode 1 into a database that holds no figures, except that the figures
// are not stored: tallies receives, for every handle the read would have stored a figure under,
// the tally of that figure (the one the read would keep), in ascending handle order. The title,
// the set definitions, the results, the damage reported and the messages shown are those of the
// read. Each figure is read and let go at once, so the memory held does not grow with the
// section. Cost: about that of the read without the handle map, plus a sort of the tallies.
int TallyDrawingSection(SxfZCdbAttrDB& db, CFile* file, SectionReporter* reporter, FigureTallies& tallies);

// Told what a recovery drops, item by item.
class SectionRecoveryLog {
 public:
  virtual ~SectionRecoveryLog() = default;
  // The item at offset is not kept, and why; also where reading stops.
  virtual void Dropped(uint64_t offset, const std::string& why) = 0;
};

// Reads what a damaged drawing-file section still holds into db, as a temporary read does
// (mode 1: nothing is cleared, counted or bound), and tells log every item it drops. What is kept
// was read whole. The tagged layout's blocks carry their lengths, so an entry that does not read
// is dropped and reading goes on after its block; a block that runs past the end, and a damaged
// record of the old layouts (which carry no lengths), end the reading there. The title is kept
// only when its record reads whole; handles met twice are kept as the database's reader keeps
// them. Returns 1 when anything was read (the title, a definition or an entry), else 0. Never
// raises for damaged data.
int RecoverDrawingSection(SxfZCdbAttrDB& db, CFile* file, SectionRecoveryLog& log);
