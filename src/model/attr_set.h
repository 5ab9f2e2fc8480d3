// SxfZCdbAttrSet: the attribute set record of the oldest files, read into a group. Internal to
// the plug-in: only the old attribute-file reader uses it.
#pragma once

#include "model/attr_grp.h"
#include "platform/cfile.h"

// The attribute set of old files: a group with the set's version and designer. Only the reader of
// old attribute set records uses it.
class SxfZCdbAttrSet : public SxfZCdbAttrGrp {
 public:
  SxfZCdbAttrSet() = default;
  ~SxfZCdbAttrSet() override;

  // Reads an old attribute set record (versions 0 to 2) into this fresh object. 1, or 0 when it
  // does not read (what was read stays).
  int ReadSetRecord(CFile* file);

  CString version;
  CString designer;
};
