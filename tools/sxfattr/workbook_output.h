// The workbook of `export --xlsx`: the three tables of export_tables.h as the sheets Title,
// Set definitions and Attributes, written with libxlsxwriter.
//
// Each sheet has a bold header row, frozen so that it stays in view, and a filter over the header
// and every row. Texts are UTF-8; handles, kinds, the title date and target handles are numbers.
// The library writes rows as they come (its constant-memory mode), so a large section does not
// have to fit in memory a second time.
//
// The library as Debian ships it (1.1.4) cannot write into memory, so it writes the temporary file
// beside the output that is then renamed over it (atomic_output.h): no partial workbook is ever
// seen under the output's name. The library misses some of its short writes (a full disk) and
// then reports success over a file that is cut off, so the file is read back first: a whole zip
// archive (zip_check.h) whose XML parts are complete and whose sheets hold every row written.
#pragma once

#include <string>

#include "section_content.h"

// Throws ToolError(kExitInput, "<path>: ...") when the workbook cannot be written, also when a
// sheet would hold more rows than a workbook allows or a text is longer than a cell holds.
void WriteWorkbookFile(const std::string& path, const SectionContent& content);
