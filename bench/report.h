// The results of the measuring processes and the performance table made from them.
//
// A measuring process prints one result per line, "key value"; the driver reads them back under
// a prefix naming the process (ParseResultLine, Results). MakeTable turns the results of one run
// into the table: every row's values, ratio and verdict come from that run's numbers only, and a
// row whose numbers are missing shows "n/a" and is not met.
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
  std::optional<double> ratio;
  std::string ratioOf;  // how the ratio is formed, e.g. "1M/10k"
  Target target;
};

struct Section {
  std::string title;
  std::vector<std::string> columns;
  std::vector<Row> rows;
};

// The drawing sizes (figures) and operation sizes (entries) of the table.
struct TableSizes {
  std::vector<unsigned> drawing{10000, 100000, 1000000};
  std::vector<unsigned> ops{1000, 1000000};
};

// Keys read: ours.<n>.<key> for the drawing cases, ops.<key> for the operations and
// base.<n>.<key> for the chain-only baseline.
std::vector<Section> MakeTable(const Results& results, const TableSizes& sizes);

std::string FormatTable(const std::vector<Section>& sections);

// "10k", "1M", "250".
std::string SizeLabel(unsigned n);
