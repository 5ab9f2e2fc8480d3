// Memory for large tables that are probed at random (the handle map's index, slab chunks).
//
// A table of tens of megabytes probed at random misses the address translation cache on almost
// every probe when it lies in 4 KiB pages. On Linux HugePagesAllocate hands out memory aligned
// to 2 MiB and asks the system to back it with 2 MiB pages, where it grants them (transparent
// huge pages in "madvise" or "always" mode); elsewhere, and under AddressSanitizer, it is
// ordinary heap memory with the heap's alignment. Either way the contents start as zero bytes.
//
// HugePageAllocator gives containers this memory for their allocations of kHugePageBytes or
// more, and the standard allocator's for smaller ones.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/visibility.h"

inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// At least bytes of zeroed memory (aligned to kHugePageBytes where huge pages are asked for);
// raises std::bad_alloc when there is none. Give it back with HugePagesFree and the same bytes.
SXF_PLATFORM_API void* HugePagesAllocate(size_t bytes);
SXF_PLATFORM_API void HugePagesFree(void* memory, size_t bytes) noexcept;

template <class T>
struct HugePageAllocator {
  using value_type = T;
  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n * sizeof(T) < kHugePageBytes) return std::allocator<T>().allocate(n);
    return static_cast<T*>(HugePagesAllocate(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept {
    if (n * sizeof(T) < kHugePageBytes) {
      std::allocator<T>().deallocate(p, n);
    } else {
      HugePagesFree(p, n * sizeof(T));
    }
  }
  template <class U>
  bool operator==(const HugePageAllocator<U>&) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const HugePageAllocator<U>&) const noexcept {
    return false;
  }
};
