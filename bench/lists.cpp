// Entity-list churn as play produces it: a population of 52-byte records is
// walked every frame, some die, new ones are spawned.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "runtime/list.h"
#include "runtime/random.h"

namespace {

using namespace quorin;

struct Monster {
  std::int32_t fields[13];
};
static_assert(sizeof(Monster) == 52);

// One iteration: walk all, remove about a quarter, insert the same number.
void BM_ListChurn(benchmark::State& state) {
  const int population = static_cast<int>(state.range(0));
  List<Monster> list;
  RandomState rng;
  RandomSetSeed(rng, 1);
  for (int k = 0; k < population; ++k) ListInsert(list).fields[0] = k;
  std::int64_t operations = 0;
  for (auto _ : state) {
    int removed = 0;
    ListRewind(list);
    while (Monster* m = ListStep(list)) {
      m->fields[1] += m->fields[0];
      ++operations;
      if (RandomUpTo(rng, 3) == 0) {
        ListRemoveCurrent(list);
        ++removed;
      }
    }
    for (int k = 0; k < removed; ++k) ListInsert(list).fields[0] = k;
    operations += 2 * removed;
    benchmark::DoNotOptimize(list.Current());
  }
  state.counters["ops/s"] = benchmark::Counter(static_cast<double>(operations), benchmark::Counter::kIsRate);
  state.counters["blocks_made"] = static_cast<double>(list.Pool().BlocksMade());
}
BENCHMARK(BM_ListChurn)->Arg(64)->Arg(1024)->Arg(16384);

// Fill and empty a list completely each iteration (new game, draw queues).
void BM_ListFillClear(benchmark::State& state) {
  List<Monster> list;
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int k = 0; k < n; ++k) ListInsert(list).fields[0] = k;
    ListClearAll(list);
  }
  state.counters["inserts/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * n, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ListFillClear)->Arg(2000);

}  // namespace
