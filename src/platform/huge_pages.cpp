#include "platform/huge_pages.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "platform/slab.h"  // SXF_SLAB_USES_MALLOC: the sanitizer sees every block

#if !defined(SXF_SLAB_USES_MALLOC) && defined(__linux__)
#include <sys/mman.h>
#define SXF_HUGE_PAGES_MAPPED 1
#endif

namespace {

size_t Rounded(size_t bytes) {
  return (bytes + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
}

}  // namespace

void* HugePagesAllocate(size_t bytes) {
  if (bytes == 0 || bytes > SIZE_MAX - 2 * kHugePageBytes) throw std::bad_alloc();
  const size_t size = Rounded(bytes);
#if defined(SXF_HUGE_PAGES_MAPPED)
  // One huge page more than needed, so that an aligned range lies inside; the rest goes back at
  // once. Fresh mappings read as zero.
  void* mapped =
      mmap(nullptr, size + kHugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + kHugePageBytes - 1) & ~(uintptr_t{kHugePageBytes} - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  const uintptr_t end = aligned + size;
  const uintptr_t mappedEnd = start + size + kHugePageBytes;
  if (mappedEnd > end) munmap(reinterpret_cast<void*>(end), mappedEnd - end);
  void* memory = reinterpret_cast<void*>(aligned);
  madvise(memory, size, MADV_HUGEPAGE);
  return memory;
#else
  void* memory = std::calloc(size, 1);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
#endif
}

void HugePagesFree(void* memory, size_t bytes) noexcept {
  if (memory == nullptr) return;
#if defined(SXF_HUGE_PAGES_MAPPED)
  munmap(memory, Rounded(bytes));
#else
  (void)bytes;
  std::free(memory);
#endif
}
