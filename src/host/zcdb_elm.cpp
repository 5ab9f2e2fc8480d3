#include "host/zcdb_elm.h"

ZCdbElm::ZCdbElm(ZGElm* element, BYTE kind)
    : ZCdbRecBase(kind == ZCDB_KIND_ELM2 ? ZCDB_KIND_ELM2 : ZCDB_KIND_ELM), element_(element) {}

ZCdbElm::~ZCdbElm() {
  delete element_;
}

void ZCdbElm::SetZGElm(ZGElm* element) {
  if (element == element_) return;
  delete element_;
  element_ = element;
}

ZCdbRecBase* ZCdbElm::CloneSelf() const {
  ZCdbElm* copy = new ZCdbElm(element_ ? element_->Clone() : nullptr, GetRecKind());
  copy->CopyBaseFrom(*this);
  return copy;
}
