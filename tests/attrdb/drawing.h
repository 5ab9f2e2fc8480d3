// A drawing as a host holds it: a ZCdb with undo, its environment and the "SXF" attribute
// database created through the plug-in's entry function; plus figure builders.
#pragma once

#include "attrdb/attrdb.h"
#include "exports/entry.h"
#include "host/host.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"
#include "support/test_figures.h"

struct Drawing {
  // The environment outlives the drawing that was built with it.
  CEnvironObj env{"/data"};
  ZCdb db;
  SxfZCdbAttrDB* adb = nullptr;

  Drawing() { adb = static_cast<SxfZCdbAttrDB*>(db.CreateAttrDB(ZCdbAttrDBEntry, env)); }

  // A plain record at the top of the drawing (or below parent).
  ZCdbRecBase* AddPlain(ZCdbTblBase* parent = nullptr) {
    ZCdbRecBase* rec = new ZCdbTbl;
    db.AddRecord(rec, parent);
    return rec;
  }
  ZCdbUndo& Undo() { return *db.GetUndo(); }
};

// The "width" value of a figure made by SetFigure, or "" when it has none.
inline CString Width(const SxfZCdbFigure& fig) {
  const SxfZCdbATRU* attr = fig.FindAttrData("width");
  return attr != nullptr ? attr->value : CString();
}
