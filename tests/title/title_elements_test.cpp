#include <gtest/gtest.h>

#include <vector>

#include "title/title_drawing.h"
#include "title/title_strings.h"

namespace {

std::vector<ZCdbRecBase*> Lines(TitleRecMap& recs, SXF_TTL_ID id) {
  const TitleRecArray& a = recs.GetRecArray(id);
  return std::vector<ZCdbRecBase*>(a.GetData(), a.GetData() + a.GetSize());
}

TEST(TitleElements, DrawingNameLinesJoinAndALoneLineTakesTheBareName) {
  TitleDrawing d;
  ZCdbElm* first = d.AddTitleLine("表題_図面名1", "一般図", 20);
  ZCdbElm* second = d.AddTitleLine("表題_図面名2", "その1", 10);
  TitleRecMap recs;
  EXPECT_EQ(Sjis("一般図$$その1"), d.Read(&recs).drawingName.str());
  EXPECT_EQ((std::vector<ZCdbRecBase*>{first, second}), Lines(recs, SXF_TTL_DRAWING_NAME));

  d.db.DeleteRecord(first);
  d.db.Commit();
  // Reading the figure of a title element renumbers the lines first.
  EXPECT_EQ(Sjis("表題_図面名"), d.NameOf(second));
  EXPECT_EQ(Sjis("その1"), d.Read().drawingName.str());
}

TEST(TitleElements, TitleInfoReadsDatesAndDrawingNumbersFromTheirLines) {
  TitleDrawing d;
  d.AddTitleLine("表題_年月日1", "平成17年", 20);
  d.AddTitleLine("表題_年月日2", "4月1日", 10);
  ZCdbElm* total = d.AddTitleLine("表題_図面総数", "30");
  SxfTitleInfo info = d.Read();
  EXPECT_EQ(2005, info.year);
  EXPECT_EQ(4, info.month);
  EXPECT_EQ(1, info.day);
  EXPECT_STREQ("$$30", info.drawingNumber);

  // A stored number without an element stays beside the total read from its element.
  info.drawingNumber = "7";
  d.adb->SetTitleInfo(info, nullptr);
  EXPECT_STREQ("7$$30", d.Read().drawingNumber);
  ZCdbElm* number = d.AddTitleLine("表題_図面番号", "12");
  EXPECT_STREQ("12$$30", d.Read().drawingNumber);
  d.Retype(total, "");
  d.Retype(number, "");
  EXPECT_STREQ("12$$30", d.Read().drawingNumber);  // empty lines leave the values last read
}

TEST(TitleElements, ItemsWithoutElementsKeepTheStoredValuesAndDatesOutOfRangeAreDropped) {
  TitleDrawing d;
  SxfTitleInfo info;
  info.projectName = "P";
  info.scale = "1:100";
  for (int year : {1901, 2100, 1900, 2101}) {
    info.year = year;
    info.month = 12;
    info.day = 31;
    d.adb->SetTitleInfo(info, nullptr);
    const SxfTitleInfo read = d.Read();
    EXPECT_STREQ("P", read.projectName);
    EXPECT_STREQ("1:100", read.scale);
    const bool kept = year == 1901 || year == 2100;
    EXPECT_EQ(kept ? year : 0, read.year) << year;
    EXPECT_EQ(kept ? 12 : 1, read.month) << year;
    EXPECT_EQ(kept ? 31 : 1, read.day) << year;
  }
  info.year = 2005;
  info.month = 13;
  d.adb->SetTitleInfo(info, nullptr);
  EXPECT_EQ(0, d.Read().year);
}

TEST(TitleElements, SetTitleInfoMakesExactlyTheListedRecordsTheTitleElements) {
  TitleDrawing d;
  ZCdbElm* oldName = d.AddTitleLine("表題_図面名1", "A", 30);
  ZCdbElm* kept = d.AddTitleLine("表題_図面名2", "B", 20);
  ZCdbElm* project = d.AddTitleLine("表題_事業名", "X");
  ZCdbElm* plain = d.AddString("C", 10);

  TitleRecMap wanted;
  wanted.GetRecArray(SXF_TTL_DRAWING_NAME).Add(kept);
  wanted.GetRecArray(SXF_TTL_DRAWING_NAME).Add(nullptr);  // skipped, but still a position
  wanted.GetRecArray(SXF_TTL_DRAWING_NAME).Add(plain);
  wanted.GetRecArray(SXF_TTL_SCALE).Add(oldName);  // an element may move to another item
  SxfTitleInfo info;
  info.projectName = "stored";
  ASSERT_EQ(1, d.adb->SetTitleInfo(info, &wanted));

  EXPECT_EQ("<none>", d.NameOf(project));
  EXPECT_EQ(Sjis("表題_図面名1"), d.adb->StoredName(kept));
  EXPECT_EQ(Sjis("表題_図面名3"), d.adb->StoredName(plain));
  EXPECT_EQ(Sjis("表題_尺度"), d.adb->StoredName(oldName));
  SxfTitleInfo read = d.Read();
  EXPECT_STREQ("B$$C", read.drawingName);
  EXPECT_STREQ("A", read.scale);
  EXPECT_STREQ("stored", read.projectName);

  // Without a map only the stored values change.
  info.projectName = "other";
  d.adb->SetTitleInfo(info, nullptr);
  read = d.Read();
  EXPECT_STREQ("other", read.projectName);
  EXPECT_STREQ("B$$C", read.drawingName);
  EXPECT_STREQ("A", read.scale);
}

TEST(TitleElements, UndoAndRedoOfSetTitleInfoSwapTheValuesAndTheElements) {
  TitleDrawing d;
  ZCdbElm* name = d.AddTitleLine("表題_図面名", "A");
  SxfTitleInfo before;
  before.projectName = "before";
  d.adb->SetTitleInfo(before, nullptr);

  SxfTitleInfo after;
  after.projectName = "after";
  TitleRecMap none;
  d.db.BeginUndoStep();
  d.adb->SetTitleInfo(after, &none);
  d.db.EndUndoStep();
  EXPECT_STREQ("after", d.Read().projectName);
  EXPECT_EQ("<none>", d.NameOf(name));

  ASSERT_EQ(1, d.db.Undo());
  SxfTitleInfo read = d.Read();
  EXPECT_STREQ("before", read.projectName);
  EXPECT_STREQ("A", read.drawingName);
  ASSERT_EQ(1, d.db.Redo());
  EXPECT_STREQ("after", d.Read().projectName);
  EXPECT_EQ("<none>", d.NameOf(name));
}

TEST(TitleElements, ADateThatNoLongerParsesTakesTheTitleFromAllDateLines) {
  TitleDrawing d;
  ZCdbElm* era = d.AddTitleLine("表題_年月日1", "平成17年", 20);
  ZCdbElm* day = d.AddTitleLine("表題_年月日2", "4月1日", 10);
  ZCdbElm* name = d.AddTitleLine("表題_図面名", "A");

  d.Retype(era, "");
  d.Retype(day, "");
  d.db.ChangeRecord(day);  // emptied lines may get a new date yet
  EXPECT_EQ(Sjis("表題_年月日1"), d.NameOf(era));

  d.Retype(era, "平成17年");
  d.Retype(day, "4月1日です");
  d.db.ChangeRecord(name);  // not a date line: nothing to check
  EXPECT_EQ(Sjis("表題_年月日2"), d.NameOf(day));
  d.db.ChangeRecord(day);
  EXPECT_EQ("<none>", d.NameOf(era));
  EXPECT_EQ("<none>", d.NameOf(day));
  EXPECT_EQ(Sjis("表題_図面名"), d.NameOf(name));

  // A check after pointer changes names no record and looks at the dates all the same.
  ZCdbElm* other = d.AddTitleLine("表題_年月日", "2005/4/1 memo");
  d.adb->CheckTitleString(nullptr);
  EXPECT_EQ("<none>", d.NameOf(other));
}

TEST(TitleElements, OnlyTheLastDigitOfALineNameCounts) {
  TitleDrawing d;
  ZCdbElm* tenth = d.AddTitleLine("表題_図面名10", "J");
  ZCdbElm* second = d.AddTitleLine("表題_図面名2", "B");
  EXPECT_STREQ("J$$B", d.Read().drawingName);  // "10" reads as line 1
  EXPECT_EQ(Sjis("表題_図面名1"), d.NameOf(tenth));
  EXPECT_EQ(Sjis("表題_図面名2"), d.NameOf(second));

  // Ten lines: line 10 and line 1 claim one place, so one of them drops out of the title and
  // keeps its name.
  TitleDrawing full;
  std::vector<ZCdbElm*> lines;
  for (int i = 1; i <= 10; ++i) {
    lines.push_back(full.AddTitleLine("表題_図面名" + std::to_string(i), std::to_string(i)));
  }
  TitleRecMap recs;
  CStringArray parts;
  EXPECT_EQ(9, SXF_DivideTitleStr(full.Read(&recs).drawingName, parts));
  ASSERT_EQ(9, recs.GetRecArray(SXF_TTL_DRAWING_NAME).GetSize());
  const std::vector<ZCdbRecBase*> listed = Lines(recs, SXF_TTL_DRAWING_NAME);
  const bool lineOneWon = listed[0] == lines[0];
  ZCdbElm* dropped = lineOneWon ? lines[9] : lines[0];
  EXPECT_EQ(Sjis(lineOneWon ? "表題_図面名10" : "表題_図面名1"), full.adb->StoredName(dropped));
  for (int i = 1; i < 9; ++i) EXPECT_EQ(lines[i], listed[i]);
}

TEST(TitleElements, AnElementThatComesBackTakesItsLineAgain) {
  TitleDrawing d;
  ZCdbElm* a = d.AddTitleLine("表題_会社名1", "a");
  ZCdbElm* b = d.AddTitleLine("表題_会社名2", "b");
  ZCdbElm* c = d.AddTitleLine("表題_会社名3", "c");
  d.db.MarkDeleted(b);
  EXPECT_STREQ("a$$c", d.Read().companyName);
  EXPECT_EQ(Sjis("表題_会社名2"), d.adb->StoredName(c));

  d.db.Unmark(b);
  d.adb->ReActivateTitleElm(b);
  EXPECT_EQ(Sjis("表題_会社名1"), d.adb->StoredName(a));
  EXPECT_EQ(Sjis("表題_会社名2"), d.adb->StoredName(b));
  EXPECT_EQ(Sjis("表題_会社名3"), d.adb->StoredName(c));

  // A line beyond all others keeps its name; the others are numbered from 1 all the same.
  TitleDrawing lone;
  ZCdbElm* only = lone.AddTitleLine("表題_会社名", "x");
  ZCdbElm* back = lone.AddTitleLine("表題_会社名5", "y");
  lone.adb->ReActivateTitleElm(back);
  EXPECT_EQ(Sjis("表題_会社名1"), lone.adb->StoredName(only));
  EXPECT_EQ(Sjis("表題_会社名5"), lone.adb->StoredName(back));
}

}  // namespace
