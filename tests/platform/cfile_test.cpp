#include "platform/cfile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/record_bytes.h"

namespace {

// Seeking from each origin, refusing a position before the start, and writing past the end
// filling the gap with zeros.
TEST(CMemFileSeek, OriginsGapsAndNegativePositions) {
  CMemFile file;
  file.Write("0123456789", 10);
  EXPECT_EQ(file.Seek(-3, CFile::end), 7u);
  EXPECT_EQ(file.Seek(-2, CFile::current), 5u);
  EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
  try {
    file.Seek(-5, CFile::current);
    ADD_FAILURE() << "a seek before the start did not raise";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::badSeek);
  }
  EXPECT_EQ(file.GetPosition(), 4u);  // a refused seek leaves the position alone
  file.Seek(2, CFile::end);
  file.Write("X", 1);
  const std::string expected("0123456789\0\0X", 13);
  EXPECT_EQ(Contents(file), Bytes(expected.begin(), expected.end()));
}

}  // namespace
