// A busy frame of play, and the start of a new game: GameFrame (the updates
// and DrawWorld) and RenderFrame of the busy scene (bench/play_scene.h)
// measured apart.
#include <benchmark/benchmark.h>

#include "bench/play_scene.h"

namespace quorin {
namespace {

using bench::ActiveMonsters;
using Bench = bench::Bench;
void BM_PlayingGameFrame(benchmark::State& state) {
  Bench b;
  b.BusyScene();
  Game& g = *b.game;
  const World snapshot = g.world;
  for (auto _ : state) {
    state.PauseTiming();
    g.world = snapshot;
    ClearDrawQueues(g);
    state.ResumeTiming();
    GameFrame(g);
  }
  state.counters["enemies"] = snapshot.Enemies.Count();
  state.counters["active"] = static_cast<double>(ActiveMonsters(snapshot));
  state.counters["monster_shots"] = snapshot.EnemyShots.Count();
  state.counters["hero_shots"] = snapshot.PlayerShots.Count();
  state.counters["particles"] = snapshot.Particles.Count();
  state.counters["pickups"] = snapshot.Pickups.Count();
  state.counters["embedded"] = b.embedded;
  state.counters["state"] = g.flow.GameState;
}
BENCHMARK(BM_PlayingGameFrame)->Unit(benchmark::kMicrosecond);

void BM_PlayingRenderFrame(benchmark::State& state) {
  Bench b;
  b.BusyScene();
  Game& g = *b.game;
  ClearDrawQueues(g);
  GameFrame(g);
  for (auto _ : state) {
    RenderFrame(g);
    b.device.DiscardFrame();
  }
  state.counters["tiles"] = g.presentation.tileQueue.Count();
  state.counters["frames"] = g.presentation.frameQueue.Count();
  state.counters["texts"] = g.presentation.textQueue.Count();
}
BENCHMARK(BM_PlayingRenderFrame)->Unit(benchmark::kMicrosecond);

// A new game: the lists cleared and the whole world generated again.
void BM_EnterPlaying(benchmark::State& state) {
  Bench b;
  Game& g = *b.game;
  for (auto _ : state) {
    EnterState(g, kPlaying);
    benchmark::DoNotOptimize(g.world.Enemies.Count());
  }
  state.counters["enemies"] = g.world.Enemies.Count();
  state.counters["embedded"] = b.embedded;
}
BENCHMARK(BM_EnterPlaying)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorin
