// SxfZCdbFigure: the attributes of one host record ("figure").
//
// A figure holds one main attribute selected by its attribute type (SXF_ATTR_*): an
// attribute-file record of set references (SxfZCdbATRF), one user attribute (SxfZCdbATRU) or an
// attribute stub (SxfZCdbATRS). Beside it, it may hold a contour-line attribute and an image
// attribute, a name, and the handle of the record it belongs to. Targets (references to other
// records) are target attributes inside the set references, so only type 1 holds them.
//
// Ownership: the figure owns attr, contour and image and deletes them with itself.
//
// The main attribute object remembers its own class (SxfZCdbFigureAttr). ATRF_GetAttr and
// ATRU_GetAttr return null unless the object is of the asked class; ATRS_GetAttr gives the stub
// of a stub or of a user attribute (a user attribute is one) and null otherwise. So a record
// whose type byte and attribute block disagree cannot be read through the wrong class. Writers
// store the type StoredType gives.
//
// Value semantics: the copy constructor and assignment copy the handle and the contents; Copy
// copies the contents only; neither ever copies targetedCnt, which the database sets on the copy
// it hands out. IsSame compares contents, not the handle.
#pragma once

#include "model/atrf.h"
#include "model/atrs.h"
#include "model/atru.h"
#include "model/figure_attr.h"
#include "platform/platform.h"
#include "platform/visibility.h"

class ATRS_BUFF;
class CDWordArrayX;
class SxfZCdbAttrDB;
class SxfZCdbAttrGrp;
class WildCardEx;
class ZCdbRecBase;

// Attribute type codes of a figure (one byte, stored in records).
enum : BYTE { SXF_ATTR_NONE = 0, SXF_ATTR_ATRF = 1, SXF_ATTR_ATRU = 2, SXF_ATTR_ATRS = 3 };

class SXF_API SxfZCdbFigure {
 public:
  SXF_SLAB_ALLOCATED

  SxfZCdbFigure();
  SxfZCdbFigure(const SxfZCdbFigure& other);
  SxfZCdbFigure& operator=(const SxfZCdbFigure& other);
  virtual ~SxfZCdbFigure();

  // Copies name, attribute type, contour and image from other, and the main attribute as its
  // type makes it: types 1 to 3 get an object of their class holding what other's object holds
  // (empty when other has none of that class), type 0 and unknown codes none. Handle and
  // targetedCnt stay.
  void Copy(const SxfZCdbFigure& other);
  // Deletes the main attribute, contour and image (type 0); with resetHandle nonzero the handle
  // becomes 0xFFFFFFFF. name and targetedCnt stay.
  void Clear(int resetHandle);

  DWORD GetHandle() const { return handle; }
  const char* GetName() const { return name; }
  void SetName(const char* text) { name = text; }

  BYTE GetAttrType() const { return attrType; }
  // Switches the type: a different type deletes the main attribute and creates an empty one of
  // the new class (none for type 0 or codes above 3); the same type keeps the attribute.
  void SetAttrType(BYTE type);

  // The main attribute as the asked class, or null when it is not of that class.
  SxfZCdbATRF* ATRF_GetAttr() const { return attr.ATRF(); }
  const SxfZCdbATRS* ATRS_GetAttr() const { return attr.ATRS(); }
  const SxfZCdbATRU* ATRU_GetAttr() const { return attr.ATRU(); }
  // Without a main attribute: type 2 with a copy of value. With a user attribute: assigns value
  // to it. With an attribute of another class the figure is left unchanged.
  void ATRU_SetAttr(const SxfZCdbATRU& value);
  // Assigns name, type and unit of value to the stub (SetAttrType(3) creates it); a figure of
  // another type is left unchanged.
  void ATRS_SetAttr(const SxfZCdbATRS& value);

  // Type 2: the user attribute when its name is name. Type 1: the first attribute of that name
  // over the set references in tree order. Otherwise null.
  SxfZCdbATRU* FindAttrData(const char* name) const;

  // ---- targets (type 1 only; other types do nothing) ----
  // Appends every target handle of the set references to handles; returns handles' count (0 and
  // handles untouched for other types).
  int GetTarget(CDWordArrayX& handles) const;
  // Removes every target attribute, appending the removed handles to *removed when given.
  void ClearTarget(CDWordArrayX* removed);
  // The group directly holding the first target attribute of handle (memo set to its memo).
  SxfZCdbAttrGrp* FindTarget(DWORD handle, CString& memo);
  // Rewrites every target attribute of oldHandle to name newHandle. 1 when there was none (or
  // old and new are the same handle); otherwise 1 when something changed.
  int ChangeTarget(DWORD oldHandle, DWORD newHandle);
  int GetTargetedCnt() const { return targetedCnt; }

  // 1 when an attribute name (byName) or value text (byValue) matches pattern: contour, image,
  // then the main attribute; for a stub (type 3) the text of rec (a string or text element, or
  // the first one below rec that matches) stands for the value.
  int HasData(int byName, int byValue, const WildCardEx& pattern, ZCdbRecBase* rec) const;
  // 1 when the set references hold an ATRS-marker attribute.
  int HasAtrfAtrs() const;
  // Collects the stubs of the ATRS-marker attributes of the set references into buf, up to max
  // entries (10000 when max < 1); returns buf's count.
  int GetAtrfAtrs(ATRS_BUFF& buf, int max) const;

  // Turns the figure into type 1: its user attribute or stub (the stub's value taken from the
  // text of its string element) moves into the database's default set. Returns 1; with a null
  // db, 0 and the figure unchanged.
  int ToATRF(SxfZCdbAttrDB* db);
  // 1 when both hold equal contents (name, type, contour, image, main attribute). With
  // checkTargeted nonzero a figure that is referenced as a target is never the same.
  int IsSame(const SxfZCdbFigure& other, int checkTargeted);
  // Clears the delete mark of every set definition of db that a set reference names.
  void CheckAttrSetDef(SxfZCdbAttrDB* db);
  // Does nothing; kept for the interface.
  void WriteText(CArchive& ar, BYTE mode, ZCdbRecBase* rec);

  // ---- image and contour attributes ----
  int SetImageName(const char* zukeiName, const char* value);
  int GetImageName(CString& zukeiName, CString& value);
  int HasImage() const;
  int IsImageOnly() const;
  int SetContour(const char* zukeiName, const char* value, const char* unit);
  int GetContour(CString& zukeiName, CString& value, CString& unit) const;
  int RemoveContour();
  int HasContour() const;
  int IsContourOnly() const;
  // Takes a version 3.0 image or contour attribute (a user attribute named as one) out of the
  // figure into out; path receives where it was found inside the set references.
  int GetOldRasterContor30(SxfZCdbATRU& out, CString& path);
  // Moves such an attribute into the image or contour slot; returns 1.
  int CheckRastarAndContor30();

  // ---- records ----
  // Old record (version 2 written; 0 to 2 read). Read fills a freshly constructed figure and
  // registers the set definitions of old target definitions in db.
  int Read(CFile* file, SxfZCdbAttrDB* db);
  int Write(CFile* file);
  // New tagged record.
  int NewRead(CArchive& ar, SxfZCdbAttrDB* db);
  int NewWrite(CArchive& ar);
  // The type byte both writers store, which also decides the attribute block written: the
  // figure's type when the object held can be read as that type's attribute (a user attribute
  // serves as a stub), else 0 without the object. Code that goes by the type (the title index,
  // copying, the set-reference walks) never saw an object of another class, so dropping it keeps
  // the meaning the figure was read with; storing the object's own class would turn, say, an
  // attribute-file figure holding a stub into a title element at the next load.
  BYTE StoredType() const;

  DWORD handle;            // record handle, 0xFFFFFFFF for none
  CString name;            // the figure's name
  BYTE attrType;           // SXF_ATTR_*
  SxfZCdbFigureAttr attr;  // the main attribute object, owned
  SxfZCdbATRU* contour;    // contour-line attribute or null, owned
  SxfZCdbATRU* image;      // image attribute or null, owned
  int targetedCnt;         // set by the database on copies it hands out

 protected:
  friend class SxfZCdbAttrDB;
  void SetHandle(DWORD h) { handle = h; }
  // Moves the set references from the definitions of src over to equal definitions of dst.
  void CheckAttrSetRef(SxfZCdbAttrDB* dst, SxfZCdbAttrDB* src);

 private:
  void DeleteContents();
};

// Reads one old figure record for the host: a new figure on success (the caller owns it), null
// on failure with nothing left allocated.
SXF_EXTERN_C SxfZCdbFigure* ZCdbAttrFigureReadVer3(CFile* file, SxfZCdbAttrDB* db);
