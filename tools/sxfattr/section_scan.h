// A record-by-record walk over a drawing-file attribute section, with the plug-in's own record
// readers, that says where each entry starts and where and why reading fails.
//
// The plug-in's section reader answers only 1 or 0. The walk is how the tool names the byte
// offset and the reason of a failure, and how `check` finds what the reader drops or replaces
// without failing: figure entries that repeat a handle or have none, set definitions that clash.
// It follows the layout the plug-in reads: the DWORD section version; for the new layout the
// tagged entries (tag 100 title, 101 set definition, 102 attribute entry) in archive blocks, up
// to the end tag; for the old layout the title record, the set definitions of version 0x2000 and
// the handle-prefixed figure records up to the end marker 0xFFFFFFFF.
//
// Offsets count from the first byte of the section. An entry's offset is where its tag (new
// layout) or its handle (old layout) starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "attrdb/attrdb.h"

struct ScannedFigure {
  uint64_t offset;
  DWORD handle;    // 0xFFFFFFFF when the entry names none
  bool hasFigure;  // false for an attribute entry without a figure record
};

struct ScannedSetDef {
  uint64_t offset;
  CString id;
  bool accepted;  // false when it clashes with an earlier definition and the registry refuses it
};

struct SectionScan {
  DWORD version = 0;
  bool ok = false;
  uint64_t failOffset = 0;  // when !ok: where the entry that failed starts
  std::string failWhat;     // when !ok: what was wrong, a short phrase
  uint64_t end = 0;         // when ok: the offset right after the section
  std::vector<ScannedSetDef> setDefs;
  std::vector<ScannedFigure> figures;  // in file order
};

// The problem with the first bytes of a section: too short for a version, or a version that no
// reader takes. Empty when the version is readable (version is set then).
std::string VersionProblem(const std::vector<BYTE>& bytes, DWORD& version);

// Walks bytes; scratch receives the set definitions the walk reads (old figure records register
// definitions there), so it should be an empty database of its own.
SectionScan ScanSection(const std::vector<BYTE>& bytes, SxfZCdbAttrDB& scratch);
