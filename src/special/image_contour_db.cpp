// The database side of image and contour attributes: attaching them to raster, bitmap and
// contour records, and reading them back by handle.
#include "attrdb/attrdb.h"
#include "host/environ_obj.h"
#include "host/zcdb_elm.h"
#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "model/figure.h"

namespace {

// A null argument stands for an empty text.
bool SameText(const CString& stored, const char* wanted) {
  return stored.Compare(wanted != nullptr ? wanted : "") == 0;
}

}  // namespace

int SxfZCdbAttrDB::SetImageElm(const char* name, ZCdbRecBase* rec) {
  if (name == nullptr || rec == nullptr || rec->IsElm() == 0) return 0;
  const ZGElm* element = static_cast<ZCdbElm*>(rec)->GetZGElm();
  if (element == nullptr) return 0;
  CString path;
  if (element->GetElmType() == ZGELM_RASTER) {
    path = static_cast<const ZRaster*>(element)->GetOrgFilePath();
  } else if (element->GetElmType() == ZGELM_BITMAP) {
    path = static_cast<const ZBitmap*>(element)->GetOrgFilePath();
  } else {
    return 0;
  }
  const CString fullName = m_environ->GetFileNameFromRelativePath(path);

  SxfZCdbFigure fig;
  if (GetRecFigure(rec->GetHandle(), fig) != 0) {
    CString zukeiName, value;
    // Setting what is already there would only add an undo step.
    if (fig.GetImageName(zukeiName, value) != 0 && zukeiName == name && value == fullName) {
      return 1;
    }
  }
  fig.SetImageName(name, fullName);
  return SetRecFigure(rec, fig) != ZCDB_NO_HANDLE ? 1 : 0;
}

int SxfZCdbAttrDB::GetImageName(DWORD handle, CString& zukeiName, CString& value) {
  ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  if (entry == nullptr || entry->figure == nullptr) return 0;
  return entry->figure->GetImageName(zukeiName, value);
}

int SxfZCdbAttrDB::SetContour(const char* zukeiName, const char* value, const char* unit, ZCdbRecBase* rec) {
  if (rec == nullptr || rec->GetHandle() == ZCDB_NO_HANDLE || rec->GetRecKind() != ZCDB_KIND_CONTOUR) {
    return 0;
  }
  SxfZCdbFigure fig;
  if (GetRecFigure(rec->GetHandle(), fig) != 0) {
    CString oldName, oldValue, oldUnit;
    if (fig.GetContour(oldName, oldValue, oldUnit) != 0 && SameText(oldName, zukeiName) &&
        SameText(oldValue, value) && SameText(oldUnit, unit)) {
      return 1;
    }
  }
  fig.SetContour(zukeiName, value, unit);
  return _SetRecFigure(rec, fig, 1) != nullptr ? 1 : 0;
}

int SxfZCdbAttrDB::GetContour(DWORD handle, CString& zukeiName, CString& value, CString& unit) {
  SxfZCdbFigure fig;
  if (GetRecFigure(handle, fig) == 0) return 0;
  return fig.GetContour(zukeiName, value, unit);
}

int SxfZCdbAttrDB::SetContourElm(const char* zukeiName, const char* value, ZCdbRecBase* rec) {
  return SetContour(zukeiName, value, nullptr, rec);
}

int SxfZCdbAttrDB::GetContourElm(DWORD handle, CString& zukeiName, CString& value) {
  CString unit;
  return GetContour(handle, zukeiName, value, unit);
}
