#include "world/economy.h"

#include <algorithm>

#include "runtime/text.h"
#include "world/effects.h"
#include "world/tables.h"

namespace quorin {

namespace {

constexpr std::int32_t kMaxPowerLevel = 7;

// Announcements rise 1536 units a frame, slow by 128 and last 40 frames.
constexpr std::int32_t kNoticeVy = -1536;
constexpr std::int32_t kNoticeAccel = 128;
constexpr std::int32_t kNoticeLife = 40;
constexpr std::int32_t kFruitTextAccel = 96;

constexpr std::int32_t kGemFont = 192;
constexpr std::int32_t kGemTextSpacing = -2;

constexpr std::int32_t kFruitScore = 128;

bool InsidePickupSquare(const Player& hero, const Pickup& pickup) {
  const std::int32_t r = hero.pickupRadius;
  return pickup.x > hero.x - r && pickup.x < hero.x + r && pickup.y > hero.y - r && pickup.y < hero.y + r;
}

bool InsideTileMap(const World& world, std::int32_t column, std::int32_t row) {
  return column >= 0 && column < world.WorldWidth && row >= 0 && row < world.WorldHeight &&
         world.TileMap.Size() != 0;
}

}  // namespace

std::string_view FruitName(std::int32_t number) {
  switch (number) {
    case 1: return "PINEAPPLE!";
    case 2: return "MELON!";
    case 3: return "STRAWBERRY!";
    case 4: return "TANGERINE!";
    case 5: return "APPLE!";
    case 6: return "LEMON!";
    case 7: return "GRAPES!";
    case 8: return "CHERRIES!";
    default: return {};
  }
}

void SetCheckpoint(World& world, PlayHost& host, std::int32_t column, std::int32_t row) {
  if (column == world.checkpointColumn && row == world.checkpointRow) return;
  host.StartSound(kSoundCheckpoint);
  // A pad on the world's top row would name a cell above the map: the tiles
  // are only written inside it.
  if (InsideTileMap(world, world.checkpointColumn, world.checkpointRow)) {
    world.TileMap.At(world.checkpointColumn, world.checkpointRow) = kTileCheckpoint;
  }
  if (InsideTileMap(world, column, row)) world.TileMap.At(column, row) = kTileCheckpointCurrent;
  world.checkpointColumn = column;
  world.checkpointRow = row;
  AddFloatingText(world, "CHECKPOINT", 0, 0, column * kUnitsPerCell + kUnitsPerCell / 2, row * kUnitsPerCell,
                  kNoticeVy, kNoticeAccel, kNoticeLife);
}

void SpillGems(World& world, std::int32_t total, std::int32_t x, std::int32_t y) {
  std::int32_t seed = world.frameCounter;
  std::int32_t left = total;
  while (left > 0) {
    seed += 12;
    if (left > 7 && (NoiseAt(world, 0, seed) & 7) == 7) {
      SpawnGem(world, total, 3, seed, x, y);
      left -= 8;
      continue;
    }
    seed += 11;
    if (left > 3 && (NoiseAt(world, 0, seed) & 7) == 7) {
      SpawnGem(world, total, 2, seed, x, y);
      left -= 4;
      continue;
    }
    seed += 12;
    if (left > 1 && (NoiseAt(world, 0, seed) & 1) == 1) {
      SpawnGem(world, total, 1, seed, x, y);
      left -= 2;
      continue;
    }
    seed += 11;
    SpawnGem(world, total, 0, seed, x, y);
    left -= 1;
  }
}

void SpawnGem(World& world, std::int32_t total, std::int32_t k, std::int32_t seed, std::int32_t x, std::int32_t y) {
  // The bigger the spill, the wider and faster the spray.
  const std::int32_t a = std::min(total, 9) >> 1;
  const std::int32_t angle = ((NoiseAt(world, seed, k) >> (9 - a)) + 3072) & kAngleMask;
  const std::int32_t m = ((NoiseAt(world, seed, x) & 255) * a) / 9 + 64;
  const std::int32_t vx = (world.fixedDirectionTable.At(angle, 0) * m) >> 8;
  const std::int32_t vy = (world.fixedDirectionTable.At(angle, 1) * m) >> 8;
  AddPickup(world, kPickupGem, k, x, y, vx, vy, m * 32);
}

void UpdatePowerLevel(World& world, PlayHost& host) {
  Player& hero = world.player;
  std::int32_t level = 0;
  while (level < kMaxPowerLevel && (hero.power >> (level + 4)) != 0) ++level;
  if (hero.powerLevel != level) {
    const bool up = hero.powerLevel < level;
    host.StartSound(up ? kSoundPowerUp : kSoundPowerDown);
    AddFloatingText(world, up ? "POWER UP" : "POWER DOWN", 0, 0, hero.x, hero.y - hero.halfHeight, kNoticeVy,
                    kNoticeAccel, kNoticeLife);
  }
  hero.powerLevel = level;
}

bool CollectGem(World& world, PlayHost& host, const Pickup& gem) {
  Player& hero = world.player;
  if (hero.state != kHeroWalking || !InsidePickupSquare(hero, gem)) return false;
  const std::int32_t value = 1 << gem.variant;
  hero.power += value;
  hero.score += value;
  host.StartSound(kSoundGem);
  AddFloatingText(world, IntToText(hero.power), kGemFont, kGemTextSpacing, gem.x, gem.y - 2048,
                  -(64 << gem.variant) - 512, 24, (2 << gem.variant) + 32);
  UpdatePowerLevel(world, host);
  return true;
}

bool CollectFruit(World& world, PlayHost& host, const Pickup& fruit) {
  Player& hero = world.player;
  if (hero.state != kHeroWalking || !InsidePickupSquare(hero, fruit)) return false;
  // A world with more than eight fruits must not write past the log.
  if (hero.fruitsFound >= 0 && hero.fruitsFound < kFruitsToFind) world.FruitLog[hero.fruitsFound] = fruit.variant;
  AddFloatingText(world, FruitName(fruit.variant), 0, 0, fruit.x, fruit.y, kNoticeVy, kFruitTextAccel, kNoticeLife);
  host.StartSound(kSoundFruit);
  hero.fruitsFound += 1;
  hero.score += hero.fruitsFound * kFruitScore;
  if (hero.fruitsFound == kFruitsToFind) host.EnterState(kPlanetSaved);
  return true;
}

}  // namespace quorin
