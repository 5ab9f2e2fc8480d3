#include "title/title_date.h"

#include <gtest/gtest.h>

#include <string>

#include "support/sjis_text.h"

namespace {

struct Parsed {
  int year, month, day, verdict;
  bool operator==(const Parsed& o) const {
    return year == o.year && month == o.month && day == o.day && verdict == o.verdict;
  }
};

std::ostream& operator<<(std::ostream& os, const Parsed& p) {
  return os << p.year << "-" << p.month << "-" << p.day << " verdict " << p.verdict;
}

Parsed Parse(const std::string& utf8) {
  Parsed p{-7, -7, -7, -7};
  p.verdict = SXF_ParseTitleDate(Sjis(utf8).c_str(), p.year, p.month, p.day);
  return p;
}

// The new text in UTF-8, so that failures print readably.
std::string Change(const std::string& utf8, int year, int month, int day) {
  CString out = "untouched";
  EXPECT_EQ(SXF_ChangeTitleDate(Sjis(utf8).c_str(), year, month, day, out), 1);
  std::string text;
  EXPECT_TRUE(SjisToUtf8(out.str(), &text));
  return text;
}

// Every written form reads with verdict 1; the other shapes are refused with verdict 0, but the
// numbers read are still reported.
TEST(TitleDate, ReadsEveryWrittenFormAndReportsTheNumbersOfOtherShapes) {
  struct Case {
    const char* text;
    Parsed want;
  } cases[] = {
      {"平成17年4月1日", {2005, 4, 1, 1}},
      {"昭和64年1月7日", {1989, 1, 7, 1}},
      {"2005-04-01", {2005, 4, 1, 1}},
      {"2005.4.1", {2005, 4, 1, 1}},
      {" 2005 - 4 - 1 ", {2005, 4, 1, 1}},
      {"2005－4－1", {2005, 4, 1, 1}},
      {"2005‐4‐1", {2005, 4, 1, 1}},
      {"2005年4月1日", {2005, 4, 1, 1}},
      {"2005年4月1", {2005, 4, 1, 1}},      // the day mark may be left out
      {"2005年4月1日　", {2005, 4, 1, 1}},  // full-width blank at the end
      {"　平成　17　年　4　月　1　日", {2005, 4, 1, 1}},
      {"2005/2/31", {2005, 2, 31, 1}},  // the day is not checked against the month
      {"1903/1/1", {1903, 1, 1, 1}},
      // Full-width digits are read character by character: the second byte of ４ (0x82 0x53) is
      // an ASCII "S", which must not be taken for the 昭和 letter. Widths may mix in one number.
      {"２００５／４／１", {2005, 4, 1, 1}},
      {"２0０5年4月１日", {2005, 4, 1, 1}},
      {"平成１７年１２月２４日", {2005, 12, 24, 1}},
      {"H17.4.1", {2005, 4, 1, 0}},  // letter era: read, but not a clean shape
      {"1902/1/1", {1902, 1, 1, 0}},
      {"2005/4/1 memo", {2005, 4, 1, 0}},
      {"2005年4月1日です", {2005, 4, 1, 0}},
      {"x2005/4/1", {2005, 4, 1, 0}},
      {"2005 0/4/1", {2005, 4, 1, 0}},  // something other than blanks between year and separator
      {"2005/4 4/1", {2005, 4, 1, 0}},
      {"2005/13/1", {2005, 13, 1, 0}},
      {"2005/2/0", {2005, 2, 0, 0}},
      {"2005/2/32", {2005, 2, 32, 0}},
      {"17平成年4月1日", {2005, 4, 1, 0}},  // the era name must come before the number
      {"X平成17年4月1日", {2005, 4, 1, 0}},
      {"平成X17年4月1日", {2005, 4, 1, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.want) << c.text;
}

// A changed date keeps the form it was written in, clamped to what that form can show (1902/5/2
// is then no longer a date, see above).
TEST(TitleDate, ChangeKeepsTheWritersFormWithinWhatItCanShow) {
  struct Case {
    const char* text;
    int year, month, day;
    const char* want;
  } cases[] = {
      {"平成17年4月1日", 2006, 5, 2, "平成18年5月2日"},
      {"２００５／４／１", 2006, 5, 2, "２００６／５／２"},
      {"平成 17 年 4 月 1 日", 2006, 5, 2, "平成 18 年 5 月 2 日"},
      {"　平成　１７年　４月　１日　", 2006, 12, 24, "　平成　１８年　１２月　２４日　"},
      {" 2005 - 04 - 01 ", 2006, 10, 31, " 2006 - 10 - 31 "},
      {"2005年4月1", 2006, 5, 2, "2006年5月2"},
      {"2005/4/1", 1800, 5, 2, "1902/5/2"},
      {"平成17年4月1日", 1980, 5, 2, "平成1年5月2日"},
      {"昭和64年1月7日", 1900, 5, 2, "昭和1年5月2日"},
      {"2005-04-01", 2006, 13, 0, "2006-1-1"},
      {"2005-04-01", 2006, -3, 32, "2006-1-1"},
      {"平成17年4月1日", -2147483647 - 1, 5, 2, "平成1年5月2日"},
  };
  for (const Case& c : cases) EXPECT_EQ(Change(c.text, c.year, c.month, c.day), c.want) << c.text;
}

}  // namespace
