// Replays checked-in inputs through the same reader entries the fuzz targets run, one test per
// input file, and damages every seed on purpose.
//
// tests/regressions/inputs/<target>/ holds inputs that once broke a reader or that guard a limit
// of bad input. Each file is named <what it guards>.<outcome>, the outcome being the documented
// result the reader must give: read, rejected, eof or badschema. The seed corpora under
// fuzz/corpus/<target>/ are replayed as well: every seed is a record the writers made, so each
// must read and survive its round trip.
//
// The damage is the deterministic part of what the fuzz targets do, the way a broken disk or a
// careless tool would do it: every prefix of each record seed, and the seed with one byte inverted
// at each position in turn. Any documented outcome is fine; a broken promise, a reader holding too
// much memory or (under the sanitizers) a memory error is not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "entries/alloc_meter.h"
#include "entries/reader_entries.h"
#if defined(SXF_HAVE_TOOL_JSON_READER)
#include "entries/import_json_entry.h"
#endif

namespace fs = std::filesystem;

namespace {

struct Target {
  const char* name;
  ReaderEntry entry;
};

// The record readers come first: their seeds are damaged here. The sections are damaged by
// tests/reliability/section_damage_test.cpp.
constexpr int kRecordTargets = 5;
const Target kTargets[] = {
    {"fuzz_old_figure", ReadOldFigure},        {"fuzz_new_figure", ReadNewFigure},
    {"fuzz_old_atrf_group", ReadOldAtrfGroup}, {"fuzz_new_atrf_group", ReadNewAtrfGroup},
    {"fuzz_target_def", ReadTargetDef},        {"fuzz_new_section", ReadNewSection},
    {"fuzz_old_section", ReadOldSection},      {"fuzz_copy_buffer", ReadCopyBuffer},
    {"fuzz_recover", RecoverSection},
#if defined(SXF_HAVE_TOOL_JSON_READER)
    {"fuzz_import_json", ReadImportJson},
#endif
};

struct Input {
  const Target* target;
  fs::path file;
  std::string expected;  // outcome name
};

void PrintTo(const Input& input, std::ostream* os) {
  *os << input.target->name << "/" << input.file.filename().string();
}

// Every file under root/<target>/; expected is the outcome its extension names, or the given one.
std::vector<Input> InputsUnder(const fs::path& root, const char* expected) {
  std::vector<Input> inputs;
  for (const Target& target : kTargets) {
    const fs::path dir = root / target.name;
    if (!fs::is_directory(dir)) continue;
    std::vector<fs::path> files;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
      if (e.is_regular_file()) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      const std::string extension = file.extension().string();
      inputs.push_back({&target, file, expected ? expected : extension.empty() ? "" : extension.substr(1)});
    }
  }
  return inputs;
}

const fs::path kBadInputs = fs::path(SXF_SOURCE_DIR) / "tests/regressions/inputs";
const fs::path kSeeds = fs::path(SXF_SOURCE_DIR) / "fuzz/corpus";

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ReplayTest : public ::testing::TestWithParam<Input> {};

// The reader gives the documented outcome, keeps its promises and, where the build can measure
// it, holds no more memory than the fuzz targets allow.
TEST_P(ReplayTest, GivesItsDocumentedResult) {
  const Input& input = GetParam();
  ASSERT_FALSE(input.expected.empty()) << input.file << " does not name its outcome";
  const std::string bytes = Contents(input.file);
  const ReadResult result = input.target->entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  EXPECT_EQ(OutcomeName(result.outcome), input.expected);
  EXPECT_EQ(result.problem, "");
  if (AllocMeter::Available()) {
    EXPECT_FALSE(AllocMeter::Exceeded())
        << "the reader held " << AllocMeter::Peak() << " bytes for " << bytes.size() << " input bytes";
  }
}

std::string TestName(const ::testing::TestParamInfo<Input>& info) {
  std::string name = std::string(info.param.target->name) + "_" + info.param.file.filename().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(BadInputs, ReplayTest, ::testing::ValuesIn(InputsUnder(kBadInputs, nullptr)),
                         TestName);
INSTANTIATE_TEST_SUITE_P(Seeds, ReplayTest, ::testing::ValuesIn(InputsUnder(kSeeds, "read")), TestName);

TEST(ReplayInputsTest, EveryTargetHasSeedsAndBadInputs) {
  for (const Target& target : kTargets) {
    EXPECT_FALSE(fs::is_empty(kSeeds / target.name)) << target.name;
    EXPECT_FALSE(fs::is_empty(kBadInputs / target.name)) << target.name;
  }
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
  for (const fs::directory_entry& e : fs::directory_iterator(kSeeds / target.name)) {
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

INSTANTIATE_TEST_SUITE_P(Readers, DamagedSeedsTest, ::testing::ValuesIn(kTargets, kTargets + kRecordTargets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
