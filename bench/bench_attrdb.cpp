// SXF_SetRecFigure and SXF_GetRecFigure per operation with 1k and 1M entries in the handle map.
// The figures worked on hold one set reference of six attributes, one of them a target; the
// other entries of the map are entries whose figures were removed. The measured records are
// spread over the whole handle range, so a large map costs what its memory costs.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <vector>

#include "attrdb/attrdb.h"
#include "exports/entry.h"
#include "exports/record_functions.h"
#include "host/host.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"

namespace {

constexpr int kProbes = 1024;

SxfZCdbFigure SixAttributeFigure(const char* refId, DWORD target) {
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRF);
  SxfZCdbAttrSetRef* ref = fig.ATRF_GetAttr()->AddAttrSetRefData(refId, 1);
  const char* names[] = {"width", "height", "material", "grade", "note"};
  for (const char* name : names) {
    SxfZCdbATRU attr;
    attr.name = name;
    attr.type = "STR";
    attr.value = "12.500";
    ref->AddAttrData(attr);
  }
  ref->AddTarget(target, "memo");
  return fig;
}

struct Drawing {
  CEnvironObj env{"/data"};
  ZCdb db;
  SxfZCdbAttrDB* adb = nullptr;
  std::vector<ZCdbRecBase*> probes;
  SxfZCdbFigure fig;

  explicit Drawing(int entries) {
    adb = static_cast<SxfZCdbAttrDB*>(db.CreateAttrDB(ZCdbAttrDBEntry, env));
    SxfZCdbAttrSetDef* def = adb->AddAttrSetDefData("Road", "1.0", "Office", 1);
    std::vector<ZCdbRecBase*> recs;
    recs.reserve(static_cast<size_t>(entries));
    SxfZCdbFigure empty;
    for (int i = 0; i < entries; ++i) {
      ZCdbRecBase* rec = new ZCdbTbl;
      db.AddRecord(rec);
      SXF_SetRecFigure(rec, empty);
      SXF_DelRecFigure(rec);  // the entry stays without a figure
      recs.push_back(rec);
    }
    const int probeCount = entries < kProbes ? entries : kProbes;
    for (int i = 0; i < probeCount; ++i) {
      probes.push_back(
          recs[static_cast<size_t>(i) * static_cast<size_t>(entries) / static_cast<size_t>(probeCount)]);
    }
    // Each probe references the next one, so every target is live.
    for (size_t i = 0; i < probes.size(); ++i) {
      ZCdbRecBase* next = probes[(i + 1) % probes.size()];
      SXF_SetRecFigure(probes[i], SixAttributeFigure(def->id, next->GetHandle()));
    }
    fig = SixAttributeFigure(def->id, probes[0]->GetHandle());
  }
};

Drawing& DrawingOf(int entries) {
  static std::map<int, std::unique_ptr<Drawing>> made;
  std::unique_ptr<Drawing>& d = made[entries];
  if (!d) d.reset(new Drawing(entries));
  return *d;
}

void BM_SetRecFigure(benchmark::State& state) {
  Drawing& d = DrawingOf(static_cast<int>(state.range(0)));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SXF_SetRecFigure(d.probes[i], d.fig));
    if (++i == d.probes.size()) i = 0;
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}

void BM_GetRecFigure(benchmark::State& state) {
  Drawing& d = DrawingOf(static_cast<int>(state.range(0)));
  size_t i = 0;
  SxfZCdbFigure out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SXF_GetRecFigure(d.probes[i], out));
    if (++i == d.probes.size()) i = 0;
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}

}  // namespace

BENCHMARK(BM_SetRecFigure)->Arg(1000)->Arg(1000000);
BENCHMARK(BM_GetRecFigure)->Arg(1000)->Arg(1000000);

BENCHMARK_MAIN();
