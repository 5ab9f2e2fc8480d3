// The attribute set definition registry: numbering, delete marks, lookups in map order and the
// class-wide default definition.
#include <gtest/gtest.h>

#include "attrdb/drawing.h"
#include "model/attr_set_def.h"

namespace {

SxfZCdbAttrSetDef Def(const char* name, const char* version, const char* designer, const char* id) {
  SxfZCdbAttrSetDef def;
  def.name = name;
  def.version = version;
  def.designer = designer;
  def.id = id;
  return def;
}

std::vector<DWORD> ActiveIds(SxfZCdbAttrDB* adb) {
  CDWordArrayX ids;
  adb->GetAttrSetDefCnt(&ids);
  return std::vector<DWORD>(ids.GetData(), ids.GetData() + ids.GetCount());
}

}  // namespace

TEST(SetDefs, NewIdsSkipDeleteMarkedOnes) {
  Drawing d;
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

TEST(SetDefs, AddingACopyChecksIdAndTexts) {
  Drawing d;
  SxfZCdbAttrSetDef* road = d.adb->AddAttrSetDefData(Def("Road", "1", "A", "12"));
  ASSERT_NE(nullptr, road);
  EXPECT_EQ(road, d.adb->FindAttrSetDefData(12));
  EXPECT_EQ(nullptr, d.adb->AddAttrSetDefData(Def("Road", "1", "A", "13")));  // texts elsewhere
  EXPECT_EQ(nullptr, d.adb->AddAttrSetDefData(Def("Rail", "1", "A", "12")));  // id taken
  d.adb->RemoveAttrSetDef(12, 0);
  EXPECT_EQ(road, d.adb->AddAttrSetDefData(Def("Road", "1", "A", "12")));
  EXPECT_EQ(0, road->IsDelete());
  // A copy keeps its delete mark; the registry numbers new texts past it.
  SxfZCdbAttrSetDef marked = Def("Old", "1", "A", "1");
  marked.deleted = 1;
  ASSERT_NE(nullptr, d.adb->AddAttrSetDefData(marked));
  EXPECT_EQ(std::vector<DWORD>{12}, ActiveIds(d.adb));
  EXPECT_STREQ("2", d.adb->AddAttrSetDefData("New", "1", "A", 0)->id);
}

TEST(SetDefs, MapOrderDecidesNameOnlyLookups) {
  Drawing d;
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

TEST(SetDefs, DefinitionsInUseAndForcedRemoval) {
  Drawing d;
  d.adb->AddAttrSetDefData("Road", "1.0", "A", 0);  // id 1
  d.adb->AddAttrSetDefData("Rail", "1.0", "A", 0);  // id 2
  ZCdbRecBase* a = d.AddPlain();
  SxfZCdbFigure fig = SetFigure("1", {});
  fig.ATRF_GetAttr()->AddAttrSetRefData("2", 0);
  fig.ATRF_GetAttr()->AddAttrSetRefData("1", 0);  // a second reference to the same set
  d.adb->SetRecFigure(a, fig);

  EXPECT_EQ(1, d.adb->IsUseAttrSetDef(1));
  EXPECT_EQ(0, d.adb->RemoveAttrSetDef(1, 0));
  EXPECT_EQ(0, d.adb->FindAttrSetDefData(1)->IsDelete());
  EXPECT_EQ(1, d.adb->RemoveAttrSetDef(1, 1));
  EXPECT_EQ(1, d.adb->FindAttrSetDefData(1)->IsDelete());
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(a->GetHandle(), out));
  ASSERT_EQ(2, out.ATRF_GetAttr()->GetAttrSetRefCnt());
  EXPECT_STREQ("2", out.ATRF_GetAttr()->GetAttrSetRefData(0)->GetRefId());
  EXPECT_STREQ("1", out.ATRF_GetAttr()->GetAttrSetRefData(1)->GetRefId());
  EXPECT_EQ((std::vector<DWORD>{2}), ActiveIds(d.adb));

  // A hidden figure does not keep a definition in use.
  d.db.MarkDeleted(a);
  EXPECT_EQ(0, d.adb->IsUseAttrSetDef(2));
  d.db.Unmark(a);
  // Attaching a figure that names a delete-marked definition revives it.
  ZCdbRecBase* b = d.AddPlain();
  d.adb->SetRecFigure(b, SetFigure("1", {}));
  EXPECT_EQ((std::vector<DWORD>{1, 2}), ActiveIds(d.adb));
}

TEST(SetDefs, DefaultDefinitionFollowsTheClassWideTexts) {
  Drawing d;
  SxfZCdbAttrSetDef* def = d.adb->GetDefAttrSetDefData();
  ASSERT_NE(nullptr, def);
  EXPECT_STREQ("Default", def->name);
  EXPECT_EQ(def, d.adb->GetDefAttrSetDefData());  // made once

  SxfZCdbAttrDB::SetDefAttrSetName("Plan");
  SxfZCdbAttrDB::SetDefAttrVersion("2.0");
  SxfZCdbAttrDB::SetDefAttrDesigned("Office");
  Drawing other;
  SxfZCdbAttrSetDef* plan = other.adb->GetDefAttrSetDefData();
  EXPECT_STREQ("Plan", plan->name);
  EXPECT_STREQ("Office", plan->designer);
  // The first drawing's default no longer matches the texts: a second definition is made.
  EXPECT_STREQ("2", d.adb->GetDefAttrSetDefData()->id);
  SxfZCdbAttrDB::SetDefAttrSetName("Default");
  SxfZCdbAttrDB::SetDefAttrVersion("1.0");
  SxfZCdbAttrDB::SetDefAttrDesigned("Default");
}
