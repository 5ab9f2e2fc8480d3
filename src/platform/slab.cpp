#include "platform/slab.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

#include "platform/huge_pages.h"

#if !defined(SXF_SLAB_USES_MALLOC)

namespace {

constexpr size_t kChunkBytes = kHugePageBytes;
constexpr size_t kRangeBytes = size_t{16} << 10;  // fresh memory a class takes at once

// A lock held for a few instructions at a time, so waiting spins (and yields when it lasts).
class SpinLock {
 public:
  void lock() noexcept {
    for (int spins = 0; locked_.exchange(true, std::memory_order_acquire); ++spins) {
      if (spins >= 64) std::this_thread::yield();
    }
  }
  void unlock() noexcept { locked_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> locked_{false};
};

class Guard {
 public:
  explicit Guard(SpinLock& lock) : lock_(lock) { lock_.lock(); }
  ~Guard() { lock_.unlock(); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  SpinLock& lock_;
};

// Freed blocks are kept by address in arrays, never linked through their own memory: handing a
// block out again then touches nothing but the array, and a cache takes a whole array at once.
struct FreeArray {
  FreeArray* next = nullptr;
  size_t count = 0;
  void* blocks[kSlabBatch];
};

struct ClassHeap {
  SpinLock lock;
  FreeArray* current = nullptr;  // where frees go and the global path takes from
  FreeArray* full = nullptr;     // arrays filled up, linked through next
  FreeArray* empty = nullptr;    // arrays kept for reuse
  void* loose = nullptr;         // freed blocks linked through their first word, when no array was to be had
  void* spare = nullptr;         // ranges of fresh memory given back by caches: {end, next spare}
  char* next = nullptr;          // fresh memory [next, end)
  char* end = nullptr;
};

struct Heap {
  ClassHeap classes[kSlabClasses];
  SpinLock chunkLock;
  char* chunkNext = nullptr;
  char* chunkEnd = nullptr;
};

// Constant-initialized: usable from any static constructor, on any thread.
Heap g_heap;

void*& Link(void* block, int word) {
  return static_cast<void**>(block)[word];
}

// A drawing's fresh memory costs a fault per 2 MiB where the system grants huge pages.
char* NewChunk() {
  return static_cast<char*>(HugePagesAllocate(kChunkBytes));
}

// A range of at least bytes of fresh memory for a class whose lock the caller holds.
void TakeRange(ClassHeap& c, size_t bytes, char*& next, char*& end) {
  if (c.spare != nullptr) {
    void* range = c.spare;
    c.spare = Link(range, 1);
    next = static_cast<char*>(range);
    end = static_cast<char*>(Link(range, 0));
    return;
  }
  const size_t want = bytes > kRangeBytes ? bytes : kRangeBytes;
  Guard guard(g_heap.chunkLock);
  if (static_cast<size_t>(g_heap.chunkEnd - g_heap.chunkNext) < want) {
    // What is left of the old chunk is too small to serve anyone; it stays unused.
    g_heap.chunkNext = NewChunk();
    g_heap.chunkEnd = g_heap.chunkNext + kChunkBytes;
  }
  next = g_heap.chunkNext;
  end = next + want;
  g_heap.chunkNext = end;
}

// Gives a range of fresh memory back to its class (whose lock the caller holds), when it holds a
// block at least.
void KeepRange(ClassHeap& c, size_t bytes, char* next, char* end) {
  if (static_cast<size_t>(end - next) < bytes) return;
  Link(next, 0) = end;
  Link(next, 1) = c.spare;
  c.spare = next;
}

// Files a freed block with its class, whose lock the caller holds.
void Keep(ClassHeap& c, void* block) noexcept {
  if (c.current == nullptr || c.current->count == kSlabBatch) {
    if (c.current != nullptr) {
      c.current->next = c.full;
      c.full = c.current;
      c.current = nullptr;
    }
    if (c.empty != nullptr) {
      c.current = c.empty;
      c.empty = c.empty->next;
    } else {
      void* memory = std::malloc(sizeof(FreeArray));
      if (memory == nullptr) {
        Link(block, 0) = c.loose;
        c.loose = block;
        return;
      }
      c.current = ::new (memory) FreeArray;
    }
    c.current->next = nullptr;
    c.current->count = 0;
  }
  c.current->blocks[c.current->count++] = block;
}

}  // namespace

void* SlabAllocate(size_t size) {
  if (size <= kSlabMaxBlock) {
    const size_t cls = SlabClassOf(size);
    const size_t bytes = cls * kSlabGrain;
    ClassHeap& c = g_heap.classes[cls];
    Guard guard(c.lock);
    if ((c.current == nullptr || c.current->count == 0) && c.full != nullptr) {
      if (c.current != nullptr) {
        c.current->next = c.empty;
        c.empty = c.current;
      }
      c.current = c.full;
      c.full = c.full->next;
    }
    if (c.current != nullptr && c.current->count > 0) return c.current->blocks[--c.current->count];
    if (c.loose != nullptr) {
      void* block = c.loose;
      c.loose = Link(block, 0);
      return block;
    }
    if (static_cast<size_t>(c.end - c.next) < bytes) TakeRange(c, bytes, c.next, c.end);
    void* block = c.next;
    c.next += bytes;
    return block;
  }
  void* block = std::malloc(size != 0 ? size : 1);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void SlabFree(void* block, size_t size) noexcept {
  if (block == nullptr) return;
  if (size <= kSlabMaxBlock) {
    ClassHeap& c = g_heap.classes[SlabClassOf(size)];
    Guard guard(c.lock);
    Keep(c, block);
    return;
  }
  std::free(block);
}

SlabCache::SlabCache() : classes_(new Class[kSlabClasses]) {}

SlabCache::~SlabCache() {
  for (size_t cls = SlabClassOf(kSlabMinBlock); cls < kSlabClasses; ++cls) {
    Class& mine = classes_[cls];
    const size_t bytes = cls * kSlabGrain;
    if (mine.count == 0 && static_cast<size_t>(mine.end - mine.next) < bytes) continue;
    ClassHeap& c = g_heap.classes[cls];
    Guard guard(c.lock);
    while (mine.count > 0) Keep(c, mine.blocks[--mine.count]);
    KeepRange(c, bytes, mine.next, mine.end);
  }
  delete[] classes_;
}

void* SlabCache::Refill(size_t cls) {
  Class& mine = classes_[cls];
  const size_t bytes = cls * kSlabGrain;
  {
    ClassHeap& c = g_heap.classes[cls];
    Guard guard(c.lock);
    FreeArray* from = c.full;
    if (from != nullptr) {
      c.full = from->next;
    } else if (c.current != nullptr && c.current->count > 0) {
      from = c.current;
      c.current = nullptr;
    }
    if (from != nullptr) {
      std::memcpy(mine.blocks, from->blocks, from->count * sizeof(void*));
      mine.count = from->count;
      from->count = 0;
      from->next = c.empty;
      c.empty = from;
    } else if (static_cast<size_t>(c.end - c.next) >= bytes) {
      // The rest of the class's fresh memory; what the cache had left of its own is smaller than
      // a block.
      mine.next = c.next;
      mine.end = c.end;
      c.next = c.end = nullptr;
    } else {
      TakeRange(c, bytes, mine.next, mine.end);
    }
  }
  if (mine.count > 0) return mine.blocks[--mine.count];
  void* block = mine.next;
  mine.next += bytes;
  return block;
}

#else  // SXF_SLAB_USES_MALLOC

void* SlabAllocate(size_t size) {
  void* block = std::malloc(size != 0 ? size : 1);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void SlabFree(void* block, size_t) noexcept {
  std::free(block);
}

SlabCache::SlabCache() : classes_(nullptr) {}
SlabCache::~SlabCache() = default;

void* SlabCache::Refill(size_t) {
  return nullptr;
}

#endif
