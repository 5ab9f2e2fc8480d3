// The difference of two sections by meaning, as `diff` reports it.
//
// What is compared: the twelve title fields; the active set definitions, matched by their id
// text; the stored figures, matched by handle. Inside two figures of one handle: the name, the
// attribute type, the main attribute, the contour and the image attribute. The section version
// and layout are not compared, so a section and its conversion to the new layout are the same.
//
// Pairing inside a figure. Set references pair by RefId, groups and attributes by name, each
// together with its occurrence among the siblings of that name (the second "幅員" of a group
// pairs with the second "幅員" of the other group). An inserted attribute therefore shows as one
// addition and does not shift the attributes after it; moving an attribute to another place
// among differently named siblings is no change. Target attributes all share one name, so the
// n-th target pairs with the n-th target and a retargeted reference shows as a changed value.
// When the two main attributes are of different classes (the attribute type changed), the old
// one's content is removed and the new one's added.
//
// Order: title fields in document order; set definitions removed or changed in the first
// section's order, then the added ones; figures by ascending handle; inside a figure the first
// section's children in order, each followed by what changed below it, then the additions.
//
// Changes borrow the values they show from the two sections, which must outlive them.
#pragma once

#include <string>
#include <vector>

#include "section_content.h"

// One step of the path from a figure to what changed in it.
struct DiffStep {
  enum Node { kSetRef, kGroup, kAttr, kUserAttr, kStub, kContour, kImage };
  Node node;
  CString name;   // kSetRef: the RefId; kGroup, kAttr: the name; empty for the others
  int index = 0;  // kSetRef, kGroup, kAttr: occurrence among the siblings of that name
};

// A field's value: a text from the section, or a number.
struct DiffValue {
  bool isText = true;
  CString text;
  long long number = 0;
};

struct DiffChange {
  enum Kind { kChanged, kAdded, kRemoved };
  enum What { kTitle, kSetDefinition, kFigure };
  Kind kind = kChanged;
  What what = kTitle;
  DWORD handle = 0;            // kFigure
  CString id;                  // kSetDefinition
  std::vector<DiffStep> path;  // kFigure: empty for the figure itself
  // kChanged: the field that differs (the document's member name) and its two values.
  std::string field;
  DiffValue oldValue, newValue;
  // kAdded, kRemoved: the item, from the second or the first section. Exactly one is set: the
  // figure (empty path), the set definition, the group (path ends in a set reference or group),
  // the attribute (path ends in an attribute, user attribute, contour or image) or the stub.
  const FigureRef* figure = nullptr;
  const SxfZCdbAttrSetDef* setDefinition = nullptr;
  const SxfZCdbAttrGrp* group = nullptr;
  const SxfZCdbATRU* atru = nullptr;
  const SxfZCdbATRS* atrs = nullptr;
};

// Every difference between a and b, in the order above; empty when they mean the same.
std::vector<DiffChange> DiffSections(const SectionContent& a, const SectionContent& b);
