// The targeted count of handles: occurrences, the delete mark and the 16-bit limit.
#include <gtest/gtest.h>

#include "attrdb/drawing.h"

TEST(Targets, CountsOccurrencesAndNeverGoesBelowZero) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* b = d.AddPlain();
  const DWORD seven = 7;
  d.adb->SetRecFigure(a, SetFigure("1", {seven, seven}));
  d.adb->SetRecFigure(b, SetFigure("1", {seven}));
  EXPECT_EQ(3, d.adb->TargetedCnt(seven));
  EXPECT_EQ(1, d.adb->IsTargetOnly(seven));
  d.adb->DelRecFigure(a->GetHandle());
  EXPECT_EQ(1, d.adb->TargetedCnt(seven));
  d.adb->DelRecFigure(b->GetHandle());
  EXPECT_EQ(0, d.adb->TargetedCnt(seven));
  EXPECT_EQ(0, d.adb->IsTarget(seven));
  EXPECT_EQ(0, d.adb->IsTargetOnly(seven));
  // A handle without an entry answers 0 everywhere.
  EXPECT_EQ(0, d.adb->TargetedCnt(8));
  EXPECT_EQ(0, d.adb->IsTarget(8));
  EXPECT_EQ(0, d.adb->IsTargetOnly(8));
}

TEST(Targets, DeleteMarkHidesTheTargetButKeepsItsCount) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  d.adb->SetRecFigure(a, SetFigure("1", {t->GetHandle()}));
  d.db.MarkDeleted(t);
  EXPECT_EQ(0, d.adb->IsTarget(t->GetHandle()));
  EXPECT_EQ(0, d.adb->IsTargetOnly(t->GetHandle()));
  EXPECT_EQ(1, d.adb->TargetedCnt(t->GetHandle()));
  d.db.Unmark(t);
  EXPECT_EQ(1, d.adb->IsTargetOnly(t->GetHandle()));
}

TEST(Targets, CountStopsAtItsLimitWithoutTouchingTheFlags) {
  Drawing d;
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
