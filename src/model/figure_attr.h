// SxfZCdbFigureAttr: the main attribute object of a figure, together with the class it is.
//
// A figure's attribute type says which class its main attribute should have, but a record read
// from a file can carry a type byte and an attribute block that disagree, or a type without any
// object. The holder therefore remembers the class of the object it owns, and each typed view
// returns null unless the object really is of that class, so a mismatch can never be read
// through the wrong class. ATRS() also gives the stub view of a held SxfZCdbATRU, which is a
// valid upcast. The holder owns its object and deletes it on Reset and destruction; it is not
// copyable (a figure copies the object by its type, see SxfZCdbFigure::Copy).
#pragma once

#include "platform/types.h"
#include "platform/visibility.h"

class SxfZCdbATRF;
class SxfZCdbATRS;
class SxfZCdbATRU;

class SXF_API SxfZCdbFigureAttr {
 public:
  enum Class : BYTE { kNone = 0, kATRF = 1, kATRU = 2, kATRS = 3 };

  SxfZCdbFigureAttr() = default;
  ~SxfZCdbFigureAttr();
  SxfZCdbFigureAttr(const SxfZCdbFigureAttr&) = delete;
  SxfZCdbFigureAttr& operator=(const SxfZCdbFigureAttr&) = delete;

  Class GetClass() const { return class_; }
  bool IsNull() const { return class_ == kNone; }

  SxfZCdbATRF* ATRF() const { return class_ == kATRF ? atrf_ : nullptr; }
  SxfZCdbATRU* ATRU() const { return class_ == kATRU ? atru_ : nullptr; }
  SxfZCdbATRS* ATRS() const;

  // Deletes the held object.
  void Reset();
  // Deletes the held object and takes ownership of obj (null leaves the holder empty).
  void Reset(SxfZCdbATRF* obj);
  void Reset(SxfZCdbATRU* obj);
  void Reset(SxfZCdbATRS* obj);
  // Replaces the held object with a new, empty object of the class (kNone empties the holder).
  void Create(Class cls);
  // 1 when both hold nothing, or objects of one class that compare equal by that class.
  int IsSame(const SxfZCdbFigureAttr& other) const;

 private:
  Class class_ = kNone;
  union {
    SxfZCdbATRF* atrf_ = nullptr;
    SxfZCdbATRU* atru_;
    SxfZCdbATRS* atrs_;
  };
};
