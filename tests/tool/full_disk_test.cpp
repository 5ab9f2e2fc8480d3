// Every output of the tool goes through WriteFileAtomically. A disk that fills up after k bytes,
// for every k below the size of the output, must end in the one-line "<file>: cannot write: ..."
// error with the previous output as it was and no temporary file left beside it; at the full size
// the new output replaces the old. The process's file-size limit stands in for the full disk:
// past it write() fails with EFBIG once SIGXFSZ is ignored.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "atomic_output.h"
#include "tool/tool_runner.h"
#include "tool_error.h"

namespace {

class FullDiskTest : public ToolTest {
 protected:
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

  // Writes bytes to path with the file-size limit at k; the error text, or "" on success.
  std::string WriteLimited(const std::string& path, const std::string& bytes, size_t k) {
    rlimit limited = saved_;
    limited.rlim_cur = static_cast<rlim_t>(k);
    if (setrlimit(RLIMIT_FSIZE, &limited) != 0) return "setrlimit failed";
    std::string error;
    try {
      WriteFileAtomically(path, bytes.data(), bytes.size());
    } catch (const ToolError& e) {
      error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved_);
    return error;
  }

  rlimit saved_{};
  sighandler_t previousHandler_ = SIG_DFL;
};

TEST_F(FullDiskTest, EveryLimitBelowTheSizeLeavesThePreviousOutput) {
  const std::string bytes = ReadBytes(SamplePath("demo_new_layout.sxfattr"));
  ASSERT_FALSE(bytes.empty());
  const std::string out = Path("out");
  const std::string previous = "the previous output";
  for (size_t k = 0; k < bytes.size(); ++k) {
    WriteBytes(out, previous);
    const std::string error = WriteLimited(out, bytes, k);
    ASSERT_EQ(0u, error.find(out + ": cannot write: ")) << "limit " << k << ": " << error;
    ASSERT_EQ(previous, ReadBytes(out)) << "limit " << k;
    ASSERT_EQ(std::vector<std::string>{"out"}, Files()) << "limit " << k;
  }
  EXPECT_EQ("", WriteLimited(out, bytes, bytes.size()));
  EXPECT_EQ(bytes, ReadBytes(out));
  EXPECT_EQ(std::vector<std::string>{"out"}, Files());
}

}  // namespace
