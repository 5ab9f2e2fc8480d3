// Figure builders and readers shared by the test programs, the plug-in test among them (public
// headers only).
#pragma once

#include <string>
#include <vector>

#include "host/dword_array_x.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"

// An attribute value with just a name and a value.
inline SxfZCdbATRU Attr(const char* name, const char* value) {
  SxfZCdbATRU a;
  a.name = name;
  a.value = value;
  return a;
}

// A figure of one set reference (refId) holding a "width" attribute and one target attribute per
// handle in targets, in order.
inline SxfZCdbFigure SetFigure(const char* refId, const std::vector<DWORD>& targets,
                               const char* width = "1.5") {
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRF);
  SxfZCdbAttrSetRef* ref = fig.ATRF_GetAttr()->AddAttrSetRefData(refId, 1);
  SxfZCdbATRU attr = Attr("width", width);
  attr.type = "LEN";
  attr.unit = "m";
  ref->AddAttrData(attr);
  for (DWORD t : targets) ref->AddTarget(t, "memo");
  return fig;
}

// The target handles of a figure, in tree order.
inline std::vector<DWORD> Targets(const SxfZCdbFigure& fig) {
  CDWordArrayX handles;
  fig.GetTarget(handles);
  return std::vector<DWORD>(handles.GetData(), handles.GetData() + handles.GetCount());
}

// The "width" value of a figure made by SetFigure, or "" when it has none.
inline std::string Width(const SxfZCdbFigure& fig) {
  const SxfZCdbATRU* attr = fig.FindAttrData("width");
  return attr != nullptr ? attr->value.str() : std::string();
}
