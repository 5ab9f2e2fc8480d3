// The table's arithmetic and verdicts: ratios from the right sizes, worst cases over every size,
// and "no" wherever a number is missing.
#include "report.h"

#include <gtest/gtest.h>

namespace {

const Row& Find(const std::vector<Section>& table, const std::string& prefix) {
  for (const Section& s : table) {
    for (const Row& r : s.rows) {
      if (r.what.compare(0, prefix.size(), prefix) == 0) return r;
    }
  }
  static Row none;
  ADD_FAILURE() << "no row " << prefix;
  return none;
}

TEST(Report, ResultLinesParseOnlyWhenTheyAreOneKeyAndOneNumber) {
  std::string key;
  double value = 0;
  ASSERT_TRUE(ParseResultLine("load_s 1.25e-3\n", &key, &value));
  EXPECT_EQ("load_s", key);
  EXPECT_DOUBLE_EQ(1.25e-3, value);
  for (const char* bad : {"", "load_s", " load_s 1", "load_s  1", "load_s 1 2", "load_s x",
                          "SetRecFigure/1000       123 ns", "load_s 1e999"}) {
    EXPECT_FALSE(ParseResultLine(bad, &key, &value)) << bad;
  }
}

TEST(Report, ScalingRatiosAndWorstCasesComeFromTheRightNumbers) {
  Results r;
  TableSizes sizes;
  // Load: 1.0 s at 10k figures (100 us per figure) and 120 s at 1M (120 us): ratio 1.2.
  r.Set("ours.10000.load_s", 1.0);
  r.Set("ours.100000.load_s", 10.0);
  r.Set("ours.1000000.load_s", 120.0);
  r.Set("ours.10000.raw_read_s", 0.5);
  r.Set("ours.100000.raw_read_s", 1.0);  // load/raw 10, the worst of the three
  r.Set("ours.1000000.raw_read_s", 40.0);
  r.Set("ours.10000.copy_s", 0.01);
  r.Set("ours.10000.copy_count", 1000);
  r.Set("ours.1000000.copy_s", 2.0);
  r.Set("ours.1000000.copy_count", 100000);
  r.Set("ops.op_Undo_1000", 200);
  r.Set("ops.op_Undo_1000000", 300);  // exactly the bound of 1.5
  r.Set("ours.1000000.commit_s", 0.5);
  r.Set("base.1000000.commit_s", 24.0);  // 48 times: short of 50
  r.Set("base.1000000.load_s", 6000.0);

  const std::vector<Section> table = MakeTable(r, sizes);
  const Row& load = Find(table, "load (");
  ASSERT_EQ(3u, load.values.size());
  EXPECT_DOUBLE_EQ(100000, *load.values[0]);
  EXPECT_DOUBLE_EQ(1.2, *load.ratio);
  EXPECT_EQ("1M/10k", load.ratioOf);
  EXPECT_TRUE(load.target.MetBy(*load.ratio));

  const Row& overRaw = Find(table, "load / raw");
  EXPECT_DOUBLE_EQ(10, *overRaw.ratio);
  EXPECT_FALSE(overRaw.target.MetBy(*overRaw.ratio));

  const Row& copy = Find(table, "copy with targets");
  EXPECT_DOUBLE_EQ(10000, *copy.values[0]);  // per copied record, not per figure
  EXPECT_DOUBLE_EQ(2.0, *copy.ratio);

  const Row& undo = Find(table, "undo of an attach");
  EXPECT_DOUBLE_EQ(1.5, *undo.ratio);
  EXPECT_TRUE(undo.target.MetBy(*undo.ratio));

  const Row& baseLoad = Find(table, "load with the chain-only");
  EXPECT_DOUBLE_EQ(50, *baseLoad.ratio);
  EXPECT_TRUE(baseLoad.target.MetBy(*baseLoad.ratio));
  const Row& baseCommit = Find(table, "commit with the chain-only");
  EXPECT_DOUBLE_EQ(48, *baseCommit.ratio);
  EXPECT_FALSE(baseCommit.target.MetBy(*baseCommit.ratio));
}

TEST(Report, MissingNumbersShowAsNotAvailableAndAreNotMet) {
  Results r;
  r.Set("ours.10000.save_s", 1.0);
  r.Set("ours.10000.raw_write_s", 0.5);
  r.Set("ours.1000000.save_s", 100.0);
  r.Set("ours.1000000.raw_write_s", 50.0);
  // 100k is missing: the save ratio (1M/10k) stands, the worst case over sizes does not.
  const std::vector<Section> table = MakeTable(r, TableSizes());
  EXPECT_TRUE(Find(table, "save (Write)").ratio.has_value());
  EXPECT_FALSE(Find(table, "save / raw write").ratio.has_value());

  const std::string text = FormatTable(table);
  const size_t line = text.find("save / raw write");
  ASSERT_NE(std::string::npos, line);
  const std::string row = text.substr(line, text.find('\n', line) - line);
  EXPECT_NE(std::string::npos, row.find("n/a"));
  EXPECT_EQ(" no", row.substr(row.size() - 3));
  const size_t saveLine = text.find("save (Write)");
  const std::string saveRow = text.substr(saveLine, text.find('\n', saveLine) - saveLine);
  EXPECT_EQ("yes", saveRow.substr(saveRow.size() - 3));
}

TEST(Report, SizeLabels) {
  EXPECT_EQ("10k", SizeLabel(10000));
  EXPECT_EQ("1M", SizeLabel(1000000));
  EXPECT_EQ("1500", SizeLabel(1500));
}

}  // namespace
