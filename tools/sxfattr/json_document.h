// The JSON document of a section: written by `dump --json`, read by `import`.
//
//   {"format": "sxfattr-dump", "formatVersion": 1,
//    "section": {"version": n, "layout": "old" | "new"},
//    "title": {...twelve fields...}, "setDefinitions": [...], "figures": [FIGURE, ...]}
//
// Every text is a JSON string when its Shift-JIS bytes decode to UTF-8 and back unchanged, and
// {"sjis": "<hex bytes>"} otherwise (sjis_display.h), so a document always carries the exact
// bytes. Members appear in a fixed order and the output is indented by two spaces, so the same
// section always gives the same bytes.
//
// Reading is strict: every member the writer writes must be present with its type, and members
// it does not know are refused, so a typing error in a hand-edited document is reported instead
// of silently dropped. `section` may be left out: import always writes the new layout.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <stdexcept>
#include <string>

#include "section_content.h"

using Json = nlohmann::ordered_json;

inline constexpr const char kDocumentFormat[] = "sxfattr-dump";
inline constexpr int kDocumentFormatVersion = 1;

class Progress;

// A text as the document holds it.
Json TextToJson(const CString& text);
// One FIGURE object.
Json FigureToJson(const FigureRef& fig);
// The document's objects of one set definition, GROUP, ATRU and ATRS.
Json SetDefinitionToJson(const SxfZCdbAttrSetDef& def);
Json GroupToJson(const SxfZCdbAttrGrp& group);
Json AtruToJson(const SxfZCdbATRU& atru);
Json AtrsToJson(const SxfZCdbATRS& atrs);

// Writes the whole document, figure by figure, exactly as Json::dump(2) would lay it out, followed
// by a line feed; progress (may be null) is told how many figures are done.
void WriteJsonDocument(std::ostream& out, const SectionContent& content, Progress* progress);
// The document with the figures left out and counted instead: "figureCount" and
// "figuresByAttrType" (one {"attrType", "count"} per type present, ascending) take the place of
// "figures", plus the number of figures with a contour and with an image attribute. content's
// figures are not used: figures holds what is counted.
Json SummaryToJson(const SectionContent& content, const FigureTallies& figures);

// A document that does not fit the schema; what() is "<member path>: <what is wrong>", the path
// written as in JavaScript (figures[3].attr.setRefs[0].attrs[1]).
class JsonSchemaError : public std::runtime_error {
 public:
  explicit JsonSchemaError(const std::string& message) : std::runtime_error(message) {}
};

// Builds the section a document describes. Throws JsonSchemaError.
ImportedSection SectionFromJson(const Json& doc);
