#include "title/title_strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sjis_text.h"

namespace {

std::vector<std::string> Divide(const char* text, int* count) {
  CStringArray lines;
  lines.Add("stale");  // whatever the array held before must go
  *count = SXF_DivideTitleStr(text, lines);
  std::vector<std::string> out;
  for (int i = 0; i < lines.GetSize(); ++i) out.push_back(lines[i].str());
  return out;
}

TEST(TitleStrings, NumberDataSplitsAtTheFirstSeparatorOnly) {
  struct Case {
    const char* field;
    const char* number;
    const char* total;
  } cases[] = {
      {"12$$30", "12", "30"},   {"$$30", "", "30"}, {"12", "12", ""},
      {"1$$2$$3", "1", "2$$3"}, {"", "", ""},       {"12$$", "12", ""},
  };
  for (const Case& c : cases) {
    SxfTitleInfo info;
    info.drawingNumber = c.field;
    CString number = "old number", total = "old total";
    SXF_GetTitleNumberData(info, number, total);
    EXPECT_EQ(number, c.number) << c.field;
    EXPECT_EQ(total, c.total) << c.field;
  }
}

TEST(TitleStrings, DivideKeepsInnerEmptyLinesButNotATrailingOne) {
  int count = 0;
  EXPECT_EQ(Divide("A$$B", &count), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Divide("A$$$$B", &count), (std::vector<std::string>{"A", "", "B"}));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Divide("A$$", &count), (std::vector<std::string>{"A"}));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(Divide(nullptr, &count), (std::vector<std::string>{""}));
  EXPECT_EQ(count, 1);
  // An odd "$" stays with the line that follows the separator.
  EXPECT_EQ(Divide("A$$$B", &count), (std::vector<std::string>{"A", "$B"}));
  EXPECT_EQ(Divide("$$", &count), (std::vector<std::string>{""}));
  EXPECT_EQ(count, 1);

  std::string japanese = Sjis("道路改良工事$$第２工区");
  EXPECT_EQ(Divide(japanese.c_str(), &count),
            (std::vector<std::string>{Sjis("道路改良工事"), Sjis("第２工区")}));
}

}  // namespace
