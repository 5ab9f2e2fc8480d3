// The chain-only map of the baseline build must be the library's CMap in everything but cost:
// otherwise the baseline's loads and commits would do different work and the comparison would
// mean nothing. Both maps get the same random operations and must agree on every answer and on
// the order of every pass.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "platform/cmap.h"
#define SXF_CHAIN_MAP_NO_ALIAS
#include "baseline/platform/cmap.h"
#include "title/title_id.h"

namespace {

template <class Map, class K, class V>
std::vector<std::pair<K, V>> Pass(const Map& map) {
  std::vector<std::pair<K, V>> seen;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    K key{};
    V value{};
    map.GetNextAssoc(pos, key, value);
    seen.emplace_back(key, value);
  }
  return seen;
}

// Keys that share buckets (k and k + 16 * 773), neighbours, and keys from all over 32 bits.
template <class K>
K RandomKey(std::mt19937& rng) {
  std::uniform_int_distribution<int> pick(0, 3);
  std::uniform_int_distribution<unsigned> small(0, 4000);
  switch (pick(rng)) {
    case 0:
      return static_cast<K>(small(rng));
    case 1:
      return static_cast<K>(small(rng) % 40 + 16u * 773u * (small(rng) % 5));
    case 2:
      return static_cast<K>(0xFFFFFFFFu - small(rng) % 8);
    default:
      return static_cast<K>(rng());
  }
}

template <class K>
void AgreeUnderRandomEditing(UINT buckets, unsigned seed) {
  typedef CMap<K, K, DWORD, DWORD> Ours;
  typedef sxf_chain::CMap<K, K, DWORD, DWORD> Chain;
  Ours ours;
  Chain chain;
  if (buckets != 0) {
    ours.InitHashTable(buckets);
    chain.InitHashTable(buckets);
  }
  ASSERT_EQ(ours.GetHashTableSize(), chain.GetHashTableSize());
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> op(0, 9);
  for (int step = 0; step < 6000; ++step) {
    const K key = RandomKey<K>(rng);
    const DWORD value = static_cast<DWORD>(step);
    switch (op(rng)) {
      case 0:
      case 1:
      case 2:
        ours.SetAt(key, value);
        chain.SetAt(key, value);
        break;
      case 3:
        ours[key] += 1;
        chain[key] += 1;
        break;
      case 4:
      case 5:
        ASSERT_EQ(ours.RemoveKey(key), chain.RemoveKey(key)) << step;
        break;
      case 6: {
        DWORD a = 7, b = 7;
        ASSERT_EQ(ours.Lookup(key, a), chain.Lookup(key, b)) << step;
        ASSERT_EQ(a, b);
        DWORD* pa = ours.PLookupValue(key);
        DWORD* pb = chain.PLookupValue(key);
        ASSERT_EQ(pa == nullptr, pb == nullptr);
        if (pa != nullptr) {
          ASSERT_EQ(*pa, *pb);
        }
        break;
      }
      case 7: {
        // Removing the entry the pass just returned, as the database's commit does.
        std::vector<K> removed[2];
        POSITION p = ours.GetStartPosition();
        while (p != nullptr) {
          K k{};
          DWORD v = 0;
          ours.GetNextAssoc(p, k, v);
          if (v % 3 == 0) {
            ours.RemoveKey(k);
            removed[0].push_back(k);
          }
        }
        POSITION q = chain.GetStartPosition();
        while (q != nullptr) {
          K k{};
          DWORD v = 0;
          chain.GetNextAssoc(q, k, v);
          if (v % 3 == 0) {
            chain.RemoveKey(k);
            removed[1].push_back(k);
          }
        }
        ASSERT_EQ(removed[0], removed[1]) << step;
        break;
      }
      case 8:
        if (step % 1500 == 8) {
          ours.RemoveAll();
          chain.RemoveAll();
        }
        break;
      default:
        break;
    }
    ASSERT_EQ(ours.GetCount(), chain.GetCount()) << step;
    ASSERT_EQ(ours.IsEmpty(), chain.IsEmpty());
    if (step % 50 == 0) {
      auto a = Pass<Ours, K, DWORD>(ours);
      auto b = Pass<Chain, K, DWORD>(chain);
      ASSERT_EQ(a, b) << "pass order differs at step " << step;
    }
  }
  auto a = Pass<Ours, K, DWORD>(ours);
  EXPECT_EQ(a, (Pass<Chain, K, DWORD>(chain)));
  EXPECT_FALSE(a.empty());
}

TEST(ChainMap, AgreesWithCMapOnAnswersAndPassOrderForHandleKeys) {
  AgreeUnderRandomEditing<DWORD>(773, 1);  // the handle and copy maps
  AgreeUnderRandomEditing<DWORD>(7, 2);    // the set definition map
  AgreeUnderRandomEditing<DWORD>(0, 3);    // default size
}

TEST(ChainMap, SignedAndEnumerationKeysHashAsTheir32BitPattern) {
  AgreeUnderRandomEditing<int>(773, 4);
  CMap<int, int, int, int> ours;
  sxf_chain::CMap<int, int, int, int> chain;
  for (int key : {-1, 0, 15, 16, 12368, -16}) {
    ours.SetAt(key, key);
    chain.SetAt(key, key);
  }
  EXPECT_EQ((Pass<decltype(ours), int, int>(ours)), (Pass<decltype(chain), int, int>(chain)));

  CMap<SXF_TTL_ID, SXF_TTL_ID, int, int> titles;
  sxf_chain::CMap<SXF_TTL_ID, SXF_TTL_ID, int, int> chainTitles;
  for (SXF_TTL_ID id : {SXF_TTL_OFFICE_NAME, SXF_TTL_PROJECT_NAME, SXF_TTL_DATE, SXF_TTL_SCALE}) {
    titles.SetAt(id, static_cast<int>(id));
    chainTitles.SetAt(id, static_cast<int>(id));
  }
  EXPECT_EQ((Pass<decltype(titles), SXF_TTL_ID, int>(titles)),
            (Pass<decltype(chainTitles), SXF_TTL_ID, int>(chainTitles)));
}

TEST(ChainMap, BucketCountChangesOnlyWhileEmptyAndValuesStayPut) {
  sxf_chain::CMap<DWORD, DWORD, DWORD, DWORD> chain;
  chain.InitHashTable(773);
  chain.SetAt(5, 50);
  chain.InitHashTable(7);  // ignored: not empty
  EXPECT_EQ(773u, chain.GetHashTableSize());
  DWORD* five = chain.PLookupValue(5);
  for (DWORD k = 6; k < 5000; ++k) chain.SetAt(k, k);
  EXPECT_EQ(five, chain.PLookupValue(5));  // entries never move
  EXPECT_EQ(50u, *five);
  chain.RemoveAll();
  EXPECT_TRUE(chain.IsEmpty());
  EXPECT_EQ(nullptr, chain.GetStartPosition());
  chain.InitHashTable(7);
  EXPECT_EQ(7u, chain.GetHashTableSize());
}

}  // namespace
