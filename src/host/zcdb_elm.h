// ZCdbElm: an element record (kind 8 or 9) that owns one graphic element.
#pragma once

#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "platform/visibility.h"

class SXF_HOST_API ZCdbElm : public ZCdbRecBase {
 public:
  // Takes ownership of element (may be null). kind is 8 or 9; any other value is taken as 8.
  explicit ZCdbElm(ZGElm* element, BYTE kind = ZCDB_KIND_ELM);
  ~ZCdbElm() override;

  // The graphic element, or null.
  ZGElm* GetZGElm() const { return element_; }
  // Replaces the element (deleting the old one); takes ownership of element.
  void SetZGElm(ZGElm* element);

  ZCdbRecBase* CloneSelf() const override;

 private:
  ZGElm* element_;
};
