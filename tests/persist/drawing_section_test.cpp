// Saving a drawing's attribute section and loading it into a fresh drawing, as a host does.
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/attr_set_def.h"
#include "persist/section_drawing.h"
#include "support/sjis_text.h"

namespace {

// The same record tree in any drawing: layer 10 { a 11, b 12 }, c 14; the attribute parent block
// of a (15) and one record of a kind-2 definition (16).
struct Tree {
  ZCdbTbl* layer;
  ZCdbTbl* a;
  ZCdbTbl* b;
  ZCdbTbl* c;
  ZCdbBlk* block;
  ZCdbRecBase* symbol;
};

Tree BuildTree(HostDrawing& d) {
  Tree t;
  t.layer = d.Load(10);
  t.a = d.Load(11, t.layer);
  t.b = d.Load(12, t.layer);
  t.c = d.Load(14);
  t.block = d.db.AddAttrParentBlk(11);
  t.symbol = new ZCdbTbl;
  d.db.AddSfigDefRecord(2, d.db.AddSfigDef(2, "symbol"), t.symbol);
  EXPECT_EQ(15u, t.block->GetHandle());
  EXPECT_EQ(16u, t.symbol->GetHandle());
  return t;
}

// A drawing with attributes on every kind of record, two active set definitions, one
// delete-marked, and a title.
struct Source {
  HostDrawing d;
  Tree t = BuildTree(d);
  Source() {
    d.adb->AddAttrSetDefData("Road", "1.0", "X", 1);
    d.adb->AddAttrSetDefData("River", "2.0", "Y", 1);
    d.adb->AddAttrSetDefData("Gone", "1", "Z", 1);
    d.adb->RemoveAttrSetDef(3, 1);
    SxfZCdbFigure user;
    SxfZCdbATRU value;
    value.name = Sjis("備考").c_str();
    value.value = "note";
    user.ATRU_SetAttr(value);
    d.adb->SetRecFigure(t.layer, user);
    d.adb->SetRecFigure(t.a, SetFigure("1", {12, 12, 14}));
    d.adb->SetRecFigure(t.b, SetFigure("2", {}));
    d.adb->SetRecFigure(t.block, SetFigure("1", {11}, "3"));
    d.adb->SetRecFigure(t.symbol, SetFigure("2", {}, "9"));
    SxfTitleInfo title;
    title.projectName = Sjis("道路改良").c_str();
    title.drawingName = "General";
    title.year = 2005;
    title.month = 4;
    title.day = 1;
    title.officeName = "Office";
    d.adb->SetTitleInfo(title, nullptr);
  }
  void Save(int mode, CMemFile& file) {
    EXPECT_EQ(1, d.adb->Write(mode, &file, &d.db));
    file.SeekToBegin();
  }
};

std::vector<DWORD> SavedEntries(CMemFile& file) {
  DWORD version = 0;
  file.Read(&version, 4);
  EXPECT_EQ(0x3000u, version);
  return EntryHandles(file);
}

TEST(DrawingSection, SavedDrawingLoadsBackBoundAndCounted) {
  Source src;
  CMemFile file;
  src.Save(0, file);
  // Own figure, then the attribute parent block's, then the children; definitions last.
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 12, 16}), SavedEntries(file));

  HostDrawing dst;
  Tree t = BuildTree(dst);
  file.SeekToBegin();
  ASSERT_EQ(1, dst.adb->Read(0, &file, &dst.db));
  EXPECT_EQ(file.GetLength(), file.GetPosition());

  for (DWORD h : {10u, 11u, 12u, 15u, 16u}) {
    SCOPED_TRACE(h);
    ASSERT_NE(nullptr, dst.Stored(h));
    EXPECT_EQ(1, dst.Stored(h)->IsSame(*src.d.Stored(h), 0));
    EXPECT_EQ(h, dst.Stored(h)->GetHandle());
    EXPECT_EQ(1, dst.Bound(h));
  }
  EXPECT_EQ(t.block, dst.adb->GetZCdbRec(15));
  EXPECT_EQ(t.symbol, dst.adb->GetZCdbRec(16));
  for (DWORD h : {11u, 12u, 14u}) EXPECT_EQ(src.d.adb->TargetedCnt(h), dst.adb->TargetedCnt(h)) << h;
  EXPECT_EQ(2, dst.adb->TargetedCnt(12));

  CDWordArrayX ids;
  ASSERT_EQ(2, dst.adb->GetAttrSetDefCnt(&ids));
  EXPECT_EQ(2, dst.adb->GetAttrSetDefCnt(nullptr));  // the delete-marked one was not saved
  EXPECT_STREQ("2.0", dst.adb->FindAttrSetDefData(2)->version);

  const SxfTitleInfo& title = dst.adb->GetStoredTitleInfo();
  EXPECT_EQ(Sjis("道路改良"), title.projectName.GetString());
  EXPECT_STREQ("Office", title.officeName);
  EXPECT_EQ(4, title.month);
}

TEST(DrawingSection, TemporarySaveLeavesOutMarkedRecordsAndWhatHangsOnThem) {
  Source src;
  src.t.a->SetStatus(0x4000);
  src.t.b->SetStatus(ZCDB_STATUS_REMOVED);
  CMemFile temporary;
  src.Save(1, temporary);
  EXPECT_EQ((std::vector<DWORD>{10, 16}), SavedEntries(temporary));
  // A drawing save looks at the removed bit only.
  CMemFile full;
  src.Save(0, full);
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 16}), SavedEntries(full));
}

TEST(DrawingSection, TemporaryReadWaitsForAfterReadTmp) {
  Source src;
  CMemFile file;
  src.Save(0, file);
  HostDrawing dst;
  BuildTree(dst);
  ASSERT_EQ(1, dst.adb->Read(1, &file, &dst.db));
  ASSERT_NE(nullptr, dst.Stored(11));
  EXPECT_EQ(0, dst.adb->TargetedCnt(12));
  EXPECT_EQ(0, dst.Bound(11));

  ASSERT_EQ(1, dst.adb->AfterReadTmp(&dst.db));
  EXPECT_EQ(2, dst.adb->TargetedCnt(12));
  EXPECT_EQ(1, dst.adb->TargetedCnt(11));
  EXPECT_EQ(1, dst.Bound(11));
  EXPECT_EQ(1, dst.Bound(16));
}

TEST(DrawingSection, ReadStopsRightAfterTheSectionInsideALargerFile) {
  Source src;
  CMemFile section;
  src.Save(0, section);
  CMemFile file;
  Put(file, "HOST");
  Put(file, Bytes(section));
  Put(file, "TAIL");
  file.Seek(4, CFile::begin);
  HostDrawing dst;
  BuildTree(dst);
  ASSERT_EQ(1, dst.adb->Read(0, &file, &dst.db));
  EXPECT_EQ(4 + section.GetLength(), file.GetPosition());
  char tail[4] = {};
  EXPECT_EQ(4u, file.Read(tail, 4));
  EXPECT_EQ("TAIL", std::string(tail, 4));
}

TEST(DrawingSection, ElevatedContoursWithoutContourAttributeGetOneWhenBound) {
  HostDrawing src;
  ZCdbContour* kept = src.Load(21, nullptr, new ZCdbContour(3.25));
  SxfZCdbFigure fig;
  fig.SetContour("C2", "3.25", "m");
  src.adb->SetRecFigure(kept, fig);
  CMemFile file;
  ASSERT_EQ(1, src.adb->Write(0, &file, &src.db));

  HostDrawing dst;
  ZCdbContour* bare = dst.Load(20, nullptr, new ZCdbContour(12.5));
  dst.Load(21, nullptr, new ZCdbContour(3.25));
  ZCdbContour* flat = dst.Load(22, nullptr, new ZCdbContour());
  file.SeekToBegin();
  ASSERT_EQ(1, dst.adb->Read(0, &file, &dst.db));
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

TEST(DrawingSection, FigureThatCannotBeWrittenIsLeftOutWhole) {
  Source src;
  // A set reference slot without a reference: the figure writer refuses it.
  src.d.Stored(12)->ATRF_GetAttr()->info->Add(nullptr);
  CMemFile file;
  src.Save(0, file);
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 16}), SavedEntries(file));
  HostDrawing dst;
  BuildTree(dst);
  file.SeekToBegin();
  ASSERT_EQ(1, dst.adb->Read(0, &file, &dst.db));
  EXPECT_EQ(nullptr, dst.Stored(12));
  EXPECT_EQ(1, dst.Bound(16));
}

TEST(DrawingSection, RepeatedHandleKeepsTheLastFigureAndCountsOnlyIt) {
  HostDrawing dst;
  ZCdbTbl* r5 = dst.Load(5);
  ZCdbTbl* r6 = dst.Load(6);
  dst.Load(7);
  dst.Load(8);
  ZCdbTbl* r4 = dst.Load(4);
  dst.adb->SetRecFigure(r6, SetFigure("1", {7}));
  dst.adb->SetRecFigure(r4, SetFigure("1", {}));
  ASSERT_EQ(1, dst.db.MarkDeleted(r4));
  ASSERT_EQ(1, dst.adb->TargetedCnt(7));

  CMemFile file;
  DWORD version = 0x3000;
  file.Write(&version, 4);
  {
    CArchive ar(&file, CArchive::store);
    SxfZCdbFigure first = SetFigure("1", {7, 7}, "first");
    SxfZCdbFigure second = SetFigure("1", {8}, "second");
    SxfZCdbFigure over = SetFigure("1", {8}, "over");
    PutEntry(ar, *dst.adb, 5, first);
    new_format::WriteBlock(ar, 103, [](CArchive& block) { block << 42; });  // a tag this reader skips
    PutEntry(ar, *dst.adb, 5, second);
    PutEntry(ar, *dst.adb, 6, over);
    PutEntry(ar, *dst.adb, 4, first);  // into a delete-marked entry: stays uncounted
    new_format::WriteEnd(ar);
    ar.Close();
  }
  file.SeekToBegin();
  ASSERT_EQ(1, dst.adb->Read(0, &file, &dst.db));
  EXPECT_STREQ("second", dst.Stored(5)->FindAttrData("width")->value);
  EXPECT_STREQ("over", dst.Stored(6)->FindAttrData("width")->value);
  // Neither the replaced figures nor the one in the delete-marked entry count.
  EXPECT_EQ(0, dst.adb->TargetedCnt(7));
  EXPECT_STREQ("first", dst.Stored(4)->FindAttrData("width")->value);
  EXPECT_EQ(2, dst.adb->TargetedCnt(8));
  EXPECT_EQ(1, dst.Bound(5));
  EXPECT_EQ(r6, dst.adb->GetZCdbRec(6));
  EXPECT_EQ(r5, dst.adb->GetZCdbRec(5));
}

}  // namespace
