#include "host/archive_block.h"

#include <memory>
#include <vector>

namespace {

// A block's sub-archive. Loading, it reads memory in place: bytes of the outer archive, or a
// copy of them in bytes_ when the outer archive did not hold them all in memory. Storing, it
// collects the block in its own growing buffer.
class BlockArchive : public CArchive {
 public:
  BlockArchive(const BYTE* data, UINT size) : CArchive(data, size) {}
  BlockArchive() : CArchive(MemoryStore{}) {}
  std::vector<BYTE> bytes_;
  BlockArchive* next_ = nullptr;  // the next archive of a pool
};

// Blocks are opened and closed once per record and field group, millions of times for a large
// drawing, so closed sub-archives are kept and reused instead of being allocated anew. Each
// thread has its own pools; a pool only ever holds as many archives as blocks were open at once
// (up to kKeptArchives).
class BlockPool {
 public:
  ~BlockPool() {
    Drop(loads_);
    Drop(stores_);
  }
  BlockArchive* Load(const BYTE* data, UINT size) {
    BlockArchive* block = Take(loads_, loadsKept_);
    if (block == nullptr) return new BlockArchive(data, size);
    block->ReopenView(data, size);
    return block;
  }
  BlockArchive* Store() {
    BlockArchive* block = Take(stores_, storesKept_);
    if (block == nullptr) return new BlockArchive();
    block->ReopenMemoryStore();
    return block;
  }
  // A block that held more than kKeptBytes gives its memory back, so one huge block does not
  // stay allocated after the file is done.
  void PutBack(BlockArchive* block) {
    block->Abort();
    const bool loading = block->IsLoading() != 0;
    if (loading) {
      if (!block->bytes_.empty() && block->bytes_.capacity() > kKeptBytes)
        std::vector<BYTE>().swap(block->bytes_);
    } else if (block->StoredCapacity() > kKeptBytes) {
      block->ReleaseStorage();
    }
    size_t& kept = loading ? loadsKept_ : storesKept_;
    if (kept >= kKeptArchives) {
      delete block;
      return;
    }
    BlockArchive*& head = loading ? loads_ : stores_;
    block->next_ = head;
    head = block;
    ++kept;
  }

 private:
  static constexpr size_t kKeptBytes = 64 * 1024;
  static constexpr size_t kKeptArchives = 64;

  static BlockArchive* Take(BlockArchive*& head, size_t& kept) {
    BlockArchive* block = head;
    if (block != nullptr) {
      head = block->next_;
      --kept;
    }
    return block;
  }
  static void Drop(BlockArchive* head) {
    while (head != nullptr) {
      BlockArchive* next = head->next_;
      delete head;
      head = next;
    }
  }

  BlockArchive* loads_ = nullptr;
  BlockArchive* stores_ = nullptr;
  size_t loadsKept_ = 0;
  size_t storesKept_ = 0;
};

BlockPool& Pool() {
  thread_local BlockPool pool;
  return pool;
}

// Blocks open in place, innermost last: the archive each was opened in and where its content
// starts.
struct InPlaceBlock {
  CArchive* archive;
  size_t start;
};
std::vector<InPlaceBlock>& InPlace() {
  thread_local std::vector<InPlaceBlock> open;
  return open;
}

}  // namespace

CArchive* SaveArchiveBlockBegin(CArchive& ar) {
  // Inside an archive that stores to memory (another block, or a staged entry) the block is
  // written in place: its length is left open and filled in when it closes. A figure's five or
  // six levels of blocks are then never copied out level by level.
  if (ar.IsMemoryStore()) {
    ar << DWORD{0};
    InPlace().push_back({&ar, ar.StoredSize()});
    return &ar;
  }
  return Pool().Store();
}

void SaveArchiveBlockEnd(CArchive& ar, CArchive* sub) {
  if (sub == &ar) {
    std::vector<InPlaceBlock>& open = InPlace();
    // Blocks close innermost first; anything else is a caller's error, and the block is then
    // left as it is rather than given a wrong length.
    if (open.empty() || open.back().archive != &ar)
      throw CArchiveException(CArchiveException::genericException);
    const size_t start = open.back().start;
    open.pop_back();
    const DWORD length = static_cast<DWORD>(ar.StoredSize() - start);
    ar.PatchStored(start - sizeof(DWORD), &length, sizeof(DWORD));
    return;
  }
  BlockArchive* block = static_cast<BlockArchive*>(sub);
  try {
    ar << static_cast<DWORD>(block->StoredSize());
    ar.Write(block->StoredData(), static_cast<UINT>(block->StoredSize()));
  } catch (...) {
    Pool().PutBack(block);
    throw;
  }
  Pool().PutBack(block);
}

CArchive* LoadArchiveBlockBegin(CArchive& ar) {
  DWORD length;
  ar >> length;
  // A block already in memory (inside another block, or within the read-ahead) is read in
  // place: nested blocks then cost nothing beyond the bytes of the outermost one.
  if (const BYTE* inPlace = ar.TakeBuffered(length)) return Pool().Load(inPlace, length);
  if (length > ar.BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  // Read once from the outer file; every block inside it is then read in place.
  BlockArchive* block = Pool().Load(nullptr, 0);
  try {
    block->bytes_.resize(length);
    if (ar.Read(block->bytes_.data(), length) != length)
      throw CArchiveException(CArchiveException::endOfFile);
  } catch (...) {
    Pool().PutBack(block);
    throw;
  }
  block->ReopenView(block->bytes_.data(), length);
  return block;
}

void LoadArchiveBlockEnd(CArchive&, CArchive* sub) {
  Pool().PutBack(static_cast<BlockArchive*>(sub));
}
