#include "model/atrf.h"

#include <gtest/gtest.h>

#include <string>

#include "model/attr_set_def.h"
#include "support/record_bytes.h"
#include "support/test_drawing.h"

namespace {

// Two references: "1" with two attributes (one a target) and a sub-group, "Road" with one.
SxfZCdbATRF Sample() {
  SxfZCdbATRF atrf;
  SxfZCdbAttrSetRef* a = atrf.AddAttrSetRefData("1", 1);
  a->AddAttrData(Attr("w", "5"));
  a->AddTarget(33, "t");
  a->AddAttrGrpData(nullptr)->AddAttrData(Attr("deep", "d"));
  atrf.AddAttrSetRefData("Road", 1)->AddAttrData(Attr("x", "$$$"));
  return atrf;
}

TEST(AtrfTest, ReferenceListAndCounting) {
  // With 1, an existing reference of the id is handed back; with 0 a second one is added.
  SxfZCdbATRF atrf;
  SxfZCdbAttrSetRef* five = atrf.AddAttrSetRefData("5", 1);
  EXPECT_EQ(atrf.AddAttrSetRefData("5", 1), five);
  EXPECT_NE(atrf.AddAttrSetRefData("5", 0), five);
  EXPECT_EQ(atrf.GetAttrSetRefCnt(), 2);

  // Counting starts from zero on every call (a group's counters add up instead).
  SxfZCdbATRF sample = Sample();
  int nAttr = 9, nTarget = 9, nAtrs = 9;
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(sample.GetAttrDataCnt(nAttr, nTarget, nAtrs), 4);
    EXPECT_EQ(nAttr, 2);
    EXPECT_EQ(nTarget, 1);
    EXPECT_EQ(nAtrs, 1);
  }
}

TEST(AtrfTest, OldRecordRoundTripAndSetNames) {
  SxfZCdbATRF src = Sample();
  CMemFile file;
  ASSERT_EQ(src.Write(&file), 1);

  // A RefId that names a known set becomes that set's id; digits are taken as they are.
  TestDrawing d;
  SxfZCdbATRF back;
  file.SeekToBegin();
  ASSERT_EQ(back.Read(&file, d.adb), 1);
  EXPECT_EQ(back.IsSame(src), 1);  // no definitions: names stay
  d.adb->AddAttrSetDefData("A", "1", "x", 1);
  d.adb->AddAttrSetDefData("Road", "1", "x", 1);
  file.SeekToBegin();
  ASSERT_EQ(back.Read(&file, d.adb), 1);
  ASSERT_EQ(back.GetAttrSetRefCnt(), 2);
  EXPECT_STREQ(back.GetAttrSetRefData(0)->GetRefId(), "1");
  EXPECT_STREQ(back.GetAttrSetRefData(1)->GetRefId(), "2");

  // Versions 0 to 2 hold attribute set records: here version 0 of the set "Road", "1.0", "X".
  const std::string old =
      Builder().u8(2).i32(1).u8(0).fstr("1.0").fstr("X").u8(2).fstr("Road").i32(0).i32(0).str();
  for (int pass = 0; pass < 2; ++pass) {  // the second pass finds what the first one made
    ReadFile in(old);
    ASSERT_EQ(back.Read(&in.file, d.adb), 1);
    EXPECT_STREQ(back.GetAttrSetRefData(0)->GetRefId(), "3");
    EXPECT_EQ(d.adb->GetAttrSetDefCnt(nullptr), 3);
  }
  EXPECT_STREQ(d.adb->FindAttrSetDefData(3u)->GetVersion(), "1.0");
}

// An empty record is just the end tag, and reading it empties the list.
TEST(AtrfTest, NewEmptyRecord) {
  SxfZCdbATRF none;
  EXPECT_EQ(Store([&](CArchive& ar) { EXPECT_EQ(none.NewWrite(ar), 1); }), Bytes(4, 0));
  SxfZCdbATRF back = Sample();
  ReadFile in(Bytes(4, 0));
  CArchive ar(&in.file, CArchive::load);
  ASSERT_EQ(back.NewRead(ar, nullptr), 1);
  EXPECT_EQ(back.GetAttrSetRefCnt(), 0);
}

}  // namespace
