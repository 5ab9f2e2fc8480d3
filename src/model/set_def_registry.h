// SetDefRegistry: what the readers of old records need of a set definition registry.
//
// Old attribute set records and legacy target definitions name their set by texts, which
// reading registers as a definition; old attribute-file records may name a set by its name,
// which reading turns into the definition's id. The attribute database stands behind this
// interface (attrdb/old_record_readers.cpp), so the records never depend on the database.
#pragma once

class SxfZCdbAttrSetDef;

class SetDefRegistry {
 public:
  virtual ~SetDefRegistry() = default;

  // The definition with these texts: found (its delete mark cleared) or made with the next free
  // id, as SxfZCdbAttrDB::AddAttrSetDefData(name, version, designer, 1); null when none can be had.
  virtual const SxfZCdbAttrSetDef* Register(const char* name, const char* version, const char* designer) = 0;
  // The first definition in registry order whose name is name, delete-marked ones included;
  // null when there is none.
  virtual const SxfZCdbAttrSetDef* FindByName(const char* name) = 0;
  // True while the registry holds no definition at all.
  virtual bool IsEmpty() = 0;
};

// The old-format readers behind SxfZCdbATRF::Read, SxfZCdbAttrSetRef::ReadOld and
// SxfZCdbFigure::Read, with the registry of the database being read into (null for none: names
// stay names and sets cannot be registered). Results and partial contents as those members say.
class CFile;
class SxfZCdbATRF;
class SxfZCdbAttrSetRef;
class SxfZCdbFigure;
int ReadOldAtrfRecord(CFile* file, SxfZCdbATRF& atrf, SetDefRegistry* registry);
int ReadOldAttrSetRecord(CFile* file, SxfZCdbAttrSetRef& ref, SetDefRegistry* registry);
int ReadOldFigureRecord(CFile* file, SxfZCdbFigure& fig, SetDefRegistry* registry);
