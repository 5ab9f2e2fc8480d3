#include "model/attr_set_def.h"

SxfZCdbAttrSetDef::SxfZCdbAttrSetDef() : deleted(0) {}

SxfZCdbAttrSetDef::SxfZCdbAttrSetDef(const SxfZCdbAttrSetDef& other)
    : name(other.name),
      version(other.version),
      designer(other.designer),
      id(other.id),
      deleted(other.deleted) {}

SxfZCdbAttrSetDef& SxfZCdbAttrSetDef::operator=(const SxfZCdbAttrSetDef& other) {
  if (this != &other) {
    name = other.name;
    version = other.version;
    designer = other.designer;
    id = other.id;
    deleted = other.deleted;
  }
  return *this;
}

SxfZCdbAttrSetDef::~SxfZCdbAttrSetDef() = default;
