// Single operations at 1k and 1M entries with Google Benchmark.
//
// Each drawing is the generated one (workload.h) of that many figures; the records worked on
// (the probes) are spread over the whole handle range, so a large drawing costs what its memory
// costs. Operations that need a prepared state (a mark to take back, a step to undo) run in
// batches: the preparation is outside the timed part, and a batch's time is divided by its
// size.
#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cases.h"
#include "exports/record_functions.h"
#include "report.h"
#include "workload.h"

namespace {

constexpr size_t kProbes = 1024;
constexpr int kBatch = 128;

struct OpsDrawing {
  std::unique_ptr<WorkloadDrawing> d;
  std::vector<ZCdbRecBase*> probes;
  std::vector<SxfZCdbFigure> figures;  // a fresh figure for each probe
};

OpsDrawing& DrawingOf(DWORD n) {
  static std::map<DWORD, std::unique_ptr<OpsDrawing>> made;
  std::unique_ptr<OpsDrawing>& o = made[n];
  if (!o) {
    o.reset(new OpsDrawing);
    o->d = BuildSource(n);
    const size_t count = n < kProbes ? n : kProbes;
    for (size_t i = 0; i < count; ++i) {
      const DWORD h = static_cast<DWORD>(i * n / count + 1);
      o->probes.push_back(o->d->Record(h));
      o->figures.push_back(FigureFor(h, n, o->d->refId));
    }
  }
  return *o;
}

// The probes of the next batch, going round the probe list.
std::vector<size_t> NextBatch(const OpsDrawing& o, size_t* next) {
  std::vector<size_t> batch;
  for (int i = 0; i < kBatch; ++i) {
    batch.push_back(*next);
    if (++*next == o.probes.size()) *next = 0;
  }
  return batch;
}

void SetRecFigure(benchmark::State& state) {
  OpsDrawing& o = DrawingOf(static_cast<DWORD>(state.range(0)));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SXF_SetRecFigure(o.probes[i], o.figures[i]));
    if (++i == o.probes.size()) i = 0;
  }
  state.counters["batch"] = 1;
}

void GetRecFigure(benchmark::State& state) {
  OpsDrawing& o = DrawingOf(static_cast<DWORD>(state.range(0)));
  size_t i = 0;
  SxfZCdbFigure out;
  for (auto _ : state) {
    if (SXF_GetRecFigure(o.probes[i], out) != 1) state.SkipWithError("a probe has no figure");
    if (++i == o.probes.size()) i = 0;
  }
  state.counters["batch"] = 1;
}

// Times mark (first) or unmark (second) of a batch of probes; the other half restores the state.
void MarkOrUnmark(benchmark::State& state, bool timeUnmark) {
  OpsDrawing& o = DrawingOf(static_cast<DWORD>(state.range(0)));
  ZCdb& db = o.d->db;
  size_t next = 0;
  for (auto _ : state) {
    const std::vector<size_t> batch = NextBatch(o, &next);
    if (timeUnmark) state.PauseTiming();
    int done = 0;
    for (size_t i : batch) done += db.MarkDeleted(o.probes[i]);
    if (timeUnmark) {
      state.ResumeTiming();
    } else {
      state.PauseTiming();
    }
    for (size_t i : batch) done += db.Unmark(o.probes[i]);
    if (!timeUnmark) state.ResumeTiming();
    if (done != 2 * kBatch) state.SkipWithError("a probe was not marked and unmarked");
  }
  state.counters["batch"] = kBatch;
}

void MarkDeleted(benchmark::State& state) {
  MarkOrUnmark(state, false);
}
void Unmark(benchmark::State& state) {
  MarkOrUnmark(state, true);
}

// Records one undo step per attach of the batch, then times undoing them (or, after undoing
// them untimed, redoing them). The steps are released outside the timed part.
void UndoOrRedo(benchmark::State& state, bool timeRedo) {
  OpsDrawing& o = DrawingOf(static_cast<DWORD>(state.range(0)));
  ZCdb& db = o.d->db;
  size_t next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::vector<size_t> batch = NextBatch(o, &next);
    for (size_t i : batch) {
      db.BeginUndoStep();
      SXF_SetRecFigure(o.probes[i], o.figures[i]);
      db.EndUndoStep();
    }
    if (timeRedo) {
      for (size_t k = 0; k < batch.size(); ++k) db.Undo();
    }
    state.ResumeTiming();
    int done = 0;
    for (size_t k = 0; k < batch.size(); ++k) done += timeRedo ? db.Redo() : db.Undo();
    state.PauseTiming();
    if (done != static_cast<int>(batch.size())) state.SkipWithError("a step was not undone or redone");
    db.GetUndo()->Clear();
    state.ResumeTiming();
  }
  state.counters["batch"] = kBatch;
}

void Undo(benchmark::State& state) {
  UndoOrRedo(state, false);
}
void Redo(benchmark::State& state) {
  UndoOrRedo(state, true);
}

// Shows the usual console report on standard error and keeps each run's time per operation.
class Collector : public benchmark::ConsoleReporter {
 public:
  Collector() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      auto batch = run.counters.find("batch");
      const double perIteration = run.GetAdjustedCPUTime();  // in the run's unit, ns here
      const double ops = batch != run.counters.end() && batch->second.value > 0 ? batch->second.value : 1;
      // The name is "<op>/<entries>".
      std::string name = run.benchmark_name();
      const size_t slash = name.find('/');
      if (slash != std::string::npos) name[slash] = '_';
      // With repetitions, the fastest one: the others were slowed by the rest of the machine.
      const std::string key = "op_" + name;
      auto known = results_.find(key);
      const double perOp = perIteration / ops;
      if (known == results_.end() || perOp < known->second) results_[key] = perOp;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& results() const { return results_; }

 private:
  std::map<std::string, double> results_;
};

}  // namespace

int RunOpsCase(int argc, char** argv) {
  const std::pair<const char*, void (*)(benchmark::State&)> ops[] = {
      {"SetRecFigure", SetRecFigure},
      {"GetRecFigure", GetRecFigure},
      {"MarkDeleted", MarkDeleted},
      {"Unmark", Unmark},
      {"Undo", Undo},
      {"Redo", Redo},
  };
  for (const auto& op : ops) {
    benchmark::RegisterBenchmark(op.first, op.second)->Arg(1000)->Arg(1000000)->Unit(benchmark::kNanosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  Collector collector;  // no colour codes: the console report goes to the log
  collector.SetOutputStream(&std::cerr);
  collector.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();
  for (const auto& result : collector.results()) PrintResult(result.first.c_str(), result.second);
  return collector.results().size() == 12 ? 0 : 1;
}
