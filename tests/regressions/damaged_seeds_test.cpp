// Damages every seed on purpose, the way a broken disk or a careless tool would, and runs each
// damaged copy through the reader entry of its target: every prefix of the seed, and the seed with
// one byte inverted at each position in turn. Any documented outcome is fine; a broken promise, a
// reader holding too much memory or (under the sanitizers) a memory error is not. This is the
// deterministic part of what the fuzz targets do, so it runs with the normal test suite.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "entries/alloc_meter.h"
#include "entries/reader_entries.h"

namespace fs = std::filesystem;

namespace {

struct Target {
  const char* name;
  ReadResult (*entry)(const uint8_t*, size_t);
};

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs every damaged copy of every seed of target; returns one line per copy that failed, at most
// a handful so that one fault does not flood the report.
std::vector<std::string> DamageSeeds(const Target& target) {
  std::vector<std::string> failures;
  const auto run = [&](const std::string& bytes, const std::string& what) {
    if (failures.size() >= 5) return;
    const ReadResult r = target.entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!r.problem.empty()) failures.push_back(what + ": " + r.problem);
    if (AllocMeter::Available() && AllocMeter::Exceeded()) {
      failures.push_back(what + ": held " + std::to_string(AllocMeter::Peak()) + " bytes");
    }
  };
  for (const fs::directory_entry& e :
       fs::directory_iterator(fs::path(SXF_SOURCE_DIR) / "fuzz/corpus" / target.name)) {
    const std::string seed = Contents(e.path());
    const std::string name = e.path().filename().string();
    // The selector byte of targets that cover several readers stays: damage goes to the record.
    const size_t first = target.entry == ReadOldFigure || target.entry == ReadNewFigure ? 0 : 1;
    for (size_t n = first; n < seed.size(); ++n)
      run(seed.substr(0, n), name + " cut to " + std::to_string(n));
    for (size_t i = first; i < seed.size(); ++i) {
      std::string damaged = seed;
      damaged[i] = static_cast<char>(~damaged[i]);
      run(damaged, name + " byte " + std::to_string(i) + " inverted");
    }
  }
  return failures;
}

class DamagedSeedsTest : public ::testing::TestWithParam<Target> {};

TEST_P(DamagedSeedsTest, GiveDocumentedResults) {
  for (const std::string& failure : DamageSeeds(GetParam())) ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(Readers, DamagedSeedsTest,
                         ::testing::Values(Target{"fuzz_old_figure", ReadOldFigure},
                                           Target{"fuzz_new_figure", ReadNewFigure},
                                           Target{"fuzz_old_atrf_group", ReadOldAtrfGroup},
                                           Target{"fuzz_new_atrf_group", ReadNewAtrfGroup},
                                           Target{"fuzz_target_def", ReadTargetDef}),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
