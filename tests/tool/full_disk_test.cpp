// Every output of the tool is written whole or not at all. A disk that fills up after k bytes, for
// every k below the size of the output, must end in a one-line "<file>: cannot ..." error with
// the previous output as it was and no temporary file left beside it; given room, the new output
// replaces the old. The process's file-size limit stands in for the full disk: past it write()
// fails with EFBIG once SIGXFSZ is ignored. It holds for every file the process writes, so the
// temporary files a library keeps for itself run into it as well.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "atomic_output.h"
#include "csv_output.h"
#include "section_loader.h"
#include "tool/tool_runner.h"
#include "tool_error.h"
#include "workbook_output.h"
#include "zip_check.h"

namespace {

class FullDiskTest : public ToolTest {
 protected:
  using Writer = std::function<void(const std::string& path)>;

  void SetUp() override {
    ToolTest::SetUp();
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved_));
  }
  void TearDown() override {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previousHandler_);
    ToolTest::TearDown();
  }

  // Runs write on path with the file-size limit at k; the error text, or "" on success.
  std::string WriteLimited(const Writer& write, const std::string& path, rlim_t k) {
    rlimit limited = saved_;
    limited.rlim_cur = k;
    if (setrlimit(RLIMIT_FSIZE, &limited) != 0) return "setrlimit failed";
    std::string error;
    try {
      write(path);
    } catch (const ToolError& e) {
      error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved_);
    return error;
  }

  // Runs write at every limit below size (the size of its whole output), then at fit, a limit
  // at which it must succeed; returns the output written then.
  std::string Sweep(const Writer& write, size_t size, rlim_t fit) {
    const std::string out = Path("out");
    const std::string previous = "the previous output";
    WriteBytes(out, previous);
    for (size_t k = 0; k < size; ++k) {
      const std::string error = WriteLimited(write, out, k);
      EXPECT_EQ(0u, error.find(out + ": cannot ")) << "limit " << k << ": " << error;
      EXPECT_EQ(std::string::npos, error.find('\n')) << "limit " << k << ": " << error;
      EXPECT_TRUE(ReadBytes(out) == previous) << "limit " << k << ": the output was replaced";
      EXPECT_EQ(std::vector<std::string>{"out"}, Files()) << "limit " << k;
      if (HasFailure()) return "";
    }
    EXPECT_EQ("", WriteLimited(write, out, fit));
    EXPECT_EQ(std::vector<std::string>{"out"}, Files());
    return ReadBytes(out);
  }

  rlimit saved_{};
  sighandler_t previousHandler_ = SIG_DFL;
};

TEST_F(FullDiskTest, EveryLimitBelowTheSizeLeavesThePreviousOutput) {
  const std::string bytes = ReadBytes(SamplePath("demo_new_layout.sxfattr"));
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes,
            Sweep([&](const std::string& path) { WriteFileAtomically(path, bytes.data(), bytes.size()); },
                  bytes.size(), bytes.size()));
}

// The exports write through libraries and streams rather than from one buffer: the CSV file
// through stdio, the workbook through libxlsxwriter, which misses some short writes of its own.
TEST_F(FullDiskTest, EveryLimitBelowTheSizeFailsAnExport) {
  const LoadedSection section = LoadSectionFile(SamplePath("demo_new_layout.sxfattr"));
  const SectionContent content = section.Content();
  const std::string whole = Path("whole");

  const Writer csv = [&](const std::string& path) { WriteCsvFile(path, content, TextEncoding::kUtf8); };
  csv(whole);
  const std::string csvBytes = ReadBytes(whole);
  ASSERT_FALSE(csvBytes.empty());
  unlink(whole.c_str());
  ASSERT_EQ(csvBytes, Sweep(csv, csvBytes.size(), csvBytes.size()));

  const Writer workbook = [&](const std::string& path) { WriteWorkbookFile(path, content); };
  workbook(whole);
  const size_t workbookSize = ReadBytes(whole).size();
  ASSERT_GT(workbookSize, 0u);
  unlink(whole.c_str());
  // The library's own temporary files can be larger than the workbook, so it needs more room
  // than its size to succeed. The workbook holds the time it was made, which changes its bytes.
  Sweep(workbook, workbookSize, saved_.rlim_cur);
  EXPECT_EQ("", ReadZipFile(Path("out"), nullptr));
}

}  // namespace
