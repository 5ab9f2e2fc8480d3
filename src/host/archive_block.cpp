#include "host/archive_block.h"

#include <cstdlib>

#include "platform/cfile.h"

namespace {

// A sub-archive that owns the memory file it reads or writes.
class BlockArchive : public CArchive {
 public:
  BlockArchive(CMemFile* file, UINT mode, int bufSize = 4096)
      : CArchive(file, mode, bufSize), file_(file) {}
  ~BlockArchive() override {
    Abort();
    delete file_;
  }
  CMemFile* file() const { return file_; }

 private:
  CMemFile* file_;
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
  BYTE* bytes = static_cast<BYTE*>(std::malloc(length ? length : 1));
  if (!bytes) throw CArchiveException(CArchiveException::endOfFile);
  if (ar.Read(bytes, length) != length) {
    std::free(bytes);
    throw CArchiveException(CArchiveException::endOfFile);
  }
  CMemFile* file = new CMemFile();
  file->Adopt(bytes, length);
  // A small block gets a small buffer, so deeply nested blocks cost little beyond their bytes.
  return new BlockArchive(file, CArchive::load, length < 4096 ? static_cast<int>(length) + 16 : 4096);
}

void LoadArchiveBlockEnd(CArchive&, CArchive* sub) {
  delete static_cast<BlockArchive*>(sub);
}
