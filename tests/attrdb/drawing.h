// A drawing as a host holds it: a ZCdb with undo, its environment and the "SXF" attribute
// database created through the plug-in's entry function; plus figure builders and helpers that
// read what a caller sees of a record.
#pragma once

#include <string>
#include <vector>

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

  Drawing() { adb = static_cast<SxfZCdbAttrDB*>(db.CreateAttrDB(ZCdbAttrDBEntry, &env)); }

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

// Runs body inside one undo step of the drawing's host.
template <class Body>
void InStep(Drawing& d, Body body) {
  d.db.BeginUndoStep();
  body();
  d.db.EndUndoStep();
}

// What a caller of GetRecFigure sees of rec: whether anything is visible, its width and targets.
struct Seen {
  bool visible = false;
  std::string width;
  std::vector<DWORD> targets;
};

inline Seen See(Drawing& d, DWORD handle) {
  Seen seen;
  SxfZCdbFigure out;
  if (d.adb->GetRecFigure(handle, out) == 0) return seen;
  seen.visible = true;
  seen.width = std::string(Width(out));
  seen.targets = Targets(out);
  return seen;
}

inline Seen See(Drawing& d, ZCdbRecBase* rec) {
  return See(d, rec->GetHandle());
}

// The figure stored for handle as it stands (no consistency pass), or null when the entry holds
// none or there is no entry.
inline const SxfZCdbFigure* Stored(Drawing& d, DWORD handle) {
  POSITION pos = d.adb->GetFirstEntry();
  while (pos != nullptr) {
    DWORD h = 0;
    const SxfZCdbFigure* fig = nullptr;
    d.adb->GetNextEntry(pos, h, fig);
    if (h == handle) return fig;
  }
  return nullptr;
}

// The reference id of the first set reference of fig, or "" when it has none.
inline std::string FirstRefId(const SxfZCdbFigure& fig) {
  const SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
  if (atrf == nullptr || atrf->GetAttrSetRefCnt() == 0) return "";
  return atrf->GetAttrSetRefData(0)->GetRefId();
}
