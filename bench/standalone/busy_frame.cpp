// The busy playing frame of bench/play.cpp timed by itself, without Google
// Benchmark, so that the web build runs the same measurement in a browser
// page (tools/web/bench.js) as the native build does:
//
//   quorin_busy_frame [FRAMES [RUNS]]     (400 frames, 7 runs)
//
// Prints "GameFrame median X us", "RenderFrame median X us" and their sum.
// Batches are timed whole, so a coarse clock (a browser's) still measures:
// GameFrame is a batch of restore + GameFrame less a batch of restore alone.
// Two seconds of both come first, untimed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/play_scene.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

double Seconds(SteadyClock::time_point from) { return std::chrono::duration<double>(SteadyClock::now() - from).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorin;
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

  bench::Bench b;
  b.BusyScene();
  Game& g = *b.game;
  const World snapshot = g.world;

  // A warm-up first: a browser runs new WebAssembly in a quick baseline
  // compilation and swaps in its optimised code some time later.
  const SteadyClock::time_point warm = SteadyClock::now();
  while (Seconds(warm) < 2.0) {
    g.world = snapshot;
    ClearDrawQueues(g);
    GameFrame(g);
    RenderFrame(g);
    b.device.DiscardFrame();
  }
  std::vector<double> game, render;
  for (int run = 0; run < runs; ++run) {
    SteadyClock::time_point t = SteadyClock::now();
    for (int k = 0; k < frames; ++k) {
      g.world = snapshot;
      ClearDrawQueues(g);
    }
    const double restore = Seconds(t);
    t = SteadyClock::now();
    for (int k = 0; k < frames; ++k) {
      g.world = snapshot;
      ClearDrawQueues(g);
      GameFrame(g);
    }
    game.push_back((Seconds(t) - restore) / frames);
  }
  // The frame the renderer draws: one playing frame after the snapshot.
  g.world = snapshot;
  ClearDrawQueues(g);
  GameFrame(g);
  for (int run = 0; run < runs; ++run) {
    const SteadyClock::time_point t = SteadyClock::now();
    for (int k = 0; k < frames; ++k) {
      RenderFrame(g);
      b.device.DiscardFrame();
    }
    render.push_back(Seconds(t) / frames);
  }
  const double gameUs = Median(game) * 1e6, renderUs = Median(render) * 1e6;
  std::printf("scene: %d monsters, %lld active, %s world, state %d\n", snapshot.Enemies.Count(),
              static_cast<long long>(bench::ActiveMonsters(snapshot)), b.embedded ? "embedded" : "generated",
              g.flow.GameState);
  std::printf("GameFrame median %.1f us\n", gameUs);
  std::printf("RenderFrame median %.1f us\n", renderUs);
  std::printf("busy frame median %.1f us (%d runs of %d frames)\n", gameUs + renderUs, runs, frames);
  return g.flow.GameState == kPlaying ? 0 : 1;
}
