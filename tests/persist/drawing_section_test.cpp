// Saving a drawing's attribute section and loading it into a fresh drawing, as a host does.
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/attr_set_def.h"
#include "persist/section_drawing.h"
#include "support/sjis_text.h"

namespace {

// The same record tree in any drawing: layer 10 { a 11, b 12 }, c 14; the attribute parent block
// of a (15) and one record of a kind-2 definition (16).
void BuildTree(HostDrawing& d) {
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
struct Source {
  HostDrawing d;
  Source() {
    BuildTree(d);
    d.adb->AddAttrSetDefData("Road", "1.0", "X", 1);
    d.adb->AddAttrSetDefData("River", "2.0", "Y", 1);
    d.adb->AddAttrSetDefData("Gone", "1", "Z", 1);
    d.adb->RemoveAttrSetDef(3, 1);
    SxfZCdbFigure user;
    user.ATRU_SetAttr(Attr(Sjis("備考").c_str(), "note"));
    d.adb->SetRecFigure(d.db.FindRecord(10), user);
    d.adb->SetRecFigure(d.db.FindRecord(11), SetFigure("1", {12, 12, 14}));
    d.adb->SetRecFigure(d.db.FindRecord(12), SetFigure("2", {}));
    d.adb->SetRecFigure(d.db.FindRecord(15), SetFigure("1", {11}, "3"));
    d.adb->SetRecFigure(d.db.FindRecord(16), SetFigure("2", {}, "9"));
    SxfTitleInfo title;
    title.projectName = Sjis("道路改良").c_str();
    title.year = 2005;
    title.month = 4;
    title.day = 1;
    title.officeName = "Office";
    d.adb->SetTitleInfo(title, nullptr);
  }
  std::vector<DWORD> SavedEntries(int mode) {
    CMemFile file;
    EXPECT_EQ(1, d.adb->Write(mode, &file, &d.db));
    file.SeekToBegin();
    DWORD version = 0;
    file.Read(&version, 4);
    EXPECT_EQ(0x3000u, version);
    return EntryHandles(file);
  }
};

TEST(DrawingSection, SavedDrawingLoadsBackBoundAndCounted) {
  Source src;
  // Own figure, then the attribute parent block's, then the children; definitions last.
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 12, 16}), src.SavedEntries(0));

  // The section sits inside a larger host file: the read stops right after it.
  CMemFile section;
  ASSERT_EQ(1, src.d.adb->Write(0, &section, &src.d.db));
  CMemFile file;
  Put(file, "HOST" + Bytes(section) + "TAIL");
  file.Seek(4, CFile::begin);
  HostDrawing dst;
  BuildTree(dst);
  ASSERT_EQ(1, dst.adb->Read(0, &file, &dst.db));
  EXPECT_EQ(4 + section.GetLength(), file.GetPosition());

  for (DWORD h : {10u, 11u, 12u, 15u, 16u}) {
    SCOPED_TRACE(h);
    ASSERT_NE(nullptr, dst.Stored(h));
    EXPECT_EQ(1, dst.Stored(h)->IsSame(*src.d.Stored(h), 0));
    EXPECT_EQ(h, dst.Stored(h)->GetHandle());
    EXPECT_EQ(1, dst.Bound(h));
    EXPECT_EQ(dst.db.FindRecord(h), dst.adb->GetZCdbRec(h));
  }
  for (DWORD h : {11u, 12u, 14u}) EXPECT_EQ(src.d.adb->TargetedCnt(h), dst.adb->TargetedCnt(h)) << h;
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
  const DWORD later = 0x3001;
  section.SeekToBegin();
  section.Write(&later, 4);
  section.SeekToBegin();
  HostDrawing tmp;
  BuildTree(tmp);
  ASSERT_EQ(1, tmp.adb->Read(1, &section, &tmp.db));
  ASSERT_NE(nullptr, tmp.Stored(11));
  EXPECT_EQ(0, tmp.adb->TargetedCnt(12));
  EXPECT_EQ(0, tmp.Bound(11));
  ASSERT_EQ(1, tmp.adb->AfterReadTmp(&tmp.db));
  EXPECT_EQ(2, tmp.adb->TargetedCnt(12));
  EXPECT_EQ(1, tmp.adb->TargetedCnt(11));
  EXPECT_EQ(1, tmp.Bound(11));
  EXPECT_EQ(1, tmp.Bound(16));
}

TEST(DrawingSection, SavesLeaveOutMarkedRecordsAndFiguresThatCannotBeWritten) {
  Source src;
  src.d.db.FindRecord(11)->SetStatus(0x4000);
  src.d.db.FindRecord(12)->SetStatus(ZCDB_STATUS_REMOVED);
  EXPECT_EQ((std::vector<DWORD>{10, 16}), src.SavedEntries(1));
  // A drawing save looks at the removed bit only.
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 16}), src.SavedEntries(0));

  // A set reference slot without a reference: the figure writer refuses it, the entry goes whole.
  Source other;
  other.d.Stored(12)->ATRF_GetAttr()->info->Add(nullptr);
  EXPECT_EQ((std::vector<DWORD>{10, 11, 15, 16}), other.SavedEntries(0));
}

// The handle block normally comes first. After the figure block it still decides the entry's
// key, but the figure keeps the handle read before it (none).
TEST(DrawingSection, HandleAfterTheFigureKeysTheEntryOnly) {
  SxfZCdbFigure fig = SetFigure("1", {});
  CMemFile figure;
  {
    CArchive ar(&figure, CArchive::store);
    ASSERT_EQ(1, fig.NewWrite(ar));
    ar.Close();
  }
  const std::string figureBytes = Bytes(figure);
  std::string entry;
  auto block = [](int32_t tag, const std::string& content) {
    const int32_t length = static_cast<int32_t>(content.size());
    return std::string(reinterpret_cast<const char*>(&tag), 4) +
           std::string(reinterpret_cast<const char*>(&length), 4) + content;
  };
  const DWORD handle = 11;
  const std::string end(4, '\0');
  entry = block(100, figureBytes) + block(1, std::string(reinterpret_cast<const char*>(&handle), 4)) + end;
  const DWORD version = 0x3000;
  CMemFile file;
  Put(file, std::string(reinterpret_cast<const char*>(&version), 4) + block(102, entry) + end);
  file.SeekToBegin();

  HostDrawing dst;
  BuildTree(dst);
  ASSERT_EQ(1, dst.adb->Read(0, &file, &dst.db));
  ASSERT_NE(nullptr, dst.Stored(handle));
  EXPECT_EQ(0xFFFFFFFFu, dst.Stored(handle)->GetHandle());
  EXPECT_EQ(1, dst.Bound(handle));
}

TEST(DrawingSection, ElevatedContoursWithoutContourAttributeGetOneWhenBound) {
  HostDrawing src;
  SxfZCdbFigure fig;
  fig.SetContour("C2", "3.25", "m");
  src.adb->SetRecFigure(src.Load(21, nullptr, new ZCdbContour(3.25)), fig);
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

}  // namespace
