// The targeted count of a handle stops at its 16-bit limit.
#include <gtest/gtest.h>

#include "support/test_drawing.h"

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
