#include "report.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

void PrintResult(const char* key, double value) {
  std::printf("%s %.17g\n", key, value);
  std::fflush(stdout);
}

bool ParseResultLine(const std::string& line, std::string* key, double* value) {
  const size_t blank = line.find(' ');
  if (blank == 0 || blank == std::string::npos) return false;
  const std::string number = line.substr(blank + 1);
  if (number.empty() || number[0] == ' ') return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(number.c_str(), &end);
  if (errno != 0 || end == number.c_str()) return false;
  while (*end == '\n' || *end == '\r') ++end;
  if (*end != '\0') return false;
  *key = line.substr(0, blank);
  *value = v;
  return true;
}

std::optional<double> Results::Get(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

bool Target::MetBy(double value) const {
  switch (kind) {
    case kAtMost:
      return value <= bound;
    case kAtLeast:
      return value >= bound;
    case kNone:
      break;
  }
  return true;
}

std::string Target::Text() const {
  if (kind == kNone) return "";
  std::ostringstream s;
  s << (kind == kAtMost ? "<= " : ">= ") << bound;
  return s.str();
}

std::string SizeLabel(unsigned n) {
  if (n >= 1000000 && n % 1000000 == 0) return std::to_string(n / 1000000) + "M";
  if (n >= 1000 && n % 1000 == 0) return std::to_string(n / 1000) + "k";
  return std::to_string(n);
}

namespace {

using Value = std::optional<double>;

Value Div(Value a, Value b) {
  if (!a || !b || *b <= 0) return std::nullopt;
  return *a / *b;
}

Value Scale(Value a, double factor) {
  if (!a) return std::nullopt;
  return *a * factor;
}

// The largest value, or none when any is missing: a worst case over sizes that were not all
// measured is no worst case.
Value Worst(const std::vector<Value>& values) {
  Value worst;
  for (const Value& v : values) {
    if (!v) return std::nullopt;
    worst = worst ? std::max(*worst, *v) : *v;
  }
  return worst;
}

Target AtMost(double bound) {
  return Target{Target::kAtMost, bound};
}
Target AtLeast(double bound) {
  return Target{Target::kAtLeast, bound};
}

class Maker {
 public:
  Maker(const Results& results, const TableSizes& sizes) : r_(results), sizes_(sizes) {}

  // key of the drawing case of n, per figure (or per copied figure), in nanoseconds.
  Value PerFigureNs(const std::string& prefix, unsigned n, const std::string& key,
                    const std::string& countKey = "") const {
    Value count = countKey.empty() ? Value(static_cast<double>(n)) : Get(prefix, n, countKey);
    return Scale(Div(Get(prefix, n, key), count), 1e9);
  }

  Value Get(const std::string& prefix, unsigned n, const std::string& key) const {
    return r_.Get(prefix + "." + std::to_string(n) + "." + key);
  }

  // A row over the drawing sizes whose ratio is the largest to the smallest size.
  Row Scaling(const std::string& what, const std::vector<Value>& values, Target target) const {
    Row row{what, values, Div(values.back(), values.front()), Label(sizes_.drawing), target};
    return row;
  }

  Row WorstOf(const std::string& what, const std::vector<Value>& values, Target target) const {
    return Row{what, values, Worst(values), "worst", target};
  }

  static std::string Label(const std::vector<unsigned>& sizes) {
    return SizeLabel(sizes.back()) + "/" + SizeLabel(sizes.front());
  }

  template <class Fn>
  std::vector<Value> Each(Fn fn) const {
    std::vector<Value> out;
    for (unsigned n : sizes_.drawing) out.push_back(fn(n));
    return out;
  }

  Section Drawing() const {
    Section s;
    s.title = "Drawing of N figures (times per figure, the thread's CPU time, best of the samples)";
    for (unsigned n : sizes_.drawing) s.columns.push_back(SizeLabel(n));
    auto ns = [this](const char* key, const char* countKey = "") {
      return Each([=](unsigned n) { return PerFigureNs("ours", n, key, countKey); });
    };
    auto quotient = [this](const char* a, const char* b) {
      return Each([=](unsigned n) { return Div(Get("ours", n, a), Get("ours", n, b)); });
    };
    s.rows.push_back(Scaling("load (Read, mode 0, with binding), ns", ns("load_s"), AtMost(1.3)));
    s.rows.push_back(Row{"raw read of the file (64 KiB pieces, checksum), ns", ns("raw_read_s"), {}, "", {}});
    s.rows.push_back(WorstOf("load / raw read", quotient("load_s", "raw_read_s"), AtMost(8)));
    s.rows.push_back(Scaling("save (Write), ns", ns("save_s"), AtMost(1.3)));
    s.rows.push_back(Row{"raw write of as many bytes (64 KiB pieces), ns", ns("raw_write_s"), {}, "", {}});
    s.rows.push_back(WorstOf("save / raw write", quotient("save_s", "raw_write_s"), AtMost(8)));
    s.rows.push_back(Scaling("OnCommit, every 10th record deleted, ns", ns("commit_s"), AtMost(1.3)));
    s.rows.push_back(Scaling("copy with targets, 10% of the records, ns per copy", ns("copy_s", "copy_count"),
                             AtMost(1.3)));
    s.rows.push_back(Row{"file bytes per figure",
                         Each([this](unsigned n) { return Div(Get("ours", n, "file_bytes"), double(n)); }),
                         {},
                         "",
                         {}});
    s.rows.push_back(WorstOf("peak memory added by load / file bytes", Each([this](unsigned n) {
                               return Div(Scale(Get("ours", n, "mem_added_kib"), 1024),
                                          Get("ours", n, "file_bytes"));
                             }),
                             AtMost(3)));
    return s;
  }

  Section Operations() const {
    Section s;
    s.title = "Single operations (ns per operation, Google Benchmark, CPU time)";
    for (unsigned n : sizes_.ops) s.columns.push_back(SizeLabel(n) + " entries");
    static const char* const kOps[][2] = {
        {"SetRecFigure", "SXF_SetRecFigure"},
        {"GetRecFigure", "SXF_GetRecFigure"},
        {"MarkDeleted", "delete mark (host MarkDeleted)"},
        {"Unmark", "unmark (host Unmark)"},
        {"Undo", "undo of an attach (host Undo)"},
        {"Redo", "redo of an attach (host Redo)"},
    };
    for (const auto& op : kOps) {
      std::vector<Value> values;
      for (unsigned n : sizes_.ops)
        values.push_back(r_.Get(std::string("ops.op_") + op[0] + "_" + std::to_string(n)));
      s.rows.push_back(
          Row{op[1], values, Div(values.back(), values.front()), Label(sizes_.ops), AtMost(1.5)});
    }
    return s;
  }

  Section Baseline() const {
    Section s;
    s.title = "Chain-only map baseline (MFC's bucket chains, (key>>4) % 773), seconds";
    for (unsigned n : sizes_.drawing) s.columns.push_back(SizeLabel(n));
    const unsigned top = sizes_.drawing.back();
    const std::string ratioOf = "base/ours at " + SizeLabel(top);
    auto row = [&](const char* what, const char* key) {
      std::vector<Value> values = Each([=](unsigned n) { return Get("base", n, key); });
      return Row{what, values, Div(values.back(), Get("ours", top, key)), ratioOf, AtLeast(50)};
    };
    s.rows.push_back(row("load with the chain-only map", "load_s"));
    s.rows.push_back(row("commit with the chain-only map", "commit_s"));
    return s;
  }

 private:
  const Results& r_;
  const TableSizes& sizes_;
};

std::string Cell(const Value& v) {
  if (!v) return "n/a";
  char buf[32];
  const double x = *v;
  if (x >= 100000) {
    std::snprintf(buf, sizeof buf, "%.3g", x);
  } else if (x >= 100) {
    std::snprintf(buf, sizeof buf, "%.0f", x);
  } else if (x >= 10) {
    std::snprintf(buf, sizeof buf, "%.1f", x);
  } else {
    std::snprintf(buf, sizeof buf, "%.3g", x);
  }
  return buf;
}

std::string Pad(const std::string& text, size_t width, bool right) {
  if (text.size() >= width) return text;
  const std::string fill(width - text.size(), ' ');
  return right ? fill + text : text + fill;
}

}  // namespace

std::vector<Section> MakeTable(const Results& results, const TableSizes& sizes) {
  Maker m(results, sizes);
  return {m.Drawing(), m.Operations(), m.Baseline()};
}

std::string FormatTable(const std::vector<Section>& sections) {
  size_t whatWidth = 4;
  for (const Section& s : sections) {
    for (const Row& r : s.rows) whatWidth = std::max(whatWidth, r.what.size());
  }
  constexpr size_t kNum = 11;
  std::ostringstream out;
  for (const Section& s : sections) {
    out << s.title << "\n";
    std::string head = Pad("what", whatWidth, false);
    for (const std::string& c : s.columns) head += " " + Pad(c, kNum, true);
    head += " " + Pad("ratio", kNum, true) + "  " + Pad("(of)", 18, false) + " " + Pad("target", 8, false) +
            " met";
    out << head << "\n" << std::string(head.size(), '-') << "\n";
    for (const Row& r : s.rows) {
      std::string line = Pad(r.what, whatWidth, false);
      for (const Value& v : r.values) line += " " + Pad(Cell(v), kNum, true);
      const bool judged = r.target.kind != Target::kNone;
      line += " " + Pad(judged || r.ratio ? Cell(r.ratio) : "", kNum, true);
      line += "  " + Pad(r.ratioOf.empty() ? "" : "(" + r.ratioOf + ")", 18, false);
      line += " " + Pad(r.target.Text(), 8, false);
      if (judged) line += r.ratio && r.target.MetBy(*r.ratio) ? " yes" : " no";
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out << line << "\n";
    }
    out << "\n";
  }
  return out.str();
}
