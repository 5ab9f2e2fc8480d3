// Attaching, reading and removing the attributes of host records, as a host's caller does.
#include <gtest/gtest.h>

#include "attrdb/drawing.h"
#include "exports/record_functions.h"

using Handles = std::vector<DWORD>;

TEST(RecordAttach, AttachOverTargetOnlyEntryKeepsItsCount) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* b = d.AddPlain();
  ASSERT_EQ(a->GetHandle(), SXF_SetRecFigure(a, SetFigure("1", {b->GetHandle()})));
  EXPECT_EQ(1, d.adb->IsTargetOnly(b->GetHandle()));
  EXPECT_EQ(1, d.adb->TargetedCnt(b->GetHandle()));
  // The target-only entry does not know its record until someone asks for it.
  EXPECT_EQ(b, d.adb->GetZCdbRec(b->GetHandle()));

  ASSERT_EQ(b->GetHandle(), SXF_SetRecFigure(b, SetFigure("1", {}, "7")));
  EXPECT_EQ(0, d.adb->IsTargetOnly(b->GetHandle()));
  EXPECT_EQ(1, d.adb->IsTarget(b->GetHandle()));
  SxfZCdbFigure out;
  ASSERT_EQ(1, SXF_GetRecFigure(b, out));
  EXPECT_EQ(1, out.GetTargetedCnt());
  EXPECT_EQ(b->GetHandle(), out.GetHandle());
  EXPECT_STREQ("7", Width(out));
}

TEST(RecordAttach, DeleteMarkUncountsTheMarkedFiguresOwnTargets) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  d.adb->SetRecFigure(a, SetFigure("1", {t->GetHandle()}));
  d.db.MarkDeleted(a);
  EXPECT_EQ(0, d.adb->TargetedCnt(t->GetHandle()));
  // Replacing the figure of a marked record must not uncount the old figure a second time.
  ZCdbRecBase* other = d.AddPlain();
  d.adb->SetRecFigure(other, SetFigure("1", {t->GetHandle()}));
  d.adb->SetRecFigure(a, SetFigure("1", {}));
  EXPECT_EQ(1, d.adb->TargetedCnt(t->GetHandle()));
  // The attachment took the mark away: the figure is visible again (the copy is filled), bound
  // to its record, which the host still reports removed.
  SxfZCdbFigure out;
  EXPECT_EQ(0, d.adb->GetRecFigure(a->GetHandle(), out));
  EXPECT_STREQ("1.5", Width(out));
  EXPECT_EQ(a, d.adb->GetZCdbRec(a->GetHandle()));
}

TEST(RecordAttach, EmptyAttributeFileComesBackAsUserAttribute) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRF);
  d.adb->SetRecFigure(a, fig);
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(a->GetHandle(), out));
  EXPECT_EQ(SXF_ATTR_ATRU, out.GetAttrType());
  ASSERT_NE(nullptr, out.ATRU_GetAttr());
}

TEST(RecordAttach, RecordFunctionsWithoutDatabase) {
  SxfZCdbFigure* handedOver = new SxfZCdbFigure(SetFigure("1", {}));
  ZCdbTbl loose;  // belongs to no drawing
  SxfZCdbFigure out;
  EXPECT_EQ(0u, SXF_SetRecFigure(&loose, *handedOver));
  EXPECT_EQ(0, SXF_GetRecFigure(&loose, out));
  EXPECT_EQ(0, SXF_DelRecFigure(&loose));
  // Ownership passes even when nothing can be attached; the leak checker sees a failure.
  EXPECT_EQ(0, ZCDbAttrFigureSetVer3(&loose, handedOver));

  ZCdb bare;  // a drawing without an "SXF" database
  ZCdbRecBase* rec = new ZCdbTbl;
  bare.AddRecord(rec);
  EXPECT_EQ(0xFFFFFFFFu, SXF_SetRecFigure(rec, SetFigure("1", {})));
  EXPECT_EQ(0, SXF_GetRecFigure(rec, out));
  EXPECT_EQ(0, SXF_DelRecFigure(rec));
  EXPECT_EQ(nullptr, SXF_GetZCdbRec(&bare, rec->GetHandle()));
  EXPECT_EQ(1, ZCDbAttrFigureSetVer3(rec, new SxfZCdbFigure(SetFigure("1", {}))));

  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  EXPECT_EQ(1, ZCDbAttrFigureSetVer3(a, new SxfZCdbFigure(SetFigure("1", {}, "9"))));
  ASSERT_EQ(1, SXF_GetRecFigure(a, out));
  EXPECT_STREQ("9", Width(out));
  EXPECT_EQ(a, SXF_GetZCdbRec(&d.db, a->GetHandle()));
}

TEST(RecordAttach, GetZCdbRecSearchesOpenTablesDepthFirst) {
  Drawing d;
  ZCdbTbl* layer = new ZCdbTbl;
  d.db.AddRecord(layer);
  ZCdbTbl* sheet = new ZCdbTbl;
  d.db.AddRecord(sheet, layer);
  ZCdbRecBase* deep = d.AddPlain(sheet);
  ZCdbTbl* closed = new ZCdbTbl;
  d.db.AddRecord(closed);
  ZCdbRecBase* hidden = d.AddPlain(closed);
  closed->SetStatus(ZCDB_STATUS_REMOVED);  // the host hides the table, not its records

  ZCdbRecBase* a = d.AddPlain();
  d.adb->SetRecFigure(a, SetFigure("1", {deep->GetHandle(), hidden->GetHandle(), 0x9999}));
  EXPECT_EQ(deep, d.adb->GetZCdbRec(deep->GetHandle()));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(hidden->GetHandle()));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(0x9999));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(0x8888));  // no entry at all
}

TEST(RecordAttach, NothingIsAttachedToARecordWithoutHandle) {
  Drawing d;
  ZCdbTbl loose;
  EXPECT_EQ(0xFFFFFFFFu, d.adb->SetRecFigure(&loose, SetFigure("1", {})));
  EXPECT_EQ(0, d.adb->TargetedCnt(0xFFFFFFFF));
}

TEST(RecordAttach, ClearDataWithModeZeroEmptiesTheDatabase) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  d.adb->AddAttrSetDefData("Road", "1", "A", 0);
  d.adb->SetRecFigure(a, SetFigure("1", {0x99}));
  d.adb->SetFileVersion("3.0");
  EXPECT_EQ(1, d.adb->ClearData(1));  // another mode keeps everything
  EXPECT_EQ(1, d.adb->TargetedCnt(0x99));
  EXPECT_EQ(1, d.adb->ClearData(0));
  EXPECT_EQ(0, d.adb->TargetedCnt(0x99));
  EXPECT_EQ(0, d.adb->GetAttrSetDefCnt(nullptr));
  SxfZCdbFigure out;
  EXPECT_EQ(0, d.adb->GetRecFigure(a->GetHandle(), out));
  EXPECT_STREQ("3.0", d.adb->GetFileVersion());  // clearing keeps what is not attribute data
}
