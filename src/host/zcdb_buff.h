// ZCdbBuff: an ordered list of record pointers, as the host database hands records around
// (copy buffer, element lists, area-control lists). It does not own the records; entries may be
// null.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/visibility.h"

class ZCdbRecBase;

class SXF_HOST_API ZCdbBuff {
 public:
  ZCdbBuff() = default;
  virtual ~ZCdbBuff();
  ZCdbBuff(const ZCdbBuff&) = default;
  ZCdbBuff& operator=(const ZCdbBuff&) = default;

  int GetNum() const { return static_cast<int>(recs_.size()); }
  // The record at index, or null for an index out of range.
  ZCdbRecBase* GetPtr(int index) const {
    return index >= 0 && index < GetNum() ? recs_[static_cast<size_t>(index)] : nullptr;
  }
  // Appends rec (null allowed) and returns its index.
  int Add(ZCdbRecBase* rec) {
    recs_.push_back(rec);
    return GetNum() - 1;
  }
  void SetAt(int index, ZCdbRecBase* rec) {
    if (index >= 0 && index < GetNum()) recs_[static_cast<size_t>(index)] = rec;
  }
  void RemoveAll() { recs_.clear(); }

 private:
  std::vector<ZCdbRecBase*> recs_;
};
