// Layout of the attribute database's sections in a drawing file and in the copy buffer.
//
//   drawing section (written)   := DWORD version 0x3000, then a CArchive stream holding
//                                  tag 100 { title record }
//                                  tag 101 { set definition record } *   (active ids, ascending)
//                                  tag 102 { attribute entry } *         (collection order)
//                                  int32 0
//   title record                := tag 1 { 7 strings: project, construction, contract class,
//                                          drawing name, drawing number, drawing type, scale;
//                                          DWORD year, month, day; 2 strings: company, office }
//                                  int32 0
//   attribute entry             := tag 1 { DWORD handle }  tag 100 { figure record }  int32 0
//
//   old drawing section (read)  := DWORD version <= 0x2000  old title
//                                  [int32 n  old set definition record * n]   (version 0x2000)
//                                  { DWORD handle  old figure record } *  DWORD 0xFFFFFFFF
//   old title                   := file strings: project name twice (an empty second one keeps
//                                  the first), construction, contract class, drawing name,
//                                  drawing number, drawing type, scale; int32 year, month, day;
//                                  file strings company, office
//
//   copy-buffer section         := CArchive stream { tag 102 { attribute entry } * int32 0 }
//   old copy-buffer section     := { DWORD handle  old figure record } *  DWORD 0xFFFFFFFF
//
// Versions 0x2001 to 0x2FFF are refused. Every version from 0x3000 up is read as the tagged
// layout. These numbers are on disk and never change. The walks over the layouts are in
// section_walk.h, the records in section_records.h, the writers in section_write.cpp (tagged)
// and old_section_writer.h (old layouts, for tools and tests).
#pragma once

#include <cstddef>

#include "platform/types.h"

inline constexpr DWORD kSectionVersionWithoutSetDefs = 0x1000;  // an old layout without definitions
inline constexpr DWORD kSectionVersionWithSetDefs = 0x2000;     // last old layout, with definitions
inline constexpr DWORD kSectionVersionTagged = 0x3000;          // written; first tagged layout

// Top-level tags of the tagged body.
inline constexpr LONG kTagSectionTitle = 100;
inline constexpr LONG kTagSectionSetDef = 101;
inline constexpr LONG kTagSectionAttrEntry = 102;

// Tags inside an attribute entry. The handle comes first, so a figure read after it can take it.
inline constexpr LONG kTagEntryHandle = 1;
inline constexpr LONG kTagEntryFigure = 100;

// Ends the figure entries of the old layouts.
inline constexpr DWORD kOldEntriesEnd = 0xFFFFFFFF;

// The kind of host definitions whose records carry attributes of their own: the collection of a
// save and the binding of a read visit their records after the drawing's tree.
inline constexpr DWORD kAttrDefinitionKind = 2;

// The tagged layout's archives read ahead and collect this many bytes at a time (a CArchive takes
// 4096 by default). In pieces this large nearly every entry is in the buffer whole, so its blocks
// are read and written in place, and the file sees few large calls instead of one per 4 KiB.
// The read-ahead is given back when the archive closes, so the file still stands right after the
// end tag; a section smaller than this gets a buffer no larger than itself.
inline constexpr int kSectionArchiveBuffer = 1 << 18;

// Room made up front for the entries of a write and the figures of a read.
inline constexpr size_t kWriteListReserve = 1024;
inline constexpr size_t kReadListReserve = 10240;

// Bit of an entry's flags set only while a tagged section is read, on the entries that read has
// created or refilled; cleared before the read returns (or passes an exception on).
inline constexpr DWORD kEntryReadMark = 0x80000000;
