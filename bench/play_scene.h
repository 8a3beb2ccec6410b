// The busy playing scene of the play benchmarks: the hero firing at power
// level 7 in the middle of the world, 200 particles, 60 gems around it, a few
// monster shots in flight and every monster of the world listed. The world is
// the embedded one when it holds a playable layout, else a generated cave of
// the same size and monster count. Shared by bench/play.cpp and the
// self-timed bench/standalone/busy_frame.cpp (the web build has no Google
// Benchmark).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/game_states.h"
#include "flow/render.h"
#include "flow/sprite_sheets.h"
#include "runtime/null/null_video.h"
#include "world/effects.h"
#include "world/generation.h"
#include "world/map.h"
#include "world/tables.h"

namespace quorin::bench {

constexpr int kParticles = 200;
constexpr int kGems = 60;
constexpr int kMonsterShots = 12;
constexpr int kLevel7Power = 1024;  // the least power at level 7
constexpr int kActiveMonsters = 30;
constexpr int kWarmUpFrames = 80;

constexpr std::int32_t Colour(int r, int g, int b) { return r | g << 8 | b << 16; }

// A 512 x 512 cave: rock walls and ledges, 2768 monsters of the five kinds'
// mix, the start in the middle, eight fruits.
inline std::shared_ptr<const LayoutImage> GeneratedCave() {
  auto layout = std::make_shared<LayoutImage>();
  layout->width = layout->height = 512;
  layout->pixels.assign(512 * 512, 0);
  auto set = [&](int c, int r, std::int32_t colour) { layout->pixels[static_cast<std::size_t>(r) * 512 + c] = colour; };
  for (int r = 0; r < 512; ++r) {
    for (int c = 0; c < 512; ++c) {
      const bool border = c == 0 || r == 0 || c == 511 || r == 511;
      const bool ledge = r % 24 == 20 && (c / 9) % 4 != 0;
      const bool pillar = c % 40 == 0 && r % 24 > 12;
      if (border || ledge || pillar) set(c, r, r % 48 < 24 ? Colour(128, 128, 192) : Colour(128, 32, 128));
    }
  }
  const std::int32_t kinds[] = {Colour(0, 0, 128), Colour(0, 0, 144), Colour(0, 0, 160), Colour(0, 0, 240)};
  int placed = 0;
  for (int r = 6; r < 506 && placed < 2768; r += 3) {
    for (int c = 5 + (r % 7); c < 506 && placed < 2768; c += 17) {
      if (layout->pixels[static_cast<std::size_t>(r) * 512 + c] == 0 && r % 24 < 19) set(c, r, kinds[placed++ % 4]);
    }
  }
  set(265, 259, Colour(0, 255, 255));  // on the ledge of row 260
  for (int k = 0; k < 8; ++k) set(20 + 60 * k, 4, Colour(0, 192, 0));
  return layout;
}

// The render side of a headless game: sprite system, glyphs, frames and
// pointer images on the null device.
inline void HeadlessGame(Game& g, NullVideo& device) {
  device.printMessages = false;
  SpriteSystemInit(g.video, device);
  BuildGlyphAdvances(g);
  BuildFrameTable(g);
  DefinePointerImages(g);
}

// Its 1024 x 768 window (384 rows inside) and the sprites built for it.
inline void OpenBenchWindow(Game& g, NullVideo& device) {
  g.shell.internalHeight = 384;
  g.settings.Windowed = 1;
  g.settings.Windowwidth = 1024;
  g.settings.SpritesMainMem = 1;
  WindowSpec wanted;
  wanted.clientWidth = 1024;
  wanted.clientHeight = 768;
  ScreenOpenWindowed(g.video, device.OpenWindow(wanted), 0, 0, 1024, 768, 0, 0, 0);
  BuildSprites(g);
}

// A Game ready to play: tables, frames, sprites on a 1024 x 768 headless window.
struct Bench {
  NullVideo device;
  std::unique_ptr<Game> game = std::make_unique<Game>();
  bool embedded = false;

  Bench() {
    Game& g = *game;
    BuildDirectionTable(g.world);
    HeadlessGame(g, device);
    PrepareTables(g);
    OpenBenchWindow(g, device);
    const LayoutImage& mine = EmbeddedLayout();
    embedded = !mine.pixels.empty() && CheckLayout(mine).empty();
    if (!embedded) g.flow.layout = GeneratedCave();
  }

  // Where about 30 monsters share the active window: the monster whose
  // window holds the count nearest 30.
  static void MoveHeroAmongMonsters(World& w) {
    std::vector<const Enemy*> all;
    w.Enemies.ForEach([&](const Enemy& e) { all.push_back(&e); });
    const Enemy* best = nullptr;
    int bestCount = 0;
    for (const Enemy* a : all) {
      int count = 0;
      for (const Enemy* b : all) {
        count += std::abs(b->x - a->x) <= w.activeHalfWidth && std::abs(b->y - a->y) <= w.activeHalfHeight;
      }
      if (!best || std::abs(count - kActiveMonsters) < std::abs(bestCount - kActiveMonsters)) {
        best = a;
        bestCount = count;
      }
    }
    if (!best) return;
    w.player.x = best->x;
    w.player.y = best->y;
    UpdateCamera(w);
  }

  // A new game, then the busy scene around the hero.
  void BusyScene() {
    Game& g = *game;
    EnterState(g, kPlaying);
    World& w = g.world;
    Player& p = w.player;
    MoveHeroAmongMonsters(w);
    p.power = kLevel7Power;
    p.powerLevel = 7;
    p.invulnerable = 1 << 20;  // the frame must stay a playing frame
    g.controls = Controls{};
    g.controls.button2 = 1;
    // Warm up: the gun runs, the view settles, monsters start to fire.
    for (int k = 0; k < kWarmUpFrames; ++k) {
      ClearDrawQueues(g);
      GameFrame(g);
    }
    ListClearAll(w.Particles);
    for (int k = 0; k < kParticles; ++k) {
      AddParticle(w, 64 + 4 * (k % 5), p.x + (k % 40 - 20) * 1024, p.y + (k / 40 - 2) * 2048, (k % 7 - 3) * 64, 0,
                  -256, 16);
    }
    for (int k = 0; k < kGems; ++k) {
      // Around the hero, outside its collection square.
      const std::int32_t dx = (k % 15 - 7) * 4096 + (k % 15 < 7 ? -6144 : 6144);
      AddPickup(w, kPickupGem, k % 4, p.x + dx, p.y - (k / 15) * 4096, 0, 0, 2000);
    }
    for (int k = 0; k < kMonsterShots; ++k) {
      Shot& s = w.EnemyShots.Insert();
      s.x = p.x + (k - 6) * 8192;
      s.y = p.y - 40000;
      s.heading = 1024;
      s.speed = 16;
      s.frame = 472;
    }
  }
};

inline std::int64_t ActiveMonsters(const World& w) {
  std::int64_t active = 0;
  w.Enemies.ForEach([&](const Enemy& e) { active += InActiveWindow(w, e.x, e.y) ? 1 : 0; });
  return active;
}

}  // namespace quorin::bench
