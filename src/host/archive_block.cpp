#include "host/archive_block.h"

#include <vector>

#include "platform/archive_context.h"

namespace {

// A block's sub-archive. Loading, it reads memory in place: bytes of the outer archive, or a
// copy of them in bytes_ when the outer archive did not hold them all in memory. Storing, it
// collects the block in its own growing buffer.
class BlockArchive : public CArchive {
 public:
  BlockArchive(const BYTE* data, UINT size) : CArchive(data, size) {}
  BlockArchive() : CArchive(MemoryStore{}) {}
  std::vector<BYTE> bytes_;
};

// A block that held more than this gives its memory back before it is kept for reuse, so one
// huge block does not stay allocated after the file is done.
constexpr size_t kKeptBytes = 64 * 1024;

// A block archive over data, from the context's kept ones when there are any.
BlockArchive* OpenLoad(ArchiveContext* context, const BYTE* data, UINT size) {
  CArchive* kept = context != nullptr ? context->TakeBlock(true) : nullptr;
  if (kept == nullptr) return new BlockArchive(data, size);
  BlockArchive* block = static_cast<BlockArchive*>(kept);
  block->ReopenView(data, size);
  return block;
}

BlockArchive* OpenStore(ArchiveContext* context) {
  CArchive* kept = context != nullptr ? context->TakeBlock(false) : nullptr;
  if (kept == nullptr) return new BlockArchive();
  BlockArchive* block = static_cast<BlockArchive*>(kept);
  block->ReopenMemoryStore();
  return block;
}

// Closes a block archive: back to the context for reuse, or deleted without one.
void Release(BlockArchive* block) {
  ArchiveContext* context = block->GetContext();
  if (context == nullptr) {
    delete block;
    return;
  }
  block->Abort();
  if (block->IsLoading()) {
    if (block->bytes_.capacity() > kKeptBytes) std::vector<BYTE>().swap(block->bytes_);
  } else if (block->StoredCapacity() > kKeptBytes) {
    block->ReleaseStorage();
  }
  context->KeepBlock(block);
}

}  // namespace

CArchive* SaveArchiveBlockBegin(CArchive& ar) {
  // Inside an archive that stores to memory (another block, or a staged entry) the block is
  // written in place: its length is left open and filled in when it closes. A figure's five or
  // six levels of blocks are then never copied out level by level.
  if (ar.IsMemoryStore()) {
    ar.BeginInPlaceBlock();
    return &ar;
  }
  BlockArchive* block = OpenStore(ar.GetContext());
  block->SetContext(ar.GetContext());
  return block;
}

void SaveArchiveBlockEnd(CArchive& ar, CArchive* sub) {
  if (sub == &ar) {
    ar.EndInPlaceBlock();
    return;
  }
  BlockArchive* block = static_cast<BlockArchive*>(sub);
  try {
    ar << static_cast<DWORD>(block->StoredSize());
    ar.Write(block->StoredData(), static_cast<UINT>(block->StoredSize()));
  } catch (...) {
    Release(block);
    throw;
  }
  Release(block);
}

CArchive* LoadArchiveBlockBegin(CArchive& ar) {
  DWORD length;
  ar >> length;
  // A block already in memory (inside another block, or within the read-ahead) is read in
  // place: nested blocks then cost nothing beyond the bytes of the outermost one.
  if (const BYTE* inPlace = ar.TakeBuffered(length)) {
    BlockArchive* block = OpenLoad(ar.GetContext(), inPlace, length);
    block->SetContext(ar.GetContext());
    return block;
  }
  if (length > ar.BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  // Read once from the outer file; every block inside it is then read in place.
  BlockArchive* block = OpenLoad(ar.GetContext(), nullptr, 0);
  block->SetContext(ar.GetContext());
  try {
    block->bytes_.resize(length);
    if (ar.Read(block->bytes_.data(), length) != length)
      throw CArchiveException(CArchiveException::endOfFile);
  } catch (...) {
    Release(block);
    throw;
  }
  block->ReopenView(block->bytes_.data(), length);
  return block;
}

void LoadArchiveBlockEnd(CArchive&, CArchive* sub) {
  Release(static_cast<BlockArchive*>(sub));
}
