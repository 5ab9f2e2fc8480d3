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

// The smallest value present, or none when none is.
Value Fastest(const std::vector<Value>& values) {
  Value best;
  for (const Value& v : values) {
    if (v) best = best ? std::min(*best, *v) : *v;
  }
  return best;
}

Value Sum(Value a, Value b) {
  if (!a || !b) return std::nullopt;
  return *a + *b;
}

Target AtMost(double bound) {
  return Target{Target::kAtMost, bound};
}
Target AtLeast(double bound) {
  return Target{Target::kAtLeast, bound};
}

class Maker {
 public:
  Maker(const Results& results, const TableSizes& sizes)
      : r_(results), sizes_(sizes), top_(sizes.drawing.back()), atTop_("at " + SizeLabel(top_)) {}

  Value Get(const std::string& prefix, unsigned n, const std::string& key) const {
    return r_.Get(prefix + "." + std::to_string(n) + "." + key);
  }

  // key of the drawing case of n, per figure (or per copied figure), in nanoseconds.
  Value PerFigureNs(unsigned n, const std::string& key, const std::string& countKey = "") const {
    Value count = countKey.empty() ? Value(static_cast<double>(n)) : Get("ours", n, countKey);
    return Scale(Div(Get("ours", n, key), count), 1e9);
  }

  // A first load of a fresh process: the fastest of the load case's own first load and, at the
  // largest size, those of the processes that only load. None when the load case has none.
  Value FirstLoad(unsigned n, const std::string& key) const {
    Value own = Get("ours", n, key);
    if (!own || n != top_) return own;
    std::vector<Value> all{own};
    for (int i = 1; i <= sizes_.freshLoads; ++i) all.push_back(Get("fresh" + std::to_string(i), n, key));
    return Fastest(all);
  }

  // Bytes over the file's bytes at n; kib is in KiB.
  Value KibPerFileByte(Value kib, unsigned n) const {
    return Div(Scale(kib, 1024), Get("ours", n, "file_bytes"));
  }

  template <class Fn>
  std::vector<Value> Each(Fn fn) const {
    std::vector<Value> out;
    for (unsigned n : sizes_.drawing) out.push_back(fn(n));
    return out;
  }

  static std::string Label(const std::vector<unsigned>& sizes) {
    return SizeLabel(sizes.back()) + "/" + SizeLabel(sizes.front());
  }

  // The per-figure cost at the largest size over that at the smallest.
  Value Growth(const std::string& key, const std::string& countKey = "") const {
    return Div(PerFigureNs(top_, key, countKey), PerFigureNs(sizes_.drawing.front(), key, countKey));
  }

  Section Targets() const {
    Section s;
    s.title = "Targets (" + SizeLabel(top_) +
              " figures; the plug-in: thread CPU time; the tool: the whole process's wall time)";
    s.ratioTitle = "value";
    auto row = [](const std::string& what, Value value, const std::string& of, Target target,
                  Target goal = {}) { return Row{what, {}, value, of, target, goal}; };
    const Value rawRead = Get("ours", top_, "raw_read_s");
    s.rows.push_back(row("plug-in load (Read, mode 0, binding), first of a fresh process / raw read",
                         Div(FirstLoad(top_, "first_load_s"), rawRead), atTop_, AtMost(8), AtMost(5)));
    s.rows.push_back(row("plug-in load, best of several in one process / raw read",
                         Div(Get("ours", top_, "load_s"), rawRead), atTop_, AtMost(8), AtMost(5)));
    s.rows.push_back(row("plug-in save (Write) / raw write of as many bytes",
                         Div(Get("ours", top_, "save_s"), Get("ours", top_, "raw_write_s")), atTop_,
                         AtMost(8), AtMost(5)));
    s.rows.push_back(row("memory added by the load / file bytes",
                         KibPerFileByte(Get("ours", top_, "mem_added_kib"), top_), atTop_, AtMost(2),
                         AtMost(1.5)));
    // The tool against the plug-in's load and save as the rows above measure them: what the
    // tool adds, its own first load's fresh memory included.
    const Value load = Get("ours", top_, "load_s");
    s.rows.push_back(row("sxfattr dump --summary (process, wall) / plug-in load (best)",
                         Div(Get("tool", top_, "dump_wall_s"), load), atTop_, AtMost(1.3), AtMost(1.1)));
    s.rows.push_back(row("sxfattr dump --summary peak memory / file bytes",
                         KibPerFileByte(Get("tool", top_, "dump_peak_kib"), top_), atTop_, AtMost(2.2)));
    s.rows.push_back(row("sxfattr convert (process, wall) / (plug-in load (best) + save)",
                         Div(Get("tool", top_, "convert_wall_s"), Sum(load, Get("ours", top_, "save_s"))),
                         atTop_, AtMost(1.3)));
    s.rows.push_back(row("copy with targets of 10% of the records, per copy", Growth("copy_s", "copy_count"),
                         Label(sizes_.drawing), AtMost(1.3), AtMost(1.1)));
    s.rows.push_back(row("OnCommit (every 10th record deleted), per record", Growth("commit_s"),
                         Label(sizes_.drawing), AtMost(1.5)));
    const std::string baseOf = "base/ours " + atTop_;
    s.rows.push_back(row("load with the chain-only map / ours",
                         Div(Get("base", top_, "load_s"), Get("ours", top_, "load_s")), baseOf, AtLeast(50)));
    s.rows.push_back(row("commit with the chain-only map / ours",
                         Div(Get("base", top_, "commit_s"), Get("ours", top_, "commit_s")), baseOf,
                         AtLeast(50)));
    return s;
  }

  Section Drawing() const {
    Section s;
    s.title = "Drawing of N figures (times per figure, the thread's CPU time, best of the samples)";
    for (unsigned n : sizes_.drawing) s.columns.push_back(SizeLabel(n));
    auto ns = [this](const char* key, const char* countKey = "") {
      return Each([=](unsigned n) { return PerFigureNs(n, key, countKey); });
    };
    auto quotient = [this](const char* a, const char* b) {
      return Each([=](unsigned n) { return Div(Get("ours", n, a), Get("ours", n, b)); });
    };
    auto values = [](const std::string& what, std::vector<Value> v) { return Row{what, v, {}, "", {}, {}}; };
    auto growth = [this](const std::string& what, std::vector<Value> v, Target target) {
      return Row{what, v, Div(v.back(), v.front()), Label(sizes_.drawing), target, {}};
    };
    s.rows.push_back(growth("load (Read, mode 0, with binding), best, ns", ns("load_s"), AtMost(1.3)));
    s.rows.push_back(values("load, first of a fresh process, ns", Each([this](unsigned n) {
                              return Scale(Div(FirstLoad(n, "first_load_s"), double(n)), 1e9);
                            })));
    s.rows.push_back(values("raw read of the file (64 KiB pieces, checksum), ns", ns("raw_read_s")));
    s.rows.push_back(values("load (best) / raw read", quotient("load_s", "raw_read_s")));
    s.rows.push_back(growth("save (Write), ns", ns("save_s"), AtMost(1.3)));
    s.rows.push_back(values("raw write of as many bytes (64 KiB pieces), ns", ns("raw_write_s")));
    s.rows.push_back(values("save / raw write", quotient("save_s", "raw_write_s")));
    s.rows.push_back(values("OnCommit, every 10th record deleted, ns", ns("commit_s")));
    s.rows.push_back(
        values("copy with targets, 10% of the records, ns per copy", ns("copy_s", "copy_count")));
    s.rows.push_back(values("file bytes per figure", Each([this](unsigned n) {
                              return Div(Get("ours", n, "file_bytes"), double(n));
                            })));
    s.rows.push_back(values("peak memory added by the first load / file bytes", Each([this](unsigned n) {
                              return KibPerFileByte(Get("ours", n, "mem_added_kib"), n);
                            })));
    return s;
  }

  Section Tool() const {
    Section s;
    s.title = "The tool as a whole process on the " + SizeLabel(top_) +
              " file, beside the plug-in in the bench's processes (fastest run)";
    s.columns = {"wall s", "CPU s", "memory MiB"};
    auto mib = [](Value kib) { return Scale(kib, 1.0 / 1024); };
    auto tool = [&](const std::string& what, const std::string& key) {
      return Row{what,
                 {Get("tool", top_, key + "_wall_s"), Get("tool", top_, key + "_cpu_s"),
                  mib(Get("tool", top_, key + "_peak_kib"))},
                 {},
                 "",
                 {},
                 {}};
    };
    s.rows.push_back(tool("sxfattr dump --summary FILE (memory: peak)", "dump"));
    s.rows.push_back(tool("sxfattr convert FILE OUT (memory: peak)", "convert"));
    s.rows.push_back(Row{"plug-in load, first of a fresh process (memory: added)",
                         {FirstLoad(top_, "first_load_wall_s"), FirstLoad(top_, "first_load_s"),
                          mib(Get("ours", top_, "mem_added_kib"))},
                         {},
                         "",
                         {},
                         {}});
    s.rows.push_back(Row{"plug-in save, best",
                         {Get("ours", top_, "save_wall_s"), Get("ours", top_, "save_s"), std::nullopt},
                         {},
                         "",
                         {},
                         {}});
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
          Row{op[1], values, Div(values.back(), values.front()), Label(sizes_.ops), AtMost(1.5), {}});
    }
    return s;
  }

  Section Baseline() const {
    Section s;
    s.title = "Chain-only map baseline (MFC's bucket chains, (key>>4) % 773), seconds";
    for (unsigned n : sizes_.drawing) s.columns.push_back(SizeLabel(n));
    auto row = [&](const char* what, const char* prefix, const char* key) {
      return Row{what, Each([=](unsigned n) { return Get(prefix, n, key); }), {}, "", {}, {}};
    };
    s.rows.push_back(row("load with the chain-only map", "base", "load_s"));
    s.rows.push_back(row("load with ours (best)", "ours", "load_s"));
    s.rows.push_back(row("commit with the chain-only map", "base", "commit_s"));
    s.rows.push_back(row("commit with ours", "ours", "commit_s"));
    return s;
  }

 private:
  const Results& r_;
  const TableSizes& sizes_;
  const unsigned top_;
  const std::string atTop_;
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

// A judged value, with as many more digits as it takes not to read as its bound when it is not
// the bound (1.504 against <= 1.5 shows as 1.504, not as 1.5 and NOT met).
std::string JudgedCell(const Value& v, const Target& target) {
  std::string text = Cell(v);
  if (!v || target.kind == Target::kNone || *v == target.bound) return text;
  for (int digits = 4; digits <= 8 && text == Cell(target.bound); ++digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*g", digits, *v);
    text = buf;
  }
  return text;
}

std::string Pad(const std::string& text, size_t width, bool right) {
  if (text.size() >= width) return text;
  const std::string fill(width - text.size(), ' ');
  return right ? fill + text : text + fill;
}

}  // namespace

std::vector<Section> MakeTable(const Results& results, const TableSizes& sizes) {
  Maker m(results, sizes);
  return {m.Targets(), m.Drawing(), m.Tool(), m.Operations(), m.Baseline()};
}

std::string FormatTable(const std::vector<Section>& sections) {
  size_t whatWidth = 4;
  for (const Section& s : sections) {
    for (const Row& r : s.rows) whatWidth = std::max(whatWidth, r.what.size());
  }
  constexpr size_t kNum = 11;
  std::ostringstream out;
  for (const Section& s : sections) {
    // A section shows the ratio, target and goal columns only when some row has one.
    bool ratios = false, targets = false, goals = false;
    for (const Row& r : s.rows) {
      targets |= r.target.kind != Target::kNone;
      ratios |= r.ratio.has_value() || r.target.kind != Target::kNone;
      goals |= r.goal.kind != Target::kNone;
    }
    out << s.title << "\n";
    std::string head = Pad("what", whatWidth, false);
    for (const std::string& c : s.columns) head += " " + Pad(c, kNum, true);
    if (ratios) head += " " + Pad(s.ratioTitle, kNum, true) + "  " + Pad("(of)", 18, false);
    if (targets) head += " " + Pad("target", 8, false);
    if (goals) head += " " + Pad("goal", 8, false);
    if (targets) head += " met";
    out << head << "\n" << std::string(head.size(), '-') << "\n";
    int judged = 0, met = 0;
    for (const Row& r : s.rows) {
      const bool hasTarget = r.target.kind != Target::kNone;
      std::string line = Pad(r.what, whatWidth, false);
      for (const Value& v : r.values) line += " " + Pad(Cell(v), kNum, true);
      if (ratios) {
        line += " " + Pad(hasTarget || r.ratio ? JudgedCell(r.ratio, r.target) : "", kNum, true);
        line += "  " + Pad(r.ratioOf.empty() ? "" : "(" + r.ratioOf + ")", 18, false);
      }
      if (targets) line += " " + Pad(r.target.Text(), 8, false);
      if (goals) line += " " + Pad(r.goal.Text(), 8, false);
      if (hasTarget) {
        ++judged;
        met += r.Met();
        line += r.Met() ? " met" : " NOT met";
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out << line << "\n";
    }
    if (judged > 0) out << met << " of " << judged << " targets met\n";
    out << "\n";
  }
  return out.str();
}
