// The three tables `export` writes, shared by the CSV file and the workbook.
//
//   Title            field, value: one row per title field, named as in the JSON document.
//   Set definitions  id, name, version, designer: one row per active definition, by ascending id.
//   Attributes       handle, figure name, attribute type, set id, set name, group path,
//                    attribute name, type, unit, kind, value, zukeiName, target handle.
//
// Attributes has one row per attribute, figures by ascending handle: every attribute of every set
// reference (its groups in tree order), the user attribute, the stub (name, type and unit only),
// then the contour and the image attribute. "attribute type" says which of these a row is
// ("attribute-file record", "user attribute", "attribute stub", "contour", "image"); "set id"
// and "set name" are the set reference's RefId and its definition's name; "group path" names the
// groups from the set reference down to the attribute, joined by "/"; "target handle" is the
// record a target attribute names, empty for every other attribute and for a target whose value
// is not a handle. A figure without any attribute has no row.
//
// Texts are written in the chosen encoding: UTF-8, or the section's own Shift-JIS bytes. A text
// that does not decode (sjis_display.h) is written in both as the document's form
// {"sjis":"<hex>"}, so no cell shows wrong characters and the bytes can be recovered.
#pragma once

#include <string>
#include <vector>

#include "section_content.h"

class Progress;

enum class TextEncoding { kUtf8, kSjis };

struct TableCell {
  bool isNumber = false;
  std::string text;  // in the chosen encoding; ASCII for labels
  long long number = 0;
};

// Receives the tables one after another, each row as it is made.
class TableWriter {
 public:
  virtual ~TableWriter() = default;
  // name is the sheet name; header the column names (ASCII).
  virtual void BeginTable(const std::string& name, const std::vector<std::string>& header) = 0;
  virtual void AddRow(const std::vector<TableCell>& row) = 0;
  virtual void EndTable() = 0;
};

// A text of the section as a cell shows it.
std::string CellText(const CString& text, TextEncoding encoding);

// Hands the three tables to writer; progress (may be null) is told how many figures are done.
void WriteExportTables(const SectionContent& content, TextEncoding encoding, TableWriter& writer,
                       Progress* progress);
