// A read-only view of the handle map and the stored title info, for callers that show what a
// database holds without the consistency pass or title refresh of the ordinary getters.
#include "attrdb/attrdb.h"

POSITION SxfZCdbAttrDB::GetFirstEntry() const {
  return m_attrMap.GetStartPosition();
}

void SxfZCdbAttrDB::GetNextEntry(POSITION& pos, DWORD& handle, const SxfZCdbFigure*& fig) const {
  ZCDB_SXFATTR_MAP* entry = nullptr;
  m_attrMap.GetNextAssoc(pos, handle, entry);
  fig = entry != nullptr ? entry->figure : nullptr;
}

const SxfTitleInfo& SxfZCdbAttrDB::GetStoredTitleInfo() const {
  return m_titleInfo;
}
