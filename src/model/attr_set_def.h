// SxfZCdbAttrSetDef: the definition of one SXF attribute set (name, version, designer) and the id
// by which set references name it.
//
// Definitions are plain values: copying copies all five fields, the delete mark included. The
// attribute database owns the definitions of its registry and only ever delete-marks them while
// it lives, so pointers it hands out stay valid. The delete mark is never stored in a record;
// reading a record leaves it as it was.
#pragma once

#include "platform/platform.h"
#include "platform/visibility.h"

class SXF_API SxfZCdbAttrSetDef {
 public:
  SxfZCdbAttrSetDef();
  SxfZCdbAttrSetDef(const SxfZCdbAttrSetDef& other);
  SxfZCdbAttrSetDef& operator=(const SxfZCdbAttrSetDef& other);
  virtual ~SxfZCdbAttrSetDef();

  const char* GetName() const { return name; }
  void SetName(const char* text) { name = text; }
  const char* GetVersion() const { return version; }
  void SetVersion(const char* text) { version = text; }
  const char* GetDesigner() const { return designer; }
  void SetDesigner(const char* text) { designer = text; }
  const char* GetId() const { return id; }
  void SetId(const char* text) { id = text; }

  // The delete mark kept by the registry: 0 active, 1 delete-marked.
  void IsDelete(int mark) { deleted = mark; }
  int IsDelete() const { return deleted; }

  // Old-format record (version byte 1; versions 0 and 1 read). 1 on success, 0 on failure;
  // a failed read leaves the fields read before the failure.
  int Read(CFile* file);
  int Write(CFile* file);
  // New-format tagged record. NewRead fills name, version, designer and id from tag 1 and skips
  // other tags; an early end of the tag-1 block keeps the fields not yet read.
  int NewRead(CArchive& ar);
  int NewWrite(CArchive& ar);

  CString name;
  CString version;
  CString designer;
  CString id;
  int deleted;
};
