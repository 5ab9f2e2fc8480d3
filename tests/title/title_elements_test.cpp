#include <gtest/gtest.h>

#include <vector>

#include "support/test_drawing.h"

namespace {

std::vector<ZCdbRecBase*> Lines(TitleRecMap& recs, SXF_TTL_ID id) {
  const TitleRecArray& a = recs.GetRecArray(id);
  return std::vector<ZCdbRecBase*>(a.GetData(), a.GetData() + a.GetSize());
}

TEST(TitleElements, DrawingNameLinesJoinAndALoneLineTakesTheBareName) {
  TestDrawing d;
  ZCdbElm* first = d.AddTitleLine("表題_図面名1", "一般図", 20);
  ZCdbElm* second = d.AddTitleLine("表題_図面名2", "その1", 10);
  TitleRecMap recs;
  EXPECT_EQ(Sjis("一般図$$その1"), d.Title(&recs).drawingName.str());
  EXPECT_EQ((std::vector<ZCdbRecBase*>{first, second}), Lines(recs, SXF_TTL_DRAWING_NAME));

  d.db.DeleteRecord(first);
  d.db.Commit();
  // Reading the figure of a title element renumbers the lines first.
  EXPECT_EQ(Sjis("表題_図面名"), d.NameOf(second));
  EXPECT_EQ(Sjis("その1"), d.Title().drawingName.str());
}

TEST(TitleElements, SetTitleInfoMakesExactlyTheListedRecordsTheTitleElements) {
  TestDrawing d;
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
  EXPECT_EQ(Sjis("表題_図面名1"), d.StoredName(kept));
  EXPECT_EQ(Sjis("表題_図面名3"), d.StoredName(plain));
  EXPECT_EQ(Sjis("表題_尺度"), d.StoredName(oldName));
  SxfTitleInfo read = d.Title();
  EXPECT_STREQ("B$$C", read.drawingName);
  EXPECT_STREQ("A", read.scale);
  EXPECT_STREQ("stored", read.projectName);

  // Without a map only the stored values change.
  info.projectName = "other";
  d.adb->SetTitleInfo(info, nullptr);
  read = d.Title();
  EXPECT_STREQ("other", read.projectName);
  EXPECT_STREQ("B$$C", read.drawingName);
  EXPECT_STREQ("A", read.scale);
}

TEST(TitleElements, ObjectsReplacedOutsideAnUndoStepKeepTheirTitleData) {
  TestDrawing d;
  ZCdbElm* name = d.AddTitleLine("表題_図面名", "一般図", 20);
  ZCdbElm* date = d.AddTitleLine("表題_年月日", "2005年4月1日", 10);
  const DWORD nameHandle = name->GetHandle();
  const DWORD dateHandle = date->GetHandle();
  // The name's new object cannot show text; the date's shows no date. Inside a step either
  // would cost the element its title attribute; outside one nothing is deleted or checked.
  ZCdbRecBase* table = new ZCdbTbl;
  ZCdbElm* undated = new ZCdbElm(new ZString(Sjis("未定").c_str(), ZPt(0, 10)));
  ASSERT_EQ(1, d.db.ReplaceRecordObject(name, table));
  ASSERT_EQ(1, d.db.ReplaceRecordObject(date, undated));
  EXPECT_EQ(Sjis("表題_図面名"), d.StoredName(table));
  EXPECT_EQ(Sjis("表題_年月日"), d.StoredName(undated));
  EXPECT_EQ(table, d.adb->GetZCdbRec(nameHandle));
  EXPECT_EQ(undated, d.adb->GetZCdbRec(dateHandle));
}

}  // namespace
