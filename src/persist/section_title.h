// The title record of a drawing section, in the old layout (read only) and the tagged one.
#pragma once

#include "platform/carchive.h"
#include "platform/cfile.h"
#include "title/title_info.h"

// Reads the old title record into title. 1, or 0 on a short read; the fields read before the
// failure keep their new values.
int ReadOldTitleRecord(CFile* file, SxfTitleInfo& title);

// Writes the tagged title record (one fields block, then the end tag).
void WriteTitleRecord(CArchive& ar, const SxfTitleInfo& title);
// Reads a tagged title record into title. A fields block that ends early leaves the fields not
// yet read as they were; other tags are skipped. Returns 1; an end of data outside a block passes
// on as the archive's exception.
int ReadTitleRecord(CArchive& ar, SxfTitleInfo& title);
