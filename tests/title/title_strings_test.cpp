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

CString Chain(const std::vector<std::string>& lines) {
  CStringArray array;
  for (const std::string& line : lines) array.Add(CString(line));
  return SXF_ChainTitleStr(array);
}

TEST(TitleStrings, StrPtrReachesEachPlainStringFieldAndNothingElse) {
  SxfTitleInfo info;
  const SXF_TTL_ID plain[] = {SXF_TTL_PROJECT_NAME, SXF_TTL_CONSTRUCTION_NAME, SXF_TTL_CONTRACT_CLASS,
                              SXF_TTL_DRAWING_NAME, SXF_TTL_DRAWING_TYPE,      SXF_TTL_SCALE,
                              SXF_TTL_COMPANY_NAME, SXF_TTL_OFFICE_NAME};
  for (SXF_TTL_ID id : plain) {
    CString* field = SXF_GetTitleStrPtr(info, id);
    ASSERT_NE(field, nullptr) << id;
    field->Format("v%d", static_cast<int>(id));
  }
  EXPECT_EQ(info.projectName, "v1");
  EXPECT_EQ(info.constructionName, "v2");
  EXPECT_EQ(info.contractClass, "v4");
  EXPECT_EQ(info.drawingName, "v8");
  EXPECT_EQ(info.drawingType, "v64");
  EXPECT_EQ(info.scale, "v128");
  EXPECT_EQ(info.companyName, "v512");
  EXPECT_EQ(info.officeName, "v1024");
  EXPECT_TRUE(info.drawingNumber.IsEmpty());

  // The number and the total share one field and the date is three numbers: none is a plain string.
  for (int32_t value : {0x010, 0x020, 0x100, 0x000, 0x003, 0x800}) {
    EXPECT_EQ(SXF_GetTitleStrPtr(info, static_cast<SXF_TTL_ID>(value)), nullptr) << value;
  }
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

TEST(TitleStrings, ChainDropsEmptyLines) {
  EXPECT_EQ(Chain({"", "A", "", "B"}), "A$$B");
  EXPECT_EQ(Chain({"", ""}), "");
  EXPECT_EQ(Chain({"A", "B", "C"}), "A$$B$$C");

  // Splitting and joining again only loses the empty lines.
  CStringArray lines;
  SXF_DivideTitleStr("A$$$$B$$", lines);
  EXPECT_EQ(SXF_ChainTitleStr(lines), "A$$B");
}

TEST(TitleStrings, OnlyNumberTotalAndScaleAreSingleLine) {
  for (int i = 0; i < 11; ++i) {
    SXF_TTL_ID id = static_cast<SXF_TTL_ID>(1 << i);
    bool single = id == SXF_TTL_DRAWING_NUMBER || id == SXF_TTL_DRAWING_TOTAL || id == SXF_TTL_SCALE;
    EXPECT_EQ(SXF_TitleIsMltLineOk(id), single ? 0 : 1) << id;
  }
  EXPECT_EQ(SXF_TitleIsMltLineOk(static_cast<SXF_TTL_ID>(0)), 1);
  EXPECT_EQ(SXF_TitleIsMltLineOk(static_cast<SXF_TTL_ID>(0x090)), 1);
}

}  // namespace
