// The tool's rows are only as good as the measuring of a child process: its exit code must be
// the child's own, its output must land in the file named, and its peak resident size must be
// the child's, not the measuring process's or nothing.
#include "child_process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath(const char* name) {
  return ::testing::TempDir() + name + std::to_string(getpid());
}

TEST(ChildProcess, ExitCodesAndStandardOutputAreTheChilds) {
  const std::string out = TempPath("child_out");
  ChildRun run = RunChild({"sh", "-c", "echo measured; exit 0"}, out);
  ASSERT_TRUE(run.started);
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ("measured\n", ReadAll(out));

  // The file is truncated for each run, and a failing child's code comes back as it gave it.
  run = RunChild({"sh", "-c", "echo x; exit 3"}, out);
  EXPECT_EQ(3, run.exitCode);
  EXPECT_EQ("x\n", ReadAll(out));

  run = RunChild({"sh", "-c", "kill -9 $$"}, "/dev/null");
  EXPECT_EQ(-1, run.exitCode);

  run = RunChild({"/nonexistent/sxfattr", "dump"}, "/dev/null");
  EXPECT_EQ(127, run.exitCode);
  std::remove(out.c_str());
}

TEST(ChildProcess, PeakMemoryIsWhatTheChildTouched) {
  // dd reads 64 MiB into one buffer, so every page of it is resident at once.
  const ChildRun big =
      RunChild({"dd", "if=/dev/zero", "of=/dev/null", "bs=64M", "count=1", "status=none"}, "/dev/null");
  ASSERT_EQ(0, big.exitCode);
  EXPECT_GE(big.peakKib, 64 * 1024);
  EXPECT_LT(big.peakKib, 1024 * 1024);
  EXPECT_GT(big.cpuSeconds, 0);
  EXPECT_GE(big.wallSeconds, big.cpuSeconds);  // the wall clock spans the whole child

  const ChildRun small =
      RunChild({"dd", "if=/dev/zero", "of=/dev/null", "bs=4k", "count=1", "status=none"}, "/dev/null");
  ASSERT_EQ(0, small.exitCode);
  EXPECT_GT(small.peakKib, 0);
  EXPECT_LT(small.peakKib, 32 * 1024);
}

}  // namespace
