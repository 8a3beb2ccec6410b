// World generation from any layout image. Input that starts like a PNG goes
// through DecodeLayout; anything else is drawn directly: the first byte is the
// width, each following byte one pixel of the layout colours (and a few
// outside them), and the start and eight fruits are placed by the first nine
// bytes so that the generator's limits are often met. Whatever CheckLayout
// accepts must generate without fault.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "runtime/numeric.h"
#include "runtime/png_codec.h"
#include "world/generation.h"
#include "runtime/list.h"
#include "world/tables.h"

namespace {

// Every layout colour except the start and the fruit, and three outside the code.
const std::int32_t kPalette[] = {
    0,
    quorin::ColourPack(128, 128, 192), quorin::ColourPack(128, 192, 128), quorin::ColourPack(128, 32, 128),
    quorin::ColourPack(128, 128, 128), quorin::ColourPack(0, 255, 128),   quorin::ColourPack(127, 0, 0),
    quorin::ColourPack(0, 0, 128),     quorin::ColourPack(0, 0, 144),     quorin::ColourPack(0, 0, 160),
    quorin::ColourPack(0, 0, 176),     quorin::ColourPack(0, 0, 240),     quorin::ColourPack(0, 96, 0),
    quorin::ColourPack(0, 128, 0),     quorin::ColourPack(200, 10, 10),   quorin::ColourPack(0, 0, 200),
    quorin::ColourPack(1, 2, 3),
};
constexpr std::size_t kPaletteSize = sizeof kPalette / sizeof kPalette[0];
constexpr int kPlaced = 9;  // the start and eight fruits

bool Drawn(const std::uint8_t* data, std::size_t size, quorin::LayoutImage& out) {
  if (size < 1 + kPlaced) return false;
  out.width = 1 + data[0] % 96;
  const std::size_t cells = size - 1 - kPlaced;
  out.height = static_cast<std::int32_t>(cells / static_cast<std::size_t>(out.width));
  if (out.height == 0) return false;
  const std::size_t total = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height);
  out.pixels.resize(total);
  for (std::size_t k = 0; k < total; ++k) out.pixels[k] = kPalette[data[1 + kPlaced + k] % kPaletteSize];
  for (int k = 0; k < kPlaced; ++k) {
    const std::size_t at = (data[1 + k] * 7919u + static_cast<unsigned>(k) * 104729u) % total;
    out.pixels[at] = k == 0 ? quorin::ColourPack(0, 255, 255) : quorin::ColourPack(0, 192, 0);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorin;
  // One world for the whole run: the noise field is built once, and
  // generation needs only empty Enemies and Pickups lists.
  static World& world = []() -> World& {
    auto* w = new World;
    PrepareNoiseField(*w);
    return *w;
  }();
  LayoutImage layout;
  const std::span<const unsigned char> bytes(data, size);
  if (IsPngData(bytes)) {
    if (!DecodeLayout(bytes, layout)) return 0;
  } else if (!Drawn(data, size, layout)) {
    return 0;
  }
  if (!CheckLayout(layout).empty()) return 0;
  ListClearAll(world.Enemies);
  ListClearAll(world.Pickups);
  world.internalHeight = 240 + data[size - 1] % 200;
  GenerateWorld(world, layout);
  return 0;
}
