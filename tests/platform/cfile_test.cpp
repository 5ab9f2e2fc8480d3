#include "platform/cfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/carchive.h"

namespace {

std::string ReadAll(CFile& file) {
  file.SeekToBegin();
  std::string out(static_cast<size_t>(file.GetLength()), '\0');
  if (!out.empty()) {
    EXPECT_EQ(file.Read(&out[0], static_cast<UINT>(out.size())), out.size());
  }
  return out;
}

int SeekCause(CFile& file, LONGLONG offset, UINT from) {
  try {
    file.Seek(offset, from);
  } catch (const CFileException& e) {
    return e.m_cause;
  }
  return -1;
}

TEST(CMemFileRead, CountsWhatIsLeftAtTheEnd) {
  CMemFile file;
  file.Write("abcde", 5);
  EXPECT_EQ(file.GetPosition(), 5u);
  file.SeekToBegin();
  char buf[8] = {};
  EXPECT_EQ(file.Read(buf, 3), 3u);
  EXPECT_EQ(file.Read(buf, 3), 2u);
  EXPECT_EQ(std::string(buf, 2), "de");
  EXPECT_EQ(file.Read(buf, 3), 0u);
  file.Seek(10, CFile::begin);  // past the end: allowed, and nothing to read there
  EXPECT_EQ(file.Read(buf, 3), 0u);
}

// Seeking from each origin, refusing a position before the start, and writing past the end
// filling the gap with zeros.
TEST(CMemFileSeek, OriginsGapsAndNegativePositions) {
  CMemFile file;
  file.Write("0123456789", 10);
  EXPECT_EQ(file.Seek(-3, CFile::end), 7u);
  EXPECT_EQ(file.Seek(-2, CFile::current), 5u);
  EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
  EXPECT_EQ(SeekCause(file, -5, CFile::current), CFileException::badSeek);
  EXPECT_EQ(file.GetPosition(), 4u);  // a refused seek leaves the position alone
  file.Seek(2, CFile::end);
  file.Write("X", 1);
  EXPECT_EQ(file.GetLength(), 13u);
  EXPECT_EQ(ReadAll(file), std::string("0123456789\0\0X", 13));
}

// A fixed buffer is the file: writes land in the caller's bytes and stop at its end.
TEST(CMemFileAttach, FixedBufferTakesWritesUntilFull) {
  BYTE buffer[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
  CMemFile file(buffer, sizeof buffer);
  EXPECT_EQ(file.GetLength(), 8u);
  char head[2];
  EXPECT_EQ(file.Read(head, 2), 2u);
  EXPECT_EQ(head[1], 'b');
  file.Write("XY", 2);
  EXPECT_EQ(buffer[2], 'X');
  EXPECT_EQ(buffer[3], 'Y');
  file.Seek(6, CFile::begin);
  try {
    file.Write("123", 3);
    FAIL() << "a write past a fixed buffer did not raise";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::diskFull);
  }
  EXPECT_EQ(buffer[6], 'g');  // nothing of the refused write landed
  EXPECT_EQ(file.GetLength(), 8u);
  file.Write("12", 2);  // what fits still fits
  EXPECT_EQ(buffer[7], '2');
}

// A growable buffer starts empty and, once outgrown, is left as the caller gave it.
TEST(CMemFileAttach, GrowableBufferStartsEmptyAndIsNeverOverrun) {
  BYTE buffer[4] = {'k', 'k', 'k', 'k'};
  CMemFile file(buffer, sizeof buffer, 16);
  EXPECT_EQ(file.GetLength(), 0u);
  file.Write("ab", 2);
  EXPECT_EQ(buffer[0], 'a');
  file.Write("cdefgh", 6);
  EXPECT_EQ(file.GetLength(), 8u);
  EXPECT_EQ(ReadAll(file), "abcdefgh");
  EXPECT_EQ(std::memcmp(buffer, "abkk", 4), 0);
}

TEST(CMemFileDetach, HandsOverTheBytesAndStartsAfresh) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    for (DWORD i = 0; i < 3000; ++i) ar << i;
  }
  ULONGLONG length = file.GetLength();
  ASSERT_EQ(length, 12000u);
  BYTE* bytes = file.Detach();
  ASSERT_NE(bytes, nullptr);
  DWORD last;
  std::memcpy(&last, bytes + 11996, 4);
  EXPECT_EQ(last, 2999u);
  std::free(bytes);

  EXPECT_EQ(file.GetLength(), 0u);
  EXPECT_EQ(file.GetPosition(), 0u);
  file.Write("again", 5);
  EXPECT_EQ(ReadAll(file), "again");
}

class CFileDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("sxf_cfile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

TEST_F(CFileDisk, ArchiveRoundTripThroughADiskFile) {
  std::string path = Path("section.bin");
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << static_cast<DWORD>(0x3000) << CString(std::string(300, 'z')) << 2.5;
    ar.Close();
    file.Close();
  }
  EXPECT_EQ(std::filesystem::file_size(path), 4u + 3u + 300u + 8u);

  CFile file(path.c_str(), CFile::modeRead);
  EXPECT_EQ(file.GetLength(), 315u);
  CArchive ar(&file, CArchive::load);
  DWORD version;
  CString text;
  double x;
  ar >> version >> text;
  ar.Close();
  EXPECT_EQ(file.GetPosition(), 307u);  // read-ahead given back to the disk file too
  CArchive rest(&file, CArchive::load);
  rest >> x;
  EXPECT_EQ(version, 0x3000u);
  EXPECT_EQ(text.GetLength(), 300);
  EXPECT_EQ(x, 2.5);
  BYTE b;
  EXPECT_THROW(rest >> b, CArchiveException);
}

// Reads and writes on one open file in any order, and opening without truncation writes where
// the file stands rather than at its end.
TEST_F(CFileDisk, MixedReadWriteAndNoTruncate) {
  std::string path = Path("update.bin");
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    file.Write("abcdef", 6);
    file.SeekToBegin();
    char two[2];
    ASSERT_EQ(file.Read(two, 2), 2u);
    file.Write("XY", 2);  // right after a read
    char one;
    ASSERT_EQ(file.Read(&one, 1), 1u);  // right after a write
    EXPECT_EQ(one, 'e');
    EXPECT_EQ(ReadAll(file), "abXYef");
  }
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(file.GetLength(), 6u);
    file.Seek(1, CFile::begin);
    file.Write("Q", 1);
    EXPECT_EQ(ReadAll(file), "aQXYef");
  }
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);  // truncates
    EXPECT_EQ(file.GetLength(), 0u);
  }
}

TEST_F(CFileDisk, OpeningAMissingFileFails) {
  std::string path = Path("missing.bin");
  try {
    CFile file(path.c_str(), CFile::modeRead);
    FAIL() << "opening a missing file did not raise";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_strFileName, path.c_str());
  }
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  char c;
  EXPECT_THROW(file.Read(&c, 1), CFileException);
}

}  // namespace
