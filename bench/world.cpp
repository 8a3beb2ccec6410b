// World generation as a new game runs it: the embedded layout when there is
// one, else a stand-in 512 x 512 layout with about the same mix of cells.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "runtime/embedded.h"
#include "runtime/numeric.h"
#include "runtime/png_codec.h"
#include "world/generation.h"
#include "world/tables.h"

namespace {

using namespace quorin;

// Caves from the noise field: rock where the field is high, the four kinds
// by quarter, monsters and decorations sprinkled in the air.
LayoutImage StandInLayout(const World& world) {
  constexpr std::int32_t kRocks[4] = {ColourPack(128, 128, 192), ColourPack(128, 192, 128),
                                      ColourPack(128, 32, 128), ColourPack(128, 128, 128)};
  constexpr std::int32_t kAir[8] = {ColourPack(0, 0, 128), ColourPack(0, 0, 144), ColourPack(0, 0, 160),
                                    ColourPack(0, 0, 240), ColourPack(0, 96, 0),  ColourPack(0, 128, 0),
                                    ColourPack(127, 0, 0), ColourPack(0, 255, 128)};
  LayoutImage layout;
  layout.width = layout.height = 512;
  layout.pixels.assign(512 * 512, 0);
  for (int row = 0; row < 512; ++row) {
    for (int column = 0; column < 512; ++column) {
      const std::int32_t v = NoiseAt(world, column * 2, row * 2);
      std::int32_t& p = layout.pixels[static_cast<std::size_t>(row) * 512 + column];
      if (v > 2000) {
        p = kRocks[(row / 256) * 2 + column / 256];
      } else if ((NoiseAt(world, column * 7 + 3, row * 5 + 1) & 31) == 0 && row > 0 && row < 511) {
        p = kAir[NoiseAt(world, column, row + 512) & 7];
      }
    }
  }
  layout.pixels[157 * 512 + 305] = ColourPack(0, 255, 255);
  for (int k = 0; k < 8; ++k) layout.pixels[static_cast<std::size_t>(k * 60 + 15) * 512 + k * 50 + 9] = ColourPack(0, 192, 0);
  return layout;
}

void BM_GenerateWorld(benchmark::State& state) {
  World world;
  PrepareNoiseField(world);
  const LayoutImage layout = EmbeddedLayout().width > 0 ? EmbeddedLayout() : StandInLayout(world);
  for (auto _ : state) {
    ListClearAll(world.Enemies);
    ListClearAll(world.Pickups);
    GenerateWorld(world, layout);
    benchmark::DoNotOptimize(world.TileMap.Data());
  }
  state.SetLabel(EmbeddedLayout().width > 0 ? "embedded layout" : "stand-in layout");
  state.counters["enemies"] = world.Enemies.Count();
}
BENCHMARK(BM_GenerateWorld)->Unit(benchmark::kMillisecond);

// Decoding the embedded layout image, which the first new game pays once
// (the stand-in is decoded as an RGB file instead).
void BM_DecodeLayout(benchmark::State& state) {
  std::vector<unsigned char> png;
  if (const EmbeddedFile* file = FindEmbeddedFile("world.png")) {
    png.assign(file->bytes.begin(), file->bytes.end());
  } else {
    World world;
    PrepareNoiseField(world);
    const LayoutImage layout = StandInLayout(world);
    Surface surface = MakeSurface(layout.width, layout.height);
    for (std::size_t k = 0; k < layout.pixels.size(); ++k) {
      surface.pixels[k] = static_cast<std::uint32_t>(layout.pixels[k]) | kPixelAlphaOpaque;
    }
    png = EncodePng(surface);
  }
  for (auto _ : state) {
    LayoutImage decoded;
    benchmark::DoNotOptimize(DecodeLayout(png, decoded));
  }
}
BENCHMARK(BM_DecodeLayout)->Unit(benchmark::kMillisecond);

}  // namespace
