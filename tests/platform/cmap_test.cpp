#include "platform/cmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
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
    if (values_.count(key) == 0) {
      std::vector<DWORD>& chain = buckets_[(key >> 4) % buckets_.size()];
      chain.insert(chain.begin(), key);
    }
    values_[key] = value;
  }
  bool RemoveKey(DWORD key) {
    if (values_.erase(key) == 0) return false;
    std::vector<DWORD>& chain = buckets_[(key >> 4) % buckets_.size()];
    chain.erase(std::find(chain.begin(), chain.end(), key));
    return true;
  }
  std::vector<DWORD> Order() const {
    std::vector<DWORD> order;
    for (const std::vector<DWORD>& chain : buckets_) order.insert(order.end(), chain.begin(), chain.end());
    return order;
  }
  const std::map<DWORD, int>& values() const { return values_; }

 private:
  std::vector<std::vector<DWORD>> buckets_;
  std::map<DWORD, int> values_;
};

// With 7 buckets, key k lands in bucket (k >> 4) % 7: 0x10 -> 1, 0x80 -> 1, 0x00 -> 0,
// 0x70 -> 0, 0x25 -> 2, 0x12 -> 1.
TEST(CMapOrder, SevenBucketsVisitBucketsInOrderNewestFirst) {
  IntMap map;
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

// With 773 buckets: 0x3050, 0x0 and 0x5 -> 0; 0x10 and 0x3060 -> 1; 0xFFFFFFFF -> 383
// (0x0FFFFFFF % 773); 0x7FFF -> 501; 0x3040 -> 772.
TEST(CMapOrder, HandleMapBucketsIncludingTheTopKey) {
  IntMap map;
  map.InitHashTable(773);
  for (DWORD key : {0x3050u, 0x10u, 0xFFFFFFFFu, 0x0u, 0x3040u, 0x3060u, 0x5u, 0x7FFFu}) map[key] = 1;
  EXPECT_EQ(Keys(map), (std::vector<DWORD>{0x5, 0x0, 0x3050, 0x3060, 0x10, 0xFFFFFFFF, 0x7FFF, 0x3040}));

  map.SetAt(0x3050, 2);  // the tail of bucket 0 stays the tail
  EXPECT_TRUE(map.RemoveKey(0x0));
  map.SetAt(0x0, 3);
  EXPECT_TRUE(map.RemoveKey(0x3040));
  map.SetAt(0x3040, 4);  // alone in its bucket: same place
  EXPECT_EQ(Keys(map), (std::vector<DWORD>{0x0, 0x5, 0x3050, 0x3060, 0x10, 0xFFFFFFFF, 0x7FFF, 0x3040}));
  int value = 0;
  ASSERT_TRUE(map.Lookup(0x3050, value));
  EXPECT_EQ(value, 2);
  EXPECT_FALSE(map.Lookup(0x3070, value));
}

// A 32-bit key hashes as its 32-bit pattern, as on 32-bit Windows: -1 shares bucket 383 with
// 0x17F0, and 0x1800 follows in bucket 384.
TEST(CMapOrder, NegativeIntKeyHashesAsItsUnsignedPattern) {
  CMap<int, int, int, int> map;
  map.InitHashTable(773);
  map.SetAt(0x1800, 0);
  map.SetAt(-1, 0);
  map.SetAt(0x17F0, 0);
  EXPECT_EQ(Keys(map), (std::vector<int>{0x17F0, -1, 0x1800}));
}

// Many short runs on maps of at most seven keys, which stay in the smallest index: with 64
// candidate keys, clusters there often run past its last slot, so backward-shift deletion
// meets the wrap-around again and again.
TEST(CMapIndex, SmallMapsAgreeWithPlainModel) {
  std::mt19937 random(11);
  for (int round = 0; round < 400; ++round) {
    IntMap map;
    map.InitHashTable(7);
    ChainModel model(7);
    for (int op = 0; op < 60; ++op) {
      DWORD key = random() % 64;
      if (model.values().size() >= 7 || random() % 3 == 0) {
        ASSERT_EQ(map.RemoveKey(key) != FALSE, model.RemoveKey(key)) << "key " << key;
      } else {
        map.SetAt(key, op);
        model.SetAt(key, op);
      }
      for (DWORD k = 0; k < 64; ++k) {
        int found = -1;
        auto it = model.values().find(k);
        ASSERT_EQ(map.Lookup(k, found) != FALSE, it != model.values().end())
            << "round " << round << " key " << k;
        if (it != model.values().end()) {
          ASSERT_EQ(found, it->second);
        }
      }
      ASSERT_EQ(Keys(map), model.Order());
    }
  }
}

// Random inserts, updates and removals against the plain model, through growth of the index
// and back down to a handful of keys in a large, nearly empty index.
TEST(CMapIndex, AgreesWithPlainModelThroughRandomEdits) {
  std::mt19937 random(7);
  for (UINT buckets : {7u, 773u}) {
    IntMap map;
    map.InitHashTable(buckets);
    ChainModel model(buckets);
    // (key range, operations): small and dense, then large, then small again so the big
    // index is emptied out.
    const std::pair<DWORD, int> phases[] = {{48, 4000}, {0x400, 6000}, {0x40000, 20000}, {64, 20000}};
    for (const auto& phase : phases) {
      std::uniform_int_distribution<DWORD> pick(0, phase.first - 1);
      for (int op = 0; op < phase.second; ++op) {
        DWORD key = pick(random);
        if (random() % 3 == 0) {
          ASSERT_EQ(map.RemoveKey(key) != FALSE, model.RemoveKey(key)) << "key " << key;
        } else {
          int value = static_cast<int>(random());
          map.SetAt(key, value);
          model.SetAt(key, value);
        }
        ASSERT_EQ(map.GetCount(), static_cast<int>(model.values().size()));
        int found = 0;
        auto it = model.values().find(key);
        ASSERT_EQ(map.Lookup(key, found) != FALSE, it != model.values().end()) << "key " << key;
        if (it != model.values().end()) {
          ASSERT_EQ(found, it->second);
        }
        if (op % 211 == 0) {
          ASSERT_EQ(Keys(map), model.Order());
          for (const auto& entry : model.values()) {
            ASSERT_TRUE(map.Lookup(entry.first, found)) << "key " << entry.first;
            ASSERT_EQ(found, entry.second);
          }
        }
      }
      // Leave only a few keys, so the next phase starts from a large, nearly empty index.
      for (const auto& entry : std::map<DWORD, int>(model.values())) {
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
  int value = 0;
  EXPECT_FALSE(map.Lookup(7, value));
  ASSERT_TRUE(map.Lookup(21, value));
  EXPECT_EQ(value, 3);

  // Emptying the map from inside a pass ends the pass cleanly.
  int seen = 0;
  for (POSITION pos = map.GetStartPosition(); pos; ++seen) {
    DWORD key;
    map.GetNextAssoc(pos, key, value);
    map.RemoveKey(key);
  }
  EXPECT_EQ(seen, 1000);
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(CMapReuse, RemoveAllThenRefillWithAnotherBucketCount) {
  CMap<DWORD, DWORD, CString, const CString&> map;
  map.InitHashTable(773);
  for (DWORD key = 0; key < 500; ++key) map[key] = CString('x', static_cast<int>(key % 40) + 1);
  map.InitHashTable(7);  // ignored while the map holds entries
  EXPECT_EQ(map.GetHashTableSize(), 773u);

  map.RemoveAll();
  EXPECT_EQ(map.GetCount(), 0);
  EXPECT_EQ(map.GetStartPosition(), nullptr);
  CString text;
  EXPECT_FALSE(map.Lookup(3, text));
  EXPECT_FALSE(map.RemoveKey(3));

  map.InitHashTable(7);
  EXPECT_EQ(map.GetHashTableSize(), 7u);
  EXPECT_TRUE(map[0x10].IsEmpty());  // a new entry starts empty, not with an old entry's text
  map[0x80] = "b";
  map[0x00] = "c";
  EXPECT_EQ(Keys(map), (std::vector<DWORD>{0x00, 0x80, 0x10}));
  ASSERT_TRUE(map.Lookup(0x80, text));
  EXPECT_EQ(text, "b");
}

// A value stays where it is while the map grows around it, as callers keep pointers to values.
TEST(CMapReuse, ValuesStayPutWhileTheMapGrows) {
  CMap<DWORD, DWORD, CString, const CString&> map;
  map.InitHashTable(773);
  CString* first = &map[42];
  *first = "kept";
  for (DWORD key = 1000; key < 40000; ++key) map[key] = "filler";
  EXPECT_EQ(map.PLookupValue(42), first);
  EXPECT_EQ(*first, "kept");
  EXPECT_EQ(map.PLookupValue(41), nullptr);
}

}  // namespace
