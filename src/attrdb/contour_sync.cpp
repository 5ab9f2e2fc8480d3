#include "attrdb/contour_sync.h"

#include <climits>
#include <cstdlib>

#include "host/sxf_attr_list.h"
#include "host/zcdb_contour.h"
#include "model/atru.h"

namespace {

ZCdbContour* AsContour(ZCdbRecBase* rec) {
  return rec != nullptr && rec->GetRecKind() == ZCDB_KIND_CONTOUR ? static_cast<ZCdbContour*>(rec) : nullptr;
}

// The value text of an elevation, with as many decimals as the text it replaces.
CString ContourValueText(double elevation, int decimals) {
  CString text;
  if (decimals <= 0) {
    // The small nudge keeps an elevation stored as 7.9999999999 from being cut down to 7.
    double nudged = elevation >= 0 ? elevation + 0.000000001 : elevation - 0.000000001;
    // Elevations beyond the int range cannot be written with "%d"; they are clamped.
    if (nudged >= static_cast<double>(INT_MAX)) nudged = INT_MAX;
    if (nudged <= static_cast<double>(INT_MIN)) nudged = INT_MIN;
    text.Format("%d", static_cast<int>(nudged));
  } else {
    text.Format("%.*f", decimals, elevation);
  }
  return text;
}

}  // namespace

void StoreContourElevation(ZCdbRecBase* rec, const SxfZCdbFigure& fig, const CSxfAttrList& units) {
  ZCdbContour* contour = AsContour(rec);
  CString zukeiName, value, unit;
  if (contour == nullptr || fig.GetContour(zukeiName, value, unit) == 0) return;
  double elevation = std::atof(value);
  if (!unit.IsEmpty()) units.CONVVAL("LEN", unit, "m", elevation);
  contour->SetHyoko(elevation);
}

void RefreshContourValue(ZCdbRecBase* rec, SxfZCdbFigure& fig) {
  ZCdbContour* contour = AsContour(rec);
  CString zukeiName, value, unit;
  if (contour == nullptr || contour->IsHyoko() == 0 || fig.GetContour(zukeiName, value, unit) == 0) return;
  // Only metre values written as one plain number follow the elevation; anything else is the
  // user's own text.
  if (!(unit.IsEmpty() || unit == "m") || value.IsEmpty() || value.Find(' ') >= 0) return;
  const int decimals = SxfZCdbATRU::GetDoubleKeta(value);
  const double elevation = std::atof(contour->GetHyokoStr());
  fig.SetContour(zukeiName, ContourValueText(elevation, decimals), unit);
}

SxfZCdbFigure NewContourFigure(ZCdbRecBase* rec) {
  const ZCdbContour* contour = AsContour(rec);
  CString value;
  value.Format("%.4lf", contour != nullptr && contour->IsHyoko() != 0 ? contour->GetHyoko() : 0.0);
  SxfZCdbFigure fig;
  fig.SetContour("", value, "m");
  return fig;
}

bool ContourElevationText(ZCdbRecBase* rec, CString& elevation) {
  const ZCdbContour* contour = AsContour(rec);
  if (contour == nullptr || contour->IsHyoko() == 0) return false;
  elevation = contour->GetHyokoStr();
  return true;
}
