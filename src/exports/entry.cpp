#include "exports/entry.h"

#include "attrdb/attrdb.h"
#include "exports/record_functions.h"
#include "host/zcdb_rec.h"
#include "model/figure.h"

ZCdbAttrDB* ZCdbAttrDBEntry(CEnvironObj* env) {
  // The database resolves file names and converts units through the environment; without one
  // it could not do either.
  return env != nullptr ? new SxfZCdbAttrDB(*env) : nullptr;
}

int ZCDbAttrFigureSetVer3(ZCdbRecBase* rec, SxfZCdbFigure* fig) {
  int result = 0;
  if (fig != nullptr) {
    result = SXF_SetRecFigure(rec, *fig) != 0 ? 1 : 0;
  } else {
    // Nothing to attach; the answer still tells whether the record belongs to a drawing.
    result = rec != nullptr && rec->GetZCdb() != nullptr ? 1 : 0;
  }
  delete fig;
  return result;
}
