// SxfZCdbTargetInfo: the body of a target definition, shared by its class and record files.
//
// The entries live in data[0..count). capacity is the list's capacity as the interface reports
// it: 8 for a new list, raised to the next multiple of 8 when an entry is added to a full list,
// 0 with no storage. The storage underneath (allocated slots) doubles when it runs out, so
// appending n entries one at a time costs O(n) moves, not O(n^2).
#pragma once

#include "model/target.h"
#include "platform/platform.h"

class SxfZCdbTargetInfo {
 public:
  static constexpr int kGrowStep = 8;

  SxfZCdbTargetInfo();
  ~SxfZCdbTargetInfo();
  SxfZCdbTargetInfo(const SxfZCdbTargetInfo&) = delete;
  SxfZCdbTargetInfo& operator=(const SxfZCdbTargetInfo&) = delete;

  // Frees the storage: count and capacity 0.
  void Release();
  // Makes count n: grows the storage to the multiple of 8 that holds n, gives entries that come
  // into use their default value, releases the storage for n of 0 or less.
  void Resize(int n);
  // Appends a copy; a full array grows to the next multiple of 8. Returns the index.
  int Add(const RecTargetData& rec);
  // Removes a valid index; the storage goes with the last entry.
  void Remove(int index);

  RecTargetData* data = nullptr;
  int count = 0;
  int capacity = 0;
  int allocated = 0;
  CString name;
  CString version = "1.0";
  CString designer;

 private:
  // Raises the capacity to newCapacity, reallocating when the storage has no room for it.
  void Grow(int newCapacity);
};
