// The old-format readers of the records that name attribute sets, given a database: its set
// definition registry stands behind SetDefRegistry, so the record grammar in model/ never
// depends on the database.
#include <memory>

#include "attrdb/attrdb.h"
#include "model/atrf.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"
#include "model/set_def_registry.h"

namespace {

class DatabaseSetDefs : public SetDefRegistry {
 public:
  explicit DatabaseSetDefs(SxfZCdbAttrDB& db) : db_(db) {}

  const SxfZCdbAttrSetDef* Register(const char* name, const char* version, const char* designer) override {
    return db_.AddAttrSetDefData(name, version, designer, 1);
  }
  const SxfZCdbAttrSetDef* FindByName(const char* name) override {
    return db_.FindAttrSetDefData(name, nullptr, nullptr);
  }
  bool IsEmpty() override { return db_.GetAttrSetDefCnt(nullptr) == 0; }

 private:
  SxfZCdbAttrDB& db_;
};

// Runs read with the registry of db, or with none when db is null.
template <class Read>
int WithRegistryOf(SxfZCdbAttrDB* db, Read read) {
  if (db == nullptr) return read(nullptr);
  DatabaseSetDefs registry(*db);
  return read(&registry);
}

}  // namespace

int SxfZCdbATRF::Read(CFile* file, SxfZCdbAttrDB* db) {
  return WithRegistryOf(db, [&](SetDefRegistry* r) { return ReadOldAtrfRecord(file, *this, r); });
}

int SxfZCdbAttrSetRef::ReadOld(CFile* file, SxfZCdbAttrDB* db) {
  return WithRegistryOf(db, [&](SetDefRegistry* r) { return ReadOldAttrSetRecord(file, *this, r); });
}

int SxfZCdbFigure::Read(CFile* file, SxfZCdbAttrDB* db) {
  return WithRegistryOf(db, [&](SetDefRegistry* r) { return ReadOldFigureRecord(file, *this, r); });
}

SxfZCdbFigure* ZCdbAttrFigureReadVer3(CFile* file, SxfZCdbAttrDB* db) {
  std::unique_ptr<SxfZCdbFigure> fig(new SxfZCdbFigure);
  return fig->Read(file, db) ? fig.release() : nullptr;
}
