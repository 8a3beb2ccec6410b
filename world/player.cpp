#include "world/player.h"

#include <algorithm>
#include <cstdint>

#include "runtime/text.h"
#include "world/economy.h"
#include "world/effects.h"
#include "world/map.h"
#include "world/tables.h"

namespace quorin {

namespace {

constexpr std::int32_t kFrameDust = 64;
constexpr std::int32_t kFrameSmoke = 68;
constexpr std::int32_t kFramePuff = 80;
constexpr std::int32_t kFrameDebrisLeft = 92;
constexpr std::int32_t kFrameDebrisRight = 88;
constexpr std::int32_t kFrameHeroShot = 312;

constexpr std::int32_t kInvulnerableFrames = 96;
constexpr std::int32_t kBurstFrames = 48;
constexpr std::int32_t kMaxStuckBounces = 7;
constexpr std::int32_t kBounceFont = 224;

// Hurt kinds: 1 landed on a hazard, 2 hit one from below, 3 a monster, 4 a monster shot.
constexpr std::int32_t kHurtHazardBelow = 1;
constexpr std::int32_t kHurtHazardAbove = 2;
constexpr std::int32_t kHurtMonster = 3;
constexpr std::int32_t kHurtMonsterShot = 4;

// The game's frame counter wraps; the debris spread is taken from its low bits.
std::int32_t LowBitsTimes(std::int32_t value, std::uint32_t factor, std::int32_t mask) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(value) * factor) & static_cast<std::uint32_t>(mask));
}

bool AnyHas(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t bit) {
  return ((a | b | c) & bit) != 0;
}

// The aim is taken from the directions held when the fire button goes down.
std::int32_t ChooseAim(const PlayerInput& in, std::int32_t facing) {
  if (in.dirX == 1) return in.dirY == -1 ? 7 : (in.dirY == 1 ? 1 : 0);
  if (in.dirX == -1) return in.dirY == -1 ? 5 : (in.dirY == 1 ? 3 : 4);
  if (in.dirY == -1) return 6;
  if (in.dirY == 1) return 2;
  return facing >> 2;
}

void FireShot(World& world, PlayHost& host) {
  Player& p = world.player;
  host.StartSound(kSoundHeroFire);
  const std::int32_t noiseA = NoiseAt(world, (p.shotCount * 4) & kNoiseMask, world.frameCounter & kNoiseMask);
  const std::int32_t spread = (noiseA * ((p.shotCount & 7) * p.powerLevel)) >> 12;
  const std::int32_t noiseB = NoiseAt(world, world.frameCounter & kNoiseMask, p.shotCount & kNoiseMask) >> 7;
  const AimOffset& muzzle = world.aimOffsets[static_cast<std::size_t>(p.aimDir)];

  Shot& shot = ListInsert(world.PlayerShots);
  shot.heading = (p.aimDir * 512 + spread) & kAngleMask;
  shot.frame = (shot.heading >> 7) * 5 + kFrameHeroShot;
  shot.x = p.x + muzzle.dx * kUnitsPerPixel;
  // The muzzle rises 2 pixels in the half of the walk cycle with anim bit 3 set.
  shot.y = p.y + (muzzle.dy - ((p.anim >> 2) & 2)) * kUnitsPerPixel;
  shot.speed = p.shotSpeed + noiseB;
  shot.accel = p.shotAccel + (noiseB >> 3);
  const Shot fired = shot;

  p.shotCount += 1;
  if ((p.shotCount & 1) != 0) {
    // Smoke puffs back from the muzzle on every other shot.
    const std::int32_t cosFixed = world.fixedDirectionTable.At(fired.heading, 0);
    const std::int32_t sinFixed = world.fixedDirectionTable.At(fired.heading, 1);
    const std::int32_t backX = -((cosFixed * fired.speed) >> 13);
    const std::int32_t backY = -((sinFixed * fired.speed) >> 13);
    AddParticle(world, kFrameSmoke, fired.x, fired.y, backX, -(backX >> 4), backY, -(backY >> 4));
  }
}

void Walk(World& world, PlayHost& host) {
  Player& p = world.player;
  const PlayerInput& in = world.playerInput;

  if (p.invulnerable > 0) p.invulnerable -= 1;
  p.anim = (p.anim + 1) & 31;
  std::int32_t hurt = 0;

  p.vx += in.dirX * p.walkAccel;

  if (in.button1Pressed != 0 && p.jumpsLeft > 0) {
    host.StartSound(kSoundJump);
    AddParticle(world, kFrameDust, p.x, p.y + p.halfHeight, -(p.vx >> 3), 0, 96, 0);
    p.jumpsLeft -= 1;
    p.vy = -p.jumpSpeed;
  }

  if (in.button2Pressed != 0) p.aimDir = ChooseAim(in, p.facing);

  std::int32_t brake = p.airBrake;
  if (p.jumpsLeft == 2) {
    brake = p.groundBrake;
    p.hoverFuel = std::min(p.hoverFuel + 2, HoverFuelLimit(p));
  }

  if (in.dirX == 1 && p.vx < 0) {
    p.vx += brake;
  } else if (in.dirX == -1 && p.vx > 0) {
    p.vx -= brake;
  } else if (in.dirX == 0) {
    if (p.vx > 0) p.vx = std::max(p.vx - brake, 0);
    else if (p.vx < 0) p.vx = std::min(p.vx + brake, 0);
  }
  p.vx = std::clamp(p.vx, -p.maxSpeedX, p.maxSpeedX);

  if (in.button1 != 0) {
    p.vy += p.vy < 0 ? p.riseGravity : p.gravity;
    if (p.jumpsLeft == 0 && p.hoverFuel > 0) {
      // Hover thrust: strong while falling, weaker the faster the hero rises.
      if (p.vy > 0) p.vy = p.vy - (p.vy >> 2) - 256;
      else if (p.vy > -512) p.vy -= 192;
      else if (p.vy > -1280) p.vy -= 128;
      p.hoverFuel -= 1;
      if (p.hoverFuel == 0) AddParticle(world, kFrameSmoke, p.x, p.y, p.vx >> 1, 0, 64, -12);
      p.hovering = 1;
    } else {
      p.hovering = 0;
    }
  } else {
    p.hovering = 0;
    p.vy += p.gravity;
  }

  p.x += p.vx;
  if (p.vx > 0) {
    p.facing = 0;
    const std::int32_t side = p.x + p.halfWidth;
    if (CellAt(world, side, p.y - p.halfHeight) != 0 || CellAt(world, side, p.y + p.halfHeight) != 0 ||
        CellAt(world, side, p.y) != 0) {
      p.x = ((side >> kCellShift) << kCellShift) - p.halfWidth - 1;
      p.vx = 0;
    }
  } else if (p.vx < 0) {
    p.facing = 16;
    const std::int32_t side = p.x - p.halfWidth;
    if (CellAt(world, side, p.y - p.halfHeight) != 0 || CellAt(world, side, p.y + p.halfHeight) != 0 ||
        CellAt(world, side, p.y) != 0) {
      p.x = (((side >> kCellShift) + 1) << kCellShift) + p.halfWidth;
      p.vx = 0;
    }
  }

  p.vy = std::min(p.vy, p.maxFallSpeed);
  p.y += p.vy;

  if (p.vy > 0) {
    const std::int32_t feet = p.y + p.halfHeight;
    const std::int32_t left = CellAt(world, p.x - p.halfWidth, feet);
    const std::int32_t right = CellAt(world, p.x + p.halfWidth, feet);
    const std::int32_t middle = CellAt(world, p.x, feet);
    if ((left | right | middle) != 0) {
      if (AnyHas(left, right, middle, kCellHazardOnTop)) {
        hurt = kHurtHazardBelow;
      } else {
        p.y = ((feet >> kCellShift) << kCellShift) - p.halfHeight - 1;
        if (p.jumpsLeft != 2) p.anim = 0;
        p.jumpsLeft = 2;
        p.vy = 0;
        // Landing, and a footstep every 16 frames while walking.
        if (p.anim == 0 || p.anim == 16) host.StartSound(kSoundFootstep);
        if ((middle & kCellPad) != 0) SetCheckpoint(world, host, p.x >> kCellShift, (feet >> kCellShift) - 1);
      }
    } else {
      // Passing just above a pad activates it too.
      const std::int32_t below = feet + kUnitsPerCell;
      if ((CellAt(world, p.x, below) & kCellPad) != 0) {
        SetCheckpoint(world, host, p.x >> kCellShift, (below >> kCellShift) - 1);
      }
    }
  } else if (p.vy < 0) {
    const std::int32_t head = p.y - p.halfHeight;
    // One unit less on the right than the feet test.
    const std::int32_t left = CellAt(world, p.x - p.halfWidth, head);
    const std::int32_t right = CellAt(world, p.x + p.halfWidth - 1, head);
    const std::int32_t middle = CellAt(world, p.x, head);
    if ((left | right | middle) != 0) {
      if (AnyHas(left, right, middle, kCellHazardBelow)) {
        hurt = kHurtHazardAbove;
      } else {
        p.y = (((head >> kCellShift) + 1) << kCellShift) + p.halfHeight;
        p.vy = 0;
      }
    }
  }

  // Walking off a ledge leaves one jump.
  if (p.vy > 0 && p.jumpsLeft == 2) p.jumpsLeft = 1;

  if (in.button2 != 0) {
    p.firing = 1;
    p.fireTimer += 1;
    if (p.fireTimer == 1) FireShot(world, host);
    // At or past the period: a level gained mid-burst must not jam the gun.
    if (p.fireTimer >= 8 - p.powerLevel) p.fireTimer = 0;
  } else {
    p.firing = 0;
    p.fireTimer = 0;
    p.shotCount = 0;
  }

  // Hazards hurt whatever invulnerable says.
  if (hurt != 0) PlayerHit(world, host, hurt);
}

// The ball comes to rest or gets stuck: it bursts in place.
void Burst(World& world) {
  Player& p = world.player;
  AddParticle(world, kFramePuff, p.x, p.y, p.vx >> 1, 0, -128, 16);
  AddParticle(world, kFrameSmoke, p.x, p.y, p.vx >> 2, 0, -512, 32);
  p.vx = 0;
  p.vy = 0;
  p.anim = kBurstFrames;
  p.state = kHeroBursting;
}

void Roll(World& world, PlayHost& host) {
  Player& p = world.player;
  const PlayerInput& in = world.playerInput;

  p.fireTimer += 1;
  // The ball spins faster in the held direction.
  p.anim = (p.anim + in.dirX * 8 + 1) & 63;

  bool bounced = false;
  p.vx = std::clamp(p.vx, -p.maxSpeedX, p.maxSpeedX);
  p.x += p.vx;
  if (CellAt(world, p.x, p.y) != 0) {
    p.vx = -(p.vx >> 1);
    p.x += p.vx;
    bounced = true;
  }

  p.vy = std::min(p.vy, p.maxFallSpeed);
  p.y += p.vy;
  const std::int32_t cell = CellAt(world, p.x, p.y);
  if (cell != 0) {
    if ((cell & kCellPad) != 0) SetCheckpoint(world, host, p.x >> kCellShift, (p.y >> kCellShift) - 1);
    p.y -= p.vy;
    if (!bounced) {
      p.vy = -(p.vy * 2 / 3);
      if (p.vy < -128) p.vx += in.dirX * 256;  // steering on good bounces
      if (p.vy > -96 && p.vy <= 0) {
        Burst(world);
      } else if (p.vy < -144 || p.vy > 64) {
        bounced = true;
      }
    }
  } else {
    const std::int32_t below = p.y + kUnitsPerCell;
    if ((CellAt(world, p.x, below) & kCellPad) != 0) {
      SetCheckpoint(world, host, p.x >> kCellShift, (below >> kCellShift) - 1);
    }
  }

  if (bounced) {
    host.StartSound(kSoundBounce);
    p.bounces += 1;
    AddFloatingText(world, IntToText(p.bounces), kBounceFont, -2, p.x, p.y, -1024, 80, 32);
    AddParticle(world, kFramePuff, p.x, p.y, 0, 0, -224, 0);
    if (p.vy > 0) {
      // A ball caught in a repeating bounce is ended.
      const std::int32_t change = p.vy - p.lastBounceVy;
      if (change > -144 && change < 144) p.sameBounceCount += 1;
      else p.sameBounceCount = 0;
      p.lastBounceVy = p.vy;
      if (p.sameBounceCount > kMaxStuckBounces) {
        Burst(world);
        host.StartSound(kSoundHurt);
        p.sameBounceCount = 0;
        p.lastBounceVy = 0;
      }
    }
  } else if ((p.fireTimer & 7) == 7) {
    AddParticle(world, kFrameSmoke, p.x, p.y, 0, 0, -448, 32);
  }

  p.vy += in.button1 != 0 ? p.gravity >> 2 : p.gravity >> 1;

  if (in.button2Pressed != 0 && p.fireTimer > 15) {
    // The player bursts the ball; its speed stays as it was.
    host.StartSound(kSoundHurt);
    AddParticle(world, kFramePuff, p.x, p.y, p.vx >> 2, 0, -224, 0);
    AddParticle(world, kFrameSmoke, p.x, p.y, p.vx >> 2, 0, -512, 32);
    p.anim = kBurstFrames;
    p.state = kHeroBursting;
  }
}

void CountDownBurst(World& world, PlayHost& host) {
  Player& p = world.player;
  if (p.bounces > 0 && p.anim == kBurstFrames) {
    p.score += p.bounces * 10;
    std::int32_t& best = host.MaxBounce();
    if (p.bounces > best) best = p.bounces;
  }
  p.anim -= 1;
  if (p.anim == 0) PlayerRespawn(world);
}

}  // namespace

void PlayerNewGame(Player& player) {
  // x and y are placed by the game flow at the checkpoint once the world is
  // generated; facing, aimDir and the stuck-bounce detection carry over.
  player.halfWidth = 512;
  player.halfHeight = 3328;
  player.pickupRadius = 4608;
  player.vx = 0;
  player.vy = 0;
  player.walkAccel = 72;
  player.maxSpeedX = 1280;
  player.groundBrake = 384;
  player.airBrake = 32;
  player.state = kHeroWalking;
  player.jumpSpeed = 2047;
  player.gravity = 200;
  player.riseGravity = 110;
  player.maxFallSpeed = 2378;
  player.jumpsLeft = 0;
  player.firing = 0;
  player.fireTimer = 0;
  player.shotSpeed = 2048;
  player.shotAccel = 24;
  player.anim = 0;
  player.fallFrames = 0;
  player.invulnerable = kInvulnerableFrames;
  player.hoverFuel = 48;
  player.hovering = 0;
  player.shotCount = 0;
  player.powerLevel = 0;
  player.bounces = 0;
  player.score = 0;
  player.power = 0;
  player.comboBonus = 0;
  player.fruitsFound = 0;
}

void PlayerUpdate(World& world, PlayHost& host) {
  switch (world.player.state) {
    case kHeroWalking:
      Walk(world, host);
      break;
    case kHeroBall:
      Roll(world, host);
      break;
    case kHeroBursting:
      CountDownBurst(world, host);
      break;
    default:
      break;
  }
  UpdateCamera(world);
}

void PlayerHit(World& world, PlayHost& host, std::int32_t kind) {
  Player& p = world.player;
  if (kind == kHurtHazardBelow || kind == kHurtHazardAbove) host.StartSound(kSoundHurt);
  p.hovering = 0;
  p.hoverFuel = 0;
  p.state = kHeroBall;
  p.fireTimer = 0;
  // Each ball counts its own bounces: an earlier ball's count would burst it early.
  p.sameBounceCount = 0;
  p.lastBounceVy = 0;
  AddParticle(world, kFramePuff, p.x, p.y, 0, 0, -224, 0);

  const std::int32_t r1 = LowBitsTimes(world.frameCounter, 32, 511) - 256;
  const std::int32_t r2 = LowBitsTimes(world.frameCounter, 8, 1023) - 512;
  p.vx = (p.vx >> 1) + r1;
  if (kind == kHurtHazardBelow || kind == kHurtMonster) p.vy = -2048;
  else if (kind == kHurtHazardAbove) p.vy = 512;  // pushed down off the ceiling
  else if (kind == kHurtMonsterShot) p.vy = -1536;

  // The hero's body flies apart in two halves.
  AddPickup(world, kPickupDebris, kFrameDebrisLeft, p.x, p.y, (p.vx >> 1) - 480, r2 - 1536, 0);
  AddPickup(world, kPickupDebris, kFrameDebrisRight, p.x, p.y, (p.vx >> 1) + 480, -r2 - 1800, 0);

  if (p.power == 0) {
    host.EnterState(kGameOver);
    return;
  }
  if (p.power == 1) {
    SpillGems(world, 1, p.x, p.y);
    p.power = 0;
  } else {
    SpillGems(world, std::min(p.power >> 1, 255), p.x, p.y);
    p.power >>= 1;
  }
  if (p.power < 8) p.power = 0;
  UpdatePowerLevel(world, host);
}

void PlayerRespawn(World& world) {
  Player& p = world.player;
  p.invulnerable = kInvulnerableFrames;
  p.anim = 0;
  p.state = kHeroWalking;
  p.vx = 0;
  p.vy = 0;
  p.jumpsLeft = 0;
  p.firing = 0;
  p.fireTimer = 0;
  p.fallFrames = 0;
  p.bounces = 0;
  p.comboBonus = 0;
  p.hoverFuel = HoverFuelLimit(p);
  p.shotCount = 0;
  p.x = world.checkpointColumn * kUnitsPerCell + kUnitsPerCell / 2;
  p.y = world.checkpointRow * kUnitsPerCell + kUnitsPerCell / 2;
  // Monsters, pickups, power, score and fruits stay.
  ListClearAll(world.PlayerShots);
  ListClearAll(world.Particles);
  ListClearAll(world.EnemyShots);
  ListClearAll(world.FloatingTexts);
}

}  // namespace quorin
