// SetDefNameIndex: the set definitions of a registry by name, in the order a pass over the
// registry visits them.
//
// A search by name answers with the first match in pass order; walking the registry for it costs
// time linear in the registry, so reading a section of many definitions took quadratic time
// (50,000 definitions, 1.9 MB: 47 s). The registry hands out its definitions for callers to
// change, so no index can stay true while callers hold them; it is kept only while a
// SxfZCdbAttrDB::SetDefIndexScope lives (section reads, or a host adding many definitions that
// promises not to rename them). It is built from the registry, told of every key added, and
// emptied when the registry is.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

class SxfZCdbAttrSetDef;

class SetDefNameIndex {
 public:
  using Registry = CMap<unsigned int, unsigned int, SxfZCdbAttrSetDef*, SxfZCdbAttrSetDef*>;

  explicit SetDefNameIndex(const Registry& registry);

  // The ids of the definitions named name, in pass order; null when there are none.
  const std::vector<unsigned int>* Find(const CString& name) const;
  // Records id, a key new to the registry, which a map places at the head of its bucket.
  void Added(const CString& name, unsigned int id);
  // Forgets every definition, for a registry that was emptied.
  void Clear() { ids_.clear(); }

 private:
  UINT Bucket(unsigned int id) const;

  const Registry& registry_;
  std::unordered_map<std::string, std::vector<unsigned int>> ids_;
};
