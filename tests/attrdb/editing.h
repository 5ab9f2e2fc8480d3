// Helpers for tests that drive a drawing through a user's editing work: reading what a caller
// sees of a record and running undo steps.
#pragma once

#include <string>
#include <vector>

#include "attrdb/drawing.h"

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

// The reference id of the first set reference of fig, or "" when it has none.
inline std::string FirstRefId(const SxfZCdbFigure& fig) {
  const SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
  if (atrf == nullptr || atrf->GetAttrSetRefCnt() == 0) return "";
  return atrf->GetAttrSetRefData(0)->GetRefId();
}
