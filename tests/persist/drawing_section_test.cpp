// Saving a drawing's attribute section and loading it into a fresh drawing, as a host does.
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/attr_set_def.h"
#include "model/new_format.h"
#include "support/record_bytes.h"
#include "support/test_drawing.h"

namespace {

// The record handles of the attribute entries of a tagged section, in file order.
std::vector<DWORD> EntryHandles(const std::string& section) {
  std::vector<DWORD> handles;
  ReadFile in(section.substr(4));
  CArchive ar(&in.file, CArchive::load);
  new_format::ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag != 102) return 1;
    return new_format::ReadRecord(block, [&](LONG inner, CArchive& field) {
      if (inner == 1) {
        DWORD handle = 0;
        field >> handle;
        handles.push_back(handle);
      }
      return 1;
    });
  });
  return handles;
}

// The same record tree in any drawing: layer 10 { a 11, b 12 }, c 14; the attribute parent block
// of a (15) and one record of a kind-2 definition (16).
void BuildTree(TestDrawing& d) {
  ZCdbTbl* layer = d.Load(10);
  d.Load(11, layer);
  d.Load(12, layer);
  d.Load(14);
  d.db.AddAttrParentBlk(11);
  d.db.AddSfigDefRecord(2, d.db.AddSfigDef(2, "symbol"), new ZCdbTbl);
  ASSERT_NE(nullptr, d.db.FindRecord(15));
  ASSERT_NE(nullptr, d.db.FindRecord(16));
}

// A drawing with attributes on every kind of record, two active set definitions, one
// delete-marked, and a title.
struct Source : TestDrawing {
  Source() {
    BuildTree(*this);
    adb->AddAttrSetDefData("Road", "1.0", "X", 1);
    adb->AddAttrSetDefData("River", "2.0", "Y", 1);
    adb->AddAttrSetDefData("Gone", "1", "Z", 1);
    adb->RemoveAttrSetDef(3, 1);
    SxfZCdbFigure user;
    user.ATRU_SetAttr(Attr(Sjis("備考").c_str(), "note"));
    adb->SetRecFigure(Find(10), user);
    adb->SetRecFigure(Find(11), SetFigure("1", {12, 12, 14}));
    adb->SetRecFigure(Find(12), SetFigure("2", {}));
    adb->SetRecFigure(Find(15), SetFigure("1", {11}, "3"));
    adb->SetRecFigure(Find(16), SetFigure("2", {}, "9"));
    SxfTitleInfo title;
    title.projectName = Sjis("道路改良").c_str();
    title.year = 2005;
    title.month = 4;
    title.day = 1;
    title.officeName = "Office";
    adb->SetTitleInfo(title, nullptr);
  }
  std::vector<DWORD> SavedEntries(int mode) {
    const std::string section = Save(mode);
    EXPECT_EQ(std::string("\x00\x30\x00\x00", 4), section.substr(0, 4));
    return EntryHandles(section);
  }
};

TEST(DrawingSection, SavedDrawingLoadsBackBoundAndCounted) {
  Source src;
  // Own figure, then the attribute parent block's, then the children; definitions last.
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 12, 16}), src.SavedEntries(0));

  // The section sits inside a larger host file: the read stops right after it.
  std::string section = src.Save();
  ReadFile host("HOST" + section + "TAIL");
  host.file.Seek(4, CFile::begin);
  TestDrawing dst;
  BuildTree(dst);
  ASSERT_EQ(1, dst.adb->Read(0, &host.file, &dst.db));
  EXPECT_EQ(4 + section.size(), host.file.GetPosition());

  for (DWORD h : {10u, 11u, 12u, 15u, 16u}) {
    SCOPED_TRACE(h);
    ASSERT_NE(nullptr, dst.Stored(h));
    EXPECT_EQ(1, dst.Stored(h)->IsSame(*src.Stored(h), 0));
    EXPECT_EQ(h, dst.Stored(h)->GetHandle());
    EXPECT_TRUE(dst.See(h).visible);
    EXPECT_EQ(dst.db.FindRecord(h), dst.adb->GetZCdbRec(h));
  }
  for (DWORD h : {11u, 12u, 14u}) EXPECT_EQ(src.adb->TargetedCnt(h), dst.adb->TargetedCnt(h)) << h;
  EXPECT_EQ(2, dst.adb->TargetedCnt(12));

  CDWordArrayX ids;
  ASSERT_EQ(2, dst.adb->GetAttrSetDefCnt(&ids));  // the delete-marked one was not saved
  EXPECT_STREQ("2.0", dst.adb->FindAttrSetDefData(2)->version);
  const SxfTitleInfo& title = dst.adb->GetStoredTitleInfo();
  EXPECT_EQ(Sjis("道路改良"), title.projectName.GetString());
  EXPECT_STREQ("Office", title.officeName);
  EXPECT_EQ(4, title.month);

  // A temporary read binds and counts nothing until AfterReadTmp. Versions above the tagged one
  // read as tagged too.
  section[0] = 1;  // version 0x3001
  ReadFile later(section);
  TestDrawing tmp;
  BuildTree(tmp);
  ASSERT_EQ(1, tmp.adb->Read(1, &later.file, &tmp.db));
  ASSERT_NE(nullptr, tmp.Stored(11));
  EXPECT_EQ(0, tmp.adb->TargetedCnt(12));
  EXPECT_FALSE(tmp.See(11).visible);
  ASSERT_EQ(1, tmp.adb->AfterReadTmp(&tmp.db));
  EXPECT_EQ(2, tmp.adb->TargetedCnt(12));
  EXPECT_EQ(1, tmp.adb->TargetedCnt(11));
  EXPECT_TRUE(tmp.See(11).visible);
  EXPECT_TRUE(tmp.See(16).visible);
}

TEST(DrawingSection, SavesLeaveOutMarkedRecordsAndFiguresThatCannotBeWritten) {
  Source src;
  src.Find(11)->SetStatus(0x4000);
  src.Find(12)->SetStatus(ZCDB_STATUS_REMOVED);
  EXPECT_EQ((std::vector<DWORD>{10, 16}), src.SavedEntries(1));
  // A drawing save looks at the removed bit only.
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 16}), src.SavedEntries(0));

  // A set reference slot without a reference: the figure writer refuses it, the entry goes whole.
  Source other;
  other.Stored(12)->ATRF_GetAttr()->info->Add(nullptr);
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 16}), other.SavedEntries(0));
}

// The handle block normally comes first. After the figure block it still decides the entry's
// key, but the figure keeps the handle read before it (none).
TEST(DrawingSection, HandleAfterTheFigureKeysTheEntryOnly) {
  SxfZCdbFigure fig = SetFigure("1", {});
  const Bytes figure = Store([&](CArchive& ar) { ASSERT_EQ(1, fig.NewWrite(ar)); });
  const DWORD handle = 11;
  const Bytes entry = Builder().entry(100, figure).entry(1, Builder().i32(handle)).i32(0).b;
  ReadFile in(Builder().i32(0x3000).entry(102, entry).i32(0).b);

  TestDrawing dst;
  BuildTree(dst);
  ASSERT_EQ(1, dst.adb->Read(0, &in.file, &dst.db));
  ASSERT_NE(nullptr, dst.Stored(handle));
  EXPECT_EQ(0xFFFFFFFFu, dst.Stored(handle)->GetHandle());
  EXPECT_TRUE(dst.See(handle).visible);
}

TEST(DrawingSection, ElevatedContoursWithoutContourAttributeGetOneWhenBound) {
  TestDrawing src;
  SxfZCdbFigure fig;
  fig.SetContour("C2", "3.25", "m");
  src.adb->SetRecFigure(src.Load(21, nullptr, new ZCdbContour(3.25)), fig);
  ReadFile in(src.Save());

  TestDrawing dst;
  ZCdbContour* bare = dst.Load(20, nullptr, new ZCdbContour(12.5));
  dst.Load(21, nullptr, new ZCdbContour(3.25));
  ZCdbContour* flat = dst.Load(22, nullptr, new ZCdbContour());
  ASSERT_EQ(1, dst.adb->Read(0, &in.file, &dst.db));
  CString name, value, unit;
  ASSERT_EQ(1, dst.adb->GetContour(20, name, value, unit));
  EXPECT_STREQ("", name);
  EXPECT_EQ(12.5, atof(value));
  EXPECT_STREQ("", unit);
  EXPECT_EQ(12.5, bare->GetHyoko());
  ASSERT_EQ(1, dst.adb->GetContour(21, name, value, unit));
  EXPECT_STREQ("C2", name);
  EXPECT_STREQ("m", unit);
  EXPECT_EQ(nullptr, dst.Stored(flat->GetHandle()));
}

}  // namespace
