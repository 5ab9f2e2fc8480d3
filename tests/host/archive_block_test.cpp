#include "host/archive_block.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"

namespace {

std::vector<BYTE> Bytes(const CMemFile& file) {
  return std::vector<BYTE>(file.Data(), file.Data() + file.GetLength());
}

// outer { DWORD 1, middle { DWORD 2, inner { "deep" }, DWORD 3 }, DWORD 4 }, then DWORD 5 after
// the outer block.
std::vector<BYTE> ThreeDeep() {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CArchive* outer = SaveArchiveBlockBegin(ar);
    *outer << DWORD(1);
    CArchive* middle = SaveArchiveBlockBegin(*outer);
    *middle << DWORD(2);
    CArchive* inner = SaveArchiveBlockBegin(*middle);
    *inner << CString("deep");
    SaveArchiveBlockEnd(*middle, inner);
    *middle << DWORD(3);
    SaveArchiveBlockEnd(*outer, middle);
    *outer << DWORD(4);
    SaveArchiveBlockEnd(ar, outer);
    ar << DWORD(5);
    ar.Close();
  }
  return Bytes(file);
}

DWORD ReadDword(CArchive& ar) {
  DWORD v = 0;
  ar >> v;
  return v;
}

TEST(ArchiveBlock, ThreeDeepLayoutAndRoundTrip) {
  const std::vector<BYTE> bytes = ThreeDeep();
  // inner = 1 + 4 bytes; middle = 4 + (4 + 5) + 4 = 17; outer = 4 + (4 + 17) + 4 = 29.
  const std::vector<BYTE> expected = {29, 0, 0,   0,   1,   0,   0, 0, 17, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0,
                                      0,  4, 'd', 'e', 'e', 'p', 3, 0, 0,  0, 4, 0, 0, 0, 5, 0, 0, 0};
  ASSERT_EQ(bytes, expected);

  std::vector<BYTE> copy = bytes;
  CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
  CArchive ar(&file, CArchive::load);
  CArchive* outer = LoadArchiveBlockBegin(ar);
  EXPECT_EQ(ReadDword(*outer), 1u);
  CArchive* middle = LoadArchiveBlockBegin(*outer);
  EXPECT_EQ(ReadDword(*middle), 2u);
  CArchive* inner = LoadArchiveBlockBegin(*middle);
  CString text;
  *inner >> text;
  EXPECT_EQ(text, "deep");
  // Reading past the inner block's end is an end of file, however much follows it outside.
  try {
    ReadDword(*inner);
    ADD_FAILURE() << "read past the block's end";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
  }
  LoadArchiveBlockEnd(*middle, inner);
  EXPECT_EQ(ReadDword(*middle), 3u);
  LoadArchiveBlockEnd(*outer, middle);
  EXPECT_EQ(ReadDword(*outer), 4u);
  LoadArchiveBlockEnd(ar, outer);
  EXPECT_EQ(ReadDword(ar), 5u);
}

TEST(ArchiveBlock, UnreadBlocksAreSkippedAndTheLastBlockMayEndTheFile) {
  std::vector<BYTE> bytes = ThreeDeep();
  bytes.resize(bytes.size() - 4);  // the outer block now ends the file
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);

  CArchive* outer = LoadArchiveBlockBegin(ar);
  EXPECT_EQ(ReadDword(*outer), 1u);
  LoadArchiveBlockEnd(*outer, LoadArchiveBlockBegin(*outer));  // middle, not read at all
  EXPECT_EQ(ReadDword(*outer), 4u);
  LoadArchiveBlockEnd(ar, outer);
  EXPECT_EQ(ar.BytesLeft(), 0u);
  try {
    CArchive* none = LoadArchiveBlockBegin(ar);
    LoadArchiveBlockEnd(ar, none);
    ADD_FAILURE() << "opened a block at the end of the file";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
  }

  // An empty block opens and closes.
  CMemFile empty;
  {
    CArchive store(&empty, CArchive::store);
    SaveArchiveBlockEnd(store, SaveArchiveBlockBegin(store));
    store.Close();
  }
  std::vector<BYTE> emptyBytes = Bytes(empty);
  ASSERT_EQ(emptyBytes, (std::vector<BYTE>{0, 0, 0, 0}));
  CMemFile emptyIn(emptyBytes.data(), 4);
  CArchive load(&emptyIn, CArchive::load);
  CArchive* block = LoadArchiveBlockBegin(load);
  EXPECT_EQ(block->BytesLeft(), 0u);
  LoadArchiveBlockEnd(load, block);
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
