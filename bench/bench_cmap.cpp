// Lookup and insert cost of CMap beside a map that has only MFC's bucket chains.
//
// Both maps hash a key as (key >> 4) % 773, the handle map's bucket count, and put a new key at
// the head of its bucket. The chain-only map finds a key by walking its bucket, as MFC's own map
// does; CMap finds it through its index. Keys are record handles 1..N. Each iteration times a
// batch of operations on a map that holds N keys; the column ns_per_op is the time of one. Time
// is the thread's CPU time: the machine may be shared, and waiting for a core is not the map's
// cost.
//
//   Lookup: a present key.
//   Insert: SetAt of an absent key (the map first looks for it, as MFC's SetAt does); the batch
//           is removed again outside the timed part, so the map stays at N keys.
//
// Two orders: "random" builds the map in shuffled order and picks every key at random, the worst
// case for any cache; "ascending" builds it in handle order and runs over handles in order, as a
// drawing is loaded and then walked record by record (new records get new, higher handles).
//
// CMap's time grows with N only through cache misses (a key's index slot and its entry); the
// chain-only map's grows with its chains, N / 773 entries long.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/cmap.h"

namespace {

constexpr UINT kBuckets = 773;
constexpr int kLookupBatch = 1024;
constexpr int kInsertBatch = 256;
// Absent keys for the insert runs come from this many handles above N, so a run spreads its
// inserts over every bucket instead of warming a few chains.
constexpr DWORD kFreshPool = 1 << 16;

// MFC's map as it is: singly linked bucket chains, new keys at the head, entries from blocks of
// ten, and every lookup, SetAt and RemoveKey walks the key's chain.
class ChainMap {
 public:
  explicit ChainMap(UINT buckets) : heads_(buckets, nullptr) {}
  ~ChainMap() {
    for (void* block : blocks_) std::free(block);
  }
  ChainMap(const ChainMap&) = delete;
  ChainMap& operator=(const ChainMap&) = delete;

  bool Lookup(DWORD key, void*& value) const {
    for (Assoc* a = heads_[Bucket(key)]; a; a = a->next) {
      if (a->key == key) {
        value = a->value;
        return true;
      }
    }
    return false;
  }

  void SetAt(DWORD key, void* value) {
    Assoc*& head = heads_[Bucket(key)];
    for (Assoc* a = head; a; a = a->next) {
      if (a->key == key) {
        a->value = value;
        return;
      }
    }
    Link(head, key, value);
  }

  bool RemoveKey(DWORD key) {
    for (Assoc** link = &heads_[Bucket(key)]; *link; link = &(*link)->next) {
      if ((*link)->key == key) {
        Assoc* a = *link;
        *link = a->next;
        a->next = free_;
        free_ = a;
        return true;
      }
    }
    return false;
  }

  // Set-up only: adds a key known to be absent without walking its chain.
  void AddAbsent(DWORD key, void* value) { Link(heads_[Bucket(key)], key, value); }

 private:
  struct Assoc {
    Assoc* next;
    UINT hash;
    DWORD key;
    void* value;
  };

  UINT Bucket(DWORD key) const { return (key >> 4) % static_cast<UINT>(heads_.size()); }

  void Link(Assoc*& head, DWORD key, void* value) {
    if (!free_) {
      Assoc* block = static_cast<Assoc*>(std::malloc(sizeof(Assoc) * 10));
      if (!block) throw std::bad_alloc();
      blocks_.push_back(block);
      for (int i = 9; i >= 0; --i) {
        block[i].next = free_;
        free_ = &block[i];
      }
    }
    Assoc* a = free_;
    free_ = a->next;
    *a = Assoc{head, key >> 4, key, value};
    head = a;
  }

  std::vector<Assoc*> heads_;
  std::vector<void*> blocks_;
  Assoc* free_ = nullptr;
};

typedef CMap<DWORD, DWORD, void*, void*> IndexedMap;

std::unique_ptr<IndexedMap> MakeEmpty(IndexedMap*) {
  auto map = std::make_unique<IndexedMap>();
  map->InitHashTable(kBuckets);
  return map;
}
std::unique_ptr<ChainMap> MakeEmpty(ChainMap*) {
  return std::make_unique<ChainMap>(kBuckets);
}

void AddAbsent(IndexedMap& map, DWORD key, void* value) {
  map.SetAt(key, value);
}
void AddAbsent(ChainMap& map, DWORD key, void* value) {
  map.AddAbsent(key, value);
}

enum class Order { kRandom, kAscending };

// count handles from first on, shuffled (random order) or as they are (ascending order).
std::vector<DWORD> Handles(DWORD first, DWORD count, Order order, unsigned seed) {
  std::vector<DWORD> keys(count);
  std::iota(keys.begin(), keys.end(), first);
  if (order == Order::kRandom) std::shuffle(keys.begin(), keys.end(), std::mt19937(seed));
  return keys;
}

void* ValueFor(DWORD key) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(key) * 8);
}

// One filled map per kind, order and size, kept for the whole run: building the large ones costs
// more than measuring them.
template <class Map>
Map& Filled(DWORD n, Order order) {
  static std::map<std::pair<DWORD, Order>, std::unique_ptr<Map>> maps;
  std::unique_ptr<Map>& map = maps[{n, order}];
  if (!map) {
    map = MakeEmpty(static_cast<Map*>(nullptr));
    for (DWORD key : Handles(1, n, order, 1)) AddAbsent(*map, key, ValueFor(key));
  }
  return *map;
}

double CpuNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

void Report(benchmark::State& state, double nanoseconds, int batch) {
  double ops = static_cast<double>(state.iterations()) * batch;
  state.counters["ns_per_op"] = ops > 0 ? nanoseconds / ops : 0;
}

template <class Map>
void Lookup(benchmark::State& state, Order order) {
  DWORD n = static_cast<DWORD>(state.range(0));
  Map& map = Filled<Map>(n, order);
  std::vector<DWORD> keys = Handles(1, n, order, 2);
  size_t next = 0;
  double nanoseconds = 0;
  for (auto _ : state) {
    const double start = CpuNanoseconds();
    for (int i = 0; i < kLookupBatch; ++i) {
      void* value = nullptr;
      bool found = map.Lookup(keys[next], value);
      benchmark::DoNotOptimize(found);
      benchmark::DoNotOptimize(value);
      if (++next == keys.size()) next = 0;
    }
    const double spent = CpuNanoseconds() - start;
    state.SetIterationTime(spent * 1e-9);
    nanoseconds += spent;
  }
  Report(state, nanoseconds, kLookupBatch);
}

template <class Map>
void Insert(benchmark::State& state, Order order) {
  DWORD n = static_cast<DWORD>(state.range(0));
  Map& map = Filled<Map>(n, order);
  std::vector<DWORD> fresh = Handles(n + 1, kFreshPool, order, 3);
  size_t next = 0;
  double nanoseconds = 0;
  for (auto _ : state) {
    size_t first = next;
    const double start = CpuNanoseconds();
    for (int i = 0; i < kInsertBatch; ++i) {
      map.SetAt(fresh[next], ValueFor(fresh[next]));
      if (++next == fresh.size()) next = 0;
    }
    const double spent = CpuNanoseconds() - start;
    state.SetIterationTime(spent * 1e-9);
    nanoseconds += spent;
    for (size_t i = 0, k = first; i < static_cast<size_t>(kInsertBatch); ++i, k = (k + 1) % fresh.size()) {
      if (!map.RemoveKey(fresh[k])) state.SkipWithError("an inserted key was not found again");
    }
  }
  Report(state, nanoseconds, kInsertBatch);
}

void Register(const char* op, void (*run)(benchmark::State&, Order), const char* mapName) {
  for (Order order : {Order::kRandom, Order::kAscending}) {
    std::string name = std::string(op) + (order == Order::kRandom ? "/random/" : "/ascending/") + mapName;
    benchmark::RegisterBenchmark(name.c_str(), run, order)
        ->Arg(1000)
        ->Arg(100000)
        ->Arg(1000000)
        ->UseManualTime()
        ->Unit(benchmark::kNanosecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register("Lookup", Lookup<IndexedMap>, "CMap");
  Register("Lookup", Lookup<ChainMap>, "chain-only");
  Register("Insert", Insert<IndexedMap>, "CMap");
  Register("Insert", Insert<ChainMap>, "chain-only");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
