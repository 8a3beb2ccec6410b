// The world state: one copyable value. Copy it, run the same frames on both
// copies, and they stay identical.
#pragma once

#include <cstdint>

#include "runtime/array.h"
#include "runtime/list.h"
#include "runtime/random.h"
#include "runtime/text.h"

namespace quorin {

// 4096 position units per cell, 16 internal pixels per cell.
inline constexpr std::int32_t kUnitsPerCell = 4096;
inline constexpr std::int32_t kCellShift = 12;
inline constexpr std::int32_t kUnitsPerPixel = 256;
inline constexpr std::int32_t kPixelsPerCell = 16;
// The picture is 512 internal pixels wide: 131072 units.
inline constexpr std::int32_t kPictureWidth = 512;
inline constexpr std::int32_t kPictureWidthUnits = kPictureWidth * kUnitsPerPixel;
// Angles are 12-bit: 4096 steps per turn.
inline constexpr std::int32_t kAngleSteps = 4096;
inline constexpr std::int32_t kAngleMask = kAngleSteps - 1;
// The noise field tiles the plane: both indexes are masked.
inline constexpr std::int32_t kNoiseSize = 1024;
inline constexpr std::int32_t kNoiseMask = kNoiseSize - 1;

// Collision cell values and flag bits.
inline constexpr std::int32_t kCellRock = 1;
inline constexpr std::int32_t kCellPad = 2;
inline constexpr std::int32_t kCellHazardBelow = 4;  // a hazard hangs from this rock
inline constexpr std::int32_t kCellHazardOnTop = 8;  // a hazard stands on this rock
inline constexpr std::int32_t kCellOutside = 128;    // what CellAt reads outside the world

// Tile identifiers of the tile map.
inline constexpr std::int32_t kTileDecorationA = 512;
inline constexpr std::int32_t kTileDecorationB = 528;
inline constexpr std::int32_t kTileHazardHanging = 544;
inline constexpr std::int32_t kTileHazardStanding = 545;
inline constexpr std::int32_t kTileCheckpoint = 546;
inline constexpr std::int32_t kTileCheckpointCurrent = 547;

// Where a shot leaves the hero, by aim direction.
struct AimOffset {
  std::int32_t dx;
  std::int32_t dy;
};
inline constexpr int kAimOffsetSlots = 32;  // 8 used
inline constexpr int kAimDirections = 8;

// Hero states.
inline constexpr std::int32_t kHeroWalking = 1;
inline constexpr std::int32_t kHeroBall = 2;
inline constexpr std::int32_t kHeroBursting = 99;

// The hero. Fields keep the game's names; every one is signed 32-bit.
struct Player {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t halfWidth = 0;
  std::int32_t halfHeight = 0;
  std::int32_t pickupRadius = 0;
  std::int32_t vx = 0;
  std::int32_t vy = 0;
  std::int32_t walkAccel = 0;
  std::int32_t maxSpeedX = 0;
  std::int32_t groundBrake = 0;
  std::int32_t airBrake = 0;
  std::int32_t facing = 0;  // 0 right, 16 left
  std::int32_t aimDir = 0;  // 0..7
  std::int32_t state = 0;   // kHeroWalking, kHeroBall, kHeroBursting
  std::int32_t jumpSpeed = 0;
  std::int32_t gravity = 0;
  std::int32_t riseGravity = 0;
  std::int32_t maxFallSpeed = 0;
  std::int32_t jumpsLeft = 0;
  std::int32_t firing = 0;
  std::int32_t fireTimer = 0;
  std::int32_t shotSpeed = 0;
  std::int32_t shotAccel = 0;
  std::int32_t anim = 0;
  std::int32_t fallFrames = 0;
  std::int32_t invulnerable = 0;
  std::int32_t hoverFuel = 0;
  std::int32_t hovering = 0;
  std::int32_t shotCount = 0;
  std::int32_t powerLevel = 0;
  std::int32_t bounces = 0;
  std::int32_t score = 0;
  std::int32_t power = 0;
  std::int32_t comboBonus = 0;
  std::int32_t fruitsFound = 0;
  std::int32_t sameBounceCount = 0;
  std::int32_t lastBounceVy = 0;
};

// The hero's copy of the controls, taken once per played frame.
struct PlayerInput {
  std::int32_t dirX = 0;
  std::int32_t dirY = 0;
  std::int32_t button1 = 0;
  std::int32_t button2 = 0;
  std::int32_t button1Pressed = 0;
  std::int32_t button2Pressed = 0;
};

// Hero shots and monster shots.
struct Shot {
  std::int32_t frame = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t heading = 0;
  std::int32_t speed = 0;
  std::int32_t accel = 0;
  std::int32_t age = 0;
};

struct Particle {
  std::int32_t frame = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t vx = 0;
  std::int32_t vy = 0;
  std::int32_t ax = 0;
  std::int32_t ay = 0;
  std::int32_t age = 0;
};

struct FloatingText {
  Text text;
  std::int32_t glyphBase = 0;
  std::int32_t spacing = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t vy = 0;
  std::int32_t vyAccel = 0;
  std::int32_t life = 0;
};

// Pickup kinds.
inline constexpr std::int32_t kPickupDebris = 1;
inline constexpr std::int32_t kPickupGem = 2;
inline constexpr std::int32_t kPickupFruit = 3;
inline constexpr std::int32_t kPickupVanishing = 99;

struct Pickup {
  std::int32_t kind = 0;
  std::int32_t variant = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t vx = 0;
  std::int32_t vy = 0;
  std::int32_t timer = 0;
};

// Monster modes.
inline constexpr std::int32_t kEnemyRoaming = 1;
inline constexpr std::int32_t kEnemyAiming = 2;

struct Enemy {
  std::int32_t kind = 0;
  std::int32_t mode = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t heading = 0;
  std::int32_t speed = 0;
  std::int32_t cruiseSpeed = 0;
  std::int32_t accel = 0;
  std::int32_t radius = 0;
  std::int32_t hitPoints = 0;
  std::int32_t phase = 0;
  std::int32_t shotSpeed = 0;
  std::int32_t dropCount = 0;
};

// Eight fruits to find (the HUD row has a box for each).
inline constexpr int kFruitsToFind = 8;

struct World {
  // Built once at start-up and never changed afterwards.
  RandomState random;
  Array<float> directionTable;              // 4096 x 2: cos, sin
  Array<std::int32_t> fixedDirectionTable;  // 4097 x 2: cos, sin times 4095
  Array<std::int32_t> noiseField;           // 1024 x 1024, -32767..32768 once built
  Array<AimOffset> aimOffsets;

  // The picture's height in internal pixels, copied in before generation.
  std::int32_t internalHeight = 384;

  // World size, set by generation from the layout image.
  std::int32_t WorldWidth = 0;
  std::int32_t WorldHeight = 0;
  std::int32_t LastColumn = -1;
  std::int32_t LastRow = -1;
  std::int32_t WorldExtentX = -1;
  std::int32_t WorldExtentY = -1;
  // WorldWidth x WorldHeight, column-major: At(column, row).
  Array<std::int32_t> CollisionMap;
  Array<std::int32_t> TileMap;

  // The view.
  std::int32_t cameraX = 0;
  std::int32_t cameraY = 0;
  std::int32_t screenOffsetX = 0;
  std::int32_t screenOffsetY = 0;
  std::int32_t viewHeight = 0;
  std::int32_t activeHalfWidth = 0;
  std::int32_t activeHalfHeight = 0;

  // The hero and what moves around it.
  Player player;
  PlayerInput playerInput;
  List<Enemy> Enemies;
  List<Shot> PlayerShots;
  List<Shot> EnemyShots;
  List<FloatingText> FloatingTexts;
  List<Particle> Particles;
  List<Pickup> Pickups;

  // Counters of play.
  std::int32_t frameCounter = 0;
  std::int32_t enemyShotTimer = 0;
  std::int32_t enemyShotReload = 0;
  std::int32_t checkpointColumn = 0;
  std::int32_t checkpointRow = 0;
  std::int32_t FruitLog[kFruitsToFind] = {};
};

}  // namespace quorin
