// TVector<T>: the ordered growable list under the plug-in's groups and attribute-file records.
//
// It holds, in this order, the grow step (8), the count, the capacity and the element storage.
// - A new list has count 0 and capacity 8; the storage itself is allocated by the first Add, so
//   the many lists that stay empty (groups without sub-groups) cost no memory.
// - Add to a full list raises the capacity to the next multiple of 8 above it (0 or 8 -> 8 or 16,
//   and so on). The storage underneath doubles when it runs out and the elements then move into
//   it, so n appends cost O(n) element moves, not O(n^2): one damaged or hostile record with a
//   hundred thousand attributes in a group must not take minutes to read.
// - RemoveAt moves the later elements up by one; removing the last remaining element releases
//   the storage (count and capacity 0).
// - Truncate(n) keeps the first n elements; Truncate(0) releases the storage.
// Elements live in contiguous storage: pointers and references to them stay valid only until the
// list next changes. With pointer elements the list never deletes what they point to; owners do
// that before they shrink or clear the list.
//
// Not copyable: a copy of a list of owned pointers would alias them, so owners copy explicitly.
#pragma once

#include <cstdlib>
#include <new>
#include <utility>

#include "platform/slab.h"

template <class T>
class TVector {
 public:
  static constexpr int kGrowStep = 8;

  TVector() = default;
  ~TVector() { Release(); }
  TVector(const TVector&) = delete;
  TVector& operator=(const TVector&) = delete;

  int GetGrowStep() const { return growStep_; }
  int GetCount() const { return count_; }
  int GetCapacity() const { return capacity_; }
  bool IsValidIndex(int i) const { return i >= 0 && i < count_; }

  // Unchecked access, as with an array; callers test the index first.
  T& operator[](int i) { return data_[i]; }
  const T& operator[](int i) const { return data_[i]; }
  T* GetData() { return data_; }
  const T* GetData() const { return data_; }

  // Appends a copy of value and returns its index. value may be an element of this list.
  int Add(const T& value) { return Emplace(value); }
  // Appends value, moved; value must not be an element of this list.
  int Add(T&& value) { return Emplace(std::move(value)); }

  // Builds a new last element where it will stay: a default-constructed T is handed to
  // fill(T&), which returns true to keep it. When fill returns false or raises, the element is
  // destroyed and the list is as it was (count and capacity). Readers fill elements this way
  // instead of reading into a temporary and moving it in.
  // cache, when given, is where new storage comes from (the read's, platform/slab.h).
  template <class Fill>
  bool AddBuilt(Fill&& fill, SlabCache* cache = nullptr) {
    if (count_ == allocated_) Reallocate(allocated_ < growStep_ ? growStep_ : allocated_ * 2, cache);
    T* element = ::new (data_ + count_) T();
    bool keep = false;
    try {
      keep = fill(*element);
    } catch (...) {
      element->~T();
      throw;
    }
    if (!keep) {
      element->~T();
      return false;
    }
    Counted();
    return true;
  }

 private:
  template <class V>
  int Emplace(V&& value) {
    if (count_ < allocated_) {
      ::new (data_ + count_) T(std::forward<V>(value));
    } else {
      int allocated = allocated_ < growStep_ ? growStep_ : allocated_ * 2;
      T* data = static_cast<T*>(SlabAllocate(Bytes(allocated)));
      // Copy the new element before the old storage goes away: it may come from there.
      try {
        ::new (data + count_) T(std::forward<V>(value));
      } catch (...) {
        SlabFree(data, Bytes(allocated));
        throw;
      }
      MoveTo(data, allocated);
    }
    return Counted();
  }

  // Counts the element just built at the end.
  int Counted() {
    if (count_ == capacity_) capacity_ = (capacity_ / growStep_ + 1) * growStep_;
    return count_++;
  }

  static size_t Bytes(int allocated) { return sizeof(T) * static_cast<size_t>(allocated); }

  void Reallocate(int allocated, SlabCache* cache) {
    void* data = cache != nullptr ? cache->Allocate(Bytes(allocated)) : SlabAllocate(Bytes(allocated));
    MoveTo(static_cast<T*>(data), allocated);
  }

  // Moves the elements into data, which has room for allocated, and frees the old storage.
  void MoveTo(T* data, int allocated) {
    for (int i = 0; i < count_; ++i) {
      ::new (data + i) T(std::move(data_[i]));
      data_[i].~T();
    }
    SlabFree(data_, Bytes(allocated_));
    data_ = data;
    allocated_ = allocated;
  }

 public:
  // Removes element i; later elements move up by one. No effect for an index out of range.
  void RemoveAt(int i) {
    if (!IsValidIndex(i)) return;
    if (count_ == 1) {
      Release();
      return;
    }
    for (int k = i; k + 1 < count_; ++k) data_[k] = std::move(data_[k + 1]);
    data_[--count_].~T();
  }

  // Keeps the first n elements (no effect when n is not below the count).
  void Truncate(int n) {
    if (n <= 0) {
      Release();
      return;
    }
    while (count_ > n) data_[--count_].~T();
  }

  void RemoveAll() { Truncate(0); }

  // Exchanges the contents of two lists without touching the elements.
  void Swap(TVector& other) {
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
    std::swap(data_, other.data_);
    std::swap(allocated_, other.allocated_);
  }

 private:
  void Release() {
    while (count_ > 0) data_[--count_].~T();
    SlabFree(data_, Bytes(allocated_));
    data_ = nullptr;
    capacity_ = allocated_ = 0;
  }

  int growStep_ = kGrowStep;
  int count_ = 0;
  int capacity_ = kGrowStep;
  T* data_ = nullptr;
  int allocated_ = 0;  // elements the storage has room for; 0 until the first Add
};
