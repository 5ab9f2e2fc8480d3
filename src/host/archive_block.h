// The archive-block utility: nested, length-framed blocks inside a CArchive.
//
// Block := DWORD n (little-endian), then n bytes of content.
//
// SaveArchiveBlockBegin gives a storing sub-archive that collects one block in memory;
// SaveArchiveBlockEnd writes its length and bytes to the outer archive and releases it. When the
// outer archive itself stores to memory, the sub-archive given is the outer one: the block is
// written in place and its length filled in at the end. Either way a caller writes the block only
// through the archive given, and closes blocks innermost first.
// LoadArchiveBlockBegin reads a block's length and content and gives a loading sub-archive over
// exactly those bytes: a read past them raises CArchiveException(endOfFile). A length larger than
// what is left of the outer data is an end of file, raised before anything is allocated.
// LoadArchiveBlockEnd deletes the sub-archive; what was not read of the block is skipped.
// Blocks nest: a sub-archive is itself an archive that blocks can be opened on, and shares the
// outer archive's context (platform/archive_context.h): closed block archives go back to that
// context for the next block, and without a context each block archive is made and deleted.
#pragma once

#include "platform/visibility.h"
#include "platform/carchive.h"

SXF_HOST_API CArchive* SaveArchiveBlockBegin(CArchive& ar);
SXF_HOST_API void SaveArchiveBlockEnd(CArchive& ar, CArchive* sub);
SXF_HOST_API CArchive* LoadArchiveBlockBegin(CArchive& ar);
SXF_HOST_API void LoadArchiveBlockEnd(CArchive& ar, CArchive* sub);
