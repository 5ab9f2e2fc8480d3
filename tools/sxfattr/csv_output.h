// The CSV file of `export`: the three tables of export_tables.h in one file.
//
// Each table is a header row followed by its rows; one empty line separates the tables (Title,
// Set definitions, Attributes). Fields follow RFC 4180: a field holding a comma, a double quote,
// a carriage return or a line feed is enclosed in double quotes, a double quote inside doubled;
// every line ends in CR LF. Numbers are written in decimal, an empty cell as an empty field.
//
// UTF-8 files start with a byte-order mark, which spreadsheet programs need to read them as
// UTF-8; Shift-JIS files have none. The file is written atomically (atomic_output.h).
#pragma once

#include <string>

#include "export_tables.h"

// Throws ToolError(kExitInput, "<path>: ...") when the file cannot be written.
void WriteCsvFile(const std::string& path, const SectionContent& content, TextEncoding encoding);
