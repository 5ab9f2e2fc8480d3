// The indented text view of a section that `dump` prints without --json.
//
// One line per item, children indented by two spaces: the section version and layout, the title,
// the set definitions, then every figure with its attributes (set references and their group
// trees, the user attribute or stub, contour and image). Texts are quoted and decoded from
// Shift-JIS; texts that do not decode show their bytes (sjis_display.h). Target attributes are
// shown as references to their handles. The view is for reading, not for parsing: use --json.
#pragma once

#include <ostream>
#include <string>

#include "section_content.h"

class Progress;

// The whole section. progress (may be null) is told how many figures are done.
void WriteTextView(std::ostream& out, const SectionContent& content, Progress* progress);
// What the summary prints: the head of the section and the figures counted by attribute type,
// with a contour and with an image attribute. content's figures are not used.
void WriteSummaryText(std::ostream& out, const SectionContent& content, const FigureTallies& figures);
// One figure, indented by depth levels; set references name their definitions from content.
void WriteFigureText(std::ostream& out, const FigureRef& fig, const SectionContent& content, int depth);

// "attribute-file record", "user attribute", ... for an attribute type code.
std::string AttrTypeText(int type);
// One attribute as the view shows it: name, type, unit and value; a target as "target -> handle
// N" with its memo.
std::string AtruText(const SxfZCdbATRU& atru);
// A stub: its name, type and unit.
std::string AtrsText(const SxfZCdbATRS& atrs);
// The attributes and sub-groups of group (not the group's own name), indented by depth levels.
void WriteGroupText(std::ostream& out, const SxfZCdbAttrGrp& group, int depth);
