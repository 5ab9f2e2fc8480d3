// Replays checked-in inputs through the same reader entries the fuzz targets run.
//
// tests/regressions/inputs/<target>/ holds inputs that once broke a reader or that guard a limit
// of bad input. Each file is named <what it guards>.<outcome>, the outcome being the documented
// result the reader must give: read, rejected, eof or badschema. The seed corpora under
// fuzz/corpus/<target>/ are replayed as well: every seed is a record the writers made, so each
// must read and survive its round trip.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../fuzz/atrf_group_entries.h"
#include "../../fuzz/figure_entries.h"
#include "../../fuzz/target_def_entry.h"

namespace fs = std::filesystem;

namespace {

struct Target {
  const char* name;
  ReadResult (*entry)(const uint8_t*, size_t);
};

const Target kTargets[] = {{"fuzz_old_figure", ReadOldFigure},
                           {"fuzz_new_figure", ReadNewFigure},
                           {"fuzz_old_atrf_group", ReadOldAtrfGroup},
                           {"fuzz_new_atrf_group", ReadNewAtrfGroup},
                           {"fuzz_target_def", ReadTargetDef}};

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs one file through its target's entry and checks the result and, where the build can
// measure it, the memory the reader held.
void Replay(const Target& target, const fs::path& file, const std::string& expected) {
  const std::string bytes = Contents(file);
  const ReadResult result = target.entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const std::string where = std::string(target.name) + "/" + file.filename().string();
  EXPECT_EQ(OutcomeName(result.outcome), expected) << where;
  EXPECT_EQ(result.problem, "") << where;
  if (AllocMeter::Available()) {
    EXPECT_FALSE(AllocMeter::Exceeded()) << where << ": the reader held " << AllocMeter::Peak()
                                         << " bytes for " << bytes.size() << " input bytes";
  }
}

TEST(ReplayTest, CheckedInBadInputsGiveTheirDocumentedResult) {
  int replayed = 0;
  for (const Target& target : kTargets) {
    for (const fs::path& file :
         FilesIn(fs::path(SXF_SOURCE_DIR) / "tests/regressions/inputs" / target.name)) {
      const std::string extension = file.extension().string();
      ASSERT_FALSE(extension.empty()) << file << " does not name its outcome";
      Replay(target, file, extension.substr(1));
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0);
}

TEST(ReplayTest, EverySeedReadsAndSurvivesItsRoundTrip) {
  for (const Target& target : kTargets) {
    const std::vector<fs::path> seeds = FilesIn(fs::path(SXF_SOURCE_DIR) / "fuzz/corpus" / target.name);
    EXPECT_FALSE(seeds.empty()) << target.name << " has no seeds";
    for (const fs::path& seed : seeds) Replay(target, seed, "read");
  }
}

}  // namespace
