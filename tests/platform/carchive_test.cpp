#include "platform/carchive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "platform/cfile.h"
#include "support/record_bytes.h"

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
    Bytes bytes = Store([&](CArchive& ar) { ar << text << static_cast<BYTE>(0x5A); });
    ASSERT_EQ(bytes.size(), c.prefix.size() + static_cast<size_t>(c.length) + 1) << "length " << c.length;
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<long>(c.prefix.size())), c.prefix)
        << "length " << c.length;
    EXPECT_EQ(bytes.back(), 0x5A);

    ReadFile file(bytes);
    CArchive in(&file.file, CArchive::load);
    CString back("unchanged");
    BYTE marker = 0;
    in >> back >> marker;
    EXPECT_EQ(back, text) << "length " << c.length;
    EXPECT_EQ(marker, 0x5A);
  }
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
    ReadFile file(c.bytes);
    CArchive ar(&file.file, CArchive::load);
    CString s("unchanged");
    int cause = -1;
    g_largestAllocation = 0;
    g_watchAllocations = true;
    try {
      ar >> s;
    } catch (const CArchiveException& e) {
      cause = e.m_cause;
    }
    g_watchAllocations = false;
    EXPECT_EQ(cause, CArchiveException::endOfFile) << c.what;
    EXPECT_LT(g_largestAllocation, 4096u) << c.what;
    EXPECT_EQ(s, "unchanged") << c.what;
  }
}

}  // namespace
