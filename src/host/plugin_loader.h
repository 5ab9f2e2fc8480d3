// PluginLoader: loads a plug-in shared library the way the host does (dlopen) and looks up its
// exported symbols by plain name (dlsym).
//
// The library is loaded with all its symbols resolved at once (RTLD_NOW), so a plug-in that
// needs a host symbol the program does not provide fails to load instead of failing later.
// Failures give null or 0 and keep the loader's message (dlerror's text, or a short phrase)
// for GetError. The library stays loaded until Unload or the loader's destruction; everything
// made by the plug-in (attribute databases, undo items) must be gone by then.
#pragma once

#include "host/zcdb_attr_db.h"
#include "platform/cstring.h"
#include "platform/visibility.h"

class SXF_HOST_API PluginLoader {
 public:
  PluginLoader() = default;
  ~PluginLoader();
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;

  // Loads the library at path (unloading one loaded before). Returns 1, or 0 with GetError set.
  int Load(const char* path);
  void Unload();
  int IsLoaded() const { return handle_ != nullptr; }

  // The address of the exported symbol name, or null with GetError set (also when nothing is
  // loaded).
  void* GetSymbol(const char* name);
  // The plug-in's attribute database entry "ZCdbAttrDBEntry", or null.
  ZCdbAttrDBEntryFunc GetAttrDBEntry();

  const CString& GetError() const { return error_; }
  const CString& GetPath() const { return path_; }

 private:
  void* handle_ = nullptr;
  CString path_;
  CString error_;
};
