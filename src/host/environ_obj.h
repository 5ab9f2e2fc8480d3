// CEnvironObj: the system library's environment of the application (here: its base folder).
//
// The host hands it to the plug-in when it creates an attribute database; the plug-in uses it
// to turn file paths that are stored relative to the application into full file names.
#pragma once

#include "platform/cstring.h"
#include "platform/visibility.h"

class SXF_HOST_API CEnvironObj {
 public:
  // baseFolder is the folder that relative paths are resolved against; it may end with a
  // separator or not.
  explicit CEnvironObj(const char* baseFolder);
  virtual ~CEnvironObj();

  // Full file name of path. An absolute path (starting with '/' or '\', or a drive letter and
  // ':') comes back unchanged, and so does an empty path (there is no file to name). A relative
  // path is appended to the base folder with one separator between them: '\' when the base
  // folder uses '\' and no '/', else '/'. A leading "./" or ".\" of the path is dropped.
  CString GetFileNameFromRelativePath(const CString& path) const;

  const CString& GetBaseFolder() const { return base_; }

 private:
  CString base_;
};
