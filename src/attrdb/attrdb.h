// SxfZCdbAttrDB: the "SXF" attribute database of one drawing.
//
// This header is being built up: the database itself (handle map, targets, set definition
// registry, notifications, undo, copy with targets) is declared by the database work; the
// sections below hold what other parts of the plug-in already define as members of the class.
#pragma once

#include "exports/api.h"
#include "platform/platform.h"
#include "title/title_id.h"

class SXF_API SxfZCdbAttrDB {
 public:
  // ---- title items (defined in title/) ----
  static int GetTitleIdNum();
  static int TitleIdToIndex(SXF_TTL_ID id);
  static SXF_TTL_ID GetTitleId(int index);
  static CString GetTitleIdName(int index);
  static SXF_TTL_ID SrchTitleId(const char* name);

  // ---- special attributes (defined in special/) ----
  static int IsDefAttrAndStrType(const char* name);

  // ---- database operations used by the data model (bodies come with the database) ----
};
