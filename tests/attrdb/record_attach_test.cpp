// Attaching, reading and removing the attributes of host records, as a host's caller does.
#include <gtest/gtest.h>

#include "exports/record_functions.h"
#include "support/test_drawing.h"

TEST(RecordAttach, AttachOverTargetOnlyEntryKeepsItsCount) {
  TestDrawing d;
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
  EXPECT_EQ("7", Width(out));
}

TEST(RecordAttach, DeleteMarkUncountsTheMarkedFiguresOwnTargets) {
  TestDrawing d;
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
  EXPECT_EQ("1.5", Width(out));
  EXPECT_EQ(a, d.adb->GetZCdbRec(a->GetHandle()));
}

TEST(RecordAttach, EmptyAttributeFileComesBackAsUserAttribute) {
  TestDrawing d;
  ZCdbRecBase* a = d.AddPlain();
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRF);
  d.adb->SetRecFigure(a, fig);
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(a->GetHandle(), out));
  EXPECT_EQ(SXF_ATTR_ATRU, out.GetAttrType());
  ASSERT_NE(nullptr, out.ATRU_GetAttr());
}
