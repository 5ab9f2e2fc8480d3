#include <gtest/gtest.h>

#include <string>

#include "model/attr_grp.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "support/record_bytes.h"
#include "support/test_drawing.h"

namespace {

// An old group record (version 2) whose attributes are named as given; no sub-groups.
std::string GroupRecord(const std::string& name, std::initializer_list<const char*> attrs) {
  Builder r;
  r.u8(2).fstr(name).i32(static_cast<int32_t>(attrs.size()));
  for (const char* a : attrs) r.raw("\4\4").fstr(a).fstr("").fstr("").i32(10).fstr("v").fstr("");
  return r.i32(0).str();
}

TEST(AttrSetRefTest, TargetContentAndRead) {
  SxfZCdbAttrSetRef ref;
  EXPECT_EQ(ref.IsNoTarget(), 1);
  ref.AddTarget(12, "m");
  EXPECT_EQ(ref.IsTargetOnly(), 1);
  SxfZCdbATRU plain;
  ref.AddAttrGrpData(nullptr)->AddAttrData(plain);
  EXPECT_EQ(ref.IsTargetOnly(), 0);
  EXPECT_EQ(ref.IsNoTarget(), 0);
  // Read replaces the content even when asked to merge.
  ReadFile in(GroupRecord("5", {"x", "y"}));
  ASSERT_EQ(ref.Read(&in.file, 1), 1);
  EXPECT_STREQ(ref.GetRefId(), "5");
  EXPECT_EQ(ref.GetAttrCnt(), 2);
  EXPECT_EQ(ref.GetAttrGrpCnt(), 0);
  EXPECT_EQ(ref.IsAttrSetRef(), 1);
}

TEST(AttrSetRefTest, OldAttributeSetRecordsRegisterTheirDefinition) {
  TestDrawing d;
  d.adb->AddAttrSetDefData("other", "1", "x", 1);  // id 1

  // Version 1: set name, version, designer, k sub-groups, then a group merged into the set.
  std::string v1 =
      Builder().u8(1).fstr("Road").fstr("1.0").fstr("X").i32(1).str() + GroupRecord("first", {"s"});
  std::string trailing = GroupRecord("ignored", {"own"});
  trailing.resize(trailing.size() - 4);
  v1 += trailing + Builder().i32(1).str() + GroupRecord("second", {});  // one more sub-group

  SxfZCdbAttrSetRef ref;
  ReadFile in(v1);
  ASSERT_EQ(ref.ReadOld(&in.file, d.adb), 1);
  EXPECT_EQ(in.file.GetPosition(), in.file.GetLength());
  const SxfZCdbAttrSetDef* def = d.adb->FindAttrSetDefData("Road", "1.0", "X");
  ASSERT_NE(def, nullptr);
  EXPECT_STREQ(def->GetId(), "2");
  EXPECT_STREQ(ref.GetRefId(), "2");
  EXPECT_EQ(ref.IsAttrSetRef(), 1);
  ASSERT_EQ(ref.GetAttrCnt(), 1);
  EXPECT_STREQ(ref.GetAttrData(0)->name, "own");
  ASSERT_EQ(ref.GetAttrGrpCnt(), 2);
  EXPECT_STREQ(ref.GetAttrGrpData(0)->GetName(), "first");
  EXPECT_STREQ(ref.GetAttrGrpData(1)->GetName(), "second");

  // Versions 0 and 2: version, designer, one group with the set's name. A known set is found.
  std::string v2 = Builder().u8(2).fstr("1.0").fstr("X").str() + GroupRecord("Road", {"a", "b"});
  SxfZCdbAttrSetRef again;
  ReadFile in2(v2);
  ASSERT_EQ(again.ReadOld(&in2.file, d.adb), 1);
  EXPECT_STREQ(again.GetRefId(), "2");
  EXPECT_EQ(again.GetAttrCnt(), 2);

  // A failed record changes neither the reference nor the database.
  std::string v3 = v2;
  v3[0] = 3;
  ReadFile in3(v3);
  EXPECT_EQ(again.ReadOld(&in3.file, d.adb), 0);
  EXPECT_STREQ(again.GetRefId(), "2");
  EXPECT_EQ(again.GetAttrCnt(), 2);
  std::string fresh = v2;
  fresh.replace(5, 3, "9.9");  // a set version the database does not know, then cut short
  ReadFile in4(fresh.substr(0, fresh.size() - 3));
  SxfZCdbAttrSetRef broken;
  EXPECT_EQ(broken.ReadOld(&in4.file, d.adb), 0);
  EXPECT_EQ(d.adb->GetAttrSetDefCnt(nullptr), 2);
  EXPECT_STREQ(broken.GetRefId(), "");
}

// A version 1 attribute set counts its listed groups one level below the set (level 2), so the
// deepest set it accepts is one that every writer can store and every reader can read again.
TEST(AttrSetRefTest, OldAttributeSetNestingCountsFromTheSet) {
  TestDrawing d;
  for (int chain : {kMaxGroupDepth - 1, kMaxGroupDepth}) {
    Builder r;
    r.u8(1).fstr("Deep").fstr("1").fstr("X").i32(1);
    for (int level = 1; level <= chain; ++level) r.u8(2).fstr("").i32(0).i32(level < chain ? 1 : 0);
    r.raw(GroupRecord("trailing", {}));
    SxfZCdbAttrSetRef ref;
    ReadFile in(r.b);
    const int fits = chain + 1 <= kMaxGroupDepth ? 1 : 0;  // the chain ends at level chain + 1
    ASSERT_EQ(ref.ReadOld(&in.file, d.adb), fits) << chain;
    if (fits == 0) continue;
    CMemFile old;
    EXPECT_EQ(ref.Write(&old), 1);
    CMemFile tagged;
    CArchive ar(&tagged, CArchive::store);
    EXPECT_EQ(ref.NewWrite(ar), 1);
  }
}

TEST(AttrSetDefTest, CopiesKeepTheDeleteMarkRecordsDoNot) {
  SxfZCdbAttrSetDef def;
  def.SetName("Road");
  def.SetVersion("1.0");
  def.SetDesigner("X");
  def.SetId("12");
  def.IsDelete(1);
  SxfZCdbAttrSetDef copy(def);
  EXPECT_EQ(copy.IsDelete(), 1);

  CMemFile file;
  ASSERT_EQ(def.Write(&file), 1);
  Bytes expected = Builder().u8(1).fstr("Road").fstr("1.0").fstr("X").fstr("12").b;
  EXPECT_EQ(Contents(file), expected);
  file.SeekToBegin();
  SxfZCdbAttrSetDef back;
  ASSERT_EQ(back.Read(&file), 1);
  EXPECT_STREQ(back.GetDesigner(), "X");
  EXPECT_STREQ(back.GetId(), "12");
  EXPECT_EQ(back.IsDelete(), 0);
  expected[0] = 2;
  ReadFile bad(expected);
  EXPECT_EQ(back.Read(&bad.file), 0);
}

}  // namespace
