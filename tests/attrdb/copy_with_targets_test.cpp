// Copying records: which attributes a copy receives, and how references between copied figures
// follow the copies while the host brackets the copy with BeginCopyWithTarget/EndCopyWithTarget.
#include <gtest/gtest.h>

#include "attrdb/editing.h"
#include "model/attr_set_def.h"

using Handles = std::vector<DWORD>;

namespace {

// The reference id the copy of a figure must carry in d: d's definition of the same set.
std::string IdOf(Drawing& d, const char* name, const char* version, const char* designer) {
  const SxfZCdbAttrSetDef* def = d.adb->FindAttrSetDefData(name, version, designer);
  return def != nullptr ? def->GetId() : "(none)";
}

std::string RefIdSeen(Drawing& d, ZCdbRecBase* rec) {
  SxfZCdbFigure out;
  if (d.adb->GetRecFigure(rec->GetHandle(), out) == 0) return "(nothing)";
  return FirstRefId(out);
}

}  // namespace

TEST(CopyWithTargets, PairCopiedIntoAnotherDrawingReferencesItsCopies) {
  Drawing src, dst;
  SxfZCdbAttrSetDef* roads = src.adb->AddAttrSetDefData("Roads", "1.0", "survey", 0);
  ASSERT_STREQ("1", roads->GetId());
  // In the destination id 1 is another set, so a set reference that kept its id would name it.
  dst.adb->AddAttrSetDefData("Pipes", "2.0", "office", 0);

  // A and B, on one sheet, reference each other; A also references C, which stays behind.
  ZCdbTbl* sheet = static_cast<ZCdbTbl*>(src.AddPlain());
  ZCdbRecBase* a = src.AddPlain(sheet);
  ZCdbRecBase* b = src.AddPlain(sheet);
  ZCdbRecBase* c = src.AddPlain();
  src.adb->SetRecFigure(a, SetFigure("1", {b->GetHandle(), c->GetHandle()}, "a"));
  src.adb->SetRecFigure(b, SetFigure("1", {a->GetHandle()}, "b"));

  // The destination has records with the source's handles, so a reference that was not
  // remapped would land on one of them.
  for (int i = 0; i < 5; ++i) dst.AddPlain();

  dst.adb->BeginCopyWithTarget(src.adb);
  ZCdbRecBase* sheet2 = dst.db.CopyRecord(sheet);
  ASSERT_NE(nullptr, sheet2);
  ZCdbRecBase* a2 = sheet2->GetFirstChild();
  ZCdbRecBase* b2 = sheet2->GetNextChild(a2);
  // Nothing is counted while the copy runs.
  EXPECT_EQ(0, dst.adb->TargetedCnt(a2->GetHandle()));
  EXPECT_EQ(0, dst.adb->TargetedCnt(b2->GetHandle()));
  dst.adb->EndCopyWithTarget();

  EXPECT_EQ("a", See(dst, a2).width);
  EXPECT_EQ((Handles{b2->GetHandle(), c->GetHandle()}), See(dst, a2).targets);
  EXPECT_EQ((Handles{a2->GetHandle()}), See(dst, b2).targets);
  EXPECT_EQ(1, dst.adb->TargetedCnt(a2->GetHandle()));
  EXPECT_EQ(1, dst.adb->TargetedCnt(b2->GetHandle()));
  // The handles of the originals are not referenced in the destination.
  EXPECT_EQ(0, dst.adb->TargetedCnt(a->GetHandle()));
  EXPECT_EQ(0, dst.adb->TargetedCnt(b->GetHandle()));

  // The set references name the destination's own definition of the same set.
  const std::string roadsHere = IdOf(dst, "Roads", "1.0", "survey");
  EXPECT_NE("1", roadsHere);
  EXPECT_EQ(roadsHere, RefIdSeen(dst, a2));
  EXPECT_EQ(roadsHere, RefIdSeen(dst, b2));

  // The originals are untouched.
  EXPECT_EQ((Handles{b->GetHandle(), c->GetHandle()}), See(src, a).targets);
  EXPECT_EQ("1", RefIdSeen(src, a));
}

TEST(CopyWithTargets, CopyInsideOneDrawingRemapsOnlyCopiedRecords) {
  Drawing d;
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* b = d.AddPlain();
  ZCdbRecBase* c = d.AddPlain();
  d.adb->SetRecFigure(a, SetFigure("1", {b->GetHandle(), c->GetHandle()}, "a"));
  d.adb->SetRecFigure(b, SetFigure("1", {a->GetHandle(), a->GetHandle()}, "b"));

  d.adb->BeginCopyWithTarget(d.adb);
  ZCdbRecBase* a2 = d.db.CopyRecord(a);
  ZCdbRecBase* b2 = d.db.CopyRecord(b);
  d.adb->EndCopyWithTarget();

  EXPECT_EQ((Handles{b2->GetHandle(), c->GetHandle()}), See(d, a2).targets);
  // Both references of B's copy follow A's copy.
  EXPECT_EQ((Handles{a2->GetHandle(), a2->GetHandle()}), See(d, b2).targets);
  EXPECT_EQ(2, d.adb->TargetedCnt(a2->GetHandle()));
  EXPECT_EQ(1, d.adb->TargetedCnt(b2->GetHandle()));
  // C is referenced by A and by A's copy; A and B keep their own counts.
  EXPECT_EQ(2, d.adb->TargetedCnt(c->GetHandle()));
  EXPECT_EQ(2, d.adb->TargetedCnt(a->GetHandle()));
  EXPECT_EQ(1, d.adb->TargetedCnt(b->GetHandle()));
  EXPECT_EQ((Handles{b->GetHandle(), c->GetHandle()}), See(d, a).targets);

  // A record the user has just delete-marked still hands its attributes to a copy.
  d.db.MarkDeleted(a);
  ZCdbRecBase* a3 = d.db.CopyRecord(a);
  ASSERT_NE(nullptr, a3);
  EXPECT_EQ("a", See(d, a3).width);
}

TEST(CopyWithTargets, BracketThatSeesNoRecordOrIsOpenedTwiceChangesNothing) {
  Drawing src, other, dst;
  src.adb->AddAttrSetDefData("Roads", "1.0", "survey", 0);
  other.adb->AddAttrSetDefData("Rivers", "1.0", "survey", 0);
  ZCdbRecBase* a = src.AddPlain();
  src.adb->SetRecFigure(a, SetFigure("1", {}, "a"));

  ZCdbRecBase* x = dst.AddPlain();
  ZCdbRecBase* t = dst.AddPlain();
  dst.adb->SetRecFigure(x, SetFigure("1", {t->GetHandle()}, "x"));

  // No record arrives: the existing figures are neither rewritten nor counted again.
  dst.adb->BeginCopyWithTarget(src.adb);
  dst.adb->EndCopyWithTarget();
  dst.adb->EndCopyWithTarget();
  EXPECT_EQ(1, dst.adb->TargetedCnt(t->GetHandle()));
  EXPECT_EQ((Handles{t->GetHandle()}), See(dst, x).targets);

  // A second begin belongs to the running copy: the source stays the first drawing.
  dst.adb->BeginCopyWithTarget(src.adb);
  dst.adb->BeginCopyWithTarget(other.adb);
  ZCdbRecBase* a2 = dst.db.CopyRecord(a);
  dst.adb->EndCopyWithTarget();
  EXPECT_EQ("a", See(dst, a2).width);
  EXPECT_EQ(IdOf(dst, "Roads", "1.0", "survey"), RefIdSeen(dst, a2));
  EXPECT_EQ(nullptr, dst.adb->FindAttrSetDefData("Rivers", "1.0", "survey"));
  // The bracket is closed: a later copy drops its references again.
  ZCdbRecBase* x2 = dst.db.CopyRecord(x);
  EXPECT_EQ("x", See(dst, x2).width);
  EXPECT_TRUE(See(dst, x2).targets.empty());
  EXPECT_EQ(1, dst.adb->TargetedCnt(t->GetHandle()));
}

TEST(CopyWithTargets, CopiesOfRecordsWithNothingWorthCopyingGetNothing) {
  Drawing d;
  // Only a target: referenced, but without attributes of its own.
  ZCdbRecBase* a = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  d.adb->SetRecFigure(a, SetFigure("1", {t->GetHandle()}));
  ASSERT_EQ(1, d.adb->IsTargetOnly(t->GetHandle()));

  // A title line: its stub belongs to the element that shows the title.
  ZCdbElm* title = d.AddElement(new ZString("Bridge", ZPt(0, 0)));
  d.adb->SetRecFigure(title, StubFigure("表題_図面名"));
  // A stub of another name and a named user attribute are copied.
  ZCdbElm* stub = d.AddElement(new ZString("Note", ZPt(0, 10)));
  d.adb->SetRecFigure(stub, StubFigure("備考"));
  ZCdbRecBase* named = d.AddPlain();
  SxfZCdbFigure user;
  SxfZCdbATRU attr;
  attr.name = "colour";
  attr.value = "red";
  user.ATRU_SetAttr(attr);
  d.adb->SetRecFigure(named, user);
  // A user attribute without any name says nothing worth keeping.
  ZCdbRecBase* unnamed = d.AddPlain();
  attr.name = "";
  SxfZCdbFigure anonymous;
  anonymous.ATRU_SetAttr(attr);
  d.adb->SetRecFigure(unnamed, anonymous);

  for (ZCdbRecBase* rec : {t, static_cast<ZCdbRecBase*>(title), static_cast<ZCdbRecBase*>(unnamed)}) {
    ZCdbRecBase* copy = d.db.CopyRecord(rec);
    ASSERT_NE(nullptr, copy);
    SxfZCdbFigure out;
    EXPECT_EQ(0, d.adb->GetRecFigure(copy->GetHandle(), out)) << "copy of handle " << rec->GetHandle();
    // Not even an entry is made for the copy.
    EXPECT_EQ(nullptr, d.adb->GetZCdbRec(copy->GetHandle()));
  }
  EXPECT_EQ(1, d.adb->IsTargetOnly(t->GetHandle()));

  for (ZCdbRecBase* rec : {static_cast<ZCdbRecBase*>(stub), named}) {
    ZCdbRecBase* copy = d.db.CopyRecord(rec);
    SxfZCdbFigure original, out;
    ASSERT_EQ(1, d.adb->GetRecFigure(rec->GetHandle(), original));
    ASSERT_EQ(1, d.adb->GetRecFigure(copy->GetHandle(), out)) << "copy of handle " << rec->GetHandle();
    EXPECT_EQ(1, out.IsSame(original, 0));
  }
}

TEST(CopyWithTargets, CopyFromDrawingWithoutAttributeDatabaseAttachesNothing) {
  ZCdb bare;
  ZCdbRecBase* plain = new ZCdbTbl;
  bare.AddRecord(plain);
  ZCdbContour* contour = new ZCdbContour(4.0);
  bare.AddRecord(contour);

  Drawing d;
  ZCdbRecBase* x = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  d.adb->SetRecFigure(x, SetFigure("1", {t->GetHandle()}, "x"));

  d.adb->BeginCopyWithTarget(nullptr);
  ZCdbRecBase* plain2 = d.db.CopyRecord(plain);
  ZCdbRecBase* contour2 = d.db.CopyRecord(contour);
  d.adb->EndCopyWithTarget();
  ASSERT_NE(nullptr, plain2);
  ASSERT_NE(nullptr, contour2);
  EXPECT_FALSE(See(d, plain2).visible);
  // A copied contour line is not a new one: it gets no attribute of its own either.
  EXPECT_FALSE(See(d, contour2).visible);
  EXPECT_EQ(nullptr, d.adb->GetZCdbRec(contour2->GetHandle()));
  EXPECT_EQ((Handles{t->GetHandle()}), See(d, x).targets);
  EXPECT_EQ(1, d.adb->TargetedCnt(t->GetHandle()));
}

TEST(CopyWithTargets, AttributeParentBlocksAreRebuiltAboveTheCopy) {
  Drawing d;
  ZCdbRecBase* rec = d.AddPlain();
  ZCdbRecBase* t = d.AddPlain();
  d.adb->SetRecFigure(rec, SetFigure("1", {}, "rec"));
  // Three blocks above rec, nearest first; the middle one holds nothing.
  ZCdbBlk* near = d.db.AddAttrParentBlk(rec->GetHandle());
  ZCdbBlk* middle = d.db.AddAttrParentBlk(near->GetHandle());
  ZCdbBlk* far = d.db.AddAttrParentBlk(middle->GetHandle());
  ASSERT_NE(nullptr, far);
  d.adb->SetRecFigure(near, SetFigure("1", {t->GetHandle()}, "near"));
  d.adb->SetRecFigure(far, SetFigure("1", {}, "far"));

  ZCdbRecBase* copy = d.db.CopyRecord(rec);
  EXPECT_EQ("rec", See(d, copy).width);
  ZCdbBlk* near2 = d.db.FindAttrParentBlk(copy->GetHandle());
  ASSERT_NE(nullptr, near2);
  EXPECT_NE(near, near2);
  EXPECT_EQ("near", See(d, near2).width);
  // The block copy holds no references.
  EXPECT_TRUE(See(d, near2).targets.empty());
  EXPECT_EQ(1, d.adb->TargetedCnt(t->GetHandle()));
  // The empty block is left out of the chain.
  ZCdbBlk* far2 = d.db.FindAttrParentBlk(near2->GetHandle());
  ASSERT_NE(nullptr, far2);
  EXPECT_EQ("far", See(d, far2).width);
  EXPECT_EQ(nullptr, d.db.FindAttrParentBlk(far2->GetHandle()));
}
