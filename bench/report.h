// The results of the measuring processes and the performance table made from them.
//
// A measuring process prints one result per line, "key value"; the driver reads them back under
// a prefix naming the process (ParseResultLine, Results). MakeTable turns the results of one run
// into the table: every row's values, ratio and verdict come from that run's numbers only, and a
// row whose numbers are missing shows "n/a" and is not met. The first section holds the targets
// the project has set itself, each with its target, its goal and whether the target is met; the
// sections after it show the figures per size that those rows come from.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Prints "key value" on standard output, with every digit a double holds.
void PrintResult(const char* key, double value);

// Splits "key value"; false for any other line (a key with blanks, no number, text after it).
bool ParseResultLine(const std::string& line, std::string* key, double* value);

class Results {
 public:
  void Set(const std::string& key, double value) { values_[key] = value; }
  std::optional<double> Get(const std::string& key) const;

 private:
  std::map<std::string, double> values_;
};

struct Target {
  enum Kind { kNone, kAtMost, kAtLeast };
  Kind kind = kNone;
  double bound = 0;
  bool MetBy(double value) const;
  std::string Text() const;
};

struct Row {
  std::string what;
  std::vector<std::optional<double>> values;  // one per column of the section
  std::optional<double> ratio;                // the value judged against the target
  std::string ratioOf;                        // how the ratio is formed, e.g. "1M/10k"
  Target target;                              // met or not, shown in the last column
  Target goal;                                // where the project wants to get; shown, not judged
  bool Met() const { return ratio.has_value() && target.MetBy(*ratio); }
};

struct Section {
  std::string title;
  std::vector<std::string> columns;
  std::vector<Row> rows;
  std::string ratioTitle = "ratio";
};

// The drawing sizes (figures) and operation sizes (entries) of the table.
struct TableSizes {
  std::vector<unsigned> drawing{10000, 100000, 1000000};
  std::vector<unsigned> ops{1000, 1000000};
  // Processes after the first that only load the largest drawing, so the first load of a fresh
  // process is the fastest of 1 + freshLoads such loads, as the tool's time is the fastest of
  // its runs.
  int freshLoads = 2;
};

// Keys read, for a drawing size n: ours.<n>.<key> for the drawing cases, fresh<i>.<n>.<key>
// (i = 1..freshLoads, largest size only) for the further fresh-process loads, tool.<n>.<key>
// for the tool's processes (largest size only), ops.<key> for the operations and base.<n>.<key>
// for the chain-only baseline.
std::vector<Section> MakeTable(const Results& results, const TableSizes& sizes);

// The sections as text. A section with targets ends with how many of them are met.
std::string FormatTable(const std::vector<Section>& sections);

// "10k", "1M", "250".
std::string SizeLabel(unsigned n);
