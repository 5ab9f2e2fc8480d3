#include <gtest/gtest.h>

#include <string>

#include "host/environ_obj.h"
#include "host/sxf_attr_list.h"
#include "host/wildcard.h"
#include "support/sjis_text.h"

namespace {

bool Match(const std::string& pattern, const std::string& text, int ignoreCase = 0) {
  return WildCardEx(pattern.c_str()).IsMatch(text.c_str(), ignoreCase) != 0;
}

TEST(WildCardEx, StarsQuestionMarksAndEscapes) {
  EXPECT_TRUE(Match("ab*", "ab"));
  EXPECT_TRUE(Match("ab*", "abcd"));
  EXPECT_FALSE(Match("ab*", "a"));
  EXPECT_TRUE(Match("a?c", "abc"));
  EXPECT_FALSE(Match("a?c", "ac"));
  // The first star must give back characters when a later part fails.
  EXPECT_TRUE(Match("*x*y", "axbxcy"));
  EXPECT_FALSE(Match("*x*y", "axbxc"));
  EXPECT_TRUE(Match("**a", "bba"));
  EXPECT_FALSE(Match("*a", "bbb"));
  EXPECT_TRUE(Match("", ""));
  EXPECT_FALSE(Match("", "a"));
  EXPECT_TRUE(Match("*", ""));
  EXPECT_FALSE(WildCardEx(nullptr).IsMatch("a", 0));
  EXPECT_TRUE(WildCardEx("*").IsMatch(nullptr, 0));
  // Escapes make wildcard characters literal; a final backslash is itself.
  EXPECT_TRUE(Match("a\\*", "a*"));
  EXPECT_FALSE(Match("a\\*", "ab"));
  EXPECT_TRUE(Match("\\?\\\\", "?\\"));
  EXPECT_TRUE(Match("a\\", "a\\"));
  // Case is exact unless asked otherwise, and only ASCII letters fold.
  EXPECT_FALSE(Match("URL*", "url1"));
  EXPECT_TRUE(Match("URL*", "url1", 1));
}

// The character of U+8868 is 0x95 0x5C in code page 932: its second byte is a backslash.
TEST(WildCardEx, DoubleByteCharactersAreWholeCharacters) {
  const std::string hyo = Sjis("表");
  ASSERT_EQ(hyo, "\x95\x5C");
  const std::string title = Sjis("表題");

  // Read byte by byte, the trail 0x5C would escape the star and the pattern would not match.
  EXPECT_TRUE(Match(hyo + "*", title));
  EXPECT_TRUE(Match(hyo + "?", title));
  EXPECT_FALSE(Match(hyo + "??", title));
  EXPECT_TRUE(Match("?" + Sjis("題"), title));
  EXPECT_FALSE(Match("??" + Sjis("題"), title));
  EXPECT_TRUE(Match("*" + hyo, "x" + hyo));
  // The pattern's 0x5C is not an escape of the following '?', which still matches one character.
  EXPECT_TRUE(Match(hyo + "?", hyo + "a"));
  // A pattern character never matches half of a text character.
  EXPECT_FALSE(Match("\x95*", title));
  EXPECT_TRUE(Match("*\\\\*", "a\\b"));
  EXPECT_FALSE(Match("*\\\\*", title));
  // Case folding leaves double-byte characters alone: 0x82 0x60 (A) and 0x82 0x81 (a) differ.
  EXPECT_FALSE(Match(Sjis("Ａ"), Sjis("ａ"), 1));
}

TEST(CSxfAttrList, LengthConversionsAndRefusals) {
  CEnvironObj env("/app");
  CSxfAttrList list(&env);

  struct Case {
    const char* from;
    const char* to;
    double in, out;
  };
  for (const Case& c : {Case{"cm", "m", 12.5, 0.125}, Case{"mm", "m", 1500, 1.5}, Case{"km", "m", 1.25, 1250},
                        Case{"m", "mm", 0.3, 300}, Case{"m", "m", 0.1, 0.1}}) {
    double v = c.in;
    ASSERT_EQ(list.CONVVAL("LEN", c.from, c.to, v), 1) << c.from;
    EXPECT_EQ(v, c.out) << c.from;
  }

  // Unknown categories and units leave the value alone.
  double v = 7;
  EXPECT_EQ(list.CONVVAL("LEN", "ft", "m", v), 0);
  EXPECT_EQ(list.CONVVAL("LEN", "m", "M", v), 0);
  EXPECT_EQ(list.CONVVAL("ANG", "m", "m", v), 0);
  EXPECT_EQ(list.CONVVAL(nullptr, "m", "m", v), 0);
  EXPECT_EQ(list.CONVVAL("LEN", "m", nullptr, v), 0);
  EXPECT_EQ(v, 7);
}

TEST(CEnvironObj, RelativePathsJoinTheBaseFolderOnce) {
  EXPECT_EQ(CEnvironObj("/app/data").GetFileNameFromRelativePath("img/a.tif"), "/app/data/img/a.tif");
  EXPECT_EQ(CEnvironObj("/app/data/").GetFileNameFromRelativePath("./a.tif"), "/app/data/a.tif");
  EXPECT_EQ(CEnvironObj("/app").GetFileNameFromRelativePath("/abs/a.tif"), "/abs/a.tif");
  EXPECT_EQ(CEnvironObj("C:\\app").GetFileNameFromRelativePath("a.bmp"), "C:\\app\\a.bmp");
  EXPECT_EQ(CEnvironObj("C:\\app\\").GetFileNameFromRelativePath(".\\a.bmp"), "C:\\app\\a.bmp");
  EXPECT_EQ(CEnvironObj("C:\\app").GetFileNameFromRelativePath("D:\\x.bmp"), "D:\\x.bmp");
  EXPECT_EQ(CEnvironObj("/app").GetFileNameFromRelativePath(""), "");
  // A base ending in a double-byte character whose second byte is 0x5C still needs a separator.
  const std::string base = "C:\\data\\" + Sjis("表");
  const CString full = CEnvironObj(base.c_str()).GetFileNameFromRelativePath("a.bmp");
  EXPECT_EQ(full.str(), base + "\\a.bmp");
}

}  // namespace
