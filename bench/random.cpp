// Draws of the seeded generator: the noise field takes millions at start-up.
#include <benchmark/benchmark.h>

#include "runtime/random.h"

namespace {

using namespace quorin;

void BM_RandomUpTo(benchmark::State& state) {
  RandomState rng;
  RandomSetSeed(rng, 777);
  const auto max = static_cast<std::int32_t>(state.range(0));
  std::uint32_t sink = 0;
  for (auto _ : state) {
    for (int k = 0; k < 1024; ++k) sink += RandomUpTo(rng, max);
  }
  benchmark::DoNotOptimize(sink);
  state.counters["draws/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 1024, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RandomUpTo)->Arg(-1)->Arg(99);

}  // namespace
