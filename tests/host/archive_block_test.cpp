#include "host/archive_block.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"

namespace {

std::vector<BYTE> Bytes(const CMemFile& file) {
  return std::vector<BYTE>(file.Data(), file.Data() + file.GetLength());
}

DWORD ReadDword(CArchive& ar) {
  DWORD v = 0;
  ar >> v;
  return v;
}

TEST(ArchiveBlock, LengthBeyondTheDataIsAnEndOfFile) {
  // A length exactly as long as what follows opens; one byte more, or a huge one, does not.
  for (DWORD length : {6u, 7u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    std::vector<BYTE> bytes = {
        BYTE(length), BYTE(length >> 8), BYTE(length >> 16), BYTE(length >> 24), 1, 2, 3, 4, 5, 6};
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    bool raised = false;
    try {
      LoadArchiveBlockEnd(ar, LoadArchiveBlockBegin(ar));
    } catch (const CArchiveException& e) {
      raised = true;
      EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(raised, length != 6u) << length;
  }

  // Inside a block, the limit is the block's end, not the file's.
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CArchive* outer = SaveArchiveBlockBegin(ar);
    *outer << DWORD(5) << BYTE(9);  // claims 5 bytes, holds 1
    SaveArchiveBlockEnd(ar, outer);
    ar << DWORD(0) << DWORD(0);  // plenty of bytes after the block
    ar.Close();
  }
  std::vector<BYTE> bytes = Bytes(file);
  CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&in, CArchive::load);
  CArchive* outer = LoadArchiveBlockBegin(ar);
  EXPECT_THROW(LoadArchiveBlockBegin(*outer), CArchiveException);
  LoadArchiveBlockEnd(ar, outer);
  EXPECT_EQ(ReadDword(ar), 0u);
}

}  // namespace
