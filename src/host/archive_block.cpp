#include "host/archive_block.h"

#include <cstdlib>

#include "platform/cfile.h"

namespace {

// A sub-archive that owns the memory file it reads or writes, or reads memory in place.
class BlockArchive : public CArchive {
 public:
  BlockArchive(CMemFile* file, UINT mode, int bufSize = 4096)
      : CArchive(file, mode, bufSize), file_(file) {}
  // Reads size bytes in place; with owned, the bytes came from malloc and go with the archive,
  // otherwise they belong to the outer archive.
  BlockArchive(const BYTE* data, UINT size, bool owned)
      : CArchive(data, size), file_(nullptr), owned_(owned ? data : nullptr) {}
  ~BlockArchive() override {
    Abort();
    delete file_;
    std::free(const_cast<BYTE*>(owned_));
  }
  CMemFile* file() const { return file_; }

 private:
  CMemFile* file_;
  const BYTE* owned_ = nullptr;
};

}  // namespace

CArchive* SaveArchiveBlockBegin(CArchive&) {
  return new BlockArchive(new CMemFile(), CArchive::store);
}

void SaveArchiveBlockEnd(CArchive& ar, CArchive* sub) {
  BlockArchive* block = static_cast<BlockArchive*>(sub);
  try {
    block->Flush();
    CMemFile* file = block->file();
    ar << static_cast<DWORD>(file->GetLength());
    ar.Write(file->Data(), static_cast<UINT>(file->GetLength()));
  } catch (...) {
    delete block;
    throw;
  }
  delete block;
}

CArchive* LoadArchiveBlockBegin(CArchive& ar) {
  DWORD length;
  ar >> length;
  if (length > ar.BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  // A block already in memory (inside another block, or within the read-ahead) is read in
  // place: nested blocks then cost nothing beyond the bytes of the outermost one.
  if (const BYTE* inPlace = ar.TakeBuffered(length)) return new BlockArchive(inPlace, length, false);
  BYTE* bytes = static_cast<BYTE*>(std::malloc(length ? length : 1));
  if (!bytes) throw CArchiveException(CArchiveException::endOfFile);
  if (ar.Read(bytes, length) != length) {
    std::free(bytes);
    throw CArchiveException(CArchiveException::endOfFile);
  }
  // Read once from the outer file; every block inside it is then read in place.
  return new BlockArchive(bytes, length, true);
}

void LoadArchiveBlockEnd(CArchive&, CArchive* sub) {
  delete static_cast<BlockArchive*>(sub);
}
