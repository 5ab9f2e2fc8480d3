#include "platform/cfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

}  // namespace
