#include "world/generation.h"

#include <cstdio>

#include "runtime/embedded.h"
#include "runtime/numeric.h"
#include "runtime/png_codec.h"
#include "runtime/surface.h"
#include "world/effects.h"
#include "world/map.h"
#include "world/tables.h"

namespace quorin {

namespace {

// The colour code of the layout image.
constexpr std::int32_t kRockBit = 128;                // red >= 128
constexpr std::int32_t kEnemyBit = 8388608;           // blue >= 128
constexpr std::int32_t kBlack = ColourPack(0, 0, 0);
constexpr std::int32_t kRockBlue = ColourPack(128, 128, 192);
constexpr std::int32_t kRockGreen = ColourPack(128, 192, 128);
constexpr std::int32_t kRockPurple = ColourPack(128, 32, 128);
constexpr std::int32_t kRockGrey = ColourPack(128, 128, 128);
constexpr std::int32_t kStart = ColourPack(0, 255, 255);
constexpr std::int32_t kCheckpoint = ColourPack(0, 255, 128);
constexpr std::int32_t kHazard = ColourPack(127, 0, 0);
constexpr std::int32_t kDecorationA = ColourPack(0, 96, 0);
constexpr std::int32_t kDecorationB = ColourPack(0, 128, 0);
constexpr std::int32_t kFruit = ColourPack(0, 192, 0);
constexpr std::int32_t kAnyRock = ColourPack(128, 0, 0);

constexpr std::int32_t kTileBaseBlue = 128;
constexpr std::int32_t kTileBaseGreen = 192;
constexpr std::int32_t kTileBasePurple = 256;
constexpr std::int32_t kTileBaseGrey = 320;

struct EnemyKind {
  std::int32_t colour;
  std::int32_t hitPoints;
  std::int32_t cruiseBase;
  std::int32_t accel;
  std::int32_t dropCount;
  std::int32_t shotSpeed;
};
constexpr EnemyKind kEnemyKinds[] = {
    {ColourPack(0, 0, 128), 1, 128, 4, 1, 800},  {ColourPack(0, 0, 144), 2, 192, 8, 2, 1024},
    {ColourPack(0, 0, 160), 3, 256, 12, 4, 1280}, {ColourPack(0, 0, 176), 4, 224, 8, 5, 1280},
    {ColourPack(0, 0, 240), 5, 256, 16, 6, 1024},
};
constexpr std::int32_t kEnemyRadius = 3072;
// The active window reaches 32 pixels above and below the picture.
constexpr std::int32_t kActiveMarginY = 8192;
constexpr std::int32_t kPhaseMask = 15;

// Kind 4's blue is part of the code, but our layout paints no kind-4 monster,
// so it is not among the fifteen colours a layout may use.
constexpr std::int32_t kLayoutColours[] = {
    kBlack, kRockBlue, kRockGreen, kRockPurple, kRockGrey, kStart, kCheckpoint, kHazard,
    ColourPack(0, 0, 128), ColourPack(0, 0, 144), ColourPack(0, 0, 160), ColourPack(0, 0, 240),
    kDecorationA, kDecorationB, kFruit,
};

// Outside the image reads as empty: the hazard test looks one row past the
// first and the last row.
std::int32_t PixelOrEmpty(const LayoutImage& layout, std::int32_t column, std::int32_t row) {
  if (column < 0 || row < 0 || column >= layout.width || row >= layout.height) return kBlack;
  return layout.At(column, row);
}

// Writes that would fall off the map are skipped: a start or checkpoint on the
// last row has no cell below for its pad.
void SetCollision(World& world, std::int32_t column, std::int32_t row, std::int32_t value) {
  if (column < 0 || row < 0 || column > world.LastColumn || row > world.LastRow) return;
  world.CollisionMap.At(column, row) = value;
}

void InsertEnemy(World& world, std::int32_t pixel, std::int32_t column, std::int32_t row, std::int32_t phase) {
  Enemy& enemy = ListInsert(world.Enemies);
  enemy.mode = kEnemyRoaming;
  enemy.x = column * kUnitsPerCell + kUnitsPerCell / 2;
  enemy.y = row * kUnitsPerCell + kUnitsPerCell / 2;
  enemy.heading = (NoiseAt(world, (column * 16) & kNoiseMask, (row * 16) & kNoiseMask) >> 4) & kAngleMask;
  enemy.speed = 0;
  enemy.radius = kEnemyRadius;
  enemy.phase = phase;
  for (std::int32_t k = 0; k < static_cast<std::int32_t>(std::size(kEnemyKinds)); ++k) {
    const EnemyKind& kind = kEnemyKinds[k];
    if (pixel != kind.colour) continue;
    enemy.kind = k + 1;
    enemy.hitPoints = kind.hitPoints;
    enemy.cruiseSpeed = kind.cruiseBase + 8 * phase;
    enemy.accel = kind.accel;
    enemy.dropCount = kind.dropCount;
    enemy.shotSpeed = kind.shotSpeed;
  }
}

// The rock tile of a pixel, parity not yet added.
std::int32_t RockTile(const LayoutImage& layout, std::int32_t column, std::int32_t row, std::int32_t pixel) {
  switch (pixel) {
    case kRockGreen:
      return NeighbourMask(layout, column, row, kTileBaseGreen, kRockGreen, NeighbourMode::kEqual);
    case kRockPurple:
      return NeighbourMask(layout, column, row, kTileBasePurple, kAnyRock, NeighbourMode::kAnyBit);
    case kRockGrey:
      return NeighbourMask(layout, column, row, kTileBaseGrey, kRockGrey, NeighbourMode::kAllBits);
    default:
      // Blue, and any other rock colour: drawn as blue rock, joining any rock.
      return NeighbourMask(layout, column, row, kTileBaseBlue, kAnyRock, NeighbourMode::kAnyBit);
  }
}

std::string At(const char* what, std::int32_t column, std::int32_t row) {
  return std::string(what) + " at column " + std::to_string(column) + ", row " + std::to_string(row);
}

}  // namespace

bool DecodeLayout(std::span<const unsigned char> png, LayoutImage& out) {
  DecodedImage image;
  if (!DecodePng(png, image)) return false;
  out.width = image.pixels.width;
  out.height = image.pixels.height;
  out.pixels.resize(image.pixels.pixels.size());
  for (std::size_t k = 0; k < out.pixels.size(); ++k) {
    out.pixels[k] = static_cast<std::int32_t>(image.pixels.pixels[k] & kPixelRgbMask);
  }
  return true;
}

const LayoutImage& EmbeddedLayout() {
  static const LayoutImage layout = [] {
    LayoutImage decoded;
    if (const EmbeddedFile* file = FindEmbeddedFile("world.png")) {
      if (!DecodeLayout(file->bytes, decoded)) decoded = LayoutImage{};
    }
    return decoded;
  }();
  return layout;
}

std::string CheckLayout(const LayoutImage& layout) {
  const std::int32_t lastRow = layout.height - 1;
  std::int32_t starts = 0;
  std::int32_t fruits = 0;
  for (std::int32_t row = 0; row < layout.height; ++row) {
    for (std::int32_t column = 0; column < layout.width; ++column) {
      const std::int32_t p = layout.At(column, row);
      bool known = false;
      for (std::int32_t c : kLayoutColours) known = known || c == p;
      if (!known) {
        char colour[48];
        std::snprintf(colour, sizeof colour, "colour (%d, %d, %d)", p & 255, (p >> 8) & 255, (p >> 16) & 255);
        return At(colour, column, row) + " is not one of the fifteen layout colours";
      }
      if (p == kHazard && row == 0) return At("hazard", column, row) + ": hazards need a row above";
      if (row == lastRow && (p == kStart || p == kCheckpoint || p == kHazard)) {
        const char* what = p == kStart ? "start" : p == kCheckpoint ? "checkpoint" : "hazard";
        return At(what, column, row) + ": the last row has no row below";
      }
      if (p == kStart && ++starts == 2) return At("second start", column, row);
      if (p == kFruit) ++fruits;
    }
  }
  if (starts == 0) return "no start";
  if (fruits != kFruitsToFind) return std::to_string(fruits) + " fruits, not " + std::to_string(kFruitsToFind);
  return {};
}

std::int32_t NeighbourMask(const LayoutImage& layout, std::int32_t column, std::int32_t row, std::int32_t base,
                           std::int32_t colour, NeighbourMode mode) {
  auto connects = [&](std::int32_t c, std::int32_t r) {
    if (c < 0 || r < 0 || c >= layout.width || r >= layout.height) return true;
    const std::int32_t q = layout.At(c, r);
    switch (mode) {
      case NeighbourMode::kAnyBit: return (q & colour) != 0;
      case NeighbourMode::kEqual: return q == colour;
      case NeighbourMode::kAllBits: return (q & colour) == colour;
    }
    return false;
  };
  std::int32_t mask = base;
  if (connects(column, row - 1)) mask += 1;
  if (connects(column + 1, row)) mask += 2;
  if (connects(column, row + 1)) mask += 4;
  if (connects(column - 1, row)) mask += 8;
  return mask;
}

void GenerateWorld(World& world, const LayoutImage& layout) {
  world.WorldWidth = layout.width;
  world.WorldHeight = layout.height;
  world.WorldExtentX = world.WorldWidth * kUnitsPerCell - 1;
  world.WorldExtentY = world.WorldHeight * kUnitsPerCell - 1;
  world.LastColumn = world.WorldWidth - 1;
  world.LastRow = world.WorldHeight - 1;

  world.viewHeight = world.internalHeight * kUnitsPerPixel;
  world.activeHalfWidth = kActiveHalfWidth;
  world.activeHalfHeight = world.viewHeight / 2 + kActiveMarginY;

  ArrayCreateMulti(world.CollisionMap, {world.WorldWidth, world.WorldHeight});
  ArrayCreateMulti(world.TileMap, {world.WorldWidth, world.WorldHeight});

  std::int32_t phase = 0;
  std::int32_t fruitNumber = 1;
  for (std::int32_t row = 0; row <= world.LastRow; ++row) {
    for (std::int32_t column = 0; column <= world.LastColumn; ++column) {
      const std::int32_t p = layout.At(column, row);
      std::int32_t& tile = world.TileMap.At(column, row);
      if (p & kRockBit) {
        // Adds: a hazard above may already have flagged this cell.
        world.CollisionMap.At(column, row) += kCellRock;
        tile = RockTile(layout, column, row, p) + 32 * (row & 1) + 16 * (column & 1);
      } else if (p == kStart) {
        tile = kTileCheckpointCurrent;
        world.checkpointColumn = column;
        world.checkpointRow = row;
        SetCollision(world, column, row + 1, kCellPad);
      } else if (p == kCheckpoint) {
        tile = kTileCheckpoint;
        SetCollision(world, column, row + 1, kCellPad);
      } else if (p == kHazard) {
        // Rock both above and below: it hangs, and the rock below keeps no flag.
        if (PixelOrEmpty(layout, column, row - 1) & kRockBit) {
          tile = kTileHazardHanging;
          SetCollision(world, column, row - 1, kCellHazardBelow);  // replaces the rock bit
        } else if (PixelOrEmpty(layout, column, row + 1) & kRockBit) {
          tile = kTileHazardStanding;
          SetCollision(world, column, row + 1, kCellHazardOnTop);  // the rock adds its 1 later
        }
      } else if ((p & kEnemyBit) == kEnemyBit) {
        InsertEnemy(world, p, column, row, phase);
        phase = (phase + 1) & kPhaseMask;
      } else if (p == kDecorationA) {
        tile = kTileDecorationA + phase;
        phase = (phase + 1) & kPhaseMask;
      } else if (p == kDecorationB) {
        tile = kTileDecorationB;
        phase = (phase + 1) & kPhaseMask;
      } else if (p == kFruit) {
        // A fruit starts a cell and a half below its pixel's top edge and falls.
        AddPickup(world, kPickupFruit, fruitNumber, column * kUnitsPerCell + kUnitsPerCell / 2,
                  row * kUnitsPerCell + 6144, 0, 0, 0);
        ++fruitNumber;
      }
    }
  }
}

void GenerateWorld(World& world) { GenerateWorld(world, EmbeddedLayout()); }

}  // namespace quorin
