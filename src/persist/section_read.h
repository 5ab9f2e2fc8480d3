// The database's reads of its sections, with a reporter: what SxfZCdbAttrDB::Read and the copy
// buffer's readers do, for callers that need to know where a section stops reading (the
// command-line tool names the byte and the reason). Results, effects and exceptions are those of
// the database's readers; the reporter (may be null) is told the damage before a read returns 0
// or passes an archive exception on.
#pragma once

#include "persist/section_walk.h"

class SxfZCdbAttrDB;
class ZCdb;
class ZCdbBuff;

// SxfZCdbAttrDB::Read(mode, file, drawing).
int ReadDrawingSection(SxfZCdbAttrDB& db, int mode, CFile* file, ZCdb* drawing, SectionReporter* reporter);
// SxfZCdbAttrDB::Read(file, buff): the tagged copy-buffer section.
int ReadCopyBufferSection(SxfZCdbAttrDB& db, CFile* file, ZCdbBuff* buff, SectionReporter* reporter);
// SxfZCdbAttrDB::ReadOldBuff(file, buff): the old handle-prefixed copy-buffer section.
int ReadOldCopyBufferSection(SxfZCdbAttrDB& db, CFile* file, ZCdbBuff* buff, SectionReporter* reporter);
