// Primitives of the new record format: tagged records of archive blocks inside a CArchive.
//
//   record := { int32 tag (never 0), block }* int32 0
//   block  := framed by the host's archive-block utility; it nests, can be skipped unread, and
//             its reading archive raises CArchiveException(endOfFile) at the block's end
//
// Writers write their entries in a fixed order; readers take entries in any order and number,
// skip the blocks of tags they do not know, and read the plain-field block (tag 1) under a guard
// that treats an early end of the block as the end of the fields.
//
// Exception rule shared by every record: whatever is raised while a block is open closes that
// block and then passes on unchanged, so nested blocks are never left dangling. The only
// exception absorbed is the end of file inside a plain-field block (ReadFields).
//
// Blocks are framed in place (host/archive_block.h): the archive a body or onTag is handed is the
// record's own archive, narrowed to the block while it is open.
#pragma once

#include <type_traits>
#include <utility>

#include "host/archive_block.h"
#include "model/record_tags.h"
#include "platform/carchive.h"
#include "platform/exceptions.h"
#include "platform/types.h"

namespace new_format {

inline void WriteTag(CArchive& ar, LONG tag) {
  ar << static_cast<int>(tag);
}
// Writes the int32 0 that closes a record.
inline void WriteEnd(CArchive& ar) {
  ar << static_cast<int>(kTagEnd);
}

// Writes one entry: the tag, then a block holding what body(CArchive& block) writes. body returns
// int (1 success, 0 failure) or nothing (success). The block is closed in every case; the result
// is body's.
template <class Body>
int WriteBlock(CArchive& ar, LONG tag, Body&& body) {
  WriteTag(ar, tag);
  ArchiveBlockOut block(ar);
  if constexpr (std::is_void_v<decltype(body(ar))>) {
    body(ar);
    return 1;
  } else {
    return body(ar);
  }
}

// Reads entries up to the int32 0. For each entry the block is opened and onTag(LONG tag,
// CArchive& block) is called; it reads what it knows and returns 1, or 0 to fail the record.
// Unknown tags simply return 1: closing the block skips them. Returns 1 at the end tag, 0 as soon
// as onTag fails (after closing its block). An end of data outside a block raises the archive's
// exception to the caller.
template <class OnTag>
int ReadRecord(CArchive& ar, OnTag&& onTag) {
  for (;;) {
    LONG tag;
    ar >> tag;
    if (tag == kTagEnd) return 1;
    ArchiveBlockIn block(ar);
    if (!onTag(tag, ar)) return 0;
  }
}

// Runs body(CArchive& block) over a plain-field block: an end of file raised inside it ends the
// fields (those not read yet keep their values); every other exception passes on. Read each field
// into its destination directly: CArchive leaves a destination unchanged when its read fails.
template <class Body>
void ReadFields(CArchive& block, Body&& body) {
  try {
    body(block);
  } catch (CArchiveException& e) {
    if (e.m_cause != CArchiveException::endOfFile) throw;
  }
}

}  // namespace new_format
