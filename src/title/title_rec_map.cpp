#include "title/title_rec_map.h"

#include "title/title_items.h"

TitleRecMap::TitleRecMap() {
  for (const SxfTitleItem& item : kSxfTitleItems) m_arrays.SetAt(item.id, new TitleRecArray);
}

TitleRecMap::~TitleRecMap() {
  POSITION pos = m_arrays.GetStartPosition();
  while (pos != nullptr) {
    SXF_TTL_ID id = static_cast<SXF_TTL_ID>(0);
    TitleRecArray* records = nullptr;
    m_arrays.GetNextAssoc(pos, id, records);
    delete records;
  }
  m_arrays.RemoveAll();
}

TitleRecArray& TitleRecMap::GetRecArray(SXF_TTL_ID id) {
  TitleRecArray* records = nullptr;
  if (m_arrays.Lookup(id, records) && records != nullptr) return *records;
  m_noItem.RemoveAll();
  return m_noItem;
}
