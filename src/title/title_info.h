// SxfTitleInfo: the whole title block of a drawing as one plain value.
//
// The record owns its strings and holds no pointers into a drawing, so it may be copied and
// assigned freely (member by member). Items that may span several lines hold their lines joined
// by the title line separator "$$". The drawing number and the total number of drawings share
// `drawingNumber`: "number$$total", "number", "$$total" or empty. `year` is a Western year; 0
// means that the title has no date (`month` and `day` are then 1).
#pragma once

#include <cstdint>

#include "platform/cstring.h"
#include "platform/visibility.h"

// Joins the lines of one title text, and separates the drawing number from the total.
inline constexpr const char kSxfTitleLineSeparator[] = "$$";

struct SXF_API SxfTitleInfo {
  CString projectName;
  CString constructionName;
  CString contractClass;
  CString drawingName;
  CString drawingNumber;
  CString drawingType;
  CString scale;
  int32_t year = 0;
  int32_t month = 1;
  int32_t day = 1;
  CString companyName;
  CString officeName;
};
