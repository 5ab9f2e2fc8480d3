// CArray, CStringArray and CDWordArray: growable arrays with MFC's interface.
//
// Elements are stored contiguously. As in MFC, the element accessors (GetAt, SetAt, ElementAt,
// operator[]) and RemoveAt raise CInvalidArgException for an index outside the array, and
// InsertAt and SetAtGrow for a negative one; a caller that passes valid indexes never sees it.
// SetAtGrow grows the array to reach the index.
#pragma once

#include <utility>
#include <vector>

#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/types.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
 public:
  CArray() = default;
  virtual ~CArray() = default;
  CArray(const CArray&) = default;
  CArray& operator=(const CArray&) = default;

  int GetSize() const { return static_cast<int>(v_.size()); }
  int GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return v_.empty(); }
  int GetUpperBound() const { return GetSize() - 1; }
  void SetSize(int newSize, int growBy = -1) {
    (void)growBy;
    v_.resize(newSize > 0 ? static_cast<size_t>(newSize) : 0);
  }
  void RemoveAll() { v_.clear(); }
  void FreeExtra() { v_.shrink_to_fit(); }

  const TYPE& GetAt(int i) const { return v_[Checked(i)]; }
  TYPE& ElementAt(int i) { return v_[Checked(i)]; }
  void SetAt(int i, ARG_TYPE e) { v_[Checked(i)] = e; }
  const TYPE& operator[](int i) const { return v_[Checked(i)]; }
  TYPE& operator[](int i) { return v_[Checked(i)]; }
  const TYPE* GetData() const { return v_.data(); }
  TYPE* GetData() { return v_.data(); }

  // e may be an element of this array: it is copied before growing moves the elements.
  void SetAtGrow(int i, ARG_TYPE e) {
    if (i < 0) throw CInvalidArgException();
    if (i < GetSize()) {
      v_[static_cast<size_t>(i)] = e;
      return;
    }
    TYPE copy(e);
    SetSize(i + 1);
    v_[static_cast<size_t>(i)] = std::move(copy);
  }
  int Add(ARG_TYPE e) {
    v_.push_back(e);
    return GetSize() - 1;
  }
  int Append(const CArray& other) {
    int first = GetSize();
    v_.insert(v_.end(), other.v_.begin(), other.v_.end());
    return first;
  }
  void Copy(const CArray& other) { v_ = other.v_; }
  void InsertAt(int i, ARG_TYPE e, int count = 1) {
    if (i < 0 || count < 0) throw CInvalidArgException();
    TYPE copy(e);
    if (i > GetSize()) SetSize(i);
    v_.insert(v_.begin() + i, static_cast<size_t>(count), copy);
  }
  void RemoveAt(int i, int count = 1) {
    if (i < 0 || count < 0 || count > GetSize() - i) throw CInvalidArgException();
    v_.erase(v_.begin() + i, v_.begin() + i + count);
  }

  // Reserves room for n elements without changing the size (not in MFC; used by readers).
  void Reserve(int n) { v_.reserve(n > 0 ? static_cast<size_t>(n) : 0); }

 private:
  size_t Checked(int i) const {
    if (i < 0 || i >= GetSize()) throw CInvalidArgException();
    return static_cast<size_t>(i);
  }

  std::vector<TYPE> v_;
};

class CStringArray : public CArray<CString, const CString&> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
