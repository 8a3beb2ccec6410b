#include "world/enemies.h"

#include "runtime/numeric.h"
#include "world/economy.h"
#include "world/effects.h"
#include "world/map.h"
#include "world/player.h"
#include "world/tables.h"

namespace quorin {
namespace {

// Each roaming monster that takes its turn shortens the next reload by this
// much per power level: a stronger hero draws fire more often.
constexpr std::int32_t kReloadPerPowerLevel = 38;
// A hit throws the monster along the shot at this speed.
constexpr std::int32_t kKnockBackSpeed = 512;
// Mode 2 fires on this phase count.
constexpr std::int32_t kFiringPhase = 32;
constexpr std::int32_t kPhaseMask = 255;
constexpr std::int32_t kEnemyShotFrameBase = 472;
// A ball kill throws the ball up at least this fast.
constexpr std::int32_t kBallThrowSpeed = -1536;
constexpr std::int32_t kBallKillGems = 4;
constexpr std::int32_t kComboStep = 10;
constexpr std::int32_t kShotKillScore = 10;

float CosOf(const World& world, std::int32_t heading) { return world.directionTable.At(heading & kAngleMask, 0); }
float SinOf(const World& world, std::int32_t heading) { return world.directionTable.At(heading & kAngleMask, 1); }

// A table component times a speed, as the single-precision product truncated.
std::int32_t Along(float component, std::int32_t speed) {
  return FloatToIntTruncate(component * static_cast<float>(speed));
}

// lo < value < hi, all strict.
bool Between(std::int64_t lo, std::int64_t value, std::int64_t hi) { return lo < value && value < hi; }

// The puff and the flash of a monster or a monster shot going out.
void Burst(World& world, std::int32_t x, std::int32_t y) {
  AddParticle(world, 80, x, y, 0, 0, -128, 0);
  AddParticle(world, 68, x, y, 0, 0, -512, 32);
}

// Every live hero shot inside the body counts, so several can land in one
// frame. Returns how many did; each is used up.
std::int32_t TakeShotHits(World& world, PlayHost& host, Enemy& e) {
  std::int32_t hits = 0;
  ListRewind(world.PlayerShots);
  while (Shot* s = ListStep(world.PlayerShots)) {
    if (!Between(std::int64_t{e.y} - e.radius, s->y, std::int64_t{e.y} + e.radius) ||
        !Between(std::int64_t{e.x} - e.radius, s->x, std::int64_t{e.x} + e.radius)) {
      continue;
    }
    ++hits;
    host.StartSound(kSoundEnemyHit);
    AddParticle(world, 64, s->x, s->y, Along(CosOf(world, s->heading), s->speed) >> 2, 0,
                Along(SinOf(world, s->heading), s->speed) >> 2, 0);
    AddParticle(world, 72 + (s->age & 4), s->x, s->y, -(s->speed >> 4), 0, -384, 56);
    e.heading = s->heading;
    e.speed = kKnockBackSpeed;
    ListRemoveCurrent(world.PlayerShots);
  }
  return hits;
}

// A move along one axis undone, and the heading turned round, when the
// leading edge or the centre ends up in anything solid.
void MoveX(const World& world, Enemy& e) {
  const std::int32_t dx = Along(CosOf(world, e.heading), e.speed);
  e.x += dx;
  if ((dx > 0 && CellAt(world, e.x + e.radius, e.y) != 0) || (dx < 0 && CellAt(world, e.x - e.radius, e.y) != 0) ||
      CellAt(world, e.x, e.y) != 0) {
    e.x -= dx;
    e.heading = (e.heading + 2048) & kAngleMask;
  }
}

void MoveY(const World& world, Enemy& e) {
  const std::int32_t dy = Along(SinOf(world, e.heading), e.speed);
  e.y += dy;
  if ((dy > 0 && CellAt(world, e.x, e.y + e.radius) != 0) || (dy < 0 && CellAt(world, e.x, e.y - e.radius) != 0) ||
      CellAt(world, e.x, e.y) != 0) {
    e.y -= dy;
    e.heading = (e.heading + 2048) & kAngleMask;
  }
}

void FireAtHero(World& world, PlayHost& host, Enemy& e) {
  const Player& p = world.player;
  host.StartSound(kSoundEnemyFire);
  const std::int32_t heading =
      AngleOf(static_cast<float>(p.x - e.x), static_cast<float>(p.y - e.y));
  Shot& s = ListInsert(world.EnemyShots);
  s.heading = heading;
  // Half a cell out from the centre.
  s.x = e.x + (world.fixedDirectionTable.At(heading, 0) >> 1);
  s.y = e.y + (world.fixedDirectionTable.At(heading, 1) >> 1);
  s.speed = e.shotSpeed;
  s.frame = (heading >> 7) * 5 + kEnemyShotFrameBase;
  s.accel = 0;
}

void Steer(World& world, PlayHost& host, Enemy& e) {
  if (e.mode == kEnemyRoaming) {
    if (e.speed < e.cruiseSpeed) e.speed += e.accel;
    else if (e.speed > e.cruiseSpeed) e.speed -= e.accel;
    // One countdown for all monsters: the more of them roam near the hero,
    // the sooner one of them stops to fire. The reload is never below 534, so
    // "at or below 0" only differs from "reaches 0" for a timer never set.
    world.enemyShotTimer -= 1;
    if (world.enemyShotTimer <= 0) {
      if (world.player.state == kHeroWalking) {
        e.mode = kEnemyAiming;
        e.phase = 0;
      }
      world.enemyShotTimer = world.enemyShotReload - world.player.powerLevel * kReloadPerPowerLevel;
    }
  } else if (e.mode == kEnemyAiming) {
    if (e.speed > 0) e.speed -= e.accel;
    else if (e.speed < 0) e.speed = 0;
    if (e.phase == kFiringPhase) {
      FireAtHero(world, host, e);
      e.mode = kEnemyRoaming;
    }
  }
}

// Contact with the hero. Returns true when the monster is gone (the caller has
// the cursor on it and must not touch it again).
bool TouchHero(World& world, PlayHost& host, const Enemy& e) {
  Player& p = world.player;
  const std::int64_t reachX = std::int64_t{p.halfWidth} + e.radius;
  const std::int64_t reachY = std::int64_t{p.halfHeight} + e.radius;
  if (!Between(-reachX, std::int64_t{p.x} - e.x, reachX) || !Between(-reachY, std::int64_t{p.y} - e.y, reachY)) {
    return false;
  }
  if (p.state == kHeroWalking) {
    if (p.invulnerable != 0) return false;
    Burst(world, e.x, e.y);
    ListRemoveCurrent(world.Enemies);
    host.StartSound(kSoundEnemyDies);
    PlayerHit(world, host, 3);
    return true;
  }
  if (p.state == kHeroBall) {
    const std::int32_t x = e.x;
    const std::int32_t y = e.y;
    Burst(world, x, y);
    SpillGems(world, kBallKillGems, x, y);
    p.comboBonus += kComboStep;
    p.score += p.comboBonus;
    ListRemoveCurrent(world.Enemies);
    host.StartSound(kSoundEnemyDies);
    p.bounces += 1;
    AddFloatingText(world, IntToText(p.bounces), 224, -2, p.x, p.y, -1024, 80, 32);
    p.vx += world.playerInput.dirX * 256;
    if (p.vy > kBallThrowSpeed) p.vy = kBallThrowSpeed;
    return true;
  }
  return false;  // bursting: the hero is out of reach
}

}  // namespace

void UpdateEnemies(World& world, PlayHost& host) {
  ListRewind(world.Enemies);
  while (Enemy* e = ListStep(world.Enemies)) {
    // Monsters away from the view wait where they are; this test is all they cost.
    if (!InActiveWindow(world, e->x, e->y)) continue;

    if (const std::int32_t hits = TakeShotHits(world, host, *e); hits > 0) {
      e->hitPoints -= hits;
      if (e->hitPoints < 1) {
        const std::int32_t x = e->x;
        const std::int32_t y = e->y;
        Burst(world, x, y);
        SpillGems(world, e->dropCount, x, y);
        world.player.score += kShotKillScore;
        ListRemoveCurrent(world.Enemies);
        host.StartSound(kSoundEnemyDies);
      }
      // A hit monster does nothing else this frame.
      continue;
    }

    MoveX(world, *e);
    MoveY(world, *e);
    // The noise under the new position bends the course.
    e->heading = (e->heading + (NoiseAt(world, e->x << 2, e->y << 2) >> 7)) & kAngleMask;
    e->phase = (e->phase + 1) & kPhaseMask;

    Steer(world, host, *e);
    TouchHero(world, host, *e);
  }
}

void UpdateEnemyShots(World& world, PlayHost& host) {
  Player& p = world.player;
  ListRewind(world.EnemyShots);
  while (Shot* s = ListStep(world.EnemyShots)) {
    const float cosH = CosOf(world, s->heading);
    const float sinH = SinOf(world, s->heading);
    // Rock, or anywhere past the world's edge, ends a shot.
    if (CellAt(world, s->x, s->y) != 0) {
      AddParticle(world, 80, s->x, s->y, -(Along(cosH, s->speed) >> 4), 0, -(Along(sinH, s->speed) >> 4), 0);
      ListRemoveCurrent(world.EnemyShots);
      continue;
    }
    s->x += Along(cosH, s->speed);
    s->y += Along(sinH, s->speed);
    s->speed += s->accel;
    // Out of the picture a shot only flies: no trail, no ageing, no hit test.
    if (!InDrawBounds(world, s->x, s->y)) continue;
    if ((s->age & 1) != 0) AddParticle(world, s->frame + 1, s->x, s->y, 0, 0, 0, 0);
    s->age += 1;
    if (p.state == kHeroWalking && Between(-std::int64_t{p.halfWidth}, std::int64_t{p.x} - s->x, p.halfWidth) &&
        Between(-std::int64_t{p.halfHeight}, std::int64_t{p.y} - s->y, p.halfHeight) && p.invulnerable == 0) {
      Burst(world, s->x, s->y);
      ListRemoveCurrent(world.EnemyShots);
      PlayerHit(world, host, 4);
    }
  }
}

}  // namespace quorin
