// CDWordArrayX: the tools library's growable DWORD array with an in-place sort.
//
// It is a CDWordArray (GetCount, Add, operator[], ...) with a virtual destructor and Sort.
#pragma once

#include "platform/carray.h"
#include "platform/visibility.h"

class SXF_HOST_API CDWordArrayX : public CDWordArray {
 public:
  CDWordArrayX() = default;
  ~CDWordArrayX() override;

  // Sorts the values as unsigned numbers: ascending when order is non-zero (callers pass 1),
  // descending when it is 0. Equal values keep no particular order (they are equal).
  void Sort(int order);
};
