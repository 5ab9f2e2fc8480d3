#include "host/zgelm.h"

#include <climits>
#include <cmath>

#include "host/gdi.h"
#include "host/matrix.h"

int GPt::ToInt(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::round(v);  // halves away from zero
  if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(r);
}

ZGElm::~ZGElm() = default;

void ZGDraw(const ZGElm& element, CDC& dc, const Matrix& matrix) {
  dc.RecordDraw(element, matrix);
}
