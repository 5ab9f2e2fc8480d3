#include "attrdb/handle_map_entry.h"

#include <new>

ZCDB_SXFATTR_MAP* MakeEntry(DWORD flags, ZCdbRecBase* rec, std::unique_ptr<SxfZCdbFigure> figure,
                            SlabCache* cache) {
  void* memory =
      cache != nullptr ? cache->Allocate(sizeof(ZCDB_SXFATTR_MAP)) : SlabAllocate(sizeof(ZCDB_SXFATTR_MAP));
  return ::new (memory) ZCDB_SXFATTR_MAP{flags, rec, figure.release()};
}

void DestroyEntry(ZCDB_SXFATTR_MAP* entry) {
  if (entry == nullptr) return;
  delete entry->figure;
  SlabFree(entry, sizeof(ZCDB_SXFATTR_MAP));
}
