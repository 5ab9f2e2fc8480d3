#include "platform/carchive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "platform/cfile.h"

// Records the largest allocation made while a test watches, to prove that a reader checks a
// length against the data before it allocates for it.
namespace {
bool g_watchAllocations = false;
size_t g_largestAllocation = 0;
}  // namespace

void* operator new(size_t size) {
  if (g_watchAllocations && size > g_largestAllocation) g_largestAllocation = size;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}

namespace {

std::vector<BYTE> Bytes(const CMemFile& file) {
  return std::vector<BYTE>(file.Data(), file.Data() + file.GetLength());
}

// A memory file holding bytes, positioned at the start.
void Fill(CMemFile& file, const std::vector<BYTE>& bytes) {
  file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  file.SeekToBegin();
}

int CauseOf(CArchive& ar, CString& s) {
  try {
    ar >> s;
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return -1;
}

TEST(CArchiveString, LengthPrefixesAtEachBoundary) {
  struct Case {
    int length;
    std::vector<BYTE> prefix;
  };
  const Case cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {0x10000, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    CString text;
    for (int i = 0; i < c.length; ++i) text += static_cast<char>('a' + i % 26);
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      ar << text << static_cast<BYTE>(0x5A);
      ar.Close();
    }
    std::vector<BYTE> bytes = Bytes(file);
    ASSERT_EQ(bytes.size(), c.prefix.size() + static_cast<size_t>(c.length) + 1) << "length " << c.length;
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<long>(c.prefix.size())), c.prefix)
        << "length " << c.length;
    EXPECT_EQ(bytes.back(), 0x5A);

    file.SeekToBegin();
    CArchive in(&file, CArchive::load);
    CString back("unchanged");
    BYTE marker = 0;
    in >> back >> marker;
    EXPECT_EQ(back, text) << "length " << c.length;
    EXPECT_EQ(marker, 0x5A);
  }
}

TEST(CArchiveLoad, EndOfFileIsCauseThreeAndShortReadsCount) {
  CMemFile file;
  Fill(file, {1, 2, 3, 4, 5, 6, 7});
  CArchive ar(&file, CArchive::load);
  DWORD d = 0;
  ar >> d;
  EXPECT_EQ(d, 0x04030201u);
  try {
    ar >> d;  // three bytes left
    FAIL() << "reading past the end did not raise";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    EXPECT_EQ(e.m_cause, 3);
  }
  // The failed extraction consumed nothing: the three bytes are still there.
  BYTE rest[8] = {};
  EXPECT_EQ(ar.Read(rest, sizeof rest), 3u);
  EXPECT_EQ(rest[0], 5);
  EXPECT_EQ(rest[2], 7);
  EXPECT_EQ(ar.Read(rest, sizeof rest), 0u);
  BYTE b;
  EXPECT_THROW(ar >> b, CArchiveException);
}

TEST(CArchiveLoad, OverlongStringRaisesBeforeAllocating) {
  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
  };
  const Case cases[] = {
      {"one-byte length", {0x05, 'a', 'b', 'c'}},
      {"16-bit length", {0xFF, 0x00, 0x01, 'a'}},
      {"32-bit length", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'}},
      {"truncated prefix", {0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    CMemFile file;
    Fill(file, c.bytes);
    CArchive ar(&file, CArchive::load);
    CString s("unchanged");
    g_largestAllocation = 0;
    g_watchAllocations = true;
    int cause = CauseOf(ar, s);
    g_watchAllocations = false;
    EXPECT_EQ(cause, CArchiveException::endOfFile) << c.what;
    EXPECT_LT(g_largestAllocation, 4096u) << c.what;
    EXPECT_EQ(s, "unchanged") << c.what;
  }
}

}  // namespace
