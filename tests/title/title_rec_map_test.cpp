#include "title/title_rec_map.h"

#include <gtest/gtest.h>

#include <set>

#include "attrdb/attrdb.h"
#include "host/host.h"

namespace {

TEST(TitleRecMap, EachItemHasItsOwnArrayAndOtherValuesAnEmptyOne) {
  ZCdbTbl a, b;
  TitleRecMap map;
  std::set<TitleRecArray*> arrays;
  for (int i = 0; i < SxfZCdbAttrDB::GetTitleIdNum(); ++i) {
    TitleRecArray& items = map.GetRecArray(SxfZCdbAttrDB::GetTitleId(i));
    EXPECT_EQ(0, items.GetSize());
    items.Add(i % 2 == 0 ? &a : &b);
    arrays.insert(&items);
  }
  EXPECT_EQ(11u, arrays.size());
  EXPECT_EQ(1, map.GetRecArray(SXF_TTL_DATE).GetSize());
  EXPECT_EQ(&b, map.GetRecArray(SXF_TTL_DRAWING_NAME)[0]);

  for (int bad : {0, 0x030, 0x800, -1}) {
    TitleRecArray& none = map.GetRecArray(static_cast<SXF_TTL_ID>(bad));
    EXPECT_EQ(0, none.GetSize()) << bad;
    EXPECT_EQ(0u, arrays.count(&none));
    none.Add(&a);  // a caller's mistake that the next call must not show
  }
  EXPECT_EQ(0, map.GetRecArray(static_cast<SXF_TTL_ID>(0)).GetSize());
}

}  // namespace
