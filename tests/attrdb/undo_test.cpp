// Undo, redo and release of the database's changes through the host's undo steps. Every figure
// that moves into an undo item must come back intact or be freed exactly once; the sanitizer
// build turns a leak or a second free into a failure of these tests.
#include <gtest/gtest.h>

#include "support/test_drawing.h"

namespace {

// Reads the figure of rec and returns its width, or "-" when no figure is visible.
std::string WidthOf(TestDrawing& d, ZCdbRecBase* rec) {
  const Seen seen = d.See(rec);
  return seen.visible ? seen.width : "-";
}
}  // namespace

TEST(Undo, MixedStepsKeepOneOwnerPerFigure) {
  TestDrawing d;
  ZCdbRecBase* a = d.AddPlain();
  const DWORD t = d.AddPlain()->GetHandle();
  d.InStep([&] { d.adb->SetRecFigure(a, SetFigure("1", {t}, "v1")); });
  d.InStep([&] { d.adb->SetRecFigure(a, SetFigure("1", {t, t}, "v2")); });
  d.InStep([&] { d.adb->DelRecFigure(a->GetHandle()); });
  d.InStep([&] { d.adb->SetRecFigure(a, SetFigure("1", {}, "v3")); });

  struct State {
    const char* width;
    int count;
  };
  // After 4 undos, 2 redos, 1 undo: the states met on the way, newest first.
  const State undone[] = {{"-", 0}, {"v2", 2}, {"v1", 1}, {"-", 0}};
  EXPECT_EQ("v3", WidthOf(d, a));
  for (const State& s : undone) {
    ASSERT_EQ(1, d.db.Undo());
    EXPECT_EQ(s.width, WidthOf(d, a));
    EXPECT_EQ(s.count, d.adb->TargetedCnt(t));
  }
  ASSERT_EQ(1, d.db.Redo());
  EXPECT_EQ("v1", WidthOf(d, a));
  ASSERT_EQ(1, d.db.Redo());
  EXPECT_EQ("v2", WidthOf(d, a));
  EXPECT_EQ(2, d.adb->TargetedCnt(t));
  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ("v1", WidthOf(d, a));
  EXPECT_EQ(1, d.adb->TargetedCnt(t));
  // The drawing goes with items on both stacks: the manager releases them before the
  // database is deleted, and each figure is freed once.
}

TEST(Undo, DeletionMovesItsFigureAndAFigureInTheWayIsDropped) {
  TestDrawing d;
  ZCdbRecBase* a = d.AddPlain();
  const DWORD ah = a->GetHandle();
  const DWORD t = d.AddPlain()->GetHandle();
  const DWORD u = d.AddPlain()->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {t}, "v1"));
  d.InStep([&] { d.adb->DelRecFigure(ah); });
  // Attached outside any step: no undo item knows this figure.
  d.adb->SetRecFigure(a, SetFigure("1", {u}, "v2"));
  EXPECT_EQ(1, d.adb->TargetedCnt(u));

  // Undoing the deletion brings v1 back; v2, which stood in its way, is deleted and uncounted.
  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ("v1", WidthOf(d, a));
  EXPECT_EQ(1, d.adb->TargetedCnt(t));
  EXPECT_EQ(0, d.adb->TargetedCnt(u));
  // Redoing it moves v1 into the undo item: the parked entry holds no figure at all.
  ASSERT_EQ(1, d.db.Redo());
  EXPECT_EQ("-", WidthOf(d, a));
  EXPECT_EQ(nullptr, d.Stored(ah));
  EXPECT_EQ(0, d.adb->TargetedCnt(t));
  EXPECT_EQ(0, d.adb->TargetedCnt(u));
  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ("v1", WidthOf(d, a));
  EXPECT_EQ(1, d.adb->TargetedCnt(t));
}
