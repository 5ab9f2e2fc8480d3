// The static title item operations of the database, answered from the title item table.
#include "attrdb/attrdb.h"
#include "title/title_items.h"

int SxfZCdbAttrDB::GetTitleIdNum() {
  return kSxfTitleItemCount;
}

int SxfZCdbAttrDB::TitleIdToIndex(SXF_TTL_ID id) {
  return TitleItemIndex(id);
}

SXF_TTL_ID SxfZCdbAttrDB::GetTitleId(int index) {
  if (index < 0 || index >= kSxfTitleItemCount) return static_cast<SXF_TTL_ID>(0);
  return kSxfTitleItems[index].id;
}

CString SxfZCdbAttrDB::GetTitleIdName(int index) {
  if (index < 0 || index >= kSxfTitleItemCount) return CString();
  return CString(kSxfTitleItems[index].name);
}

SXF_TTL_ID SxfZCdbAttrDB::SrchTitleId(const char* name) {
  return TitleItemOfName(name);
}
