#include "flow/draw_world.h"

#include <algorithm>

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/sprite_sheets.h"
#include "world/map.h"
#include "world/play_host.h"

namespace quorin {

namespace {

// Body frames by pose, from kHeroBodyFrames; the legs are 64 further on.
constexpr std::int32_t kBodyStanding = kHeroBodyFrames;
constexpr std::int32_t kBodyWalking = kHeroBodyFrames + 1;  // + anim / 4
constexpr std::int32_t kBodyRising = kHeroBodyFrames + 9;
constexpr std::int32_t kBodyFalling = kHeroBodyFrames + 10;
constexpr std::int32_t kBodyFallingLong = kHeroBodyFrames + 11;
constexpr std::int32_t kLegsOffset = kHeroLegsFrames - kHeroBodyFrames;
constexpr std::int32_t kLongFall = 6;  // frames of falling before the second falling pose
// An enemy's 12 frames: 4 moving right, 4 moving left, 4 stopped to shoot.
// About 128 ms shown, 128 ms hidden: a lower bit aliases with the 16 ms frame.
constexpr std::int32_t kPausedBlinkBit = 128;
constexpr std::int32_t kMonsterFramesPerKind = 12;
constexpr std::int32_t kMonsterLeftFrames = 4;
constexpr std::int32_t kMonsterShootingFrames = 8;
// A gem and a floating text blink in the last frames of their lives.
constexpr std::int32_t kGemSteadyAbove = 63;
constexpr std::int32_t kTextSteadyAbove = 16;

constexpr std::int32_t kPictureCentreX = kPictureWidth / 2;
constexpr std::int32_t kTopLineY = 4;
constexpr std::int32_t kGaugeY = 6;
constexpr std::int32_t kFruitRowPitch = 24;

std::int32_t ScreenX(const World& w, std::int32_t x) { return (x + w.cameraX) >> 8; }
std::int32_t ScreenY(const World& w, std::int32_t y) { return (y + w.cameraY) >> 8; }

// The cells a tile layer visits: one before the first visible one, clamped
// to the world.
struct CellSpan {
  std::int32_t c0, c1, r0, r1;
};

CellSpan VisibleCells(const World& w, std::int32_t bx, std::int32_t by, std::int32_t h) {
  const std::int32_t c = -bx / kPixelsPerCell;
  const std::int32_t r = -by / kPixelsPerCell;
  return {std::max(c - 1, 0), std::min(c + 33, w.LastColumn), std::max(r - 1, 0),
          std::min(r + h / kPixelsPerCell + 1, w.LastRow)};
}

void DrawBackground(Game& game, std::int32_t h) {
  const World& w = game.world;
  const Array<std::int32_t>& map = game.presentation.backgroundMap;
  if (map.Size() == 0) return;
  // Half the camera's speed: the caves look deeper than the rock.
  const std::int32_t bx = w.cameraX >> 9;
  const std::int32_t by = w.cameraY >> 9;
  const CellSpan s = VisibleCells(w, bx, by, h);
  for (std::int32_t r = s.r0; r <= s.r1; ++r) {
    for (std::int32_t c = s.c0; c <= s.c1; ++c) {
      const std::int32_t t = map.At(c % kBackgroundMapSize, r % kBackgroundMapSize);
      if (t != 0) QueueTile(game, t, kPixelsPerCell * c + bx, kPixelsPerCell * r + by);
    }
  }
}

void DrawTerrain(Game& game, std::int32_t h) {
  const World& w = game.world;
  const std::int32_t bx = w.cameraX >> 8;
  const std::int32_t by = w.cameraY >> 8;
  const CellSpan s = VisibleCells(w, bx, by, h);
  for (std::int32_t r = s.r0; r <= s.r1; ++r) {
    for (std::int32_t c = s.c0; c <= s.c1; ++c) {
      const std::int32_t t = w.TileMap.At(c, r);
      if (t != 0) QueueTile(game, t, kPixelsPerCell * c + bx, kPixelsPerCell * r + by);
    }
  }
}

void DrawWalkingHero(Game& game, std::int32_t px, std::int32_t py) {
  Player& p = game.world.player;
  // Blinks while invulnerable; the pose below is only chosen when drawn.
  if (p.invulnerable != 0 && (p.invulnerable & 8) == 0) return;
  std::int32_t b;
  if (p.vy < 0) {
    b = kBodyRising;
    p.anim = 0;
    p.fallFrames = 0;
  } else if (p.vy > 0) {
    b = p.fallFrames < kLongFall ? kBodyFalling : kBodyFallingLong;
    ++p.fallFrames;
  } else {
    if (p.vx != 0) {
      b = kBodyWalking + (p.anim >> 2);
    } else {
      b = kBodyStanding;
      p.anim = 0;  // standing still restarts the walk cycle and its footsteps
    }
    p.fallFrames = 0;
  }
  std::int32_t body;
  std::int32_t legs;
  if (p.hovering) {
    body = kBodyRising + p.facing;
    legs = kBodyRising + kLegsOffset + p.facing;
    QueueFrame(game, kJetFlameFrames + ((p.hoverFuel >> 2) & 3) + (p.facing >> 2), px, py);
  } else {
    body = b + p.facing;
    legs = body + kLegsOffset;
  }
  std::int32_t upper = body;
  std::int32_t lift = 0;
  if (p.firing) {
    upper = kHeroAimFrames + p.aimDir;
    if (p.jumpsLeft == 2) lift = (p.anim >> 2) & 2;  // the gun bobs with the stride
  }
  QueueFrame(game, legs, px, py);
  QueueFrame(game, upper, px, py - lift);
}

void DrawHero(Game& game, std::int32_t h) {
  const World& w = game.world;
  const std::int32_t px = kPictureCentreX - (w.screenOffsetX >> 8);
  const std::int32_t py = h / 2 - (w.screenOffsetY >> 8);
  switch (w.player.state) {
    case kHeroWalking: DrawWalkingHero(game, px, py); break;
    case kHeroBall: QueueFrame(game, kBallFrames + (w.player.anim >> 4), px, py); break;
    default: break;  // bursting, and out of play in the closing scenes
  }
}

void DrawPickups(Game& game) {
  const World& w = game.world;
  w.Pickups.ForEach([&](const Pickup& k) {
    if (!InActiveWindow(w, k.x, k.y)) return;
    std::int32_t frame;
    switch (k.kind) {
      case kPickupDebris: frame = k.variant + ((k.timer >> 2) & 3); break;
      case kPickupGem:
        if (k.timer <= kGemSteadyAbove && (k.timer & 4) == 0) return;
        frame = kGemFrames + k.variant;
        break;
      case kPickupFruit: frame = kFruitFrames - 1 + k.variant; break;
      default: return;  // vanishing: only its puffs show
    }
    QueueFrame(game, frame, ScreenX(w, k.x), ScreenY(w, k.y));
  });
}

void DrawShots(Game& game, const List<Shot>& shots) {
  const World& w = game.world;
  shots.ForEach([&](const Shot& s) { QueueFrame(game, s.frame, ScreenX(w, s.x), ScreenY(w, s.y)); });
}

void DrawEnemies(Game& game) {
  const World& w = game.world;
  w.Enemies.ForEach([&](const Enemy& e) {
    const std::int32_t base = kMonsterFrames + kMonsterFramesPerKind * (e.kind - 1);
    std::int32_t frame;
    if (e.mode == kEnemyRoaming) {
      const bool rightwards = e.heading < 1024 || e.heading > 3072;
      frame = base + (rightwards ? 0 : kMonsterLeftFrames) + ((e.phase >> 2) & 3);
    } else if (e.mode == kEnemyAiming) {
      frame = base + kMonsterShootingFrames + ((e.phase >> 3) & 3);
    } else {
      return;
    }
    QueueFrame(game, frame, ScreenX(w, e.x), ScreenY(w, e.y));
  });
}

void DrawParticles(Game& game) {
  const World& w = game.world;
  w.Particles.ForEach([&](const Particle& p) {
    QueueFrame(game, p.frame + (p.age >> 2), ScreenX(w, p.x), ScreenY(w, p.y));
  });
}

void DrawFruitRow(Game& game, std::int32_t h) {
  if (game.flow.GameState == kPlanetSaved) {
    for (std::int32_t i = 0; i < kFruitsToFind; ++i) {
      const SheetRect r = FruitIconRect(i + 1);
      QueueSheetClip(game, r.x, r.y, r.width, r.height, 160 + kFruitRowPitch * i, h / 2 - 52);
    }
    return;
  }
  for (std::int32_t i = 0; i < kFruitsToFind; ++i) {
    const std::int32_t n = game.world.FruitLog[i];
    if (n == 0) continue;
    const SheetRect r = FruitIconRect(n);
    QueueSheetClip(game, r.x, r.y, r.width, r.height, 2 + kFruitRowPitch * i, h - 26);
  }
}

void DrawFloatingTexts(Game& game) {
  const World& w = game.world;
  w.FloatingTexts.ForEach([&](const FloatingText& t) {
    if (t.life <= kTextSteadyAbove && (t.life & 4) == 0) return;
    QueueText(game, t.text, t.glyphBase, ScreenX(w, t.x), ScreenY(w, t.y), t.spacing, 1);
  });
}

void QueuePiece(Game& game, const SheetRect& r, std::int32_t x, std::int32_t y) {
  QueueSheetClip(game, r.x, r.y, r.width, r.height, x, y);
}

// The gauge grows with the power level as the fuel limit does; its full part
// is the fuel left.
void DrawPowerGauge(Game& game) {
  const Player& p = game.world.player;
  const std::int32_t n = 12 * p.powerLevel + 24;
  const std::int32_t left = kPictureCentreX - n;
  QueuePiece(game, kGaugeLeftCap, left, kGaugeY);
  for (std::int32_t i = 0; i < n; ++i) {
    QueuePiece(game, i < p.hoverFuel / 2 ? kGaugeFull : kGaugeEmpty, left + 2 * i + 2, kGaugeY);
  }
  QueuePiece(game, kGaugeRightCap, left + 2 * n + 2, kGaugeY);
}

void DrawTopLine(Game& game) {
  const Player& p = game.world.player;
  if (game.flow.GameState == kPaused) {
    if (game.shell.elapsedMs & kPausedBlinkBit) QueueText(game, "PAUSED", kFontThin, kPictureCentreX, kTopLineY, 0, 1);
  } else if (p.state == kHeroWalking) {
    DrawPowerGauge(game);
  } else if (p.bounces != 0) {
    QueueText(game, "BOUNCE*" + IntToText(p.bounces), kFontBoldYellow, kPictureCentreX, kTopLineY, -2, 1);
  }
}

}  // namespace

void DrawWorld(Game& game) {
  const std::int32_t h = game.shell.internalHeight;
  const World& w = game.world;
  DrawBackground(game, h);
  DrawTerrain(game, h);
  DrawHero(game, h);
  DrawPickups(game);
  DrawShots(game, w.PlayerShots);
  DrawEnemies(game);
  DrawParticles(game);
  DrawShots(game, w.EnemyShots);
  DrawFruitRow(game, h);
  DrawFloatingTexts(game);
  DrawTopLine(game);
  QueuePiece(game, kGemIcon, 4, kGaugeY);
  QueueText(game, ZeroPadded(w.player.power, 3), kFontThin, 14, kTopLineY, 0, 0);
  QueueText(game, ZeroPadded(game.flow.displayedScore, 7), kFontThin, 508, kTopLineY, 0, 2);
}

}  // namespace quorin
