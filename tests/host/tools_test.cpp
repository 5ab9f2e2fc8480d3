#include <gtest/gtest.h>

#include <string>

#include "host/wildcard.h"
#include "support/sjis_text.h"

namespace {

bool Match(const std::string& pattern, const std::string& text, int ignoreCase = 0) {
  return WildCardEx(pattern.c_str()).IsMatch(text.c_str(), ignoreCase) != 0;
}

TEST(WildCardEx, BacktrackingEscapesAndDoubleByteCharacters) {
  EXPECT_FALSE(Match("a?c", "ac"));
  // The first star must give back characters when a later part fails.
  EXPECT_TRUE(Match("*x*y", "axbxcy"));
  EXPECT_FALSE(Match("*x*y", "axbxc"));
  EXPECT_TRUE(Match("**a", "bba"));
  EXPECT_FALSE(Match("*a", "bbb"));
  EXPECT_FALSE(WildCardEx(nullptr).IsMatch("a", 0));
  // Escapes make wildcard characters literal; a final backslash is itself.
  EXPECT_TRUE(Match("a\\*", "a*"));
  EXPECT_FALSE(Match("a\\*", "ab"));
  EXPECT_TRUE(Match("\\?\\\\", "?\\"));
  EXPECT_TRUE(Match("a\\", "a\\"));
  // Case is exact unless asked otherwise, and only ASCII letters fold.
  EXPECT_FALSE(Match("URL*", "url1"));
  EXPECT_TRUE(Match("URL*", "url1", 1));

  // The character of U+8868 is 0x95 0x5C in code page 932: its second byte is a backslash.
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

}  // namespace
