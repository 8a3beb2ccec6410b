// Start-up table preparation, and one RenderFrame of a busy frame drawn with
// the real sheets: about 1900 tiles (the screen covered once, plus the
// background and edge rows), 300 frames and 400 glyphs, a pointer, the canvas
// copy and the picture quad on a 1024 x 768 headless window.
#include <benchmark/benchmark.h>

#include "bench/play_scene.h"
#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/render.h"
#include "flow/sprite_sheets.h"
#include "runtime/null/null_video.h"
#include "runtime/random.h"
#include "world/tables.h"

namespace quorin {
namespace {

constexpr int kBusyTiles = 1900;
constexpr int kBusyFrames = 300;
constexpr int kBusyTexts = 20;  // of 20 characters: 400 glyphs

void BM_PrepareTables(benchmark::State& state) {
  Game game;
  BuildDirectionTable(game.world);
  for (auto _ : state) {
    PrepareTables(game);
    benchmark::DoNotOptimize(game.world.noiseField.Data());
  }
}
BENCHMARK(BM_PrepareTables)->Unit(benchmark::kMillisecond);

// The frame, queued once; RenderFrame only reads the queues.
void QueueBusyFrame(Game& game) {
  RandomState rng;
  RandomSetSeed(rng, 7);
  auto between = [&](int lo, int hi) { return lo + static_cast<int>(RandomUpTo(rng, hi - lo)); };
  for (int k = 0; k < kBusyTiles; ++k) {
    // Scrolled by a few pixels, as in play, so many tiles are cut by the edges.
    QueueTile(game, between(128, 703), (k % 33) * 16 - 5, (k / 33 % 25) * 16 - 9);
  }
  std::vector<int> frames;
  for (std::size_t id = 1; id < game.presentation.frameTable.Size(); ++id) {
    if (game.presentation.frameTable[id].defined) frames.push_back(static_cast<int>(id));
  }
  for (int k = 0; k < kBusyFrames; ++k) {
    QueueFrame(game, frames[static_cast<std::size_t>(between(0, static_cast<int>(frames.size()) - 1))],
               between(-16, 528), between(-16, 400));
  }
  for (int k = 0; k < kBusyTexts; ++k) {
    QueueText(game, "SCORE 0012345 POWER9", k % 2 ? kFontThin : kFontBoldYellow, between(0, 300),
              between(0, 370), 0, 0);
  }
  game.shell.pointerImage = kArrowPointer;
  game.shell.pointerX = 200.5f;
  game.shell.pointerY = 150.5f;
}

// state.range(0) != 0: the busy frame; 0: nothing queued, the fixed cost of
// clearing, the canvas copy and the quad alone.
void BM_RenderFrame(benchmark::State& state) {
  NullVideo device;
  Game game;
  bench::HeadlessGame(game, device);
  bench::OpenBenchWindow(game, device);
  if (state.range(0)) QueueBusyFrame(game);
  for (auto _ : state) {
    RenderFrame(game);
    // The null device keeps a copy of each quad's texels until the present;
    // drop it so the frames do not pile up.
    device.DiscardFrame();
  }
  state.counters["requests"] = game.presentation.tileQueue.Count() + game.presentation.frameQueue.Count() +
                               game.presentation.textQueue.Count() * 20;
}
BENCHMARK(BM_RenderFrame)->ArgName("busy")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_BuildSprites(benchmark::State& state) {
  NullVideo device;
  device.printMessages = false;
  Game game;
  SpriteSystemInit(game.video, device);
  BuildFrameTable(game);
  ScreenOpenFullscreen(game.video, 1024, 768, 32, "Quorin", 1, 0);
  for (auto _ : state) {
    BuildSprites(game);
    ReleaseAllSprites(game);
  }
}
BENCHMARK(BM_BuildSprites)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorin
