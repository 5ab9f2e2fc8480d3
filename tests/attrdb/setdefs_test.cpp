// The attribute set definition registry: numbering, delete marks and lookups in map order.
#include <gtest/gtest.h>

#include "model/attr_set_def.h"
#include "support/test_drawing.h"

namespace {

SxfZCdbAttrSetDef Def(const char* name, const char* version, const char* designer, const char* id) {
  SxfZCdbAttrSetDef def;
  def.name = name;
  def.version = version;
  def.designer = designer;
  def.id = id;
  return def;
}

}  // namespace

TEST(SetDefs, NewIdsSkipDeleteMarkedOnes) {
  TestDrawing d;
  SxfZCdbAttrSetDef* road = d.adb->AddAttrSetDefData("Road", "1.0", "A", 0);
  ASSERT_NE(nullptr, road);
  EXPECT_STREQ("1", road->id);
  d.adb->AddAttrSetDefData("Bridge", "1.0", "A", 0);
  d.adb->AddAttrSetDefData("River", "1.0", "A", 0);
  EXPECT_EQ(1, d.adb->RemoveAttrSetDef(2, 0));
  SxfZCdbAttrSetDef* rail = d.adb->AddAttrSetDefData("Rail", nullptr, nullptr, 0);
  ASSERT_NE(nullptr, rail);
  EXPECT_STREQ("4", rail->id);
  EXPECT_TRUE(rail->version.IsEmpty());

  // An active definition is found again: returned only when asked for.
  EXPECT_EQ(nullptr, d.adb->AddAttrSetDefData("Road", "1.0", "A", 0));
  EXPECT_EQ(road, d.adb->AddAttrSetDefData("Road", "1.0", "A", 1));
  // A delete-marked one is revived under its old id.
  EXPECT_EQ(d.adb->FindAttrSetDefData(2), d.adb->AddAttrSetDefData("Bridge", "1.0", "A", 0));
  EXPECT_EQ(0, d.adb->FindAttrSetDefData(2)->IsDelete());
  EXPECT_EQ(1, d.adb->RemoveAttrSetDef(2, 0));
  EXPECT_EQ(0, d.adb->RemoveAttrSetDef(9, 1));
  EXPECT_EQ(1, d.adb->ReActiveAttrSetDef(9));

  CDWordArrayX ids;
  ids.Add(100);
  ids.Add(0);
  EXPECT_EQ(5, d.adb->GetAttrSetDefCnt(&ids));  // two held, three active added
  EXPECT_EQ((std::vector<DWORD>{0, 1, 3, 4, 100}),
            std::vector<DWORD>(ids.GetData(), ids.GetData() + ids.GetCount()));
  EXPECT_EQ(4, d.adb->GetAttrSetDefCnt(nullptr));
}

TEST(SetDefs, MapOrderDecidesNameOnlyLookups) {
  TestDrawing d;
  // Ids 1 and 113 share bucket 0 of 7 (113 >> 4 is 7); 16 sits in bucket 1.
  d.adb->AddAttrSetDefData(Def("Road", "v16", "A", "16"));
  d.adb->AddAttrSetDefData(Def("Road", "v1", "A", "1"));
  EXPECT_STREQ("v1", d.adb->FindAttrSetDefData("Road", nullptr, nullptr)->version);
  d.adb->AddAttrSetDefData(Def("Road", "v113", "A", "113"));
  // The newer key heads its bucket.
  EXPECT_STREQ("v113", d.adb->FindAttrSetDefData("Road", nullptr, nullptr)->version);
  EXPECT_STREQ("v16", d.adb->FindAttrSetDefData("Road", "v16", nullptr)->version);
  EXPECT_EQ(nullptr, d.adb->FindAttrSetDefData("Road", "v1", "B"));
  EXPECT_EQ(nullptr, d.adb->FindAttrSetDefData("road", nullptr, nullptr));
  // Delete-marked definitions match too.
  d.adb->RemoveAttrSetDef(113, 1);
  EXPECT_STREQ("v113", d.adb->FindAttrSetDefData("Road", nullptr, nullptr)->version);
}
