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
// The library's nothrow allocations (std::stable_sort's buffer) must come from the same malloc.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
// Not inlined: an optimising build would otherwise see free() meet memory from operator new and
// warn of a mismatch that is not one (this operator new takes its memory from malloc).
__attribute__((noinline)) void operator delete(void* p) noexcept {
  std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, size_t) noexcept {
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

namespace {

// Blocks framed in place in a 16-byte archive buffer, so every block outgrows it: a storing
// archive holds an open block until it closes (its length filled in), a hold dropped leaves no
// byte behind, and a loading archive brings a whole block in, ends reads at its end and goes on
// after it, with the file standing after the last byte consumed when it closes.
TEST(CArchiveBlocks, OutgrowTheBufferInBothDirections) {
  const std::string inner(300, 'i');
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store, 16);
    ar << static_cast<BYTE>(0xA1);
    const size_t outer = ar.BeginBlock();
    ar << CString("abc");
    const size_t nested = ar.BeginBlock();
    ar.Write(inner.data(), static_cast<UINT>(inner.size()));
    ar.EndBlock(nested);
    ar.EndBlock(outer);
    const size_t dropped = ar.BeginHold();
    const size_t block = ar.BeginBlock();
    ar.Write(inner.data(), static_cast<UINT>(inner.size()));
    ar.EndBlock(block);
    ar.EndHold(dropped, false);
    const size_t kept = ar.BeginHold();
    ar << static_cast<BYTE>(0xB2);
    ar.EndHold(kept, true);
    ar.Close();
  }
  const Bytes nestedBlock = Builder().raw(inner).b;
  const Bytes outerBlock =
      Builder().astr("abc").i32(static_cast<int32_t>(nestedBlock.size())).raw(nestedBlock).b;
  const Bytes expected =
      Builder().u8(0xA1).i32(static_cast<int32_t>(outerBlock.size())).raw(outerBlock).u8(0xB2).b;
  ASSERT_EQ(Contents(file), expected);

  Bytes withTail = expected;
  withTail.push_back(0xEE);
  ReadFile in(withTail);
  CArchive ar(&in.file, CArchive::load, 16);
  BYTE first = 0, last = 0;
  DWORD length = 0;
  ar >> first >> length;
  const size_t outer = ar.OpenBlock(length);
  CString text;
  ar >> text >> length;
  const size_t nested = ar.OpenBlock(length);
  EXPECT_EQ(ar.BytesLeft(), inner.size());
  std::string read(inner.size(), '\0');
  EXPECT_EQ(ar.Read(&read[0], static_cast<UINT>(read.size() + 5)), inner.size());
  EXPECT_EQ(read, inner);
  int cause = -1;
  try {
    ar >> last;
  } catch (const CArchiveException& e) {
    cause = e.m_cause;
  }
  EXPECT_EQ(cause, CArchiveException::endOfFile);
  ar.CloseBlock(nested);
  ar.CloseBlock(outer);
  ar >> last;
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(first, 0xA1);
  EXPECT_EQ(last, 0xB2);
  EXPECT_EQ(ar.BytesDone(), expected.size());
  ar.Close();
  EXPECT_EQ(in.file.GetPosition(), expected.size());
}

// A block length beyond the data is an end of file before the buffer grows for it.
TEST(CArchiveBlocks, OverlongBlockRaisesBeforeAllocating) {
  ReadFile in(Builder().i32(0x7FFFFF00).raw("abcd").b);
  CArchive ar(&in.file, CArchive::load, 16);
  DWORD length = 0;
  ar >> length;
  int cause = -1;
  g_largestAllocation = 0;
  g_watchAllocations = true;
  try {
    ar.OpenBlock(length);
  } catch (const CArchiveException& e) {
    cause = e.m_cause;
  }
  g_watchAllocations = false;
  EXPECT_EQ(cause, CArchiveException::endOfFile);
  EXPECT_LT(g_largestAllocation, 4096u);
}

// Texts read through a context share buffers whose counts are brought up to date when the
// context goes: strings let go of during the read do not free a buffer others still hold, and
// afterwards a change to one copy leaves the others as they were.
TEST(ArchiveContextTexts, SharedTextsCountEveryHolder) {
  const Bytes bytes = Builder().astr("width").astr("width").astr("width").astr("other").astr("width").b;
  CString a, b, c, d, e;
  {
    ArchiveContext context;
    CArchive ar(bytes.data(), static_cast<UINT>(bytes.size()));
    ar.SetContext(&context);
    {
      CString gone;
      ar >> gone;
    }
    ar >> a >> b;
    c = b;
    ar >> d >> e;
    EXPECT_EQ(a.GetString(), b.GetString());
  }
  b.SetAt(0, 'W');
  e.SetAt(0, 'V');
  EXPECT_EQ(a, "width");
  EXPECT_EQ(b, "Width");
  EXPECT_EQ(c, "width");
  EXPECT_EQ(d, "other");
  EXPECT_EQ(e, "Vidth");
}

}  // namespace
