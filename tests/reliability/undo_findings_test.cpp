// Edit sequences that long random runs met in undo and redo, kept as fixed cases.
#include <gtest/gtest.h>

#include "attrdb/drawing.h"
#include "exports/record_functions.h"

namespace {

// Delete a record's figure in one step, attach a new one in the next, undo both, redo both.
// Redoing the deletion parks the entry; redoing the attach is a replacement of "no figure",
// which swaps the new figure back in and counts its targets but leaves the parked bit alone. So
// the figure stays hidden while its targets count. This is the behaviour as designed, pinned so
// a change to it is a deliberate one (the random run keeps figure deletions out of undo steps).
TEST(UndoFindings, RedoneDeletionLeavesTheNextReplacementParked) {
  Drawing d;
  ZCdbRecBase* rec = d.AddPlain();
  ZCdbRecBase* target = d.AddPlain();
  const DWORD th = target->GetHandle();
  SXF_SetRecFigure(rec, SetFigure("1", {}, "old"));
  d.db.BeginUndoStep();
  SXF_DelRecFigure(rec);
  d.db.EndUndoStep();
  d.db.BeginUndoStep();
  SXF_SetRecFigure(rec, SetFigure("1", {th}, "new"));
  d.db.EndUndoStep();
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(rec->GetHandle(), out));
  EXPECT_EQ("new", std::string(Width(out)));
  EXPECT_EQ(1, d.adb->TargetedCnt(th));

  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ(0, d.adb->TargetedCnt(th));
  ASSERT_EQ(1, d.db.Undo());
  ASSERT_EQ(1, d.adb->GetRecFigure(rec->GetHandle(), out));
  EXPECT_EQ("old", std::string(Width(out)));

  ASSERT_EQ(1, d.db.Redo());  // the deletion: parked, nothing visible
  EXPECT_EQ(0, d.adb->GetRecFigure(rec->GetHandle(), out));
  ASSERT_EQ(1, d.db.Redo());  // the replacement: counted, yet still parked
  EXPECT_EQ(0, d.adb->GetRecFigure(rec->GetHandle(), out));
  EXPECT_EQ(1, d.adb->TargetedCnt(th));
  EXPECT_EQ(1, d.adb->IsTargetOnly(th));

  // Undoing the replacement again uncounts exactly what the redo counted.
  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ(0, d.adb->TargetedCnt(th));
  EXPECT_EQ(0, d.adb->GetRecFigure(rec->GetHandle(), out));
}

}  // namespace
