// Copying records: which attributes a copy receives, and how references between copied figures
// follow the copies while the host brackets the copy with BeginCopyWithTarget/EndCopyWithTarget.
#include <gtest/gtest.h>

#include "model/attr_set_def.h"
#include "support/test_drawing.h"

using Handles = std::vector<DWORD>;

namespace {

// The reference id the copy of a figure must carry in d: d's definition of the same set.
std::string IdOf(TestDrawing& d, const char* name, const char* version, const char* designer) {
  const SxfZCdbAttrSetDef* def = d.adb->FindAttrSetDefData(name, version, designer);
  return def != nullptr ? def->GetId() : "(none)";
}

std::string RefIdSeen(TestDrawing& d, ZCdbRecBase* rec) {
  SxfZCdbFigure out;
  if (d.adb->GetRecFigure(rec->GetHandle(), out) == 0) return "(nothing)";
  const SxfZCdbATRF* atrf = out.ATRF_GetAttr();
  return atrf != nullptr && atrf->GetAttrSetRefCnt() > 0 ? atrf->GetAttrSetRefData(0)->GetRefId() : "";
}

}  // namespace

TEST(CopyWithTargets, PairCopiedIntoAnotherDrawingReferencesItsCopies) {
  TestDrawing src, dst;
  SxfZCdbAttrSetDef* roads = src.adb->AddAttrSetDefData("Roads", "1.0", "survey", 0);
  ASSERT_STREQ("1", roads->GetId());
  // In the destination id 1 is another set, so a set reference that kept its id would name it.
  dst.adb->AddAttrSetDefData("Pipes", "2.0", "office", 0);

  // A and B, on one sheet, reference each other; A also references C, which stays behind.
  ZCdbTbl* sheet = src.AddPlain();
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

  EXPECT_EQ("a", dst.See(a2).width);
  EXPECT_EQ((Handles{b2->GetHandle(), c->GetHandle()}), dst.See(a2).targets);
  EXPECT_EQ((Handles{a2->GetHandle()}), dst.See(b2).targets);
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
  EXPECT_EQ((Handles{b->GetHandle(), c->GetHandle()}), src.See(a).targets);
  EXPECT_EQ("1", RefIdSeen(src, a));
}

TEST(CopyWithTargets, AttributeParentBlocksAreRebuiltAboveTheCopy) {
  TestDrawing d;
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
  EXPECT_EQ("rec", d.See(copy).width);
  ZCdbBlk* near2 = d.db.FindAttrParentBlk(copy->GetHandle());
  ASSERT_NE(nullptr, near2);
  EXPECT_NE(near, near2);
  EXPECT_EQ("near", d.See(near2).width);
  // The block copy holds no references.
  EXPECT_TRUE(d.See(near2).targets.empty());
  EXPECT_EQ(1, d.adb->TargetedCnt(t->GetHandle()));
  // The empty block is left out of the chain.
  ZCdbBlk* far2 = d.db.FindAttrParentBlk(near2->GetHandle());
  ASSERT_NE(nullptr, far2);
  EXPECT_EQ("far", d.See(far2).width);
  EXPECT_EQ(nullptr, d.db.FindAttrParentBlk(far2->GetHandle()));
}
