// ZCdbContour: a contour record (kind 12), a table (usually of the line elements of one contour)
// that may carry an elevation.
#pragma once

#include "host/zcdb_rec.h"
#include "platform/cstring.h"
#include "platform/visibility.h"

class SXF_HOST_API ZCdbContour : public ZCdbTblBase {
 public:
  // A contour without elevation.
  ZCdbContour() : ZCdbTblBase(ZCDB_KIND_CONTOUR) {}
  explicit ZCdbContour(double elevation);
  ~ZCdbContour() override;

  int IsHyoko() const { return hasHyoko_; }
  // The elevation; 0.0 when there is none.
  double GetHyoko() const { return hasHyoko_ ? hyoko_ : 0.0; }
  // The elevation as text, "%.17g" in the "C" locale, so atof gives back exactly the stored
  // double (12.5 gives "12.5", -7.9999999999 gives "-7.9999999999000002"); empty when the record
  // has no elevation.
  CString GetHyokoStr() const;
  // Sets the elevation; the record carries one from then on.
  void SetHyoko(double elevation);
  void ClearHyoko() { hasHyoko_ = 0; }

  ZCdbRecBase* CloneSelf() const override;

 private:
  int hasHyoko_ = 0;
  double hyoko_ = 0.0;
};
