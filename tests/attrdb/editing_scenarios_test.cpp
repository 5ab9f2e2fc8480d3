// A user's editing work on a drawing, seen through the notifications the host sends: deleting
// and restoring records, committing, drawing new contour lines, and records whose objects the
// host replaces, inside and outside undo steps.
#include <gtest/gtest.h>

#include "attrdb/editing.h"

using Handles = std::vector<DWORD>;

TEST(EditingScenarios, DeletedTargetIsHiddenUntilRestoredAndGoneAfterCommit) {
  Drawing d;
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
  EXPECT_FALSE(See(d, t).visible);
  EXPECT_TRUE(See(d, a).targets.empty());
  EXPECT_EQ(1, d.adb->TargetedCnt(ah));
  EXPECT_EQ(3, d.adb->TargetedCnt(th));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(th));

  // Undoing the deletion brings everything back: the stored figures kept their references.
  ASSERT_EQ(1, d.db.Unmark(t));
  EXPECT_EQ("t", See(d, t).width);
  EXPECT_EQ((Handles{ah}), See(d, t).targets);
  EXPECT_EQ((Handles{th}), See(d, a).targets);
  EXPECT_EQ((Handles{th, ah, th}), See(d, b).targets);
  EXPECT_EQ(2, d.adb->TargetedCnt(ah));
  EXPECT_EQ(t, d.adb->GetZCdbRec(th));

  // A commit with nothing deleted keeps both.
  d.db.Commit();
  EXPECT_EQ((Handles{ah}), See(d, t).targets);
  EXPECT_EQ((Handles{th}), See(d, a).targets);

  // Deleted again and committed: T's entry is gone and the stored figures lost every
  // reference to it.
  d.db.MarkDeleted(t);
  d.db.Commit();
  EXPECT_FALSE(See(d, t).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(th));
  EXPECT_EQ(0, d.adb->TargetedCnt(th));
  EXPECT_EQ(1, d.adb->TargetedCnt(ah));
  // Once the handle is a live target again, a reference still stored would show.
  ZCdbRecBase* c = d.AddPlain();
  d.adb->SetRecFigure(c, SetFigure("1", {th}, "c"));
  ASSERT_EQ(1, d.adb->IsTarget(th));
  EXPECT_TRUE(See(d, a).targets.empty());
  EXPECT_EQ((Handles{ah}), See(d, b).targets);
  EXPECT_EQ("a", See(d, a).width);
}

TEST(EditingScenarios, DeletedRecordLeavesAtOnceUnlessItsHandleMovedOn) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  ZCdbRecBase* x = d.AddPlain();
  const DWORD xh = x->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {t->GetHandle()}, "a"));
  d.adb->SetRecFigure(t, SetFigure("1", {xh}, "t"));

  ASSERT_EQ(1, d.db.DeleteRecord(t));
  EXPECT_FALSE(See(d, t->GetHandle()).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(t->GetHandle()));
  EXPECT_EQ(0, d.adb->TargetedCnt(xh));
  EXPECT_TRUE(See(d, a).targets.empty());

  // The host gave R a new object; a late deletion of the old object leaves R's attributes.
  ZCdbRecBase* r = d.AddPlain();
  const DWORD rh = r->GetHandle();
  d.adb->SetRecFigure(r, SetFigure("1", {xh}, "r"));
  ZCdbRecBase* r2 = new ZCdbTbl;
  ASSERT_EQ(1, d.db.ReplaceRecordObject(r, r2));
  EXPECT_EQ(1, d.adb->OnDelData(0, &d.db, r));
  EXPECT_EQ("r", See(d, rh).width);
  EXPECT_EQ(r2, d.adb->GetZCdbRec(rh));
  EXPECT_EQ(1, d.adb->TargetedCnt(xh));

  // Deleting the record itself, even without the mark first, takes its references along.
  EXPECT_EQ(1, d.adb->OnDelData(0, &d.db, r2));
  EXPECT_FALSE(See(d, rh).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(rh));
  EXPECT_EQ(0, d.adb->TargetedCnt(xh));
}

TEST(EditingScenarios, NewContourLinesCarryTheirElevation) {
  Drawing d;
  struct Case {
    ZCdbContour* rec;
    const char* value;
  };
  ZCdbContour* flat = new ZCdbContour;
  d.db.AddRecord(flat);
  const Case cases[] = {{d.AddContour(12.5), "12.5000"}, {d.AddContour(-3.25), "-3.2500"}, {flat, "0.0000"}};
  for (const Case& c : cases) {
    SxfZCdbFigure out;
    ASSERT_EQ(1, d.adb->GetRecFigure(c.rec->GetHandle(), out)) << c.value;
    CString zukeiName, value, unit;
    ASSERT_EQ(1, out.GetContour(zukeiName, value, unit));
    EXPECT_EQ("", zukeiName);
    EXPECT_EQ(c.value, value);
    EXPECT_EQ("m", unit);
    EXPECT_EQ(SXF_ATTR_NONE, out.GetAttrType());
  }
  // Other new records get nothing.
  ZCdbRecBase* plain = d.AddPlain();
  EXPECT_FALSE(See(d, plain).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(plain->GetHandle()));

  // A copied contour line takes the attribute of its original.
  ZCdbRecBase* copy = d.db.CopyRecord(cases[0].rec);
  CString zukeiName, value, unit;
  ASSERT_EQ(1, d.adb->GetContour(copy->GetHandle(), zukeiName, value, unit));
  EXPECT_EQ("12.5000", value);
}

TEST(EditingScenarios, ReplacedRecordObjectFollowsUndoAndRedo) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  const DWORD ah = a->GetHandle();
  const DWORD th = t->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {th}, "a"));
  d.adb->SetRecFigure(t, SetFigure("1", {}, "t"));

  ZCdbRecBase* a2 = new ZCdbTbl;
  InStep(d, [&] { ASSERT_EQ(1, d.db.ReplaceRecordObject(a, a2)); });
  EXPECT_EQ(1, d.Undo().GetUndoCount());
  EXPECT_EQ(a2, d.adb->GetZCdbRec(ah));
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(1, d.db.Undo());
    EXPECT_EQ(a, d.adb->GetZCdbRec(ah));
    EXPECT_EQ((Handles{th}), See(d, ah).targets);
    ASSERT_EQ(1, d.db.Redo());
    EXPECT_EQ(a2, d.adb->GetZCdbRec(ah));
    EXPECT_EQ((Handles{th}), See(d, ah).targets);
  }

  // A record replaced by nothing leaves with its attributes, in a step or not, and the
  // references to it go with it.
  InStep(d, [&] { ASSERT_EQ(1, d.db.ReplaceRecordObject(t, nullptr)); });
  EXPECT_FALSE(See(d, th).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(th));
  EXPECT_TRUE(See(d, ah).targets.empty());
  ASSERT_EQ(1, d.db.ReplaceRecordObject(a2, nullptr));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(ah));
  // Undoing the earlier pointer change finds no entry any more and changes nothing.
  ASSERT_EQ(1, d.db.Undo());
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(ah));
  EXPECT_FALSE(See(d, ah).visible);
}

TEST(EditingScenarios, MarkedRecordReplacedOutsideUndoComesBackWithItsNewObject) {
  Drawing d;
  ZCdbRecBase* b = d.AddPlain();
  const DWORD bh = b->GetHandle();
  d.adb->SetRecFigure(b, SetFigure("1", {}, "b"));

  // A delete-marked record replaced meanwhile comes back with the object that is unmarked.
  d.db.MarkDeleted(b);
  ZCdbRecBase* b3 = new ZCdbTbl;
  ASSERT_EQ(1, d.db.ReplaceRecordObject(b, b3));
  EXPECT_EQ(0, d.Undo().GetUndoCount());
  EXPECT_FALSE(See(d, bh).visible);
  ASSERT_EQ(1, d.db.Unmark(b3));
  EXPECT_EQ(b3, d.adb->GetZCdbRec(bh));
  EXPECT_EQ("b", See(d, bh).width);
}

TEST(EditingScenarios, TitleLineKeepsItsTitleOnlyAsAStringElement) {
  Drawing d;
  ZCdbElm* name = d.AddElement(new ZString("Bridge", ZPt(0, 20)));
  ZCdbElm* scale = d.AddElement(new ZString("1:100", ZPt(0, 10)));
  ZCdbElm* company = d.AddElement(new ZString("Acme", ZPt(0, 0)));
  d.adb->SetRecFigure(name, StubFigure("表題_図面名"));
  d.adb->SetRecFigure(scale, StubFigure("表題_尺度"));
  d.adb->SetRecFigure(company, StubFigure("表題_会社名"));
  const DWORD nameH = name->GetHandle();
  const DWORD scaleH = scale->GetHandle();
  const DWORD companyH = company->GetHandle();
  ASSERT_EQ(1, d.adb->IsTitleElm(name));

  ZCdbElm* name2 = new ZCdbElm(new ZString("Bridge No. 2", ZPt(0, 20)));
  ZCdbElm* scale2 = new ZCdbElm(new ZLine(ZPt(0, 10), ZPt(5, 10)));
  InStep(d, [&] { ASSERT_EQ(1, d.db.ReplaceRecordObjects({{name, name2}, {scale, scale2}})); });
  EXPECT_TRUE(See(d, nameH).visible);
  EXPECT_EQ(name2, d.adb->GetZCdbRec(nameH));
  EXPECT_EQ(1, d.adb->IsTitleElm(name2));
  EXPECT_FALSE(See(d, scaleH).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(scaleH));
  EXPECT_EQ(0, d.adb->IsTitleElm(scale2));

  // The same rule holds outside an undo step.
  ZCdbRecBase* company2 = new ZCdbTbl;
  ASSERT_EQ(1, d.db.ReplaceRecordObject(company, company2));
  EXPECT_FALSE(See(d, companyH).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(companyH));
}

TEST(EditingScenarios, EveryNotificationAnswersOneAndOnlyModeZeroActs) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  const DWORD ah = a->GetHandle();
  const DWORD th = t->GetHandle();
  d.adb->SetRecFigure(a, SetFigure("1", {th}, "a"));
  // A contour line the host loaded without telling, and a record of no drawing.
  ZCdbContour* loaded = new ZCdbContour(7.0);
  ASSERT_EQ(1, d.db.LoadRecord(loaded, 500));
  ZCdbTbl loose;
  ZCdbTbl* unknown = new ZCdbTbl;
  ASSERT_EQ(1, d.db.LoadRecord(unknown, 600));

  // Non-zero modes change nothing.
  EXPECT_EQ(1, d.adb->OnAddData(1, loaded, ZCDB_NO_HANDLE, nullptr));
  EXPECT_FALSE(See(d, 500).visible);
  EXPECT_EQ(1, d.adb->OnAddData(2, unknown, ah, &d.db));
  EXPECT_FALSE(See(d, 600).visible);
  EXPECT_EQ(1, d.adb->OnDelDataMark(1, &d.db, a, 1));
  EXPECT_EQ("a", See(d, a).width);
  EXPECT_EQ(1, d.adb->OnDelData(-1, &d.db, a));
  EXPECT_EQ("a", See(d, a).width);
  d.db.MarkDeleted(a);
  EXPECT_EQ(1, d.adb->OnCommit(1, &d.db));
  d.db.Unmark(a);
  EXPECT_EQ("a", See(d, a).width);
  EXPECT_EQ(1, d.adb->TargetedCnt(th));

  // Null and unattached records, unknown handles.
  EXPECT_EQ(1, d.adb->OnAddData(0, nullptr, ah, &d.db));
  EXPECT_EQ(1, d.adb->OnAddData(0, &loose, ah, &d.db));
  EXPECT_EQ(1, d.adb->OnAddData(0, unknown, 4242, &d.db));
  EXPECT_EQ(1, d.adb->OnDelDataMark(0, &d.db, unknown, 1));
  EXPECT_EQ(1, d.adb->OnDelData(0, &d.db, nullptr));
  CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*> changes;
  changes.SetAt(12345, nullptr);
  changes.SetAt(600, &loose);
  EXPECT_EQ(1, d.adb->OnChangePtr(changes));
  // None of it made entries for the unknown records or touched A.
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(600));
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(12345));
  EXPECT_EQ("a", See(d, a).width);
  EXPECT_EQ((Handles{th}), See(d, a).targets);
  EXPECT_EQ(1, d.adb->TargetedCnt(th));

  // Told in mode 0, the loaded contour line gets its attribute.
  EXPECT_EQ(1, d.adb->OnAddData(0, loaded, ZCDB_NO_HANDLE, nullptr));
  CString zukeiName, value, unit;
  ASSERT_EQ(1, d.adb->GetContour(500, zukeiName, value, unit));
  EXPECT_EQ("7.0000", value);
}
