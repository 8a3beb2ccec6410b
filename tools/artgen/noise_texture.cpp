// The background's layout: a 128 x 128 map of black (open), grey (far rock) and
// white (lighter rock) blobs. It wraps at the edges like the background does.
#include <array>
#include <cmath>

#include "flow/sheet_layout.h"
#include "tools/artgen/sheets.h"

namespace quorin::art {

namespace {

constexpr int kN = kNoiseTextureSize;
constexpr int kBlack = 0, kGrey = 1, kWhiteBlob = 2;

// Smooth value noise on a lattice that divides the texture, so it tiles.
float ValueNoise(const std::vector<float>& lattice, int cells, float x, float y) {
  const float fx = x * cells / kN, fy = y * cells / kN;
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const float tx = fx - x0, ty = fy - y0;
  auto at = [&](int i, int j) {
    return lattice[((j % cells + cells) % cells) * cells + (i % cells + cells) % cells];
  };
  const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

}  // namespace

Image PaintNoiseTexture() {
  Dice dice(777);
  std::array<std::vector<float>, 3> lattices;
  constexpr std::array<int, 3> kCells{8, 16, 32};
  constexpr std::array<float, 3> kWeight{0.6f, 0.3f, 0.1f};
  for (int o = 0; o < 3; ++o)
    for (int i = 0; i < kCells[o] * kCells[o]; ++i) lattices[o].push_back(dice.Unit());
  Image im(kN, kN);
  for (int y = 0; y < kN; ++y) {
    for (int x = 0; x < kN; ++x) {
      float v = 0;
      for (int o = 0; o < 3; ++o) v += kWeight[o] * ValueNoise(lattices[o], kCells[o], x + 0.5f, y + 0.5f);
      im.Set(x, y, v < 0.45f ? kBlack : (v < 0.62f ? kGrey : kWhiteBlob));
    }
  }
  // White only ever sits inside grey: the lighter layer fades into the far one.
  const Image src = im;
  auto wrapped = [&](int x, int y) { return src.px[((y + kN) % kN) * kN + (x + kN) % kN]; };
  for (int y = 0; y < kN; ++y) {
    for (int x = 0; x < kN; ++x) {
      if (src.px[y * kN + x] != kWhiteBlob) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (wrapped(x + dx, y + dy) == kBlack) im.Set(x, y, kGrey);
    }
  }
  return im;
}

}  // namespace quorin::art
