#include "world/effects.h"

#include <algorithm>

#include "runtime/numeric.h"
#include "world/economy.h"
#include "world/map.h"

namespace quorin {

namespace {

bool Blocked(const World& world, std::int32_t x, std::int32_t y) { return CellAt(world, x, y) != 0; }

// The puffs every pickup leaves behind on impact or when it vanishes.
constexpr std::int32_t kFrameSpark = 64;
constexpr std::int32_t kFrameSmoke = 68;
constexpr std::int32_t kFrameDissolveA = 72;
constexpr std::int32_t kFrameDissolveB = 76;
constexpr std::int32_t kFramePuff = 80;

constexpr std::int32_t kParticleLife = 16;
constexpr std::int32_t kDebrisGravity = 56;
constexpr std::int32_t kGemGravity = 128;
constexpr std::int32_t kFruitGravity = 128;

void UpdateDebris(World& world, Pickup& piece) {
  piece.timer += 1;
  bool impact = false;
  piece.x += piece.vx;
  if (Blocked(world, piece.x, piece.y)) {
    piece.x -= piece.vx;
    piece.vx = -(piece.vx >> 1);
    if (piece.vy != 0) impact = true;
  }
  piece.vy = std::min(piece.vy, world.player.maxFallSpeed);
  piece.y += piece.vy;
  if (Blocked(world, piece.x, piece.y)) {
    piece.y -= piece.vy;
    if (!impact) {
      piece.vy = -(piece.vy >> 1);
      if (piece.vy > -40 && piece.vy <= 0) {
        piece.vx = 0;
        piece.vy = 0;
        piece.kind = kPickupVanishing;
      } else if (piece.vy < -128 || piece.vy > 0) {
        impact = true;
      }
    }
  }
  if (impact) {
    AddParticle(world, kFramePuff, piece.x, piece.y, 0, 0, -224, 0);
  } else if ((piece.timer & 7) == 7) {
    AddParticle(world, kFrameSmoke, piece.x, piece.y, 0, 0, -448, 32);
  }
  piece.vy += kDebrisGravity;
}

// Moves a gem; true when it comes down on a standing hazard.
bool MoveGem(World& world, Pickup& gem) {
  bool bouncedSideways = false;
  gem.x += gem.vx;
  if (Blocked(world, gem.x, gem.y)) {
    gem.x -= gem.vx;
    gem.vx = -(gem.vx >> 1);
    bouncedSideways = true;
  }
  gem.vy = std::min(gem.vy, world.player.maxFallSpeed);
  gem.y += gem.vy;
  bool onHazard = false;
  const std::int32_t cell = CellAt(world, gem.x, gem.y);
  if (cell != 0) {
    onHazard = (cell & kCellHazardOnTop) != 0;
    gem.y -= gem.vy;
    if (!bouncedSideways) {
      gem.vy = -(gem.vy * 2 / 3);
      if (gem.vy > -128 && gem.vy <= 0) {
        gem.vx = 0;
        gem.vy = 0;
        // Settled gems sit on whole pixels.
        gem.x = (gem.x >> 8) * 256;
        gem.y = (gem.y >> 8) * 256;
      }
    }
  }
  gem.vy += kGemGravity;
  return onHazard;
}

void MoveFruit(World& world, Pickup& fruit) {
  fruit.vy += kFruitGravity;
  fruit.y += fruit.vy;
  if (Blocked(world, fruit.x, fruit.y)) {
    fruit.y -= fruit.vy;
    fruit.vy = -fruit.vy;  // no loss: a fruit hops to the same height forever
  }
}

}  // namespace

void AddParticle(World& world, std::int32_t frame, std::int32_t x, std::int32_t y, std::int32_t vx,
                 std::int32_t ax, std::int32_t vy, std::int32_t ay) {
  Particle& p = ListInsert(world.Particles);
  p.frame = frame;
  p.x = x;
  p.y = y;
  p.vx = vx;
  p.vy = vy;
  p.ax = ax;
  p.ay = ay;
  p.age = 0;
}

void AddPickup(World& world, std::int32_t kind, std::int32_t variant, std::int32_t x, std::int32_t y,
               std::int32_t vx, std::int32_t vy, std::int32_t timer) {
  Pickup& p = ListInsert(world.Pickups);
  p.kind = kind;
  p.variant = variant;
  p.x = x;
  p.y = y;
  p.vx = vx;
  p.vy = vy;
  p.timer = timer;
}

void AddFloatingText(World& world, std::string_view text, std::int32_t glyphBase, std::int32_t spacing,
                     std::int32_t x, std::int32_t y, std::int32_t vy, std::int32_t vyAccel, std::int32_t life) {
  FloatingText& t = ListInsert(world.FloatingTexts);
  t.text = Text(text);
  t.glyphBase = glyphBase;
  t.spacing = spacing;
  t.x = x;
  t.y = y;
  t.vy = vy;
  t.vyAccel = vyAccel;
  t.life = life;
}

void UpdatePlayerShots(World& world) {
  List<Shot>& shots = world.PlayerShots;
  ListRewind(shots);
  while (Shot* shot = ListStep(shots)) {
    if (!InDrawBounds(world, shot->x, shot->y)) {
      ListRemoveCurrent(shots);
      continue;
    }
    const std::int32_t heading = shot->heading & kAngleMask;
    const float cosH = world.directionTable.At(heading, 0);
    const float sinH = world.directionTable.At(heading, 1);
    const float speed = static_cast<float>(shot->speed);
    if (Blocked(world, shot->x, shot->y)) {
      // A spark flies back out of the rock.
      AddParticle(world, kFrameSpark, shot->x, shot->y, -(FloatToIntTruncate(cosH * speed) >> 4), 0,
                  -(FloatToIntTruncate(sinH * speed) >> 4), 0);
      ListRemoveCurrent(shots);
      continue;
    }
    // The drift keeps the game's order: the cosine is truncated before scaling,
    // the sine after.
    AddParticle(world, shot->frame + 1, shot->x, shot->y, 16 * FloatToIntTruncate(cosH), 0,
                FloatToIntTruncate(sinH * 16.0), 0);
    shot->x += FloatToIntTruncate(cosH * speed);
    shot->y += FloatToIntTruncate(sinH * speed);
    shot->speed += shot->accel;
    shot->age += 1;
  }
}

void UpdatePickups(World& world, PlayHost& host) {
  List<Pickup>& pickups = world.Pickups;
  ListRewind(pickups);
  while (Pickup* p = ListStep(pickups)) {
    switch (p->kind) {
      case kPickupDebris:
        UpdateDebris(world, *p);
        break;
      case kPickupGem: {
        p->timer -= 1;
        if (p->timer == 0) {
          ListRemoveCurrent(pickups);
          break;
        }
        const bool onHazard = MoveGem(world, *p);
        if (CollectGem(world, host, *p)) {
          ListRemoveCurrent(pickups);
        } else if (onHazard) {
          AddParticle(world, kFrameDissolveA, p->x, p->y, p->vx, 0, p->vy >> 2, 0);
          AddParticle(world, kFrameDissolveB, p->x, p->y, p->vx, 0, p->vy >> 1, 0);
          ListRemoveCurrent(pickups);
          host.StartSound(kSoundGemDissolves);
        }
        break;
      }
      case kPickupFruit:
        MoveFruit(world, *p);
        if (CollectFruit(world, host, *p)) ListRemoveCurrent(pickups);
        break;
      case kPickupVanishing:
        AddParticle(world, kFramePuff, p->x, p->y, 0, 0, -224, 0);
        AddParticle(world, kFrameSmoke, p->x, p->y, 0, 0, -448, 32);
        ListRemoveCurrent(pickups);
        break;
      default:
        break;
    }
  }
}

void UpdateParticles(World& world) {
  List<Particle>& particles = world.Particles;
  ListRewind(particles);
  while (Particle* p = ListStep(particles)) {
    p->age += 1;
    if (p->age == kParticleLife) {
      ListRemoveCurrent(particles);
      continue;
    }
    // Position first, then velocity.
    p->x += p->vx;
    p->vx += p->ax;
    p->y += p->vy;
    p->vy += p->ay;
  }
}

void UpdateFloatingTexts(World& world) {
  List<FloatingText>& texts = world.FloatingTexts;
  ListRewind(texts);
  while (FloatingText* t = ListStep(texts)) {
    t->life -= 1;
    if (t->life == 0) {
      ListRemoveCurrent(texts);
      continue;
    }
    t->vy += t->vyAccel;
    // A text slows to a stop and then stays where it is.
    if ((t->vyAccel > 0 && t->vy > 0) || (t->vyAccel < 0 && t->vy < 0)) {
      t->vy = 0;
      t->vyAccel = 0;
    }
    t->y += t->vy;
  }
}

}  // namespace quorin
