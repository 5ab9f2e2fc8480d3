// The tool case: the sxfattr program run as a whole process on the table's drawing file, as a
// user runs it, beside which the table sets the plug-in's own load and save of the same file.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "cases.h"
#include "child_process.h"
#include "report.h"
#include "workload.h"

namespace {

struct Best {
  double wall = 0, cpu = 0;
  long peakKib = 0;
  int runs = 0;
  // Times: the fastest run, as for every time of the table. Memory: the largest peak, which
  // does not depend on the machine's other work.
  void Add(const ChildRun& run) {
    wall = runs == 0 ? run.wallSeconds : std::min(wall, run.wallSeconds);
    cpu = runs == 0 ? run.cpuSeconds : std::min(cpu, run.cpuSeconds);
    peakKib = std::max(peakKib, run.peakKib);
    ++runs;
  }
  void Print(const std::string& prefix) const {
    PrintResult((prefix + "_wall_s").c_str(), wall);
    PrintResult((prefix + "_cpu_s").c_str(), cpu);
    PrintResult((prefix + "_peak_kib").c_str(), static_cast<double>(peakKib));
  }
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

long long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

bool Ran(const ChildRun& run, const char* what) {
  if (run.started && run.exitCode == 0) return true;
  std::fprintf(stderr, "tool: %s %s (exit code %d)\n", what, run.started ? "failed" : "did not start",
               run.exitCode);
  return false;
}

}  // namespace

int RunToolCase(const std::string& tool, DWORD n, const std::string& path, int samples) {
  const std::string summary = path + ".summary";
  const std::string converted = path + ".converted";
  // The summary counts every stored figure: the drawing's and the title block's.
  const std::string figuresLine = "figures: " + std::to_string(n + kTitleElements) + "\n";
  Best dump, convert;
  bool ok = true;
  for (int s = 0; s < samples && ok; ++s) {
    const ChildRun d = RunChild({tool, "dump", "--summary", path}, summary);
    ok = Ran(d, "dump --summary");
    if (ok && ReadAll(summary).find(figuresLine) == std::string::npos) {
      std::fprintf(stderr, "tool: dump --summary of %s does not show %s", path.c_str(), figuresLine.c_str());
      ok = false;
    }
    if (!ok) break;
    dump.Add(d);
    std::remove(converted.c_str());
    const ChildRun c = RunChild({tool, "convert", path, converted}, "/dev/null");
    ok = Ran(c, "convert");
    // The drawing file holds the figures in ascending handle order in the new layout already,
    // so a conversion that wrote all of it writes as many bytes as it read.
    if (ok && FileSize(converted) != FileSize(path)) {
      std::fprintf(stderr, "tool: convert wrote %lld bytes for the %lld of %s\n", FileSize(converted),
                   FileSize(path), path.c_str());
      ok = false;
    }
    convert.Add(c);
  }
  std::remove(summary.c_str());
  std::remove(converted.c_str());
  if (!ok) return 1;
  dump.Print("dump");
  convert.Print("convert");
  return 0;
}
