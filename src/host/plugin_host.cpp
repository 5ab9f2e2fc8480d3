#include "host/plugin_host.h"

#include "host/zcdb.h"

int SxfPluginHost::Load(const char* path) {
  entry_ = nullptr;
  if (loader_.Load(path) == 0) {
    error_ = loader_.GetError();
    return 0;
  }
  entry_ = loader_.GetAttrDBEntry();
  if (entry_ == nullptr) {
    error_ = loader_.GetError();
    loader_.Unload();
    return 0;
  }
  error_.Empty();
  return 1;
}

ZCdbAttrDB* SxfPluginHost::CreateSxfAttrDB(ZCdb& db, CEnvironObj* env) {
  if (entry_ == nullptr) {
    error_ = "no plug-in loaded";
    return nullptr;
  }
  if (db.GetAttrDB("SXF") != nullptr) {
    error_ = "the drawing already has an SXF attribute database";
    return nullptr;
  }
  ZCdbAttrDB* adb = db.CreateAttrDB(entry_, env, "SXF");
  if (adb == nullptr) error_ = "the plug-in did not create a database";
  return adb;
}
