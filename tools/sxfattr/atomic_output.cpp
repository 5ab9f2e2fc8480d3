#include "atomic_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tool_error.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t ModeFor(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error) {
  throw ToolError(kExitInput, path + ": " + what + ": " + std::strerror(error));
}

// Checks that path can name an output and makes the hidden temporary file beside it; fd is left
// open for writing.
std::string MakeTemporary(const std::string& path, int& fd) {
  const std::string name = NameOf(path);
  if (name.empty() || name == "." || name == "..") throw ToolError(kExitInput, path + ": not a file name");
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    throw ToolError(kExitInput, path + ": is a folder");

  // A hidden name, so a temporary file left by a killed run does not pass for an output.
  const std::string temp = FolderOf(path) + "/." + name + ".tmp-XXXXXX";
  std::vector<char> templ(temp.begin(), temp.end());
  templ.push_back('\0');
  fd = mkstemp(templ.data());
  if (fd < 0) Fail(path, "cannot create a temporary file beside it", errno);
  return templ.data();
}

// Sets the permissions of the finished temporary file open as fd, flushes it, closes fd and
// renames the file over path. Closes fd and removes temp on failure.
void Finish(const std::string& path, const std::string& temp, int fd) {
  auto abandon = [&](const char* what) {
    const int error = errno;
    close(fd);
    unlink(temp.c_str());
    Fail(path, what, error);
  };
  if (fchmod(fd, ModeFor(path)) != 0) abandon("cannot set the permissions");
  if (fsync(fd) != 0) abandon("cannot flush to disk");
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    Fail(path, "cannot write", error);
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    Fail(path, "cannot replace", error);
  }
}

}  // namespace

void WriteFileAtomically(const std::string& path, const void* data, size_t size) {
  int fd = -1;
  const std::string temp = MakeTemporary(path, fd);
  const char* bytes = static_cast<const char*>(data);
  size_t left = size;
  while (left > 0) {
    const ssize_t written = write(fd, bytes, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      unlink(temp.c_str());
      Fail(path, "cannot write", error);
    }
    bytes += written;
    left -= static_cast<size_t>(written);
  }
  Finish(path, temp, fd);
}

void WriteFileAtomicallyByName(const std::string& path, const std::function<void(const std::string&)>& fill) {
  int fd = -1;
  const std::string temp = MakeTemporary(path, fd);
  close(fd);
  try {
    fill(temp);
  } catch (...) {
    unlink(temp.c_str());
    throw;
  }
  // The writer may have replaced the file rather than rewritten it: open what is there now.
  fd = open(temp.c_str(), O_RDWR);
  if (fd < 0) {
    const int error = errno;
    unlink(temp.c_str());
    Fail(path, "cannot reopen the written file", error);
  }
  Finish(path, temp, fd);
}
