// TitleRecMap: the host records that show each title item, in line order.
//
// The map holds one array per title item (all eleven are created with the map); position 0 of an
// item's array is line 1. The records are borrowed from the drawing and never deleted; the arrays
// belong to the map and are deleted with it. GetTitleInfo fills such a map, SetTitleInfo takes
// one as the wanted set of title elements.
//
// GetRecArray of a value that is no title item (0, a combination of bits, an unknown value)
// returns a spare empty array of this map, emptied again on every such call: whatever a caller
// puts there is gone at the next call. Lookups cost O(1). Not copyable.
#pragma once

#include "platform/carray.h"
#include "platform/cmap.h"
#include "platform/visibility.h"
#include "title/title_id.h"

class ZCdbRecBase;

typedef CArray<ZCdbRecBase*, ZCdbRecBase*> TitleRecArray;

class SXF_API TitleRecMap {
 public:
  TitleRecMap();
  ~TitleRecMap();
  TitleRecMap(const TitleRecMap&) = delete;
  TitleRecMap& operator=(const TitleRecMap&) = delete;

  // The array of item id; the spare empty array (emptied) for a value that is no item.
  TitleRecArray& GetRecArray(SXF_TTL_ID id);

 private:
  CMap<SXF_TTL_ID, SXF_TTL_ID, TitleRecArray*, TitleRecArray*> m_arrays;
  // Kept per map rather than shared by all maps, so two maps never hand out one object.
  TitleRecArray m_noItem;
};
