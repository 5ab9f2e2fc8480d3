// Attaching, reading and removing the attributes of host records, as a host's caller does, and
// the targeted count those attachments keep, which stops at its 16-bit limit.
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

TEST(Targets, CountStopsAtItsLimitWithoutTouchingTheFlags) {
  TestDrawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* b = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  const DWORD th = t->GetHandle();
  d.adb->SetRecFigure(t, SetFigure("1", {}));
  // 0x10001 references: one more than the count can hold, spread over sub-groups.
  SxfZCdbFigure fig = SetFigure("1", {});
  SxfZCdbAttrSetRef* ref = fig.ATRF_GetAttr()->GetAttrSetRefData(0);
  for (int g = 0; g < 1024; ++g) {
    SxfZCdbAttrGrp* group = ref->AddAttrGrpData(nullptr);
    for (int i = 0; i < 64; ++i) group->AddTarget(th, "");
  }
  ref->AddTarget(th, "");
  d.adb->SetRecFigure(a, fig);
  EXPECT_EQ(0xFFFF, d.adb->TargetedCnt(th));
  // A spill into bit 16 would read as the delete mark, bit 17 as parked.
  EXPECT_EQ(1, d.adb->IsTarget(th));
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(th, out));
  EXPECT_EQ(0xFFFF, out.GetTargetedCnt());

  // Once saturated the count is sticky: removing references cannot make it wrong the other way.
  d.adb->SetRecFigure(b, SetFigure("1", {th}));
  d.adb->DelRecFigure(b->GetHandle());
  d.adb->DelRecFigure(a->GetHandle());
  EXPECT_EQ(0xFFFF, d.adb->TargetedCnt(th));
  EXPECT_EQ(1, d.adb->IsTarget(th));
}
