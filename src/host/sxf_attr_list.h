// CSxfAttrList: the SXF attribute-list library's unit conversion service.
//
// Built from the environment (kept, not owned). CONVVAL converts a value in place between two
// units of one quantity category. Known category: "LEN" (length) with the units "km", "m",
// "cm" and "mm" (and "um" for micrometres). Names compare exactly (case-sensitive), as SXF
// writes them.
#pragma once

#include "platform/visibility.h"

class CEnvironObj;

class SXF_HOST_API CSxfAttrList {
 public:
  explicit CSxfAttrList(const CEnvironObj* env);
  virtual ~CSxfAttrList();

  // Converts value from unit `from` to unit `to` of category. Returns 1 and sets value on
  // success; returns 0 and leaves value alone when a text is null or the category or either
  // unit is unknown.
  int CONVVAL(const char* category, const char* from, const char* to, double& value) const;

  const CEnvironObj* GetEnviron() const { return env_; }

 private:
  const CEnvironObj* env_;
};
