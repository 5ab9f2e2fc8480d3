// The records a section is made of besides the figures: the title record of both layouts, the
// attribute entry of the tagged layout and the figure entry of the old ones. Each record's reader
// and writer stand side by side (section_records.cpp); the section framing around them is the
// walk's (section_walk.h) and the writer's (section_write.cpp, old_section_writer.h).
//
// See section_format.h for the layouts.
#pragma once

#include <memory>

#include "model/figure.h"
#include "platform/carchive.h"
#include "platform/cfile.h"
#include "title/title_info.h"

class SxfZCdbAttrDB;

// ---- title record ----
// Old layout. Reading fills title in place and returns 1, or 0 on a short read with the fields
// read before it changed. The project name is stored twice: the writer stores it and an empty
// text, and reading keeps the first unless the second is non-empty.
int ReadOldTitleRecord(CFile* file, SxfTitleInfo& title);
int WriteOldTitleRecord(CFile* file, const SxfTitleInfo& title);
// Tagged layout: one fields block, then the end tag. A fields block that ends early leaves the
// fields not yet read as they were; other tags are skipped. Returns 1; an end of data outside a
// block passes on as the archive's exception.
void WriteTitleRecord(CArchive& ar, const SxfTitleInfo& title);
int ReadTitleRecord(CArchive& ar, SxfTitleInfo& title);

// ---- attribute entry (tagged layout) ----
// Writes {tag 1 handle, tag 100 figure record, end}. Returns 0, without the end tag, when the
// figure writer fails.
int WriteEntryRecord(CArchive& ar, DWORD handle, SxfZCdbFigure& figure);
// Reads one entry record. handle receives each handle block as it is read (0xFFFFFFFF stays
// when there is none); figure receives the entry's figure, read with db as its set definition
// registry and given the handle read before it (a later figure block replaces an earlier one),
// or stays null for an entry without figure block. Returns 1, or 0 when the figure record fails
// (figure then null). Archive exceptions pass on, figure null; *inFigure (when given) then says
// whether the figure record was being read, to tell its damage from the entry's own.
int ReadEntryRecord(CArchive& ar, SxfZCdbAttrDB* db, DWORD& handle, std::unique_ptr<SxfZCdbFigure>& figure,
                    bool* inFigure = nullptr);

// ---- figure entry (old layouts and the old copy buffer) ----
// {DWORD handle, old figure record}; the end marker that closes the entries is written apart.
int WriteOldFigureEntry(CFile* file, DWORD handle, SxfZCdbFigure& figure);
