// Saving and loading the drawing-file attribute section of drawings of 100k and 1M figures, each
// beside a plain read of the same file's bytes (with a byte checksum) in the same run.
//
// Every figure holds one set reference of six attributes, one of them a target (the next
// record). The section goes to a disk file and is read back from it through CFile, as a host
// does. Counters, per figure: ns (the section operation), raw_ns (the plain read of the file),
// x_raw (their ratio), file_B (section bytes) and peak_B (the most memory held at once during the
// operation beyond what was held before it, counted at malloc).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "attrdb/attrdb.h"
#include "exports/entry.h"
#include "host/host.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"

// ---- memory accounting: every allocation of the process, the plug-in's included ----
// The program's malloc family stands in for the C library's (which it calls), so operator new,
// the platform's containers and the archive buffers are all counted.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {
// Counting is switched on only for one extra run of each operation, so the timed runs pay
// nothing for it.
std::atomic<bool> g_counting{false};
std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};

void* Track(void* p) {
  if (p == nullptr || !g_counting.load(std::memory_order_relaxed)) return p;
  const long long now = g_live += static_cast<long long>(malloc_usable_size(p));
  long long peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void Untrack(void* p) {
  if (p != nullptr && g_counting.load(std::memory_order_relaxed))
    g_live -= static_cast<long long>(malloc_usable_size(p));
}
}  // namespace

extern "C" {
void* malloc(size_t n) {
  return Track(__libc_malloc(n));
}
void* calloc(size_t n, size_t size) {
  return Track(__libc_calloc(n, size));
}
void* realloc(void* p, size_t n) {
  Untrack(p);
  void* q = __libc_realloc(p, n);
  // A failed realloc leaves p as it was.
  return Track(q != nullptr || n == 0 ? q : p);
}
void* memalign(size_t alignment, size_t n) {
  return Track(__libc_memalign(alignment, n));
}
void* aligned_alloc(size_t alignment, size_t n) {
  return Track(__libc_memalign(alignment, n));
}
int posix_memalign(void** out, size_t alignment, size_t n) {
  void* p = Track(__libc_memalign(alignment, n));
  if (p == nullptr) return ENOMEM;
  *out = p;
  return 0;
}
void free(void* p) {
  Untrack(p);
  __libc_free(p);
}
}

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

SxfZCdbFigure SixAttributeFigure(const char* refId, DWORD target) {
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRF);
  SxfZCdbAttrSetRef* ref = fig.ATRF_GetAttr()->AddAttrSetRefData(refId, 1);
  for (const char* name : {"width", "height", "material", "grade", "note"}) {
    SxfZCdbATRU attr;
    attr.name = name;
    attr.type = "STR";
    attr.value = "12.500";
    ref->AddAttrData(attr);
  }
  ref->AddTarget(target, "memo");
  return fig;
}

// A drawing of n plain records under handles 1..n, as a host holds it after loading its own
// records; with figures, each record gets one.
struct Drawing {
  CEnvironObj env{"/data"};
  ZCdb db{0};
  SxfZCdbAttrDB* adb;
  Drawing(int n, bool withFigures) {
    adb = static_cast<SxfZCdbAttrDB*>(db.CreateAttrDB(ZCdbAttrDBEntry, env));
    const char* refId = withFigures ? adb->AddAttrSetDefData("Road", "1.0", "Office", 1)->GetId() : "";
    for (int i = 1; i <= n; ++i) {
      ZCdbRecBase* rec = new ZCdbTbl;
      db.LoadRecord(rec, static_cast<DWORD>(i));
      if (withFigures) adb->SetRecFigure(rec, SixAttributeFigure(refId, static_cast<DWORD>(i % n + 1)));
    }
  }
};

std::string PathFor(int n) {
  return "/tmp/bench_section_" + std::to_string(getpid()) + "_" + std::to_string(n) + ".bin";
}

// The saved drawing and its file, made once per size.
struct Saved {
  std::unique_ptr<Drawing> source;
  std::string path;
  ULONGLONG bytes = 0;
};

Saved& SavedOf(int n) {
  static std::map<int, Saved> made;
  Saved& s = made[n];
  if (!s.source) {
    s.source.reset(new Drawing(n, true));
    s.path = PathFor(n);
    CFile file(s.path.c_str(), CFile::modeCreate | CFile::modeWrite);
    s.source->adb->Write(0, &file, &s.source->db);
    s.bytes = file.GetLength();
    file.Close();
    std::atexit([] {
      for (auto& entry : made) std::remove(entry.second.path.c_str());
    });
  }
  return s;
}

// Reads the whole file through CFile in 64 KiB pieces and sums its bytes.
double RawReadSeconds(const std::string& path) {
  static BYTE chunk[1 << 16];
  const Clock::time_point start = Clock::now();
  CFile file(path.c_str(), CFile::modeRead);
  unsigned long long sum = 0;
  for (UINT got; (got = file.Read(chunk, sizeof chunk)) != 0;) {
    for (UINT i = 0; i < got; ++i) sum += chunk[i];
  }
  benchmark::DoNotOptimize(sum);
  return Seconds(start);
}

// The most memory held at once while op runs, beyond what was held when it started.
template <class Op>
long long PeakDuring(Op&& op) {
  g_live = 0;
  g_peak = 0;
  g_counting = true;
  op();
  g_counting = false;
  return g_peak.load();
}

void Report(benchmark::State& state, int n, double seconds, double rawSeconds, long long peak,
            ULONGLONG bytes) {
  const double figures = static_cast<double>(n);
  const double runs = static_cast<double>(state.iterations());
  state.counters["ns"] = seconds / runs / figures * 1e9;
  state.counters["raw_ns"] = rawSeconds / runs / figures * 1e9;
  state.counters["x_raw"] = seconds / rawSeconds;
  state.counters["file_B"] = static_cast<double>(bytes) / figures;
  state.counters["peak_B"] = static_cast<double>(peak) / figures;
}

void BM_SaveSection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Saved& saved = SavedOf(n);
  const std::string path = saved.path + ".save";
  auto save = [&] {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    const int ok = saved.source->adb->Write(0, &file, &saved.source->db);
    file.Close();
    return ok;
  };
  double total = 0, raw = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    if (save() != 1) state.SkipWithError("save failed");
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    total += seconds;
    raw += RawReadSeconds(path);
  }
  const long long peak = PeakDuring(save);
  std::remove(path.c_str());
  Report(state, n, total, raw, peak, saved.bytes);
}

void BM_LoadSection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Saved& saved = SavedOf(n);
  // The host's records exist before the section is read; making and dropping them is not timed.
  std::unique_ptr<Drawing> target;
  auto load = [&] {
    CFile file(saved.path.c_str(), CFile::modeRead);
    return target->adb->Read(0, &file, &target->db);
  };
  double total = 0, raw = 0;
  for (auto _ : state) {
    target.reset(new Drawing(n, false));
    const Clock::time_point start = Clock::now();
    if (load() != 1) state.SkipWithError("load failed");
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    total += seconds;
    target.reset();
    raw += RawReadSeconds(saved.path);
  }
  target.reset(new Drawing(n, false));
  const long long peak = PeakDuring(load);
  target.reset();
  Report(state, n, total, raw, peak, saved.bytes);
}

}  // namespace

BENCHMARK(BM_SaveSection)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_LoadSection)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
