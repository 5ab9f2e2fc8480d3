// The fixed table of the eleven title items, in their one fixed order.
//
// An item's position in the table is its index (0 to 10). The order is the search order of
// SxfZCdbAttrDB::SrchTitleId and the order in which the title block is visited item by item.
// The table is constant; nothing is added at run time. Internal to the plug-in: callers outside
// it use the static title operations of SxfZCdbAttrDB (attrdb/title_ids.cpp).
#pragma once

#include "title/title_id.h"
#include "title/title_info.h"

struct SxfTitleItem {
  SXF_TTL_ID id;
  const char* name;  // attribute name of the item's elements, Shift-JIS
  int multiLine;     // 1 when the item may be shown on more than one line
  // The string field of SxfTitleInfo that holds the item, or null for the items that are not a
  // plain string there (drawing number, total number of drawings, date).
  CString SxfTitleInfo::*field;
};

inline constexpr int kSxfTitleItemCount = 11;

extern const SxfTitleItem kSxfTitleItems[kSxfTitleItemCount];

// The index of the entry whose value is exactly id, or -1 (0, combinations, unknown values).
int TitleItemIndex(SXF_TTL_ID id);
// The table entry whose value is exactly id, or null.
const SxfTitleItem* FindTitleItem(SXF_TTL_ID id);
// The first item, in table order, whose name is a byte prefix of name; 0 when none is.
SXF_TTL_ID TitleItemOfName(const char* name);

// The line (0 for the first) that an element's stub name gives within its item. Only the last
// byte tells the line, so an item keeps the order of nine lines at most: "...10" and a bare item
// name (whose last byte is the second byte of a kanji) both read as line 1.
inline int TitleLineIndex(const CString& name) {
  const int length = name.GetLength();
  const char last = length > 0 ? name[length - 1] : '\0';
  return last >= '1' && last <= '9' ? last - '1' : 0;
}
