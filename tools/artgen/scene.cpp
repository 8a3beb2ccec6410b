// A made-up moment of play composed from the finished sheets the way the game
// draws them, for reviewers (docs/art-scene.png); the game never uses it.
#include <array>
#include <string>

#include "flow/frame_layout.h"
#include "flow/sheet_layout.h"
#include "tools/artgen/sheets.h"
#include "tools/artgen/tables.h"

namespace quorin::art {

namespace {

constexpr int kW = 32, kH = 24;
// # blue, g green, p purple, o grey rock; a, b decorations; v, ^ hazards;
// c, C checkpoints.
constexpr std::array<const char*, kH> kMap{{
    "################################", "###...v.....v###########...v..##",
    "##.....b..............b.......##", "#..........................pp..#",
    "#.........................ppp..#", "#....................a.a..pp...#",
    "#....ggg..........ooooooo......#", "#...ggggg..........ooooo.......#",
    "#....ggg.......................#", "#..............................#",
    "#........................a.....#", "##a.a......C.....a^^a...####..##",
    "##########ooooo##########pppp###", "###########ooo####....##########",
    "####..v.....v......b...v########", "###.....................b....###",
    "##...........................###", "##..a..c..a.^^..a.ggg.....a...##",
    "#######################gggggg###", "##################....ggggggg###",
    "################################", "################################",
    "################################", "################################",
}};

char MapAt(int x, int y) {
  if (x < 0 || y < 0 || x >= kW || y >= kH) return '#';
  return kMap[y][x];
}

bool Joins(char self, char other) {
  const bool rock = other == '#' || other == 'g' || other == 'p' || other == 'o';
  if (self == 'g') return other == 'g';
  if (self == 'o') return other == '#' || other == 'g' || other == 'o';
  return rock;
}

void Tile(Image& canvas, const Image& tiles, int t, int x, int y) {
  Over(canvas, Crop(tiles, TileX(t), TileY(t), kTileSize, kTileSize), x, y);
}

void Frame(Image& canvas, const Image& actors, int id, int x, int y) {
  for (const FrameGroup& g : kFrameGroups) {
    if (id < g.first || id >= g.first + g.count) continue;
    const FrameRect r = FrameInGroup(g, id - g.first);
    Over(canvas, Crop(actors, r.x, r.y, r.width, r.height), x - r.hotX, y - r.hotY);
  }
}

void Text(Image& canvas, const Image& font, const std::string& s, int base, int x, int y, int spacing) {
  for (char ch : s) {
    const int g = GlyphNumber(ch, base);
    Over(canvas, Crop(font, GlyphCellX(g), GlyphCellY(g), kGlyphCell, kGlyphCell), x, y);
    x += GlyphAdvancePixels(g) + spacing;
  }
}

}  // namespace

Image PaintScene(const Image& actors, const Image& tiles, const Image& font, const Image& noise) {
  Image canvas(kW * kTileSize, kH * kTileSize - 0);
  FillRect(canvas, 0, 0, canvas.width, canvas.height, kDeep1);
  constexpr int kNoise = kNoiseTextureSize;
  auto noiseAt = [&](int x, int y) {
    return noise.px[((y + kNoise) % kNoise) * kNoise + (x + kNoise) % kNoise];
  };
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const int c = noiseAt(x + 40, y + 40);
      if (c == 0) continue;
      auto counts = [&](int nx, int ny) {
        return c == 1 ? noiseAt(nx + 40, ny + 40) != 0 : noiseAt(nx + 40, ny + 40) == 2;
      };
      const int mask = counts(x, y - 1) + 2 * counts(x + 1, y) + 4 * counts(x, y + 1) + 8 * counts(x - 1, y);
      Tile(canvas, tiles,
           (c == 1 ? kBackgroundGreyBase : kBackgroundWhiteBase) + mask + 16 * (x & 1) + 32 * (y & 1),
           x * kTileSize, y * kTileSize);
    }
  }
  int phase = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const char c = MapAt(x, y);
      int t = 0;
      if (c == '#' || c == 'g' || c == 'p' || c == 'o') {
        const int base = c == '#' ? 128 : c == 'g' ? 192 : c == 'p' ? 256 : 320;
        const int mask = Joins(c, MapAt(x, y - 1)) + 2 * Joins(c, MapAt(x + 1, y)) +
                         4 * Joins(c, MapAt(x, y + 1)) + 8 * Joins(c, MapAt(x - 1, y));
        t = base + mask + 16 * (x & 1) + 32 * (y & 1);
      } else if (c == 'a') {
        t = kDecorationATiles + (phase++ & 15);
      } else if (c == 'b') {
        t = kDecorationBTile;
      } else if (c == 'v') {
        t = kHangingHazardTile;
      } else if (c == '^') {
        t = kStandingHazardTile;
      } else if (c == 'c') {
        t = kCheckpointTile;
      } else if (c == 'C') {
        t = kCurrentCheckpointTile;
      }
      if (t) Tile(canvas, tiles, t, x * kTileSize, y * kTileSize);
    }
  }
  // The hero walking and firing right, another hovering, a ball; monsters.
  Frame(canvas, actors, kHeroLegsFrames + 3, 100, 163);
  Frame(canvas, actors, kHeroAimFrames + 0, 100, 161);
  Frame(canvas, actors, kHeroShotFrames + 0, 130, 163);
  Frame(canvas, actors, kHeroShotFrames + 1, 124, 163);
  Frame(canvas, actors, kHeroShotFrames + 3, 118, 163);
  Frame(canvas, actors, kJetFlameFrames + 5, 300, 80);
  Frame(canvas, actors, kHeroLegsFrames + 16 + 9, 300, 80);
  Frame(canvas, actors, kHeroBodyFrames + 16 + 9, 300, 80);
  Frame(canvas, actors, kBallFrames + 1, 200, 262);
  Frame(canvas, actors, kFlashRingFrames + 2, 200, 270);
  Frame(canvas, actors, kHeroLegsFrames + 5, 60, 275);
  Frame(canvas, actors, kHeroBodyFrames + 5, 60, 275);
  for (int k = 0; k < 5; ++k)
    Frame(canvas, actors, kMonsterFrames + 12 * k + (k & 1) * 4, 170 + 60 * k, 120 + (k & 1) * 20);
  Frame(canvas, actors, kMonsterFrames + 12 * 2 + 8 + 2, 420, 240);
  Frame(canvas, actors, kMonsterShotFrames + 16 * 5, 396, 242);
  Frame(canvas, actors, kMonsterShotFrames + 16 * 5 + 1, 402, 242);
  Frame(canvas, actors, kSparkFrames + 1, 250, 200);
  Frame(canvas, actors, kSmokeFrames + 1, 270, 196);
  for (int c = 0; c < 4; ++c) Frame(canvas, actors, kGemFrames + c, 150 + 14 * c, 176);
  for (int n = 0; n < 8; ++n) Frame(canvas, actors, kFruitFrames + n, 330 + 18 * n, 288);
  // HUD: power counter and gauge, score, fruit row.
  Over(canvas, Crop(font, kGemIcon.x, kGemIcon.y, kGemIcon.width, kGemIcon.height), 4, 6);
  Text(canvas, font, "042", kFontThin, 14, 4, 0);
  const int segments = 36, left = 256 - segments;
  Over(canvas, Crop(font, kGaugeLeftCap.x, kGaugeLeftCap.y, 2, 10), left, 6);
  for (int i = 0; i < segments; ++i) {
    const SheetRect& piece = i < 22 ? kGaugeFull : kGaugeEmpty;
    Over(canvas, Crop(font, piece.x, piece.y, 2, 10), left + 2 * i + 2, 6);
  }
  Over(canvas, Crop(font, kGaugeRightCap.x, kGaugeRightCap.y, 2, 10), left + 2 * segments + 2, 6);
  Text(canvas, font, "0012340", kFontThin, 508 - 7 * 12, 4, 0);
  for (int i = 0; i < 3; ++i) {
    const SheetRect r = FruitIconRect(i * 3 + 1);
    Over(canvas, Crop(font, r.x, r.y, r.width, r.height), 2 + 24 * i, canvas.height - 26);
  }
  Text(canvas, font, "CHECKPOINT", kFontThin, 130, 140, 0);
  Text(canvas, font, "50", kFontYellowDigits, 140, 190, -2);
  Text(canvas, font, "BOUNCE*3", kFontBoldYellow, 180, 30, -2);
  Text(canvas, font, "START", kFontBoldWhite, 380, 30, -2);
  return canvas;
}

}  // namespace quorin::art
