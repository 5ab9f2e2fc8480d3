// Slab memory: every live block is its own (no two overlap) and keeps what was written into it
// while other blocks of its class come and go, whichever way they were taken (the global
// classes or a read's cache) and given back (on this thread or another).
#include "platform/slab.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

struct Block {
  unsigned char* p;
  size_t size;
  unsigned char mark;
};

void Fill(const Block& b) {
  std::memset(b.p, b.mark, b.size);
}

// Every block still holds its mark, and no two blocks share a byte.
void ExpectIntact(std::vector<Block> blocks) {
  for (const Block& b : blocks) {
    for (size_t i = 0; i < b.size; ++i) {
      ASSERT_EQ(b.p[i], b.mark) << "block of " << b.size << " bytes changed at byte " << i;
    }
  }
  std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.p < b.p; });
  for (size_t i = 1; i < blocks.size(); ++i) {
    ASSERT_LE(reinterpret_cast<uintptr_t>(blocks[i - 1].p) + blocks[i - 1].size,
              reinterpret_cast<uintptr_t>(blocks[i].p))
        << "blocks of " << blocks[i - 1].size << " and " << blocks[i].size << " bytes overlap";
  }
}

// Takes and gives back blocks of every size class (and a few above them) at random, from the
// global classes and from cache by turns, keeping about half of them alive.
std::vector<Block> Churn(SlabCache* cache, unsigned seed, int steps) {
  std::mt19937 random(seed);
  std::vector<Block> live;
  for (int step = 0; step < steps; ++step) {
    if (!live.empty() && random() % 2 == 0) {
      const size_t k = random() % live.size();
      SlabFree(live[k].p, live[k].size);
      live[k] = live.back();
      live.pop_back();
      continue;
    }
    const size_t size = 1 + random() % (kSlabMaxBlock + 64);
    void* p = (cache != nullptr && step % 2 == 0) ? cache->Allocate(size) : SlabAllocate(size);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % kSlabGrain, 0u);
    live.push_back({static_cast<unsigned char*>(p), size, static_cast<unsigned char>(random())});
    Fill(live.back());
  }
  return live;
}

TEST(Slab, LiveBlocksNeverShareMemoryWhateverWayTheyCameAndWent) {
  std::vector<Block> kept;
  {
    SlabCache cache;
    kept = Churn(&cache, 1, 20000);
    ASSERT_NO_FATAL_FAILURE(ExpectIntact(kept));
  }
  // The cache is gone; what it handed out stays valid, and what it held goes back to the classes
  // without reaching a live block.
  std::vector<Block> more = Churn(nullptr, 2, 20000);
  more.insert(more.end(), kept.begin(), kept.end());
  ASSERT_NO_FATAL_FAILURE(ExpectIntact(more));

  // Blocks taken on two threads at once, each through a cache of its own, then given back on the
  // other thread while the first thread takes more.
  std::vector<Block> first, second;
  std::thread a([&] {
    SlabCache cache;
    first = Churn(&cache, 3, 20000);
  });
  std::thread b([&] {
    SlabCache cache;
    second = Churn(&cache, 4, 20000);
  });
  a.join();
  b.join();
  std::vector<Block> all = first;
  all.insert(all.end(), second.begin(), second.end());
  all.insert(all.end(), more.begin(), more.end());
  ASSERT_NO_FATAL_FAILURE(ExpectIntact(all));
  std::thread freeing([&] {
    for (const Block& blk : first) SlabFree(blk.p, blk.size);
  });
  std::vector<Block> third = Churn(nullptr, 5, 20000);
  freeing.join();
  third.insert(third.end(), second.begin(), second.end());
  third.insert(third.end(), more.begin(), more.end());
  ASSERT_NO_FATAL_FAILURE(ExpectIntact(third));
  for (const Block& blk : third) SlabFree(blk.p, blk.size);
}

}  // namespace
