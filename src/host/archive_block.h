// The archive-block utility: nested, length-framed blocks inside a CArchive.
//
// Block := DWORD n (little-endian), then n bytes of content.
//
// Blocks are read and written in place, inside the archive the caller holds: no archive object is
// made for a block. The sub-archive the MFC-era functions below hand out is the outer archive
// itself, so a caller writes or reads a block only through the archive given, and closes blocks
// innermost first.
//
// SaveArchiveBlockBegin writes a length to be filled in and opens the block; SaveArchiveBlockEnd
// fills the length in. The bytes of an open block stay in the archive's buffer until the
// outermost block closes, so a block is never copied out level by level.
// LoadArchiveBlockBegin reads a block's length and opens the block: until LoadArchiveBlockEnd a
// read past its n bytes raises CArchiveException(endOfFile). A length larger than what is left of
// the outer data is an end of file, raised before anything is allocated. LoadArchiveBlockEnd
// skips what was not read of the block.
//
// ArchiveBlockIn and ArchiveBlockOut (not in the MFC-era interface) frame the same blocks for
// readers and writers that open many: the block is opened by the constructor and closed by the
// destructor, also when an exception leaves the scope, and nothing is kept in the archive beyond
// the open block itself. They are what the record formats use; they cost a few instructions a
// block when its bytes are buffered.
#pragma once

#include "platform/carchive.h"
#include "platform/types.h"
#include "platform/visibility.h"

SXF_HOST_API CArchive* SaveArchiveBlockBegin(CArchive& ar);
SXF_HOST_API void SaveArchiveBlockEnd(CArchive& ar, CArchive* sub);
SXF_HOST_API CArchive* LoadArchiveBlockBegin(CArchive& ar);
SXF_HOST_API void LoadArchiveBlockEnd(CArchive& ar, CArchive* sub);

// A block being read: the constructor reads the length and opens the block, raising the archive's
// exception when the length cannot be read or is more than is left.
class ArchiveBlockIn {
 public:
  explicit ArchiveBlockIn(CArchive& ar) : ar_(ar) {
    DWORD length;
    ar >> length;
    outer_ = ar.OpenBlock(length);
  }
  ~ArchiveBlockIn() { ar_.CloseBlock(outer_); }
  ArchiveBlockIn(const ArchiveBlockIn&) = delete;
  ArchiveBlockIn& operator=(const ArchiveBlockIn&) = delete;

 private:
  CArchive& ar_;
  size_t outer_;
};

// A block being written: the constructor writes a length to be filled in; the destructor fills it
// in with what was written meanwhile.
class ArchiveBlockOut {
 public:
  explicit ArchiveBlockOut(CArchive& ar) : ar_(ar), start_(ar.BeginBlock()) {}
  ~ArchiveBlockOut() { ar_.EndBlock(start_); }
  ArchiveBlockOut(const ArchiveBlockOut&) = delete;
  ArchiveBlockOut& operator=(const ArchiveBlockOut&) = delete;

 private:
  CArchive& ar_;
  size_t start_;
};
