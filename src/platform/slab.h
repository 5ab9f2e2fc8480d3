// Small-object memory for the objects a drawing holds by the million: figures and their parts,
// handle-map entries, list storage and text buffers.
//
// SlabAllocate and SlabFree serve blocks of up to kSlabMaxBlock bytes from size classes of 8-byte
// steps, carved from 2 MiB chunks that the system is asked to back with huge pages; larger
// blocks go to malloc. A block is freed with the size it was allocated with (class-specific
// sized delete, a list's capacity, a text's capacity); a freed block goes back to its class and
// is handed out again, so any object can be deleted on its own at any time, on any thread.
// Chunks are never given back to the system: the memory of a closed drawing serves the next one.
//
// Cost: SlabAllocate and SlabFree take their class's lock (a few tens of cycles, about what a
// malloc costs); a block has no header, so an object costs its size rounded up to 8 bytes, and
// a drawing's fresh memory costs one page fault per 2 MiB where the system grants huge pages.
//
// SlabCache serves one read: it takes blocks from the classes in batches and hands them out
// without any lock or atomic operation. It belongs to the object that owns the read
// (ArchiveContext), never to a thread, and gives back what it did not hand out when it goes.
// Blocks it handed out are ordinary blocks: SlabFree takes them back.
//
// Under AddressSanitizer every block comes from malloc and goes back to free, so that leaks and
// misuse stay visible to the sanitizer.
#pragma once

#include <cstddef>
#include <new>

#include "platform/visibility.h"

#if defined(__SANITIZE_ADDRESS__)
#define SXF_SLAB_USES_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SXF_SLAB_USES_MALLOC 1
#endif
#endif

inline constexpr size_t kSlabGrain = 8;
inline constexpr size_t kSlabMinBlock = 16;   // a free block holds two links
inline constexpr size_t kSlabMaxBlock = 512;  // larger blocks come from malloc
inline constexpr size_t kSlabClasses = kSlabMaxBlock / kSlabGrain + 1;
inline constexpr size_t kSlabBatch = 64;  // blocks a cache takes from a class at once

// The class of a block of size bytes (size <= kSlabMaxBlock): its size rounded up to 8 bytes and
// to at least kSlabMinBlock, divided by 8.
inline size_t SlabClassOf(size_t size) {
  return size <= kSlabMinBlock ? kSlabMinBlock / kSlabGrain : (size + kSlabGrain - 1) / kSlabGrain;
}

// A block of at least size bytes, aligned to 8 bytes; raises std::bad_alloc when there is none.
SXF_PLATFORM_API void* SlabAllocate(size_t size);
// Gives back a block from SlabAllocate or SlabCache::Allocate; size is what was asked for. Null is
// ignored.
SXF_PLATFORM_API void SlabFree(void* block, size_t size) noexcept;

class SXF_PLATFORM_API SlabCache {
 public:
  SlabCache();
  ~SlabCache();
  SlabCache(const SlabCache&) = delete;
  SlabCache& operator=(const SlabCache&) = delete;

  // As SlabAllocate, without taking a lock while the cache holds blocks of the class.
  void* Allocate(size_t size) {
#if defined(SXF_SLAB_USES_MALLOC)
    return SlabAllocate(size);
#else
    if (size > kSlabMaxBlock) return SlabAllocate(size);
    Class& c = classes_[SlabClassOf(size)];
    if (c.count > 0) return c.blocks[--c.count];
    const size_t bytes = SlabClassOf(size) * kSlabGrain;
    if (static_cast<size_t>(c.end - c.next) >= bytes) {
      void* block = c.next;
      c.next += bytes;
      return block;
    }
    return Refill(SlabClassOf(size));
#endif
  }

 private:
  struct Class {
    size_t count = 0;      // freed blocks held, in blocks[0, count)
    char* next = nullptr;  // fresh memory [next, end)
    char* end = nullptr;
    void* blocks[kSlabBatch];
  };
  // Takes a batch of blocks or a range of fresh memory for the class and hands out one block.
  void* Refill(size_t cls);

  [[maybe_unused]] Class* classes_;  // kSlabClasses of them (unused where blocks come from malloc)
};

// Declares, inside a class, that its objects (and those of classes derived from it) live in slab
// memory: new and delete of the class go through SlabAllocate and the sized SlabFree. Placement
// new keeps working.
#define SXF_SLAB_ALLOCATED                                              \
  static void* operator new(std::size_t size) {                         \
    return SlabAllocate(size);                                          \
  }                                                                     \
  static void* operator new(std::size_t, void* where) noexcept {        \
    return where;                                                       \
  }                                                                     \
  static void operator delete(void* block, std::size_t size) noexcept { \
    SlabFree(block, size);                                              \
  }                                                                     \
  static void operator delete(void*, void*) noexcept {}

// Makes a T in memory from cache (the global slab when cache is null). T must be a class whose
// operator delete gives its blocks back with SlabFree, so that delete takes the object back.
template <class T>
T* NewFromSlab(SlabCache* cache) {
  void* memory = cache != nullptr ? cache->Allocate(sizeof(T)) : SlabAllocate(sizeof(T));
  try {
    return ::new (memory) T();
  } catch (...) {
    SlabFree(memory, sizeof(T));
    throw;
  }
}
