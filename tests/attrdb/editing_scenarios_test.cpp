// A user's editing work on a drawing, seen through the notifications the host sends: deleting
// and restoring records, committing, and records whose objects the host replaces.
#include <gtest/gtest.h>

#include "support/test_drawing.h"

using Handles = std::vector<DWORD>;

TEST(EditingScenarios, DeletedTargetIsHiddenUntilRestoredAndGoneAfterCommit) {
  TestDrawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  const DWORD ah = a->GetHandle();
  const DWORD th = t->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {th}, "a"));
  d.adb->SetRecFigure(t, SetFigure("1", {ah}, "t"));
  // B references T twice beside a record that stays.
  ZCdbRecBase* b = d.AddPlain();
  d.adb->SetRecFigure(b, SetFigure("1", {th, ah, th}, "b"));

  // The user deletes T: its figure is hidden, its reference to A no longer counts, and A's
  // reference to T is no longer handed out.
  ASSERT_EQ(1, d.db.MarkDeleted(t));
  EXPECT_FALSE(d.See(t).visible);
  EXPECT_TRUE(d.See(a).targets.empty());
  EXPECT_EQ(1, d.adb->TargetedCnt(ah));
  EXPECT_EQ(3, d.adb->TargetedCnt(th));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(th));

  // Undoing the deletion brings everything back: the stored figures kept their references.
  ASSERT_EQ(1, d.db.Unmark(t));
  EXPECT_EQ("t", d.See(t).width);
  EXPECT_EQ((Handles{ah}), d.See(t).targets);
  EXPECT_EQ((Handles{th}), d.See(a).targets);
  EXPECT_EQ((Handles{th, ah, th}), d.See(b).targets);
  EXPECT_EQ(2, d.adb->TargetedCnt(ah));
  EXPECT_EQ(t, d.adb->GetZCdbRec(th));

  // A commit with nothing deleted keeps both.
  d.db.Commit();
  EXPECT_EQ((Handles{ah}), d.See(t).targets);
  EXPECT_EQ((Handles{th}), d.See(a).targets);

  // Deleted again and committed: T's entry is gone and the stored figures lost every
  // reference to it.
  d.db.MarkDeleted(t);
  d.db.Commit();
  EXPECT_FALSE(d.See(t).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(th));
  EXPECT_EQ(0, d.adb->TargetedCnt(th));
  EXPECT_EQ(1, d.adb->TargetedCnt(ah));
  // Once the handle is a live target again, a reference still stored would show.
  ZCdbRecBase* c = d.AddPlain();
  d.adb->SetRecFigure(c, SetFigure("1", {th}, "c"));
  ASSERT_EQ(1, d.adb->IsTarget(th));
  EXPECT_TRUE(d.See(a).targets.empty());
  EXPECT_EQ((Handles{ah}), d.See(b).targets);
  EXPECT_EQ("a", d.See(a).width);
}

TEST(EditingScenarios, ReplacedRecordObjectFollowsUndoAndRedo) {
  TestDrawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  const DWORD ah = a->GetHandle();
  const DWORD th = t->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {th}, "a"));
  d.adb->SetRecFigure(t, SetFigure("1", {}, "t"));

  ZCdbRecBase* a2 = new ZCdbTbl;
  d.InStep([&] { ASSERT_EQ(1, d.db.ReplaceRecordObject(a, a2)); });
  EXPECT_EQ(1, d.UndoCount());
  EXPECT_EQ(a2, d.adb->GetZCdbRec(ah));
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(1, d.db.Undo());
    EXPECT_EQ(a, d.adb->GetZCdbRec(ah));
    EXPECT_EQ((Handles{th}), d.See(ah).targets);
    ASSERT_EQ(1, d.db.Redo());
    EXPECT_EQ(a2, d.adb->GetZCdbRec(ah));
    EXPECT_EQ((Handles{th}), d.See(ah).targets);
  }

  // A record replaced by nothing leaves with its attributes, in a step or not, and the
  // references to it go with it.
  d.InStep([&] { ASSERT_EQ(1, d.db.ReplaceRecordObject(t, nullptr)); });
  EXPECT_FALSE(d.See(th).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(th));
  EXPECT_TRUE(d.See(ah).targets.empty());
  ASSERT_EQ(1, d.db.ReplaceRecordObject(a2, nullptr));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(ah));
  // Undoing the earlier pointer change finds no entry any more and changes nothing.
  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(ah));
  EXPECT_FALSE(d.See(ah).visible);
}
