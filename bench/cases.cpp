#include "cases.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "measure.h"
#include "report.h"
#include "workload.h"

namespace {

struct Seconds {
  double cpu = 0, wall = 0;
};

Seconds SaveSeconds(WorkloadDrawing& d, const std::string& path, int* ok) {
  const double start = CpuSeconds(), wallStart = WallSeconds();
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  *ok = d.adb->Write(0, &file, &d.db);
  file.Close();
  return Seconds{CpuSeconds() - start, WallSeconds() - wallStart};
}

// Deletes every 10th record through the host (mark, then commit) and times the commit. Returns
// -1 when a deleted record still shows its figure afterwards or a live one lost it.
double CommitSeconds(WorkloadDrawing& d, int* marked) {
  *marked = 0;
  for (DWORD h = 10; h <= d.figures; h += 10) *marked += d.db.MarkDeleted(d.Record(h));
  const double start = CpuSeconds();
  d.db.Commit();
  const double seconds = CpuSeconds() - start;
  for (DWORD h = 1; h <= d.figures; h += 1 + d.figures / 500) {
    SxfZCdbFigure fig;
    if ((d.adb->GetRecFigure(h, fig) == 1) != (h % 10 != 0)) return -1;
  }
  return seconds;
}

// Copies every 10th record inside the drawing with its targets, as a host's copy and paste
// does. Returns -1 when a copy came without its figure.
double CopySeconds(WorkloadDrawing& d, int* copied) {
  std::vector<ZCdbRecBase*> sources;
  for (DWORD h = 5; h <= d.figures; h += 10) sources.push_back(d.Record(h));
  std::vector<ZCdbRecBase*> copies;
  copies.reserve(sources.size());
  const double start = CpuSeconds();
  d.adb->BeginCopyWithTarget(d.adb);
  for (ZCdbRecBase* rec : sources) copies.push_back(d.db.CopyRecord(rec));
  d.adb->EndCopyWithTarget();
  const double seconds = CpuSeconds() - start;
  *copied = static_cast<int>(copies.size());
  for (size_t i = 0; i < copies.size(); i += 1 + copies.size() / 100) {
    SxfZCdbFigure fig;
    if (copies[i] == nullptr || d.adb->GetRecFigure(copies[i]->GetHandle(), fig) != 1) return -1;
  }
  return seconds;
}

}  // namespace

int RunSaveCase(DWORD n, const std::string& path, int samples) {
  std::unique_ptr<WorkloadDrawing> d = BuildSource(n);
  double best = 0, bestWall = 0;
  for (int s = 0; s < samples; ++s) {
    int ok = 0;
    const Seconds seconds = SaveSeconds(*d, path, &ok);
    if (ok != 1) {
      std::fprintf(stderr, "save: Write failed for %u figures\n", n);
      return 1;
    }
    best = s == 0 ? seconds.cpu : std::min(best, seconds.cpu);
    bestWall = s == 0 ? seconds.wall : std::min(bestWall, seconds.wall);
  }
  ULONGLONG bytes = 0;
  FileFingerprint(path, &bytes);
  const std::string rawPath = path + ".raw";
  double raw = 0;
  for (int s = 0; s < samples * 3; ++s) {
    const double seconds = RawWriteSeconds(rawPath, bytes);
    raw = s == 0 ? seconds : std::min(raw, seconds);
  }
  std::remove(rawPath.c_str());
  PrintResult("save_s", best);
  PrintResult("save_wall_s", bestWall);
  PrintResult("raw_write_s", raw);
  PrintResult("file_bytes", static_cast<double>(bytes));
  return 0;
}

int RunLoadCase(DWORD n, const std::string& path, const LoadCaseOptions& options) {
  std::unique_ptr<WorkloadDrawing> d;
  double best = 0;
  for (int s = 0; s < options.samples; ++s) {
    d.reset();  // the previous drawing goes before the next is made, so they never coexist
    d = BuildRecords(n);
    long before = 0;
    if (s == 0) {
      // Only the first load of the process measures memory: later ones run in freed memory.
      if (!ResetPeakResident()) std::fprintf(stderr, "load: peak resident size cannot be reset\n");
      before = StatusKib("VmRSS");
    }
    const double start = CpuSeconds(), wallStart = WallSeconds();
    CFile file(path.c_str(), CFile::modeRead);
    const int ok = d->adb->Read(0, &file, &d->db);
    file.Close();
    const double seconds = CpuSeconds() - start, wall = WallSeconds() - wallStart;
    const long peak = s == 0 ? StatusKib("VmHWM") : 0;
    std::string why;
    if (ok != 1 || !HoldsWorkload(*d, &why)) {
      std::fprintf(stderr, "load: Read of %s did not give the saved drawing: %s\n", path.c_str(),
                   why.c_str());
      return 1;
    }
    if (s == 0) {
      if (before < 0 || peak < 0) {
        std::fprintf(stderr, "load: /proc/self/status gives no memory figures\n");
        return 1;
      }
      PrintResult("mem_added_kib", static_cast<double>(peak - before));
      PrintResult("first_load_s", seconds);
      PrintResult("first_load_wall_s", wall);
    }
    best = s == 0 ? seconds : std::min(best, seconds);
  }
  PrintResult("load_s", best);

  double raw = 0;
  for (int s = 0; s < std::max(3, options.samples * 3); ++s) {
    ULONGLONG sum = 0;
    const double seconds = RawReadSeconds(path, &sum);
    if (sum == 0) return 1;  // the file cannot be empty; keeps the sum computed
    raw = s == 0 ? seconds : std::min(raw, seconds);
  }
  PrintResult("raw_read_s", raw);

  if (options.resave) {
    const std::string again = path + ".again";
    int ok = 0;
    SaveSeconds(*d, again, &ok);
    ULONGLONG bytes = 0;
    const ULONGLONG fp = FileFingerprint(again, &bytes);
    std::remove(again.c_str());
    if (ok != 1) return 1;
    // Printed in two halves: a double holds 53 bits exactly, not 64.
    PrintResult("resave_fp_hi", static_cast<double>(fp >> 32));
    PrintResult("resave_fp_lo", static_cast<double>(fp & 0xFFFFFFFFu));
  }

  int marked = 0;
  const double commit = CommitSeconds(*d, &marked);
  if (commit < 0 || marked != static_cast<int>(n / 10)) {
    std::fprintf(stderr, "commit: the deleted records are not exactly every 10th one\n");
    return 1;
  }
  PrintResult("commit_s", commit);
  PrintResult("commit_marked", marked);

  if (options.copy) {
    int copied = 0;
    const double seconds = CopySeconds(*d, &copied);
    if (seconds < 0) {
      std::fprintf(stderr, "copy: a copied record has no figure\n");
      return 1;
    }
    PrintResult("copy_s", seconds);
    PrintResult("copy_count", copied);
  }
  return 0;
}
