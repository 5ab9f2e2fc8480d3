// ArchiveContext: what one read or write shares among its archive and every block archive opened
// inside it. The code that reads or writes a whole section makes one and owns it; nothing is
// kept per thread, so two drawings read on two threads share nothing.
//
// - Texts: a read of a short text shares the buffer of an equal text read recently (CString
//   copies share their buffers) instead of holding a copy of its own. A drawing's figures carry
//   the same few names, types and units, so most of its texts end up shared.
// - Blocks: archives of closed blocks are kept for the next block the archive-block utility
//   opens (host/archive_block.h), so a read or write does not allocate an archive per block.
//
// An archive without a context reads every text into a buffer of its own and opens each block
// afresh: the bytes read and written are the same either way. A context must outlive the
// archives it is given to; it is used by one thread at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/cstring.h"
#include "platform/visibility.h"

class CArchive;

class SXF_PLATFORM_API ArchiveContext {
 public:
  ArchiveContext();
  ~ArchiveContext();
  ArchiveContext(const ArchiveContext&) = delete;
  ArchiveContext& operator=(const ArchiveContext&) = delete;

  // Texts up to this many bytes are shared.
  static constexpr size_t kSharedTextLength = 32;
  // Sets out to the length bytes at data, sharing the buffer of an equal text read recently
  // when the text is short.
  void SetText(CString& out, const char* data, size_t length);

  // A kept archive of a closed block, loading or storing, or null when none is kept. The caller
  // owns it until it gives it back with KeepBlock.
  CArchive* TakeBlock(bool loading);
  // Keeps a block archive for reuse (at most a few dozen of each direction; more are deleted).
  void KeepBlock(CArchive* block);

 private:
  static constexpr size_t kTextSlots = 1024;
  static constexpr size_t kKeptBlocks = 64;

  std::unique_ptr<CString[]> texts_;
  std::vector<std::unique_ptr<CArchive>> loads_;
  std::vector<std::unique_ptr<CArchive>> stores_;
};
