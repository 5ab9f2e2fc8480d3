#include "host/plugin_loader.h"

#include <dlfcn.h>

PluginLoader::~PluginLoader() {
  Unload();
}

int PluginLoader::Load(const char* path) {
  Unload();
  error_.Empty();
  if (!path || !*path) {
    error_ = "no library path";
    return 0;
  }
  dlerror();
  handle_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load library";
    return 0;
  }
  path_ = path;
  return 1;
}

void PluginLoader::Unload() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
  path_.Empty();
}

void* PluginLoader::GetSymbol(const char* name) {
  if (!handle_) {
    error_ = "no library loaded";
    return nullptr;
  }
  if (!name || !*name) {
    error_ = "no symbol name";
    return nullptr;
  }
  dlerror();
  void* address = dlsym(handle_, name);
  // A symbol may legitimately sit at address 0; only dlerror tells a failure.
  const char* why = dlerror();
  if (why) {
    error_ = why;
    return nullptr;
  }
  if (!address) error_ = "symbol has a null address";
  return address;
}

ZCdbAttrDBEntryFunc PluginLoader::GetAttrDBEntry() {
  return reinterpret_cast<ZCdbAttrDBEntryFunc>(GetSymbol("ZCdbAttrDBEntry"));
}
