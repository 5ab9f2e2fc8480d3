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
};

// Blocks are opened and closed once per record and field group, millions of times for a large
// drawing, so closed sub-archives are kept and reused instead of being allocated anew. Each
// thread has its own pools; a pool only ever holds as many archives as blocks were open at once.
class BlockPool {
 public:
  ~BlockPool() {
    for (BlockArchive* block : loads_) delete block;
    for (BlockArchive* block : stores_) delete block;
  }
  BlockArchive* Load(const BYTE* data, UINT size) {
    if (loads_.empty()) return new BlockArchive(data, size);
    BlockArchive* block = loads_.back();
    loads_.pop_back();
    block->ReopenView(data, size);
    return block;
  }
  BlockArchive* Store() {
    if (stores_.empty()) return new BlockArchive();
    BlockArchive* block = stores_.back();
    stores_.pop_back();
    block->ReopenMemoryStore();
    return block;
  }
  // A block that held more than kKeptBytes gives its memory back, so one huge block does not
  // stay allocated after the file is done.
  void PutBack(BlockArchive* block) {
    block->Abort();
    if (block->bytes_.capacity() > kKeptBytes) std::vector<BYTE>().swap(block->bytes_);
    if (block->StoredCapacity() > kKeptBytes) block->ReleaseStorage();
    std::vector<BlockArchive*>& pool = block->IsLoading() ? loads_ : stores_;
    if (pool.size() >= kKeptArchives) {
      delete block;
      return;
    }
    pool.push_back(block);
  }

 private:
  static constexpr size_t kKeptBytes = 64 * 1024;
  static constexpr size_t kKeptArchives = 64;
  std::vector<BlockArchive*> loads_;
  std::vector<BlockArchive*> stores_;
};

BlockPool& Pool() {
  thread_local BlockPool pool;
  return pool;
}

}  // namespace

CArchive* SaveArchiveBlockBegin(CArchive&) {
  return Pool().Store();
}

void SaveArchiveBlockEnd(CArchive& ar, CArchive* sub) {
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
  if (length > ar.BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  // A block already in memory (inside another block, or within the read-ahead) is read in
  // place: nested blocks then cost nothing beyond the bytes of the outermost one.
  if (const BYTE* inPlace = ar.TakeBuffered(length)) return Pool().Load(inPlace, length);
  // Read once from the outer file; every block inside it is then read in place.
  BlockArchive* block = Pool().Load(nullptr, 0);
  try {
    block->bytes_.resize(length);
    if (ar.Read(block->bytes_.data(), length) != length) throw CArchiveException(CArchiveException::endOfFile);
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
