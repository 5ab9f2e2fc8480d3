#include "attrdb/setdef_name_index.h"

#include "model/attr_set_def.h"
#include "platform/map_hash.h"

namespace {

// Names may hold zero bytes, so the key is the whole text.
std::string Key(const CString& name) {
  return std::string(static_cast<const char*>(name), static_cast<size_t>(name.GetLength()));
}

}  // namespace

SetDefNameIndex::SetDefNameIndex(const Registry& registry) : registry_(registry) {
  POSITION pos = registry.GetStartPosition();
  while (pos != nullptr) {
    unsigned int id = 0;
    SxfZCdbAttrSetDef* def = nullptr;
    registry.GetNextAssoc(pos, id, def);
    if (def != nullptr) ids_[Key(def->name)].push_back(id);
  }
}

const std::vector<unsigned int>* SetDefNameIndex::Find(const CString& name) const {
  const auto found = ids_.find(Key(name));
  return found != ids_.end() ? &found->second : nullptr;
}

void SetDefNameIndex::Added(const CString& name, unsigned int id) {
  std::vector<unsigned int>& ids = ids_[Key(name)];
  const UINT bucket = Bucket(id);
  auto at = ids.begin();
  while (at != ids.end() && Bucket(*at) < bucket) ++at;
  ids.insert(at, id);
}

UINT SetDefNameIndex::Bucket(unsigned int id) const {
  return sxf_detail::MfcHashKey(id) % registry_.GetHashTableSize();
}
