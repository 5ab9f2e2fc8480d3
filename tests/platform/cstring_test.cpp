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

TEST(CStringFind, StartOutsideTheTextFindsNothing) {
  const CString text("a$$b");
  EXPECT_EQ(text.Find("$$"), 1);
  EXPECT_EQ(text.Find("$$", 2), -1);
  EXPECT_EQ(text.Find("", 4), 4);  // an empty pattern matches at a start at the end
  EXPECT_EQ(text.Find("", 5), -1);
  EXPECT_EQ(text.Find("$$", -1), -1);
  EXPECT_EQ(text.Find('a', -1), -1);
  EXPECT_EQ(text.Find('b', 4), -1);
  EXPECT_EQ(CString().Find('a'), -1);
}

TEST(CStringSubstrings, MidLeftRightClamp) {
  const CString s("abcdef");
  EXPECT_EQ(s.Mid(2), "cdef");
  EXPECT_EQ(s.Mid(2, 3), "cde");
  EXPECT_EQ(s.Mid(4, 10), "ef");
  EXPECT_EQ(s.Mid(-2, 3), "abc");
  EXPECT_EQ(s.Mid(-2), "abcdef");
  EXPECT_EQ(s.Mid(6), "");
  EXPECT_EQ(s.Mid(9, 2), "");
  EXPECT_EQ(s.Mid(1, -1), "");
  EXPECT_EQ(s.Left(2), "ab");
  EXPECT_EQ(s.Left(10), "abcdef");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Right(2), "ef");
  EXPECT_EQ(s.Right(10), "abcdef");
  EXPECT_EQ(s.Right(-1), "");
}

TEST(CStringFormat, ShortAndLongResults) {
  CString s("old");
  s.Format("%d|%u|%s|%.2f|%04X|%c", -12, 4000000000u, "x", 2.5, 0xBEEF, 'q');
  EXPECT_EQ(s, "-12|4000000000|x|2.50|BEEF|q");

  // Longer than the first attempt's room: formatted again into a buffer of the right size.
  const std::string long1(300, 'a');
  const std::string long2(700, 'b');
  s.Format("[%s]%d[%s]", long1.c_str(), 7, long2.c_str());
  EXPECT_EQ(s.str(), "[" + long1 + "]7[" + long2 + "]");

  s.Format("%s", "");
  EXPECT_TRUE(s.IsEmpty());
}

// Bytes compare unsigned: a Shift-JIS lead byte sorts after every ASCII byte.
TEST(CStringCompare, UnsignedBytes) {
  const CString kanji(Sjis("表").c_str());
  EXPECT_GT(kanji.Compare("z"), 0);
  EXPECT_LT(CString("z").Compare(kanji), 0);
  EXPECT_TRUE(CString("z") < kanji);
  EXPECT_FALSE(kanji < CString("z"));
  EXPECT_GT(CString("\xFF").Compare("\x01"), 0);
  EXPECT_LT(CString("ab").Compare("abc"), 0);
  EXPECT_GT(CString("abc").Compare("ab"), 0);
  EXPECT_EQ(CString("abc").Compare("abc"), 0);
  EXPECT_NE(CString("Abc").Compare("abc"), 0);  // exact, case-sensitive
  EXPECT_EQ(CString("Abc").CompareNoCase("aBC"), 0);
  EXPECT_EQ(CString().Compare(nullptr), 0);
}

}  // namespace
