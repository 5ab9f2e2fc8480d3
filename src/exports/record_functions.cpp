#include "exports/record_functions.h"

#include "attrdb/attrdb.h"
#include "host/zcdb_rec.h"
#include "model/figure.h"

int SXF_GetRecFigure(ZCdbRecBase* rec, SxfZCdbFigure& fig) {
  if (rec == nullptr) return 0;
  SxfZCdbAttrDB* adb = SXF_GetAttrDB(rec->GetZCdb());
  return adb != nullptr ? adb->GetRecFigure(rec->GetHandle(), fig) : 0;
}

DWORD SXF_SetRecFigure(ZCdbRecBase* rec, const SxfZCdbFigure& fig) {
  if (rec == nullptr || rec->GetZCdb() == nullptr) return 0;
  SxfZCdbAttrDB* adb = SXF_GetAttrDB(rec->GetZCdb());
  return adb != nullptr ? adb->SetRecFigure(rec, fig) : ZCDB_NO_HANDLE;
}

int SXF_DelRecFigure(ZCdbRecBase* rec) {
  if (rec == nullptr) return 0;
  SxfZCdbAttrDB* adb = SXF_GetAttrDB(rec->GetZCdb());
  return adb != nullptr ? adb->DelRecFigure(rec->GetHandle()) : 0;
}

ZCdbRecBase* SXF_GetZCdbRec(ZCdb* db, DWORD handle) {
  SxfZCdbAttrDB* adb = SXF_GetAttrDB(db);
  return adb != nullptr ? adb->GetZCdbRec(handle) : nullptr;
}
