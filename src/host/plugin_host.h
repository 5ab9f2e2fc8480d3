// SxfPluginHost: the host's side of the SXF attribute plug-in. It loads the plug-in's shared
// library, finds its entry function ZCdbAttrDBEntry and gives drawings their "SXF" attribute
// database through it, as the host application does when it opens or creates a drawing.
//
// The library stays loaded while the SxfPluginHost lives: every ZCdb that holds a database made
// through it (and so every undo item of that database) must be destroyed first.
#pragma once

#include "host/plugin_loader.h"
#include "host/zcdb_attr_db.h"
#include "platform/cstring.h"
#include "platform/visibility.h"

class CEnvironObj;
class ZCdb;

class SXF_HOST_API SxfPluginHost {
 public:
  SxfPluginHost() = default;
  SxfPluginHost(const SxfPluginHost&) = delete;
  SxfPluginHost& operator=(const SxfPluginHost&) = delete;

  // Loads the plug-in at path and looks up its entry. 1 on success; 0 with GetError set when the
  // library does not load or has no entry (nothing stays loaded then).
  int Load(const char* path);
  int IsLoaded() const { return entry_ != nullptr; }

  // Creates the "SXF" database of db with the plug-in and registers it; db owns it from then on.
  // Null when no plug-in is loaded, db already has an "SXF" database or the entry fails.
  ZCdbAttrDB* CreateSxfAttrDB(ZCdb& db, CEnvironObj* env);

  const CString& GetError() const { return error_; }

 private:
  PluginLoader loader_;
  ZCdbAttrDBEntryFunc entry_ = nullptr;
  CString error_;
};
