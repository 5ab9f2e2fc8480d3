#include "platform/cmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<DWORD> Keys(const CMap<DWORD, DWORD, int, int>& map) {
  std::vector<DWORD> keys;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    DWORD key;
    int value;
    map.GetNextAssoc(pos, key, value);
    keys.push_back(key);
  }
  return keys;
}

// With 7 buckets, key k lands in bucket (k >> 4) % 7: 0x10 -> 1, 0x80 -> 1, 0x00 -> 0,
// 0x70 -> 0, 0x25 -> 2, 0x12 -> 1.
TEST(CMapOrder, SevenBucketsVisitBucketsInOrderNewestFirst) {
  CMap<DWORD, DWORD, int, int> map;
  map.InitHashTable(7);
  for (DWORD key : {0x10u, 0x80u, 0x00u, 0x70u, 0x25u, 0x12u}) map.SetAt(key, static_cast<int>(key));
  EXPECT_EQ(Keys(map), (std::vector<DWORD>{0x70, 0x00, 0x12, 0x80, 0x10, 0x25}));

  // SetAt of a present key keeps its place.
  map.SetAt(0x80, 5);
  EXPECT_EQ(Keys(map), (std::vector<DWORD>{0x70, 0x00, 0x12, 0x80, 0x10, 0x25}));
  int value = 0;
  ASSERT_TRUE(map.Lookup(0x80, value));
  EXPECT_EQ(value, 5);

  // A removed and re-inserted key goes to the head of its bucket.
  EXPECT_TRUE(map.RemoveKey(0x10));
  EXPECT_FALSE(map.RemoveKey(0x10));
  map.SetAt(0x10, 1);
  EXPECT_EQ(Keys(map), (std::vector<DWORD>{0x70, 0x00, 0x10, 0x12, 0x80, 0x25}));
  EXPECT_EQ(map.GetCount(), 6);
}

}  // namespace
