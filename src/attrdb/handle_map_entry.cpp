#include "attrdb/handle_map_entry.h"

ZCDB_SXFATTR_MAP* MakeEntry(DWORD flags, ZCdbRecBase* rec, std::unique_ptr<SxfZCdbFigure> figure) {
  return new ZCDB_SXFATTR_MAP{flags, rec, figure.release()};
}

void DestroyEntry(ZCDB_SXFATTR_MAP* entry) {
  if (entry == nullptr) return;
  delete entry->figure;
  delete entry;
}
