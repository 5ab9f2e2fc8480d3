#include "host/dword_array_x.h"

#include <algorithm>
#include <functional>

CDWordArrayX::~CDWordArrayX() = default;

void CDWordArrayX::Sort(int order) {
  DWORD* first = GetData();
  DWORD* last = first + GetSize();
  if (order) {
    std::sort(first, last);
  } else {
    std::sort(first, last, std::greater<DWORD>());
  }
}
