#include "platform/carchive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>
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

TEST(CArchiveNumbers, StoredLittleEndianInTheirWidth) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<DWORD>(0x789ABCDE)
       << static_cast<LONG>(-2) << 1.0 << static_cast<short>(-3);
  }  // the destructor flushes
  const std::vector<BYTE> expected = {0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFF, 0xFF,
                                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, 0xFD, 0xFF};
  EXPECT_EQ(Bytes(file), expected);

  file.SeekToBegin();
  CArchive in(&file, CArchive::load);
  BYTE b;
  WORD w;
  DWORD d;
  LONG l;
  double x;
  short s;
  in >> b >> w >> d >> l >> x >> s;
  EXPECT_EQ(b, 0x12);
  EXPECT_EQ(w, 0x3456);
  EXPECT_EQ(d, 0x789ABCDEu);
  EXPECT_EQ(l, -2);
  EXPECT_EQ(x, 1.0);
  EXPECT_EQ(s, -3);
  EXPECT_EQ(in.BytesLeft(), 0u);
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

// 0xFF then 0xFFFE (bytes FF FE FF) announces a wide-character string.
TEST(CArchiveLoad, WideStringMarkerIsRejected) {
  CMemFile file;
  Fill(file, {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0});
  CArchive ar(&file, CArchive::load);
  CString s("unchanged");
  EXPECT_EQ(CauseOf(ar, s), CArchiveException::badSchema);
  EXPECT_EQ(s, "unchanged");
}

// Closing a loading archive gives back what it read ahead, so the next reader of the file
// starts right after the last byte the archive handed out; also when the archive was made in
// the middle of the file.
TEST(CArchiveLoad, CloseLeavesTheFileAfterTheLastByteConsumed) {
  std::vector<BYTE> bytes(10000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<BYTE>(i * 31);
  CMemFile file;
  Fill(file, bytes);
  file.Seek(100, CFile::begin);

  CArchive ar(&file, CArchive::load);
  EXPECT_EQ(ar.BytesLeft(), 9900u);
  DWORD d;
  ar >> d;
  EXPECT_EQ(ar.BytesLeft(), 9896u);
  std::vector<BYTE> chunk(5000);
  ASSERT_EQ(ar.Read(chunk.data(), 5000), 5000u);
  EXPECT_EQ(chunk[0], bytes[104]);
  EXPECT_EQ(chunk[4999], bytes[5103]);
  BYTE b;
  ar >> b;
  EXPECT_EQ(b, bytes[5104]);
  EXPECT_EQ(ar.BytesLeft(), 10000u - 5105u);
  ar.Close();
  EXPECT_EQ(file.GetPosition(), 5105u);

  // A second archive continues where the first stopped.
  CArchive next(&file, CArchive::load);
  next >> b;
  EXPECT_EQ(b, bytes[5105]);
  next.Close();
  EXPECT_EQ(file.GetPosition(), 5106u);
}

TEST(CArchiveStore, BytesReachTheFileOnFlushCloseOrDestruction) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<DWORD>(7) << CString("abc");
    EXPECT_EQ(file.GetLength(), 0u);  // still buffered
    ar.Flush();
    EXPECT_EQ(file.GetLength(), 8u);
    ar << static_cast<BYTE>(1);
    ar.Close();
    EXPECT_EQ(file.GetLength(), 9u);
    BYTE b = 2;
    EXPECT_THROW(ar << b, CArchiveException);  // closed
  }
  EXPECT_EQ(file.GetLength(), 9u);
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<WORD>(0xBEEF);
  }
  EXPECT_EQ(file.GetLength(), 11u);
  EXPECT_EQ(Bytes(file).back(), 0xBE);
}

// Inserting into a loading archive or extracting from a storing one raises and leaves the
// buffered bytes alone.
TEST(CArchiveDirection, WrongDirectionRaisesAndCorruptsNothing) {
  CMemFile file;
  Fill(file, {1, 2, 3, 4});
  {
    CArchive ar(&file, CArchive::load);
    BYTE b = 0;
    ar >> b;
    try {
      ar << static_cast<BYTE>(9);
      FAIL() << "a store into a loading archive did not raise";
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
    }
    ar >> b;
    EXPECT_EQ(b, 2);
  }

  CMemFile out;
  CArchive ar(&out, CArchive::store);
  ar << static_cast<BYTE>(5);
  DWORD d = 0;
  try {
    ar >> d;
    FAIL() << "a load from a storing archive did not raise";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
  }
  ar << static_cast<BYTE>(6);
  ar.Close();
  EXPECT_EQ(Bytes(out), (std::vector<BYTE>{5, 6}));
}

// A mixed stream through the smallest buffer, so values and strings straddle every refill.
TEST(CArchiveRoundTrip, MixedValuesThroughATinyBuffer) {
  std::mt19937 random(3);
  std::vector<CString> texts;
  std::vector<DWORD> numbers;
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store, 16);
    for (int i = 0; i < 300; ++i) {
      CString text(static_cast<char>('A' + i % 26), static_cast<int>(random() % 300));
      DWORD number = static_cast<DWORD>(random());
      texts.push_back(text);
      numbers.push_back(number);
      ar << text << number;
      if (i % 50 == 0) ar.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
    }
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load, 16);
  for (int i = 0; i < 300; ++i) {
    CString text;
    DWORD number = 0;
    ar >> text >> number;
    ASSERT_EQ(text, texts[static_cast<size_t>(i)]) << "item " << i;
    ASSERT_EQ(number, numbers[static_cast<size_t>(i)]) << "item " << i;
    if (i % 50 == 0) {
      std::string raw(static_cast<size_t>(text.GetLength()), '\0');
      ASSERT_EQ(ar.Read(&raw[0], static_cast<UINT>(raw.size())), raw.size());
      ASSERT_EQ(raw, text.str());
    }
  }
  EXPECT_EQ(ar.BytesLeft(), 0u);
}

}  // namespace
