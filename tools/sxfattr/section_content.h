// What a drawing-file attribute section holds, as the commands see it: the section version, the
// title info, the active set definitions and the stored figures.
//
// SectionContent borrows its figures from the database that read them (they stay owned by that
// database's handle map); ImportedSection owns the figures it built from a JSON document.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "model/attr_set_def.h"
#include "model/figure.h"
#include "persist/section_format.h"
#include "persist/section_read.h"
#include "persist/section_walk.h"
#include "platform/types.h"
#include "title/title_info.h"

// True for a version of the old layouts (the section walk decides, persist/section_walk.h).
inline bool IsOldLayout(DWORD version) {
  return LayoutOfVersion(version) == SectionLayout::kOld;
}

// True when value is what the plug-in writes as a target's handle ("%u" of a 32-bit number).
// Anything else (empty, signed, "12x") the plug-in reads as some other number or as 0, so the
// target names the wrong record or none.
inline bool IsHandleText(const CString& value) {
  if (value.IsEmpty() || value.GetLength() > 10) return false;
  unsigned long long number = 0;
  for (int i = 0; i < value.GetLength(); ++i) {
    if (value[i] < '0' || value[i] > '9') return false;
    number = number * 10 + static_cast<unsigned>(value[i] - '0');
  }
  return number <= 0xFFFFFFFFull;
}

// A stored figure and the record handle it is stored under.
struct FigureRef {
  DWORD handle;
  const SxfZCdbFigure* figure;
};

struct SectionContent {
  DWORD version = kSectionVersionTagged;  // what the plug-in writes
  SxfTitleInfo title;
  std::vector<SxfZCdbAttrSetDef> setDefinitions;  // ascending by numeric id
  std::vector<FigureRef> figures;                 // ascending by handle
};

struct ImportedFigure {
  DWORD handle;
  std::unique_ptr<SxfZCdbFigure> figure;
};

struct ImportedSection {
  SxfTitleInfo title;
  std::vector<SxfZCdbAttrSetDef> setDefinitions;  // in document order
  std::vector<ImportedFigure> figures;            // in document order
};

// What a summary shows of a section's figures: how many there are of each attribute type, and
// how many carry a contour and an image attribute.
struct FigureCounts {
  std::map<int, size_t> byType;
  size_t withContour = 0;
  size_t withImage = 0;
};

inline FigureCounts CountFigures(const FigureTallies& figures) {
  FigureCounts counts;
  for (const auto& figure : figures) {
    ++counts.byType[figure.second.attrType];
    if (figure.second.contour) ++counts.withContour;
    if (figure.second.image) ++counts.withImage;
  }
  return counts;
}
