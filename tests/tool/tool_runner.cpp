#include "tool/tool_runner.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

int ToolResult::ErrLines() const {
  return static_cast<int>(std::count(err.begin(), err.end(), '\n'));
}

ToolResult RunTool(const std::vector<std::string>& args) {
  char outName[] = "/tmp/sxfattr-test-out-XXXXXX";
  char errName[] = "/tmp/sxfattr-test-err-XXXXXX";
  const int outFd = mkstemp(outName);
  const int errFd = mkstemp(errName);
  std::vector<std::string> argv = {SXF_TOOL_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> raw;
  for (std::string& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
  ToolResult result;
  pid_t pid = 0;
  if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(outFd);
  close(errFd);
  result.out = ReadBytes(outName);
  result.err = ReadBytes(errName);
  unlink(outName);
  unlink(errName);
  return result;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string SamplePath(const std::string& name) {
  return std::string(SXF_SOURCE_DIR) + "/samples/" + name;
}

void ToolTest::SetUp() {
  char name[] = "/tmp/sxfattr-tool-test-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  dir_ = name;
}

void ToolTest::TearDown() {
  std::filesystem::remove_all(dir_);
}

std::vector<std::string> ToolTest::Files() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir_))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<size_t> EntryOffsets(const std::string& section) {
  std::vector<size_t> offsets;
  size_t at = 4;
  while (at + 4 <= section.size()) {
    uint32_t tag = 0;
    std::memcpy(&tag, section.data() + at, 4);
    if (tag == 0) break;
    uint32_t length = 0;
    std::memcpy(&length, section.data() + at + 4, 4);
    offsets.push_back(at);
    at += 8 + length;
  }
  return offsets;
}
