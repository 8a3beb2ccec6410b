// quorin-sim world and map: the world a new game generates, as figures and as
// a one-pixel-per-cell picture for reviewing the level design.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "flow/game.h"
#include "flow/sprite_sheets.h"
#include "runtime/file_io.h"
#include "runtime/line_walk.h"
#include "runtime/numeric.h"
#include "runtime/png_codec.h"
#include "runtime/sha256.h"
#include "tools/quorin-sim/commands.h"
#include "world/generation.h"
#include "world/tables.h"

namespace quorin {

namespace {

// Tile ranges of the four rock kinds: 64 tiles each from these bases.
constexpr std::int32_t kRockBases[4] = {128, 192, 256, 320};
constexpr std::int32_t kRockTiles = 64;
constexpr int kEnemyKinds = 5;

int RockKindOf(std::int32_t tile) {
  for (int k = 0; k < 4; ++k) {
    if (tile >= kRockBases[k] && tile < kRockBases[k] + kRockTiles) return k;
  }
  return -1;
}

bool IsDecorationA(std::int32_t tile) { return tile >= kTileDecorationA && tile < kTileDecorationA + 16; }

// The layout named by --layout, or the embedded one. Empty and an error
// printed when there is none to use.
bool ChooseLayout(const char* path, LayoutImage& layout) {
  if (path == nullptr) {
    layout = EmbeddedLayout();
    if (layout.width > 0 && layout.height > 0) return true;
    std::fprintf(stderr, "quorin-sim: no world layout is embedded\n");
    return false;
  }
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    std::fprintf(stderr, "quorin-sim: cannot read %s\n", path);
    return false;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (!DecodeLayout({data, bytes.size()}, layout) || layout.width <= 0 || layout.height <= 0) {
    std::fprintf(stderr, "quorin-sim: %s is not a layout image\n", path);
    return false;
  }
  return true;
}

// The start-up tables a new game relies on, then the new game's world.
void PrepareAndGenerate(Game& game, const LayoutImage& layout) {
  BuildDirectionTable(game.world);
  PrepareTables(game);
  if (const std::string reason = CheckLayout(layout); !reason.empty()) {
    std::fprintf(stderr, "quorin-sim: the layout breaks a limit: %s\n", reason.c_str());
  }
  GenerateWorld(game.world, layout);
}

// SHA-256 of a map's values as little-endian int32, index column * height + row.
std::string MapDigest(const World& world, const Array<std::int32_t>& map) {
  Sha256 sha;
  for (std::int32_t column = 0; column < world.WorldWidth; ++column) {
    for (std::int32_t row = 0; row < world.WorldHeight; ++row) {
      const auto v = static_cast<std::uint32_t>(map.At(column, row));
      const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
      sha.Update(bytes, 4);
    }
  }
  return sha.FinishHex();
}

struct Fruit {
  std::int32_t number;
  std::int32_t column;
  std::int32_t row;
};

// Fruits 1..8 at their layout pixels, in number order.
std::vector<Fruit> FruitsOf(const World& world) {
  std::vector<Fruit> fruits;
  world.Pickups.ForEach([&](const Pickup& p) {
    if (p.kind == kPickupFruit) {
      fruits.push_back({p.variant, p.x >> kCellShift, (p.y - 6144) >> kCellShift});
    }
  });
  std::stable_sort(fruits.begin(), fruits.end(), [](const Fruit& a, const Fruit& b) { return a.number < b.number; });
  return fruits;
}

const char* LayoutArgument(int argc, char** argv, int& used) {
  if (argc >= used + 2 && std::strcmp(argv[used], "--layout") == 0) {
    used += 2;
    return argv[used - 1];
  }
  return nullptr;
}

// ---- the map picture ----

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(ColourPack(r, g, b)) | kPixelAlphaOpaque;
}

constexpr std::uint32_t kEmpty = Rgb(14, 16, 26);
constexpr std::uint32_t kRockTone[4] = {Rgb(58, 92, 184), Rgb(52, 140, 60), Rgb(120, 50, 142), Rgb(136, 136, 136)};
constexpr std::uint32_t kRockEdge[4] = {Rgb(104, 140, 232), Rgb(98, 196, 104), Rgb(176, 98, 198), Rgb(190, 190, 190)};
constexpr std::uint32_t kDecorationTone = Rgb(36, 54, 40);
constexpr std::uint32_t kEnemyTone = Rgb(168, 96, 40);
constexpr std::uint32_t kHazardTone = Rgb(255, 36, 36);
constexpr std::uint32_t kLedgeTone = Rgb(0, 150, 90);  // a pad over air
constexpr std::uint32_t kCheckpointTone = Rgb(0, 255, 140);
constexpr std::uint32_t kStartTone = Rgb(255, 255, 255);
constexpr std::uint32_t kFruitTone = Rgb(255, 214, 0);
constexpr std::uint32_t kLabelTone = Rgb(255, 255, 255);
constexpr std::uint32_t kOutlineTone = Rgb(0, 0, 0);

// 3 x 5 digits, one row per byte, bit 2 the leftmost column.
constexpr std::array<std::array<std::uint8_t, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
}};

void Plot(Surface& s, int x, int y, std::uint32_t colour) {
  if (x >= 0 && y >= 0 && x < s.width && y < s.height) s.Row(y)[x] = colour;
}

// A digit with a one-pixel dark outline, its top-left corner at (x, y).
void DrawDigit(Surface& s, int x, int y, int digit) {
  const auto& glyph = kDigits[static_cast<std::size_t>(digit % 10)];
  auto on = [&](int gx, int gy) { return gx >= 0 && gx < 3 && gy >= 0 && gy < 5 && (glyph[gy] >> (2 - gx)) & 1; };
  for (int gy = -1; gy <= 5; ++gy) {
    for (int gx = -1; gx <= 3; ++gx) {
      if (on(gx, gy)) {
        Plot(s, x + gx, y + gy, kLabelTone);
      } else if (on(gx - 1, gy) || on(gx + 1, gy) || on(gx, gy - 1) || on(gx, gy + 1)) {
        Plot(s, x + gx, y + gy, kOutlineTone);
      }
    }
  }
}

Surface DrawMap(const World& world) {
  Surface s = MakeSurface(world.WorldWidth, world.WorldHeight, kEmpty);
  for (std::int32_t row = 0; row < world.WorldHeight; ++row) {
    for (std::int32_t column = 0; column < world.WorldWidth; ++column) {
      const std::int32_t tile = world.TileMap.At(column, row);
      const std::int32_t cell = world.CollisionMap.At(column, row);
      std::uint32_t colour = kEmpty;
      if (const int kind = RockKindOf(tile); kind >= 0) {
        // Rock showing air on any side is drawn lighter, so the caves read as shapes.
        const bool inner = ((tile - kRockBases[kind]) & 15) == 15;
        colour = inner ? kRockTone[kind] : kRockEdge[kind];
      } else if (IsDecorationA(tile) || tile == kTileDecorationB) {
        colour = kDecorationTone;
      } else if (cell == kCellPad) {
        colour = kLedgeTone;
      }
      s.Row(row)[column] = colour;
    }
  }
  world.Enemies.ForEach([&](const Enemy& e) { Plot(s, e.x >> kCellShift, e.y >> kCellShift, kEnemyTone); });
  for (std::int32_t row = 0; row < world.WorldHeight; ++row) {
    for (std::int32_t column = 0; column < world.WorldWidth; ++column) {
      const std::int32_t tile = world.TileMap.At(column, row);
      if (tile == kTileHazardHanging || tile == kTileHazardStanding) Plot(s, column, row, kHazardTone);
    }
  }
  // Checkpoints as small flags: the pole on the marker cell, the cloth above.
  for (std::int32_t row = 0; row < world.WorldHeight; ++row) {
    for (std::int32_t column = 0; column < world.WorldWidth; ++column) {
      if (world.TileMap.At(column, row) != kTileCheckpoint) continue;
      for (int k = 0; k < 3; ++k) Plot(s, column, row - k, kCheckpointTone);
      Plot(s, column + 1, row - 2, kCheckpointTone);
      Plot(s, column + 1, row - 1, kCheckpointTone);
    }
  }
  // The start: a hollow square around the marker.
  const int sx = world.checkpointColumn;
  const int sy = world.checkpointRow;
  for (int k = -3; k <= 3; ++k) {
    Plot(s, sx + k, sy - 3, kStartTone);
    Plot(s, sx + k, sy + 3, kStartTone);
    Plot(s, sx - 3, sy + k, kStartTone);
    Plot(s, sx + 3, sy + k, kStartTone);
  }
  Plot(s, sx, sy, kStartTone);
  // Fruits: a 3 x 3 block and their number beside it, on the side with room.
  for (const Fruit& f : FruitsOf(world)) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) Plot(s, f.column + dx, f.row + dy, kFruitTone);
    }
    const int labelX = f.column + 7 <= world.WorldWidth ? f.column + 3 : f.column - 6;
    const int labelY = std::clamp(f.row - 2, 1, std::max(1, world.WorldHeight - 6));
    DrawDigit(s, labelX, labelY, f.number);
  }
  return s;
}

constexpr std::uint32_t kPathTone = Rgb(255, 250, 200);
constexpr std::uint32_t kHurtTone = Rgb(255, 40, 200);
constexpr int kRouteScale = 2;

// The map at two pixels per cell, so that the path reads beside the rock.
Surface Enlarged(const Surface& map) {
  Surface s = MakeSurface(map.width * kRouteScale, map.height * kRouteScale, kEmpty);
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) s.Row(y)[x] = map.Row(y / kRouteScale)[x / kRouteScale];
  }
  return s;
}

// Two pixels thick, so that the path reads over the rock.
void Line(Surface& s, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  WalkLine(x0, y0, x1, y1, [&](int x, int y) {
    Plot(s, x, y, colour);
    Plot(s, x + 1, y, colour);
    Plot(s, x, y + 1, colour);
  });
}

}  // namespace

bool SaveRouteMap(const RouteMarks& marks, const LayoutImage* layout, const std::string& path) {
  LayoutImage chosen;
  if (!ChooseLayout(nullptr, chosen)) return false;
  Game game;
  PrepareAndGenerate(game, layout != nullptr ? *layout : chosen);
  Surface s = Enlarged(DrawMap(game.world));
  // Cell centres on the enlarged picture.
  auto at = [](int cell) { return cell * kRouteScale + kRouteScale / 2; };
  for (const auto& stretch : marks.paths) {
    for (std::size_t k = 1; k < stretch.size(); ++k) {
      Line(s, at(stretch[k - 1].column), at(stretch[k - 1].row), at(stretch[k].column), at(stretch[k].row),
           kPathTone);
    }
  }
  for (const RouteMarks::Point& d : marks.deaths) {
    for (int k = -6; k <= 6; ++k) {
      for (int w = 0; w <= 1; ++w) {
        Plot(s, at(d.column) + k + w, at(d.row) + k, kHurtTone);
        Plot(s, at(d.column) + k + w, at(d.row) - k, kHurtTone);
      }
    }
  }
  // Where each fruit was taken: a ring around the hero's cell.
  for (const RouteMarks::Point& f : marks.fruits) {
    for (int k = -4; k <= 4; ++k) {
      Plot(s, at(f.column) + k, at(f.row) - 5, kFruitTone);
      Plot(s, at(f.column) + k, at(f.row) + 5, kFruitTone);
      Plot(s, at(f.column) - 5, at(f.row) + k, kFruitTone);
      Plot(s, at(f.column) + 5, at(f.row) + k, kFruitTone);
    }
  }
  return SavePng(s, path);
}

int CommandWorld(int argc, char** argv) {
  int used = 0;
  const char* layoutPath = LayoutArgument(argc, argv, used);
  if (used != argc) {
    std::fprintf(stderr, "usage: quorin-sim world [--layout LAYOUT.png]\n");
    return 2;
  }
  LayoutImage layout;
  if (!ChooseLayout(layoutPath, layout)) return 1;
  Game game;
  PrepareAndGenerate(game, layout);
  const World& world = game.world;

  std::int32_t checkpoints = 0, hanging = 0, standing = 0, decorationA = 0, decorationB = 0;
  std::int32_t rock[4] = {};
  for (std::size_t k = 0; k < world.TileMap.Size(); ++k) {
    const std::int32_t tile = world.TileMap[k];
    if (tile == kTileCheckpoint) ++checkpoints;
    if (tile == kTileHazardHanging) ++hanging;
    if (tile == kTileHazardStanding) ++standing;
    if (IsDecorationA(tile)) ++decorationA;
    if (tile == kTileDecorationB) ++decorationB;
    if (const int kind = RockKindOf(tile); kind >= 0) ++rock[kind];
  }
  std::int32_t byKind[kEnemyKinds + 1] = {};
  world.Enemies.ForEach([&](const Enemy& e) {
    if (e.kind >= 1 && e.kind <= kEnemyKinds) ++byKind[e.kind];
  });

  std::string fruits;
  for (const Fruit& f : FruitsOf(world)) {
    if (!fruits.empty()) fruits += ' ';
    fruits += std::to_string(f.column) + ',' + std::to_string(f.row);
  }

  std::printf("width = %d\nheight = %d\n", world.WorldWidth, world.WorldHeight);
  std::printf("checkpoints = %d\nhazards_hanging = %d\nhazards_standing = %d\n", checkpoints, hanging, standing);
  std::printf("enemies = %d\n", world.Enemies.Count());
  std::printf("rock_blue = %d\nrock_green = %d\nrock_purple = %d\nrock_grey = %d\n", rock[0], rock[1], rock[2],
              rock[3]);
  std::printf("decoration_a = %d\ndecoration_b = %d\n", decorationA, decorationB);
  for (int k = 1; k <= kEnemyKinds; ++k) std::printf("enemies_kind%d = %d\n", k, byKind[k]);
  std::printf("start = %d,%d\n", world.checkpointColumn, world.checkpointRow);
  std::printf("fruits = %s\n", fruits.c_str());
  std::printf("collision_digest = %s\n", MapDigest(world, world.CollisionMap).c_str());
  std::printf("tile_digest = %s\n", MapDigest(world, world.TileMap).c_str());
  return 0;
}

int CommandMap(int argc, char** argv) {
  int used = 1;
  const char* layoutPath = argc >= 1 ? LayoutArgument(argc, argv, used) : nullptr;
  if (argc < 1 || used != argc) {
    std::fprintf(stderr, "usage: quorin-sim map OUT.png [--layout LAYOUT.png]\n");
    return 2;
  }
  LayoutImage layout;
  if (!ChooseLayout(layoutPath, layout)) return 1;
  Game game;
  PrepareAndGenerate(game, layout);
  if (!SavePng(DrawMap(game.world), argv[0])) {
    std::fprintf(stderr, "quorin-sim: cannot write %s\n", argv[0]);
    return 1;
  }
  return 0;
}

}  // namespace quorin
