// Undo, redo and release of the database's changes through the host's undo steps. Every figure
// that moves into an undo item must come back intact or be freed exactly once; the sanitizer
// build turns a leak or a second free into a failure of these tests.
#include <gtest/gtest.h>

#include "attrdb/drawing.h"

namespace {

// Reads the figure of rec and returns its width, or "-" when no figure is visible.
std::string WidthOf(Drawing& d, ZCdbRecBase* rec) {
  SxfZCdbFigure out;
  if (d.adb->GetRecFigure(rec->GetHandle(), out) == 0) return "-";
  return std::string(Width(out));
}

// Runs one step of the host's undo manager around body.
template <class Body>
void Step(Drawing& d, Body body) {
  d.db.BeginUndoStep();
  body();
  d.db.EndUndoStep();
}

}  // namespace

TEST(Undo, AddedFigureParksOnUndoAndComesBackOnRedo) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  const DWORD th = t->GetHandle();
  Step(d, [&] { d.adb->SetRecFigure(a, SetFigure("1", {th})); });
  EXPECT_EQ("1.5", WidthOf(d, a));
  EXPECT_EQ(1, d.adb->TargetedCnt(th));

  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ("-", WidthOf(d, a));
  EXPECT_EQ(0, d.adb->TargetedCnt(th));
  EXPECT_EQ(0, d.adb->IsTargetOnly(th));

  ASSERT_EQ(1, d.db.Redo());
  EXPECT_EQ("1.5", WidthOf(d, a));
  EXPECT_EQ(1, d.adb->TargetedCnt(th));
  EXPECT_EQ(1, d.adb->IsTargetOnly(th));

  // Undo again and record a new step: the parked figure is released with the redo stack.
  ASSERT_EQ(1, d.db.Undo());
  ZCdbRecBase* b = d.AddPlain();
  Step(d, [&] { d.adb->SetRecFigure(b, SetFigure("1", {}, "4")); });
  EXPECT_EQ(0, d.db.Redo());
  EXPECT_EQ("-", WidthOf(d, a));
  EXPECT_EQ(0, d.adb->TargetedCnt(th));
  EXPECT_EQ("4", WidthOf(d, b));
}

TEST(Undo, ReplacedFigureSurvivesInUndoStep) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  const DWORD t1 = d.AddPlain()->GetHandle();
  const DWORD t2 = d.AddPlain()->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {t1}, "old"));
  EXPECT_EQ(0, d.Undo().GetUndoCount());  // outside a step nothing is recorded
  Step(d, [&] { d.adb->SetRecFigure(a, SetFigure("1", {t2}, "new")); });
  EXPECT_EQ(1, d.Undo().GetUndoCount());
  EXPECT_EQ("new", WidthOf(d, a));
  EXPECT_EQ(0, d.adb->TargetedCnt(t1));
  EXPECT_EQ(1, d.adb->TargetedCnt(t2));

  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(1, d.db.Undo());
    EXPECT_EQ("old", WidthOf(d, a));
    EXPECT_EQ(1, d.adb->TargetedCnt(t1));
    EXPECT_EQ(0, d.adb->TargetedCnt(t2));
    ASSERT_EQ(1, d.db.Redo());
    EXPECT_EQ("new", WidthOf(d, a));
    EXPECT_EQ(0, d.adb->TargetedCnt(t1));
    EXPECT_EQ(1, d.adb->TargetedCnt(t2));
  }
  // Releasing after redo frees the old figure only; the entry keeps the new one.
  d.Undo().Clear();
  EXPECT_EQ("new", WidthOf(d, a));
  EXPECT_EQ(1, d.adb->TargetedCnt(t2));
}

TEST(Undo, DeletedFigureReturnsOnUndo) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  const DWORD t = d.AddPlain()->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {t}, "kept"));
  Step(d, [&] { EXPECT_EQ(1, d.adb->DelRecFigure(a->GetHandle())); });
  EXPECT_EQ("-", WidthOf(d, a));
  EXPECT_EQ(0, d.adb->TargetedCnt(t));

  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ("kept", WidthOf(d, a));
  EXPECT_EQ(1, d.adb->TargetedCnt(t));
  ASSERT_EQ(1, d.db.Redo());
  EXPECT_EQ("-", WidthOf(d, a));
  EXPECT_EQ(0, d.adb->TargetedCnt(t));
  // The entry and its record stay while the figure is parked in the undo item.
  EXPECT_EQ(a, d.adb->GetZCdbRec(a->GetHandle()));

  // Released without a further undo: the figure goes with the item.
  d.Undo().Clear();
  EXPECT_EQ("-", WidthOf(d, a));
  EXPECT_EQ(0, d.db.Undo());
}

TEST(Undo, MixedStepsKeepOneOwnerPerFigure) {
  {
    Drawing d;
    ZCdbRecBase* a = d.AddPlain();
    const DWORD t = d.AddPlain()->GetHandle();
    Step(d, [&] { d.adb->SetRecFigure(a, SetFigure("1", {t}, "v1")); });
    Step(d, [&] { d.adb->SetRecFigure(a, SetFigure("1", {t, t}, "v2")); });
    Step(d, [&] { d.adb->DelRecFigure(a->GetHandle()); });
    Step(d, [&] { d.adb->SetRecFigure(a, SetFigure("1", {}, "v3")); });

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
}

TEST(Undo, TargetOnlyEntryIsLeftAloneByItsOwnItem) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  const DWORD t = 0x4242;  // a handle no record has yet
  Step(d, [&] { d.adb->SetRecFigure(a, SetFigure("1", {t})); });
  EXPECT_EQ(1, d.adb->IsTargetOnly(t));
  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ(0, d.adb->TargetedCnt(t));
  ASSERT_EQ(1, d.db.Redo());
  EXPECT_EQ(1, d.adb->TargetedCnt(t));
  EXPECT_EQ(1, d.adb->IsTargetOnly(t));
}

namespace {

// Lets a test read the title info that title undo items swap.
class TitleProbe : public SxfZCdbAttrDB {
 public:
  using SxfZCdbAttrDB::SxfZCdbAttrDB;
  const SxfTitleInfo& Title() const { return m_titleInfo; }
};

}  // namespace

TEST(Undo, TitleAndRecordPointerItemsExchangeWhatTheyHold) {
  CEnvironObj env("/data");
  ZCdb db;
  TitleProbe* probe = new TitleProbe(env);
  ASSERT_EQ(1, db.RegisterAttrDB("SXF", probe));
  ZCdbRecBase* a = new ZCdbTbl;
  db.AddRecord(a);
  probe->SetRecFigure(a, SetFigure("1", {}));

  SxfUndoRec* title = new SxfUndoRec;
  title->code = SxfZCdbAttrDB::SXF_UNDO_TITLE;
  title->database = probe;
  title->data.title = new SxfTitleInfo;
  title->data.title->drawingName = "before";
  SxfUndoFunc(UNDOFUNC_UNDO, nullptr, title);
  EXPECT_STREQ("before", probe->Title().drawingName);
  EXPECT_TRUE(title->data.title->drawingName.IsEmpty());
  SxfUndoFunc(UNDOFUNC_REDO, nullptr, title);
  EXPECT_TRUE(probe->Title().drawingName.IsEmpty());
  SxfUndoFunc(UNDOFUNC_DISCARD, nullptr, title);  // frees the copy and the item

  ZCdbTbl replacement;  // a record object the item must never free
  SxfUndoRec* ptr = new SxfUndoRec;
  ptr->code = SxfZCdbAttrDB::SXF_UNDO_RECPTR;
  ptr->database = probe;
  ptr->data.rec = &replacement;
  SxfUndoFunc(UNDOFUNC_UNDO, a, ptr);
  EXPECT_EQ(&replacement, probe->GetZCdbRec(a->GetHandle()));
  EXPECT_EQ(a, ptr->data.rec);
  SxfUndoFunc(UNDOFUNC_REDO, a, ptr);
  EXPECT_EQ(a, probe->GetZCdbRec(a->GetHandle()));
  SxfUndoFunc(UNDOFUNC_DISCARD, a, ptr);

  // Items without data or database are ignored in every mode.
  SxfUndoFunc(UNDOFUNC_UNDO, a, nullptr);
  SxfUndoRec orphan{SxfZCdbAttrDB::SXF_UNDO_CHANGE, nullptr, {nullptr}};
  for (UNDOFUNC_MODE mode : {UNDOFUNC_UNDO, UNDOFUNC_REDO, UNDOFUNC_DISCARD}) {
    SxfUndoFunc(mode, a, &orphan);  // a stack object: freeing it would be caught
  }
  EXPECT_EQ(a, probe->GetZCdbRec(a->GetHandle()));
}

TEST(Undo, RemoveUndoRecTakesOnlyMarkedEntries) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* b = d.AddPlain();
  d.adb->SetRecFigure(a, SetFigure("1", {b->GetHandle()}));
  EXPECT_EQ(0, d.adb->RemoveUndoRec(a->GetHandle()));
  EXPECT_EQ("1.5", WidthOf(d, a));
  EXPECT_EQ(0, d.adb->RemoveUndoRec(0x5151));

  d.db.MarkDeleted(a);
  EXPECT_EQ(1, d.adb->RemoveUndoRec(a->GetHandle()));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(a->GetHandle()));
  EXPECT_EQ(0, d.adb->RemoveUndoRec(a->GetHandle()));
  // The marked figure's references were uncounted by the mark, not again by the removal.
  EXPECT_EQ(0, d.adb->TargetedCnt(b->GetHandle()));
}
