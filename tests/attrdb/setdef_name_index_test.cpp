// The name index that section reads use must list a name's definitions in the order a pass over
// the registry meets them, also for keys added after it was built: a search by name answers with
// the first match in that order.
#include "attrdb/setdef_name_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/attr_set_def.h"

namespace {

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

}  // namespace
