// One frame of the monsters in a full-size world: 2768 of them listed, about
// 30 inside the active window around the hero, the rest waiting outside it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "world/enemies.h"
#include "world/map.h"
#include "world/tables.h"

namespace {

using namespace quorin;

constexpr int kSize = 512;
constexpr int kEnemyCount = 2768;
constexpr int kWantedActive = 30;
constexpr int kPocketPitch = 5;
constexpr int kHeroCell = 256;
constexpr int kHeroShots = 16;

std::int32_t Centre(int cell) { return cell * kUnitsPerCell + kUnitsPerCell / 2; }

// Solid rock with a 3 x 3 pocket every five cells; each monster bounces
// around its own pocket, so the active ones stay active however long the
// benchmark runs. The hero stands in the pocket at the world's centre,
// walking and invulnerable: monsters stop and fire at it, their shots fly
// through it into the rock.
World BusyWorld(bool heroNearMonsters) {
  World world;
  BuildDirectionTable(world);
  BuildFixedDirectionTable(world);
  PrepareNoiseField(world);
  world.WorldWidth = world.WorldHeight = kSize;
  world.LastColumn = world.LastRow = kSize - 1;
  world.WorldExtentX = world.WorldExtentY = kSize * kUnitsPerCell - 1;
  world.viewHeight = world.internalHeight * kUnitsPerPixel;
  world.activeHalfWidth = kActiveHalfWidth;
  world.activeHalfHeight = world.viewHeight / 2 + 8192;
  ArrayCreateMulti(world.CollisionMap, {kSize, kSize});
  ArrayCreateMulti(world.TileMap, {kSize, kSize});
  for (int c = 0; c < kSize; ++c) {
    for (int r = 0; r < kSize; ++r) world.CollisionMap.At(c, r) = kCellRock;
  }
  std::vector<std::pair<int, int>> pockets;
  for (int c = 2; c < kSize - 2; c += kPocketPitch) {
    for (int r = 2; r < kSize - 2; r += kPocketPitch) {
      pockets.emplace_back(c, r);
      for (int dc = -1; dc <= 1; ++dc) {
        for (int dr = -1; dr <= 1; ++dr) world.CollisionMap.At(c + dc, r + dr) = 0;
      }
    }
  }

  const int heroCell = heroNearMonsters ? kHeroCell + 1 : 2;  // a pocket centre either way
  world.player.state = kHeroWalking;
  world.player.halfWidth = 512;
  world.player.halfHeight = 3328;
  world.player.invulnerable = 1 << 30;
  world.player.powerLevel = 7;
  world.player.x = Centre(heroCell);
  world.player.y = Centre(heroCell);
  UpdateCamera(world);
  world.enemyShotTimer = world.enemyShotReload = 800;

  // The pockets in the window first (about 30), then the others spread evenly.
  World probe = world;
  probe.player.x = probe.player.y = Centre(kHeroCell + 1);
  UpdateCamera(probe);
  std::vector<std::pair<int, int>> inside, outside;
  for (const auto& [c, r] : pockets) {
    if (c == kHeroCell + 1 && r == kHeroCell + 1) continue;
    if (InActiveWindow(probe, Centre(c), Centre(r))) {
      inside.emplace_back(c, r);
    } else if (heroNearMonsters || !InActiveWindow(world, Centre(c), Centre(r))) {
      outside.emplace_back(c, r);  // with the hero in the corner, none around it
    }
  }
  std::vector<std::pair<int, int>> chosen(inside.begin(), inside.begin() + std::min<std::size_t>(inside.size(), kWantedActive));
  const std::size_t rest = kEnemyCount - chosen.size();
  for (std::size_t k = 0; k < rest; ++k) chosen.push_back(outside[k * outside.size() / rest]);

  int phase = 0;
  for (const auto& [c, r] : chosen) {
    Enemy& e = ListInsert(world.Enemies);
    e.kind = 1 + phase % 5;
    e.mode = kEnemyRoaming;
    e.x = Centre(c);
    e.y = Centre(r);
    e.heading = (NoiseAt(world, c * 16, r * 16) >> 4) & kAngleMask;
    e.cruiseSpeed = 128 + 8 * phase;
    e.accel = 4 * (1 + phase % 3);
    e.radius = 3072;
    e.hitPoints = e.kind;
    e.phase = phase;
    e.shotSpeed = 1024;
    e.dropCount = 1;
    phase = (phase + 1) & 15;
  }
  // Hero shots in flight, held in the rock between the hero's pocket and the
  // next (nothing moves them here, and no monster body reaches that rock):
  // every active monster tests every one of them.
  for (int k = 0; k < kHeroShots; ++k) {
    Shot& s = ListInsert(world.PlayerShots);
    s.x = world.player.x + 5 * kUnitsPerCell / 2;
    s.y = world.player.y + (k - kHeroShots / 2) * 256;
    s.speed = 2048;
  }
  return world;
}

int ActiveCount(const World& world) {
  int n = 0;
  world.Enemies.ForEach([&](const Enemy& e) { n += InActiveWindow(world, e.x, e.y) ? 1 : 0; });
  return n;
}

void Report(benchmark::State& state, const World& world) {
  state.counters["enemies"] = world.Enemies.Count();
  state.counters["active"] = ActiveCount(world);
  state.counters["hero_shots"] = world.PlayerShots.Count();
  state.counters["enemy_shots"] = world.EnemyShots.Count();
}

// UpdateEnemies alone: the window test for all, the full update for the active ones.
void BM_UpdateEnemies(benchmark::State& state) {
  World world = BusyWorld(true);
  QuietHost host;
  for (auto _ : state) {
    UpdateEnemies(world, host);
    benchmark::DoNotOptimize(world.enemyShotTimer);
    // Shots fired here are not moved in this benchmark; keep the list bounded.
    if (world.EnemyShots.Count() > 64) ListClearAll(world.EnemyShots);
  }
  Report(state, world);
}
BENCHMARK(BM_UpdateEnemies);

// The monsters' share of a playing frame: UpdateEnemies then UpdateEnemyShots.
void BM_UpdateEnemiesAndShots(benchmark::State& state) {
  World world = BusyWorld(true);
  QuietHost host;
  for (auto _ : state) {
    UpdateEnemies(world, host);
    UpdateEnemyShots(world, host);
    // Particles from shots ending in rock pile up without UpdateParticles.
    if (world.Particles.Count() > 1024) ListClearAll(world.Particles);
  }
  Report(state, world);
}
BENCHMARK(BM_UpdateEnemiesAndShots);

// The hero in a corner with no monster near it: every one fails the window
// test. The floor cost of walking the whole list.
void BM_UpdateEnemiesNoneActive(benchmark::State& state) {
  World world = BusyWorld(false);
  QuietHost host;
  for (auto _ : state) {
    UpdateEnemies(world, host);
    benchmark::DoNotOptimize(world.enemyShotTimer);
  }
  Report(state, world);
}
BENCHMARK(BM_UpdateEnemiesNoneActive);

}  // namespace
