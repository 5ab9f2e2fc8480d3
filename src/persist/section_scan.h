// A look at a drawing-file section item by item: where each set definition and attribute entry
// starts, what the database's readers drop without failing (set definitions that clash,
// entries without a handle or without a figure record, a handle stored twice), and where and
// why the section stops reading. The command-line tool's check reports from it.
//
// It walks the section as the readers do (section_walk.h), reading set definitions and old
// figure records into a scratch database of its own, so it sees exactly what they see.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/cstring.h"
#include "platform/types.h"

class SxfZCdbAttrDB;

struct ScannedSetDef {
  uint64_t offset;
  CString id;
  bool accepted;  // false when it clashes with an earlier definition and the registry refuses it
};

struct ScannedFigure {
  uint64_t offset;
  DWORD handle;    // 0xFFFFFFFF when the entry names none
  bool hasFigure;  // false for an attribute entry without a figure record
};

struct SectionScan {
  DWORD version = 0;
  bool ok = false;
  uint64_t failOffset = 0;  // when !ok: where the item that failed starts
  std::string failWhat;     // when !ok: what was wrong, a short phrase
  std::vector<ScannedSetDef> setDefs;
  std::vector<ScannedFigure> figures;  // in section order
};

// What is wrong with the first bytes of a section: too short for a version, or a version that no
// reader takes. Empty when the version is readable (version is set then).
std::string SectionVersionProblem(const BYTE* data, size_t size, DWORD& version);

// Walks size bytes of a section. scratch should be an empty database of its own: old figure
// records register set definitions in it.
SectionScan ScanSection(const BYTE* data, size_t size, SxfZCdbAttrDB& scratch);
