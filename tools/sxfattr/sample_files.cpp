#include "sample_files.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "tool_error.h"

namespace {

std::string ExecutableFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  std::string exe(path, static_cast<size_t>(length));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "" : exe.substr(0, slash);
}

std::string FirstSampleIn(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return "";
  std::vector<std::string> names;
  const std::string suffix = ".sxfattr";
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      names.push_back(name);
    }
  }
  closedir(dir);
  if (names.empty()) return "";
  return folder + "/" + *std::min_element(names.begin(), names.end());
}

}  // namespace

std::string BundledSamplePath() {
  const std::string installed = ExecutableFolder() + "/../share/sxfattr/samples";
  const std::string source = SXF_SAMPLE_DIR;
  for (const std::string& folder : {installed, source}) {
    const std::string found = FirstSampleIn(folder);
    if (!found.empty()) return found;
  }
  throw ToolError(kExitInput, "no FILE given and no bundled sample found (looked in " + installed + " and " +
                                  source + ")");
}
