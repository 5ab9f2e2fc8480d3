// SxfZCdbATRS: the definition part of an SXF attribute (name, value type code, unit).
//
// A value type: copying and assignment copy the three texts; IsSame compares them byte for byte.
// A figure may hold one directly, groups collect them from ATRS-marker values (ATRS_BUFF), and
// SxfZCdbATRU adds the value to it.
//
// The free functions below read and write its record in both formats; figures and ATRU records
// embed it.
#pragma once

#include "platform/carchive.h"
#include "platform/cfile.h"
#include "platform/cstring.h"
#include "platform/slab.h"
#include "platform/visibility.h"

class SXF_API SxfZCdbATRS {
 public:
  SXF_SLAB_ALLOCATED

  SxfZCdbATRS() = default;
  SxfZCdbATRS(const SxfZCdbATRS&) = default;
  SxfZCdbATRS(SxfZCdbATRS&&) noexcept = default;
  SxfZCdbATRS& operator=(const SxfZCdbATRS&) = default;
  SxfZCdbATRS& operator=(SxfZCdbATRS&&) noexcept = default;
  virtual ~SxfZCdbATRS();

  // 1 when name, type and unit all equal the other's.
  int IsSame(const SxfZCdbATRS& other) const;

  CString name;  // attribute name
  CString type;  // text code of the value type ("STR", "INN", "LEN", ...)
  CString unit;  // unit of the value; empty for target attributes
};
