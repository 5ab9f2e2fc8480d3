// Runs the built sxfattr program the way a user does and captures what it prints.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ToolResult {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
  // The number of lines on standard error.
  int ErrLines() const;
};

ToolResult RunTool(const std::vector<std::string>& args);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// A committed sample under samples/ of the source tree.
std::string SamplePath(const std::string& name);
// The offsets of the top-level entries of a new-layout section (tag, block length, content), up
// to the end tag.
std::vector<size_t> EntryOffsets(const std::string& section);

// A test with a fresh folder of its own, removed afterwards.
class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // The names in the folder, sorted.
  std::vector<std::string> Files() const;

  std::string dir_;
};
