#include "platform/cstring.h"

#include <gtest/gtest.h>

#include <string>

#include "support/sjis_text.h"

namespace {

// 表 is 0x95 0x5C and 示 is 0x8E 0xA6: the second byte of 表 is the ASCII backslash.
TEST(CStringFind, NeverMatchesOnASecondByte) {
  const CString hyo(Sjis("表示").c_str());
  ASSERT_EQ(hyo.GetLength(), 4);
  ASSERT_EQ(static_cast<BYTE>(hyo[1]), 0x5C);

  EXPECT_EQ(hyo.Find('\\'), -1);
  EXPECT_EQ(hyo.Find("\\"), -1);
  EXPECT_EQ(hyo.Find("\x5C\x8E"), -1);  // second byte of 表 and first of 示
  EXPECT_EQ(hyo.ReverseFind('\\'), -1);
  EXPECT_EQ(hyo.Find(Sjis("示").c_str()), 2);

  // A real backslash after the Japanese text is found, also when the search starts on 表.
  const CString path(Sjis("表\\表").c_str());
  EXPECT_EQ(path.Find('\\'), 2);
  EXPECT_EQ(path.Find("\\"), 2);
  EXPECT_EQ(path.Find("\\", 2), 2);
  EXPECT_EQ(path.Find("\\", 3), -1);
  EXPECT_EQ(path.ReverseFind('\\'), 2);

  // Replace walks the same way and leaves 表 whole.
  CString replaced = path;
  EXPECT_EQ(replaced.Replace("\\", "/"), 1);
  EXPECT_EQ(replaced.str(), Sjis("表/表"));
}

// Bytes compare unsigned: a Shift-JIS lead byte sorts after every ASCII byte.
TEST(CStringCompare, UnsignedBytes) {
  const CString kanji(Sjis("表").c_str());
  EXPECT_GT(kanji.Compare("z"), 0);
  EXPECT_LT(CString("z").Compare(kanji), 0);
  EXPECT_TRUE(CString("z") < kanji);
  EXPECT_EQ(CString().Compare(nullptr), 0);
}

}  // namespace
