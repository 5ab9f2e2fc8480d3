#include "platform/cmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "platform/cstring.h"

namespace {

typedef CMap<DWORD, DWORD, int, int> IntMap;

// The keys in the order a pass visits them.
template <class K, class AK, class V, class AV>
std::vector<K> Keys(const CMap<K, AK, V, AV>& map) {
  std::vector<K> keys;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    K key;
    V value;
    map.GetNextAssoc(pos, key, value);
    keys.push_back(key);
  }
  return keys;
}

// MFC's map written the plain way: one list per bucket, new keys in front.
class ChainModel {
 public:
  explicit ChainModel(UINT buckets) : buckets_(buckets) {}
  void SetAt(DWORD key, int value) {
    if (values.count(key) == 0) Chain(key).insert(Chain(key).begin(), key);
    values[key] = value;
  }
  bool RemoveKey(DWORD key) {
    if (values.erase(key) == 0) return false;
    Chain(key).erase(std::find(Chain(key).begin(), Chain(key).end(), key));
    return true;
  }
  std::vector<DWORD> Order() const {
    std::vector<DWORD> order;
    for (const std::vector<DWORD>& chain : buckets_) order.insert(order.end(), chain.begin(), chain.end());
    return order;
  }
  std::map<DWORD, int> values;

 private:
  std::vector<DWORD>& Chain(DWORD key) { return buckets_[(key >> 4) % buckets_.size()]; }
  std::vector<std::vector<DWORD>> buckets_;
};

// Bucket order, newest key first, removal and re-insertion are compared with ChainModel by
// CMapIndex below. A 32-bit key hashes as its 32-bit pattern, as on 32-bit Windows: -1 shares
// bucket 383 with 0x17F0, and 0x1800 follows in bucket 384.
TEST(CMapOrder, KeysHashAsTheir32BitPattern) {
  CMap<int, int, int, int> signedKeys;
  signedKeys.InitHashTable(773);
  for (int key : {0x1800, -1, 0x17F0}) signedKeys.SetAt(key, 0);
  EXPECT_EQ(Keys(signedKeys), (std::vector<int>{0x17F0, -1, 0x1800}));
}

// Random inserts, updates and removals on map and model, keeping at most maxCount keys; every
// checkEvery operations the order, count and every value must agree, and a shuffled sample of the
// keys put into pass order without a pass (SortInPassOrder) must come out as the pass orders it.
void RandomEdits(IntMap& map, ChainModel& model, std::mt19937& random, DWORD keys, size_t maxCount, int ops,
                 int checkEvery) {
  std::uniform_int_distribution<DWORD> pick(0, keys - 1);
  for (int op = 0; op < ops; ++op) {
    DWORD key = pick(random);
    if (model.values.size() >= maxCount || random() % 3 == 0) {
      ASSERT_EQ(map.RemoveKey(key) != FALSE, model.RemoveKey(key)) << "key " << key;
    } else {
      int value = static_cast<int>(random());
      map.SetAt(key, value);
      model.SetAt(key, value);
    }
    if (op % checkEvery != 0) continue;
    ASSERT_EQ(map.GetCount(), static_cast<int>(model.values.size()));
    const std::vector<DWORD> order = model.Order();
    ASSERT_EQ(Keys(map), order);
    std::vector<DWORD> sample;
    for (DWORD key : order) {
      if (random() % 3 == 0) sample.push_back(key);
    }
    std::vector<DWORD> sorted = sample;
    std::shuffle(sorted.begin(), sorted.end(), random);
    map.SortInPassOrder(sorted);
    ASSERT_EQ(sorted, sample);
    for (const auto& entry : model.values) {
      int found = 0;
      ASSERT_TRUE(map.Lookup(entry.first, found)) << "key " << entry.first;
      ASSERT_EQ(found, entry.second);
    }
  }
}

// Many short runs on maps of at most seven keys, which stay in the smallest index where clusters
// run past its last slot and backward-shift deletion wraps around; then growth of the index and
// back down to a handful of keys in a large, nearly empty index.
TEST(CMapIndex, AgreesWithPlainModelThroughRandomEdits) {
  std::mt19937 random(7);
  for (int round = 0; round < 400; ++round) {
    IntMap map;
    map.InitHashTable(7);
    ChainModel model(7);
    ASSERT_NO_FATAL_FAILURE(RandomEdits(map, model, random, 64, 7, 60, 1)) << "round " << round;
  }
  for (UINT buckets : {7u, 773u}) {
    IntMap map;
    map.InitHashTable(buckets);
    ChainModel model(buckets);
    for (const auto& [keys, ops] :
         {std::pair<DWORD, int>{48, 4000}, {0x400, 6000}, {0x40000, 20000}, {64, 20000}}) {
      ASSERT_NO_FATAL_FAILURE(RandomEdits(map, model, random, keys, SIZE_MAX, ops, 211));
      // Leave only a few keys, so the next phase starts from a large, nearly empty index.
      for (const auto& entry : std::map<DWORD, int>(model.values)) {
        if (entry.first % 16 != 3) {
          ASSERT_TRUE(map.RemoveKey(entry.first));
          model.RemoveKey(entry.first);
        }
      }
      ASSERT_EQ(Keys(map), model.Order());
    }
  }
}

// Removing the entry that the pass just returned leaves the rest of the pass untouched.
TEST(CMapPass, RemovingTheEntryJustReturned) {
  IntMap map;
  map.InitHashTable(773);
  for (DWORD key = 0; key < 3000; ++key) map.SetAt(key * 7, static_cast<int>(key));
  std::vector<DWORD> before = Keys(map);

  std::vector<DWORD> visited, kept;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    DWORD key;
    int value;
    map.GetNextAssoc(pos, key, value);
    visited.push_back(key);
    if (value % 3 != 0) {
      ASSERT_TRUE(map.RemoveKey(key));
    } else {
      kept.push_back(key);
    }
  }
  EXPECT_EQ(visited, before);
  EXPECT_EQ(Keys(map), kept);
  EXPECT_EQ(map.GetCount(), 1000);
}

// A value stays where it is while the map grows around it, as callers keep pointers to values.
TEST(CMapReuse, ValuesStayPutWhileTheMapGrows) {
  CMap<DWORD, DWORD, CString, const CString&> map;
  map.InitHashTable(773);
  CString* first = &map[42];
  *first = "kept";
  // Enough keys that the index outgrows 2 MiB twice, into and within huge-page memory.
  for (DWORD key = 1000; key < 90000; ++key) map[key] = key % 7 == 0 ? "seventh" : "filler";
  EXPECT_EQ(map.PLookupValue(42), first);
  EXPECT_EQ(*first, "kept");
  EXPECT_EQ(map.GetCount(), 89001);
  int sevenths = 0;
  for (DWORD key = 1000; key < 90000; ++key) {
    const CString* value = map.PLookupValue(key);
    ASSERT_NE(value, nullptr) << key;
    if (*value == "seventh") ++sevenths;
  }
  EXPECT_EQ(sevenths, 12715);
}

}  // namespace
