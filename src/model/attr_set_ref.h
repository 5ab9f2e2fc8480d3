// SxfZCdbAttrSetRef: a figure's reference to one attribute set, holding its values for that set.
//
// A set reference is a group (SxfZCdbAttrGrp) with isAttrSetRef 1 whose name is the RefId, the
// decimal id of the set definition in the attribute database's registry. Its attributes and
// sub-groups are the figure's values for the set, target attributes included. Copying and
// assignment are the group's; the record of a reference is the group record in both formats,
// except that Read always replaces the content (it ignores its merge argument).
#pragma once

#include "model/attr_grp.h"
#include "platform/platform.h"
#include "platform/visibility.h"

class SxfZCdbAttrDB;

class SXF_API SxfZCdbAttrSetRef : public SxfZCdbAttrGrp {
 public:
  SxfZCdbAttrSetRef();
  SxfZCdbAttrSetRef(const SxfZCdbAttrSetRef& other) = default;
  SxfZCdbAttrSetRef& operator=(const SxfZCdbAttrSetRef& other) = default;
  ~SxfZCdbAttrSetRef() override;

  // Old-format group record. Read replaces the content whatever its second argument says.
  int Read(CFile* file, int merge) override;
  int Write(CFile* file) override;

  // Reads an attribute set record of an old file (versions 0 to 2): the set's name, version and
  // designer become a definition in db (found, reactivated or created) and this reference takes
  // the set's content with the definition's id as RefId. On failure returns 0 and neither this
  // reference nor db has changed.
  int ReadOld(CFile* file, SxfZCdbAttrDB* db);

  const char* GetRefId() const { return GetName(); }
  void SetRefId(const char* refId) { SetName(refId); }

  // 1 when the set holds target attributes and nothing else (no ordinary or ATRS-marker ones).
  int IsTargetOnly() const;
  // 1 when the set holds no target attribute.
  int IsNoTarget() const;
};
