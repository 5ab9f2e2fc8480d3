// The performance table: one program that measures everything in one run and prints the table.
//
//   bench_table --table OUT --work DIR [--baseline PROGRAM] [--tool PROGRAM] [--quick]
//       runs every case below in a fresh process of its own (this program again, or the baseline
//       program built with the chain-only map), reads their results and prints the table, also
//       writing it to OUT. --tool names the sxfattr program, which the table runs as a whole
//       process on its largest drawing. --quick measures at 1k/2k/4k figures, for trying the
//       driver out.
//   bench_table --case save N FILE SAMPLES
//   bench_table --case load N FILE SAMPLES [--resave] [--copy]
//   bench_table --case tool PROGRAM N FILE SAMPLES
//   bench_table --case ops [Google Benchmark flags]
//
// A fresh process per case keeps one case's memory and caches out of the next one's numbers,
// and is what makes the peak resident size of a load, and its first load, mean something.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cases.h"
#include "report.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: bench_table --table OUT --work DIR [--baseline PROGRAM] [--tool PROGRAM] [--quick]\n"
               "       bench_table --case save|load N FILE SAMPLES [--resave] [--copy]\n"
               "       bench_table --case tool PROGRAM N FILE SAMPLES\n"
               "       bench_table --case ops [benchmark flags]\n");
  return 2;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string SelfPath() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  buf[n] = '\0';
  return buf;
}

// Runs a case process and files each result line under prefix. False when it failed; the
// results of a failed case are dropped, so that no cell shows a number of a failed run.
bool RunCase(const std::string& command, const std::string& prefix, Results& results) {
  std::fprintf(stderr, "== %s\n", command.c_str());
  const auto start = std::chrono::steady_clock::now();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  char line[512];
  std::vector<std::pair<std::string, double>> got;
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string key;
    double value = 0;
    if (ParseResultLine(line, &key, &value)) got.emplace_back(prefix + "." + key, value);
  }
  const int status = pclose(pipe);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const bool ok = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !got.empty();
  std::fprintf(stderr, "   %s, %zu results, %.1f s\n", ok ? "done" : "FAILED", got.size(), seconds);
  if (ok) {
    for (const auto& result : got) results.Set(result.first, result.second);
  }
  return ok;
}

int Samples(unsigned n) {
  return n <= 20000 ? 7 : n <= 200000 ? 5 : 3;
}

// Runs of each tool command; every run is a fresh process, so a few are enough.
int ToolRuns(unsigned n) {
  return n <= 200000 ? 5 : 3;
}

int RunTable(const std::string& out, const std::string& work, const std::string& baseline,
             const std::string& tool, bool quick) {
  const auto start = std::chrono::steady_clock::now();
  const std::string self = Quote(SelfPath());
  TableSizes sizes;
  if (quick) {
    sizes.drawing = {1000, 2000, 4000};
  }
  Results results;
  bool allOk = true;
  auto file = [&](unsigned n) { return work + "/drawing_" + std::to_string(n) + ".sxa"; };
  for (unsigned n : sizes.drawing) {
    allOk &= RunCase(
        self + " --case save " + std::to_string(n) + " " + Quote(file(n)) + " " + std::to_string(Samples(n)),
        "ours." + std::to_string(n), results);
  }
  for (unsigned n : sizes.drawing) {
    allOk &= RunCase(self + " --case load " + std::to_string(n) + " " + Quote(file(n)) + " " +
                         std::to_string(Samples(n)) + " --resave --copy",
                     "ours." + std::to_string(n), results);
  }
  // What a user waits for: a first load in a fresh process, and the tool run whole, both on the
  // largest drawing. Each further process that only loads gives one more first load.
  const unsigned top = sizes.drawing.back();
  const std::string topFile = Quote(file(top));
  for (int i = 1; i <= sizes.freshLoads; ++i) {
    allOk &= RunCase(self + " --case load " + std::to_string(top) + " " + topFile + " 1",
                     "fresh" + std::to_string(i) + "." + std::to_string(top), results);
  }
  if (!tool.empty()) {
    allOk &= RunCase(self + " --case tool " + Quote(tool) + " " + std::to_string(top) + " " + topFile + " " +
                         std::to_string(ToolRuns(top)),
                     "tool." + std::to_string(top), results);
  } else {
    std::fprintf(stderr, "== no --tool: the tool's rows show n/a\n");
    allOk = false;
  }
  allOk &= RunCase(
      self + " --case ops" +
          (quick ? " --benchmark_min_time=0.05" : " --benchmark_min_time=0.2 --benchmark_repetitions=3"),
      "ops", results);

  // The baseline reads the files written above, so its numbers are for the same bytes. Writing
  // the loaded drawing again is a check that the chain-only build loads what ours loads; at the
  // largest size it would cost the chain walks of a whole save, so it is left out there.
  std::string baselineNote;
  if (!baseline.empty()) {
    bool same = true;
    for (unsigned n : sizes.drawing) {
      const bool resave = n != sizes.drawing.back();
      const std::string prefix = "base." + std::to_string(n);
      allOk &= RunCase(Quote(baseline) + " --case load " + std::to_string(n) + " " + Quote(file(n)) + " 1" +
                           (resave ? " --resave" : ""),
                       prefix, results);
      if (resave) {
        for (const char* half : {"resave_fp_hi", "resave_fp_lo"}) {
          const auto a = results.Get(prefix + "." + half);
          const auto b = results.Get("ours." + std::to_string(n) + "." + half);
          same &= a && b && *a == *b;
        }
      }
    }
    baselineNote = same
                       ? "The chain-only build wrote the loaded drawing back byte for byte as ours did.\n"
                       : "WARNING: the chain-only build did not write the loaded drawing back as ours did.\n";
    allOk &= same;
  }
  for (unsigned n : sizes.drawing) std::remove(file(n).c_str());

  const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 60;
  std::string samples;
  for (unsigned n : sizes.drawing) samples += (samples.empty() ? "" : "/") + std::to_string(Samples(n));
  char footer[1024];
  std::snprintf(footer, sizeof footer,
                "Drawing rows: best of %s samples per size (raw passes: three times as many); the\n"
                "chain-only map: one sample per size. First load of a fresh process: at %s, the\n"
                "fastest of %d processes' first loads. Memory added: VmHWM after the first load of a\n"
                "fresh process minus VmRSS before it. Tool: the fastest of %d runs of each command,\n"
                "wall time from fork to exit and the peak resident size from wait4. Single\n"
                "operations: the fastest of three repetitions.\n"
                "Measured in one run of %.1f minutes%s.\n",
                samples.c_str(), SizeLabel(top).c_str(), 1 + sizes.freshLoads, ToolRuns(top), minutes,
                allOk ? "" : "; SOME CASES FAILED (their cells show n/a)");
  const std::string table = FormatTable(MakeTable(results, sizes)) + baselineNote + footer;
  std::fputs(table.c_str(), stdout);
  FILE* f = std::fopen(out.c_str(), "w");
  if (f == nullptr || std::fputs(table.c_str(), f) < 0 || std::fclose(f) != 0) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return allOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--case") == 0) {
    const std::string which = argv[2];
    if (which == "ops") {
      argv[2] = argv[0];
      return RunOpsCase(argc - 2, argv + 2);
    }
    if (which == "tool") {
      if (argc != 7) return Usage();
      const DWORD n = static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10));
      const int runs = std::atoi(argv[6]);
      if (n == 0 || runs <= 0) return Usage();
      return RunToolCase(argv[3], n, argv[5], runs);
    }
    if (argc < 6) return Usage();
    const DWORD n = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
    const std::string path = argv[4];
    const int samples = std::atoi(argv[5]);
    if (n == 0 || samples <= 0) return Usage();
    if (which == "save") return RunSaveCase(n, path, samples);
    if (which != "load") return Usage();
    LoadCaseOptions options;
    options.samples = samples;
    for (int i = 6; i < argc; ++i) {
      if (std::strcmp(argv[i], "--resave") == 0) {
        options.resave = true;
      } else if (std::strcmp(argv[i], "--copy") == 0) {
        options.copy = true;
      } else {
        return Usage();
      }
    }
    return RunLoadCase(n, path, options);
  }
  std::string out, work, baseline, tool;
  bool quick = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--quick") {
      quick = true;
    } else if (i + 1 < argc && arg == "--table") {
      out = argv[++i];
    } else if (i + 1 < argc && arg == "--work") {
      work = argv[++i];
    } else if (i + 1 < argc && arg == "--baseline") {
      baseline = argv[++i];
    } else if (i + 1 < argc && arg == "--tool") {
      tool = argv[++i];
    } else {
      return Usage();
    }
  }
  if (out.empty() || work.empty()) return Usage();
  return RunTable(out, work, baseline, tool, quick);
}
