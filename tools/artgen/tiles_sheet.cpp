// Tiles sheet: the four rock kinds and the two background layers in every
// neighbour-mask shape and parity variant, decorations, hazards, checkpoints.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "flow/sheet_layout.h"
#include "tools/artgen/sheets.h"

namespace quorin::art {

namespace {

constexpr int kT = kTileSize;
constexpr int kUp = 1, kRight = 2, kDown = 4, kLeft = 8;

// Colours of one rock kind, from its cracks to its lit rim.
struct RockLook {
  Colour crack, dark, base, light, rim;
  Colour speck;    // the odd bright fleck in the stone
  Colour surface;  // top edge colour (moss on green rock)
  int stones;      // stones per 32 x 32 texture block
  std::uint32_t seed;
};

constexpr std::array<RockLook, kRockKinds> kRockLooks{{
    {kBlue1, kBlue2, kBlue3, kBlue4, kBlue4, kCyan3, kBlue4, 7, 11},
    {kGreen1, kGreen2, kMoss1, kMoss2, kGreen3, kGold3, kGreen4, 6, 23},
    {kPurple1, kPurple2, kPurple3, kPurple4, kPurple4, kPink3, kPurple4, 8, 37},
    {kStone1, kStone2, kStone3, kStone4, kStone4, kGrey4, kStone4, 10, 53},
}};

// A 32 x 32 texture of stones that repeats seamlessly; its four quadrants are
// the four parity variants, so neighbouring cells continue each other's stones.
struct StoneTexture {
  std::array<std::uint8_t, 32 * 32> px{};
};

StoneTexture MakeStones(Colour crack, Colour dark, Colour base, Colour light, Colour speck, int stones,
                        std::uint32_t seed) {
  Dice dice(seed);
  std::vector<std::pair<float, float>> centres;
  for (int i = 0; i < stones; ++i) centres.emplace_back(dice.Unit() * 32, dice.Unit() * 32);
  StoneTexture tex;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      float d1 = 1e9f, d2 = 1e9f;
      float nx = 0, ny = 0;
      for (const auto& [cx, cy] : centres) {
        for (int oy = -32; oy <= 32; oy += 32) {
          for (int ox = -32; ox <= 32; ox += 32) {
            const float dx = x + 0.5f - (cx + ox), dy = y + 0.5f - (cy + oy);
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < d1) {
              d2 = d1;
              d1 = d;
              nx = dx;
              ny = dy;
            } else if (d < d2) {
              d2 = d;
            }
          }
        }
      }
      Colour c = base;
      const float gap = d2 - d1;
      if (gap < 1.0f) {
        c = crack;
      } else if (gap < 2.0f) {
        // Stones are lit from the upper left: the gap below-right of a stone is dark.
        c = (nx + ny > 0) ? dark : light;
      } else if (nx + ny < -d1 * 0.9f && d1 > 2.5f) {
        c = light;
      }
      if (c == base && (Hash(x, y, static_cast<int>(seed)) % 41) == 0) c = speck;
      if (c == base && (Hash(x, y, static_cast<int>(seed) + 7) % 9) == 0) c = dark;
      tex.px[y * 32 + x] = c;
    }
  }
  return tex;
}

// How far the pixel lies inside the shape left by the open (non-joining) sides;
// negative is outside. Edges wander by a pixel so the rock looks hewn, but stay
// put at the tile corners so that neighbouring tiles meet.
int EdgeDepth(int x, int y, int mask, int salt, int* nearestSide) {
  auto wander = [&](int along, int side) {
    if (along < 2 || along > kT - 3) return 0;
    return (Hash(along / 3, side, salt) % 3) == 0 ? 1 : 0;
  };
  int best = 99;
  *nearestSide = 0;
  auto consider = [&](int d, int side) {
    if (d < best) {
      best = d;
      *nearestSide = side;
    }
  };
  if (!(mask & kUp)) consider(y - wander(x, kUp), kUp);
  if (!(mask & kDown)) consider(kT - 1 - y - wander(x, kDown), kDown);
  if (!(mask & kLeft)) consider(x - wander(y, kLeft), kLeft);
  if (!(mask & kRight)) consider(kT - 1 - x - wander(y, kRight), kRight);
  // Round the corners where two open sides meet.
  constexpr float kRound = 4.5f;
  auto corner = [&](bool open, float cx, float cy, int side) {
    if (!open) return;
    const float dx = std::abs(x + 0.5f - cx), dy = std::abs(y + 0.5f - cy);
    if (dx < kRound && dy < kRound) {
      const float ex = kRound - dx, ey = kRound - dy;
      consider(static_cast<int>(std::floor(kRound - std::sqrt(ex * ex + ey * ey))), side);
    }
  };
  corner(!(mask & kUp) && !(mask & kLeft), 0, 0, kUp);
  corner(!(mask & kUp) && !(mask & kRight), kT, 0, kUp);
  corner(!(mask & kDown) && !(mask & kLeft), 0, kT, kDown);
  corner(!(mask & kDown) && !(mask & kRight), kT, kT, kDown);
  return best;
}

void PaintRockTile(Image& sheet, int tile, const StoneTexture& tex, const RockLook& look, int mask, int vx,
                   int vy) {
  Image cell(kT, kT);
  for (int y = 0; y < kT; ++y) {
    for (int x = 0; x < kT; ++x) {
      int side = 0;
      const int d = EdgeDepth(x, y, mask, tile, &side);
      if (d < 0) continue;
      Colour c = static_cast<Colour>(tex.px[(y + vy * kT) * 32 + x + vx * kT]);
      if (d == 0) {
        c = kInk;
      } else if (d == 1) {
        c = side == kUp ? look.surface : (side == kLeft ? look.rim : look.crack);
      } else if (d == 2) {
        if (side == kUp) c = c == look.crack ? look.dark : look.light;
        if (side == kDown || side == kRight) c = look.dark;
      }
      cell.Set(x, y, c);
    }
  }
  Over(sheet, cell, TileX(tile), TileY(tile));
}

// Background layers: far darker, low contrast and without hard outlines. The
// lighter layer sits inside the darker one, so its open sides fade into it.
void PaintBackgroundTile(Image& sheet, int tile, const StoneTexture& farTex, const StoneTexture& nearTex,
                         bool light, int mask, int vx, int vy) {
  Image cell(kT, kT);
  for (int y = 0; y < kT; ++y) {
    for (int x = 0; x < kT; ++x) {
      int side = 0;
      const int d = EdgeDepth(x, y, mask, tile + 4000, &side);
      const Colour far = static_cast<Colour>(farTex.px[(y + vy * kT) * 32 + x + vx * kT]);
      const Colour near = static_cast<Colour>(nearTex.px[(y + vy * kT) * 32 + x + vx * kT]);
      Colour c;
      if (!light) {
        if (d < 0) continue;
        c = d == 0 ? kDeep1 : (d == 1 && side == kUp ? kDeep4 : far);
      } else {
        c = d < 0 ? far : (d == 0 ? kDeep2 : near);
      }
      cell.Set(x, y, c);
    }
  }
  Over(sheet, cell, TileX(tile), TileY(tile));
}

// ---------------------------------------------------------------- small tiles

Image Tuft(int variant) {
  Image im(kT, kT);
  Dice dice(100 + variant);
  const int blades = 3 + variant % 3;
  for (int k = 0; k < blades; ++k) {
    const float x = 3 + dice.Unit() * 10;
    const float h = 4 + dice.Unit() * 6;
    const float lean = (dice.Unit() - 0.5f) * 4;
    ThickLine(im, x, 15, x + lean, 15 - h, 0.6f, (k & 1) ? kGreen3 : kMoss2);
  }
  Outline(im, kInk, false);
  return im;
}

Image Flower(Colour petal, Colour centre, int height) {
  Image im(kT, kT);
  ThickLine(im, 8, 15, 8, 15 - height, 0.6f, kGreen2);
  FillPolygon(im, {{8, 13}, {12, 10}, {11, 13}}, kGreen3);
  Outline(im, kInk, false);
  Image head(kT, kT);
  const float hy = 15.0f - height;
  for (int k = 0; k < 5; ++k) {
    const float a = k * 6.2832f / 5;
    FillEllipse(head, 8 + std::cos(a) * 2, hy + std::sin(a) * 2, 1.5f, 1.5f, petal);
  }
  FillEllipse(head, 8, hy, 1.1f, 1.1f, centre);
  Outline(head, kInk, false);
  Over(im, head, 0, 0);
  return im;
}

Image Mushroom(const Ramp& cap, int size) {
  Image im(kT, kT);
  Image stem(kT, kT);
  FillRect(stem, 7, 15 - size, 2, size, kGrey4);
  Finish(im, stem);
  Image top(kT, kT);
  FillShadedEllipse(top, 8, 15.0f - size, 2.5f + size * 0.5f, 2.2f + size * 0.2f, cap);
  FillRect(top, 0, 16 - size, kT, 4, kKey);
  top.Set(7, 13 - size, kWhite);
  top.Set(10, 14 - size, kWhite);
  Outline(top, kInk, false);
  Over(im, top, 0, 0);
  return im;
}

Image Crystal(const Ramp& ramp, int seed) {
  Image im(kT, kT);
  Dice dice(300 + seed);
  for (int k = 0; k < 3; ++k) {
    Image shard(kT, kT);
    const float x = 5 + k * 3 + dice.Unit() * 2, h = 5 + dice.Unit() * 6 - (k == 1 ? -2 : 0);
    const float lean = (k - 1) * 1.5f;
    FillPolygon(shard,
                {{x - 1.6f, 15},
                 {x - 1.4f + lean * 0.5f, 15 - h * 0.7f},
                 {x + lean, 15 - h},
                 {x + 1.6f + lean * 0.5f, 15 - h * 0.7f},
                 {x + 1.6f, 15}},
                ramp.base);
    Finish(im, shard);
    im.Set(static_cast<int>(x + lean * 0.4f), static_cast<int>(15 - h * 0.6f), ramp.shine);
  }
  return im;
}

Image Pebbles(int seed) {
  Image im(kT, kT);
  Dice dice(400 + seed);
  for (int k = 0; k < 3; ++k) {
    Image stone(kT, kT);
    const float r = 1.5f + dice.Unit() * 2;
    FillShadedEllipse(stone, 3 + k * 4 + dice.Unit() * 2, 15 - r * 0.7f, r, r * 0.8f, kStoneRamp, false);
    Outline(stone, kInk, false);
    Over(im, stone, 0, 0);
  }
  return im;
}

Image Fern(int seed) {
  Image im(kT, kT);
  const float lean = seed ? 1.5f : -1.5f;
  for (int side = -1; side <= 1; side += 2) {
    for (int k = 0; k < 4; ++k) {
      const float y = 14 - k * 2.5f;
      ThickLine(im, 8 + lean * k * 0.3f, y, 8 + lean * k * 0.3f + side * (4 - k * 0.7f), y - 1.5f, 0.5f,
                k & 1 ? kGreen3 : kMoss2);
    }
  }
  ThickLine(im, 8, 15, 8 + lean, 4, 0.5f, kGreen2);
  Outline(im, kInk, false);
  return im;
}

Image GlowShrooms() {
  Image im(kT, kT);
  constexpr std::array<std::array<float, 3>, 3> kCaps{{{5, 11, 2.2f}, {9.5f, 8, 3}, {12.5f, 12, 1.8f}}};
  for (const auto& c : kCaps) {
    Image m(kT, kT);
    FillRect(m, static_cast<int>(c[0]), static_cast<int>(c[1]), 1, 16 - static_cast<int>(c[1]), kCyan1);
    FillEllipse(m, c[0] + 0.5f, c[1], c[2], c[2] * 0.7f, kCyan3);
    FillRect(m, static_cast<int>(c[0] - c[2]), static_cast<int>(c[1]) + 1, 8, 1, kKey);
    m.Set(static_cast<int>(c[0]), static_cast<int>(c[1] - 1), kCyan4);
    Outline(m, kInk, false);
    Over(im, m, 0, 0);
  }
  return im;
}

Image Bones() {
  Image im(kT, kT);
  ThickLine(im, 3, 14, 12, 12, 0.8f, kGrey4);
  FillEllipse(im, 3, 14, 1.4f, 1.4f, kGrey4);
  FillEllipse(im, 12.5f, 12, 1.4f, 1.4f, kGrey4);
  FillShadedEllipse(im, 9, 12.5f, 2.6f, 2.3f, kWhiteRamp, false);
  im.Set(8, 12, kInk);
  im.Set(10, 12, kInk);
  Outline(im, kInk, false);
  return im;
}

// Decoration A, 16 variants; all grow up from the cell's floor.
Image DecorationA(int v) {
  switch (v) {
    case 0:
    case 1:
    case 2:
    case 3:
      return Tuft(v);
    case 4:
      return Flower(kRed3, kGold4, 8);
    case 5:
      return Flower(kGold3, kWhite, 6);
    case 6:
      return Mushroom(kRedRamp, 3);
    case 7:
      return Mushroom(kPurpleRamp, 4);
    case 8:
      return Crystal(kCyanRamp, 0);
    case 9:
      return Crystal(kPurpleRamp, 1);
    case 10:
      return Pebbles(0);
    case 11:
      return Pebbles(1);
    case 12:
      return Fern(0);
    case 13:
      return Fern(1);
    case 14:
      return Bones();
    default:
      return GlowShrooms();
  }
}

// Decoration B: roots and leaves hanging from the cell's ceiling.
Image DecorationB() {
  Image im(kT, kT);
  ThickLine(im, 5, 0, 4, 8, 0.6f, kMoss1);
  ThickLine(im, 4, 8, 6, 13, 0.6f, kMoss1);
  ThickLine(im, 10, 0, 11, 6, 0.6f, kMoss1);
  ThickLine(im, 11, 6, 10, 10, 0.6f, kMoss1);
  for (const auto& [x, y] :
       std::vector<std::pair<float, float>>{{4, 4}, {5, 10}, {11, 3}, {10, 8}, {6, 13}}) {
    FillEllipse(im, x + 1.2f, y, 1.3f, 0.8f, kGreen3);
  }
  Outline(im, kInk, false);
  return im;
}

Image Spikes(bool hanging) {
  Image im(kT, kT);
  for (int k = 0; k < 3; ++k) {
    Image spike(kT, kT);
    const float x = 3 + k * 5.0f;
    const float h = k == 1 ? 13 : 10;
    FillPolygon(spike, {{x - 2.4f, 16}, {x + 0.5f, 16 - h}, {x + 2.6f, 16}}, kRed2);
    Finish(im, spike);
    im.Set(static_cast<int>(x), static_cast<int>(17 - h), kRed4);
  }
  return hanging ? Rotate90(Rotate90(im)) : im;
}

Image Checkpoint(bool current) {
  Image im(kT, kT);
  Image base(kT, kT);
  FillRect(base, 3, 13, 10, 3, kGrey2);
  FillRect(base, 7, 4, 2, 9, kGrey2);
  Finish(im, base);
  Image lamp(kT, kT);
  if (current) {
    FillEllipse(lamp, 8, 4, 3, 3, kCyan3);
    FillEllipse(lamp, 8, 4, 1.5f, 1.5f, kWhite);
    Outline(lamp, kInk, false);
    Over(im, lamp, 0, 0);
    for (int k = 0; k < 4; ++k) {
      im.Set(8 + (k < 2 ? (k ? 5 : -5) : 0), 4 + (k >= 2 ? (k == 2 ? 5 : -4) : 0), kCyan4);
    }
    im.Set(3, 0, kCyan3);
    im.Set(13, 0, kCyan3);
  } else {
    FillEllipse(lamp, 8, 4, 2.5f, 2.5f, kGrey3);
    lamp.Set(7, 3, kGrey4);
    Outline(lamp, kInk, false);
    Over(im, lamp, 0, 0);
  }
  return im;
}

}  // namespace

Image PaintTilesSheet() {
  Image sheet(kSheetSize, kSheetSize);
  for (int k = 0; k < kRockKinds; ++k) {
    const RockLook& look = kRockLooks[k];
    const StoneTexture tex =
        MakeStones(look.crack, look.dark, look.base, look.light, look.speck, look.stones, look.seed);
    for (int v = 0; v < 4; ++v)
      for (int mask = 0; mask < 16; ++mask)
        PaintRockTile(sheet, kRockTileBase[k] + mask + 16 * (v & 1) + 32 * (v >> 1), tex, look, mask, v & 1,
                      v >> 1);
  }
  const StoneTexture farTex = MakeStones(kDeep1, kDeep2, kDeep3, kDeep3, kDeep4, 5, 71);
  const StoneTexture nearTex = MakeStones(kDeep2, kDeep3, kDeep4, kDeep5, kBlue1, 6, 83);
  for (int v = 0; v < 4; ++v) {
    for (int mask = 0; mask < 16; ++mask) {
      const int offset = mask + 16 * (v & 1) + 32 * (v >> 1);
      PaintBackgroundTile(sheet, kBackgroundGreyBase + offset, farTex, nearTex, false, mask, v & 1, v >> 1);
      PaintBackgroundTile(sheet, kBackgroundWhiteBase + offset, farTex, nearTex, true, mask, v & 1, v >> 1);
    }
  }
  for (int v = 0; v < 16; ++v)
    Over(sheet, DecorationA(v), TileX(kDecorationATiles + v), TileY(kDecorationATiles + v));
  Over(sheet, DecorationB(), TileX(kDecorationBTile), TileY(kDecorationBTile));
  Over(sheet, Spikes(true), TileX(kHangingHazardTile), TileY(kHangingHazardTile));
  Over(sheet, Spikes(false), TileX(kStandingHazardTile), TileY(kStandingHazardTile));
  Over(sheet, Checkpoint(false), TileX(kCheckpointTile), TileY(kCheckpointTile));
  Over(sheet, Checkpoint(true), TileX(kCurrentCheckpointTile), TileY(kCurrentCheckpointTile));
  return sheet;
}

}  // namespace quorin::art
