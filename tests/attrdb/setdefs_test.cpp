// The attribute set definition registry: numbering, delete marks and lookups in map order. The
// name index that section reads and bulk adds use must list a name's definitions in the order a
// pass over the registry meets them, also for keys added after it was built: a search by name
// answers with the first match in that order. A registry holding the index must answer every
// search and add as one without it.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "attrdb/setdef_name_index.h"
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

using Registry = SetDefNameIndex::Registry;

std::vector<unsigned int> PassOrder(const Registry& registry, const CString& name) {
  std::vector<unsigned int> ids;
  POSITION pos = registry.GetStartPosition();
  while (pos != nullptr) {
    unsigned int id = 0;
    SxfZCdbAttrSetDef* def = nullptr;
    registry.GetNextAssoc(pos, id, def);
    if (def->name == name) ids.push_back(id);
  }
  return ids;
}

TEST(SetDefNameIndex, KeepsThePassOrderOfTheRegistry) {
  Registry registry;
  registry.InitHashTable(7);
  std::vector<std::unique_ptr<SxfZCdbAttrSetDef>> defs;
  const CString names[] = {"Road", "Bridge", CString("Ro\0ad", 5)};
  auto add = [&](unsigned int id) {
    defs.emplace_back(new SxfZCdbAttrSetDef);
    defs.back()->name = names[id % 3];
    registry.SetAt(id, defs.back().get());
  };
  // Ids 16 apart share a bucket every seventh step; 1 and 113 share bucket 0.
  for (unsigned int id : {1u, 17u, 113u, 33u, 2u}) add(id);
  SetDefNameIndex index(registry);
  for (unsigned int id : {129u, 49u, 3u, 241u, 18u, 97u}) {
    add(id);
    index.Added(defs.back()->name, id);
  }
  for (const CString& name : names) {
    ASSERT_NE(nullptr, index.Find(name));
    EXPECT_EQ(PassOrder(registry, name), *index.Find(name)) << static_cast<const char*>(name);
  }
  EXPECT_EQ(4u, index.Find("Road")->size());
  // A name with a zero byte is its own name, not the text before the zero.
  EXPECT_EQ(nullptr, index.Find("Ro"));
}

// The same seeded run of adds, searches and delete marks on two registries, one of them holding
// the index: every answer must be the same.
TEST(SetDefNameIndex, SearchesInAScopeAnswerAsTheWalkDoes) {
  TestDrawing walked, indexed;
  SxfZCdbAttrDB::SetDefIndexScope byName(*indexed.adb);
  std::mt19937 rng(7);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto idOf = [](const SxfZCdbAttrSetDef* def) { return def != nullptr ? std::string(def->id) : "-"; };
  const char* const names[] = {"Road", "Bridge", "Sign", "River", "Rail"};
  const char* const versions[] = {"1.0", "2.0", nullptr};
  for (int step = 0; step < 3000; ++step) {
    const char* name = names[pick(5)];
    const char* version = versions[pick(3)];
    const char* designer = pick(2) ? "d" : nullptr;
    std::string a, b;
    switch (pick(4)) {
      case 0: {
        const int returnExisting = pick(2);
        a = idOf(walked.adb->AddAttrSetDefData(name, version, designer, returnExisting));
        b = idOf(indexed.adb->AddAttrSetDefData(name, version, designer, returnExisting));
        break;
      }
      case 1: {
        SxfZCdbAttrSetDef def;
        def.name = name;
        def.version = version != nullptr ? version : "";
        def.designer = "d";
        def.id = std::to_string(1 + pick(200)).c_str();
        a = idOf(walked.adb->AddAttrSetDefData(def));
        b = idOf(indexed.adb->AddAttrSetDefData(def));
        break;
      }
      case 2:
        a = idOf(walked.adb->FindAttrSetDefData(name, version, designer));
        b = idOf(indexed.adb->FindAttrSetDefData(name, version, designer));
        break;
      default: {
        const unsigned int id = 1 + static_cast<unsigned int>(pick(200));
        a = std::to_string(walked.adb->RemoveAttrSetDef(id, 0));
        b = std::to_string(indexed.adb->RemoveAttrSetDef(id, 0));
        break;
      }
    }
    ASSERT_EQ(a, b) << "step " << step;
  }
  EXPECT_GT(indexed.adb->GetAttrSetDefCnt(nullptr), 20);
}

}  // namespace
