#include "world/enemies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/numeric.h"
#include "tests/world/small_world.h"
#include "world/digest.h"
#include "world/map.h"
#include "world/player.h"
#include "world/tables.h"

namespace quorin {
namespace {

constexpr std::int32_t kRadius = 3072;

// A small empty world with a flat (all-zero) noise field, so that monsters
// keep their heading unless a test asks for the real field.
World SmallWorld(int width, int height, bool realNoise = false) {
  World world = test::SmallWorld(width, height);
  if (!realNoise) std::fill_n(world.noiseField.Data(), world.noiseField.Size(), 0);
  world.enemyShotTimer = world.enemyShotReload = 800;
  return world;
}

// The new-game hero, vulnerable, with some power so that a hurt does not end
// the game, standing at cell (column, row); the view placed around it.
void PlaceHero(World& world, int column, int row) {
  PlayerNewGame(world.player);
  world.player.state = kHeroWalking;
  world.player.invulnerable = 0;
  world.player.power = 20;
  world.player.x = column * kUnitsPerCell + 2048;
  world.player.y = row * kUnitsPerCell + 2048;
  UpdateCamera(world);
}

// A monster of the given kind, standing still (no speed to gain or lose).
Enemy& AddEnemy(World& world, std::int32_t x, std::int32_t y, std::int32_t kind = 1) {
  Enemy& e = ListInsert(world.Enemies);
  e.kind = kind;
  e.mode = kEnemyRoaming;
  e.x = x;
  e.y = y;
  e.radius = kRadius;
  e.hitPoints = kind;
  e.dropCount = kind;
  e.shotSpeed = 800;
  return e;
}

Shot& AddHeroShot(World& world, std::int32_t x, std::int32_t y, std::int32_t heading = 0) {
  Shot& s = ListInsert(world.PlayerShots);
  s.x = x;
  s.y = y;
  s.heading = heading;
  s.speed = 2048;
  s.frame = (heading >> 7) * 5 + 312;
  return s;
}

Shot& AddEnemyShot(World& world, std::int32_t x, std::int32_t y, std::int32_t heading, std::int32_t speed) {
  Shot& s = ListInsert(world.EnemyShots);
  s.x = x;
  s.y = y;
  s.heading = heading;
  s.speed = speed;
  s.frame = (heading >> 7) * 5 + 472;
  return s;
}

std::vector<Enemy> EnemiesOf(const World& world) { return test::Records(world.Enemies); }

bool Played(const QuietHost& host, int id) { return (host.soundsStarted >> id) & 1u; }

// ---------------------------------------------------------------------------
// Who acts

TEST(EnemyActiveWindow, OneUnitInsideActsOneUnitOutsideIsFrozen) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 32, 32);
  ASSERT_EQ(world.screenOffsetX, 0);
  const std::int32_t px = world.player.x;
  const std::int32_t py = world.player.y;
  const std::int32_t reach = world.activeHalfWidth;

  for (const std::int32_t dx : {reach - 1, -(reach - 1)}) {
    World w = world;
    Enemy& e = AddEnemy(w, px + dx, py, 2);
    e.speed = e.cruiseSpeed = 400;  // heading 0: drifts right
    AddHeroShot(w, px + dx + 2000, py + 1000);  // inside the body
    QuietHost host;
    UpdateEnemies(w, host);
    ASSERT_EQ(w.Enemies.Count(), 1);
    EXPECT_EQ(w.Enemies.Current()->hitPoints, 1) << "dx " << dx;
    EXPECT_EQ(w.PlayerShots.Count(), 0);
  }
  for (const std::int32_t dx : {reach, -reach}) {
    World w = world;
    Enemy& e = AddEnemy(w, px + dx, py, 2);
    e.speed = e.cruiseSpeed = 400;
    AddHeroShot(w, px + dx + 2000, py + 1000);
    QuietHost host;
    UpdateEnemies(w, host);
    const Enemy after = EnemiesOf(w).at(0);
    EXPECT_EQ(after.x, px + dx) << "dx " << dx;
    EXPECT_EQ(after.phase, 0);
    EXPECT_EQ(after.hitPoints, 2);
    EXPECT_EQ(w.PlayerShots.Count(), 1);
    EXPECT_EQ(w.enemyShotTimer, 800);
  }
  // The same on the vertical edges.
  const std::int32_t reachY = world.activeHalfHeight;
  struct Case {
    std::int32_t dy;
    bool acts;
  };
  for (const Case c : {Case{reachY - 1, true}, Case{-(reachY - 1), true}, Case{reachY, false}, Case{-reachY, false}}) {
    World w = world;
    AddEnemy(w, px, py + c.dy);
    QuietHost host;
    UpdateEnemies(w, host);
    EXPECT_EQ(EnemiesOf(w).at(0).phase, c.acts ? 1 : 0) << "dy " << c.dy;
  }
}

// ---------------------------------------------------------------------------
// Hero shots

TEST(EnemyShotHits, TwoShotsInOneFrameKillAKindOneMonster) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 20, 32);
  const std::int32_t ex = 30 * 4096 + 2048;
  const std::int32_t ey = 32 * 4096 + 2048;
  AddEnemy(world, ex, ey, 1);
  AddHeroShot(world, ex - 1000, ey, 0);
  AddHeroShot(world, ex + 3000, ey - 3000, 512);
  AddHeroShot(world, ex + 3072, ey, 0);  // at the body's edge: stays
  QuietHost host;
  UpdateEnemies(world, host);

  EXPECT_EQ(world.Enemies.Count(), 0);
  ASSERT_EQ(world.PlayerShots.Count(), 1);
  EXPECT_EQ(test::Records(world.PlayerShots).at(0).x, ex + 3072);
  EXPECT_EQ(world.player.score, 10);
  EXPECT_TRUE(Played(host, kSoundEnemyHit));
  EXPECT_TRUE(Played(host, kSoundEnemyDies));
  // Gems worth dropCount 1 are on their way.
  int gems = 0;
  world.Pickups.ForEach([&](const Pickup& p) { gems += p.kind == kPickupGem ? 1 << p.variant : 0; });
  EXPECT_EQ(gems, 1);
  // Two particles per hit, two for the death.
  EXPECT_EQ(world.Particles.Count(), 6);
}

TEST(EnemyShotHits, EveryHitOfOneFrameCountsAgainstHitPoints) {
  // Both shots are taken off together: a kind-3 body keeps exactly one point,
  // as the kind-1 body above ends at -1.
  World world = SmallWorld(64, 64);
  PlaceHero(world, 20, 32);
  const std::int32_t ex = 30 * 4096 + 2048;
  const std::int32_t ey = 32 * 4096 + 2048;
  AddEnemy(world, ex, ey, 3);
  AddHeroShot(world, ex, ey);
  AddHeroShot(world, ex + 1, ey + 1);
  QuietHost host;
  UpdateEnemies(world, host);
  ASSERT_EQ(world.Enemies.Count(), 1);
  EXPECT_EQ(EnemiesOf(world).at(0).hitPoints, 1);
  EXPECT_EQ(world.PlayerShots.Count(), 0);
  EXPECT_EQ(world.player.score, 0);
  EXPECT_FALSE(Played(host, kSoundEnemyDies));
}

TEST(EnemyShotHits, AShotExactlyAtTheRadiusMisses) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 20, 32);
  const std::int32_t ex = 30 * 4096 + 2048;
  const std::int32_t ey = 32 * 4096 + 2048;
  struct Case {
    std::int32_t dx, dy;
    bool hits;
  };
  for (const Case c : {Case{kRadius, 0, false}, Case{-kRadius, 0, false}, Case{0, kRadius, false},
                       Case{0, -kRadius, false}, Case{kRadius - 1, kRadius - 1, true},
                       Case{-(kRadius - 1), -(kRadius - 1), true}}) {
    World w = world;
    AddEnemy(w, ex, ey, 2);
    AddHeroShot(w, ex + c.dx, ey + c.dy);
    QuietHost host;
    UpdateEnemies(w, host);
    EXPECT_EQ(w.PlayerShots.Count(), c.hits ? 0 : 1) << c.dx << "," << c.dy;
    EXPECT_EQ(EnemiesOf(w).at(0).hitPoints, c.hits ? 1 : 2) << c.dx << "," << c.dy;
    EXPECT_EQ(Played(host, kSoundEnemyHit), c.hits);
  }
}

TEST(EnemyShotHits, AHitMonsterIsKnockedAlongTheShotAndDoesNothingElse) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 30, 32);
  // Touching the walking hero, due to fire, and with the shared timer at 1.
  Enemy& e = AddEnemy(world, world.player.x, world.player.y, 3);
  e.mode = kEnemyAiming;
  e.phase = 31;
  e.speed = 100;
  e.accel = 12;
  world.enemyShotTimer = 1;
  Shot& s = AddHeroShot(world, e.x + 100, e.y, 3072);
  s.age = 4;
  QuietHost host;
  UpdateEnemies(world, host);

  const Enemy after = EnemiesOf(world).at(0);
  EXPECT_EQ(after.hitPoints, 2);
  EXPECT_EQ(after.heading, 3072);
  EXPECT_EQ(after.speed, 512);
  EXPECT_EQ(after.x, world.player.x);  // no move yet
  EXPECT_EQ(after.phase, 31);
  EXPECT_EQ(after.mode, kEnemyAiming);
  EXPECT_EQ(world.EnemyShots.Count(), 0);
  EXPECT_EQ(world.player.state, kHeroWalking);  // no contact
  EXPECT_EQ(world.enemyShotTimer, 1);
  // The spark flies along the shot, the flash (frame 72 + 4) rises back.
  std::vector<Particle> parts = test::Records(world.Particles);
  ASSERT_EQ(parts.size(), 2u);
  std::sort(parts.begin(), parts.end(), [](const Particle& a, const Particle& b) { return a.frame < b.frame; });
  EXPECT_EQ(parts[0].frame, 64);
  EXPECT_EQ(parts[0].vx, FloatToIntTruncate(world.directionTable.At(3072, 0) * 2048.0f) >> 2);
  EXPECT_EQ(parts[0].vy, FloatToIntTruncate(world.directionTable.At(3072, 1) * 2048.0f) >> 2);
  EXPECT_LT(parts[0].vy, -500 / 4);
  EXPECT_EQ(parts[1].frame, 76);
  EXPECT_EQ(parts[1].vx, -(2048 >> 4));
  EXPECT_EQ(parts[1].vy, -384);
  EXPECT_EQ(parts[1].ay, 56);

  // The next frame it moves off along the knock (up), and, phase 32 reached,
  // fires; the hero is out of reach now only through invulnerability.
  world.player.invulnerable = 10;
  UpdateEnemies(world, host);
  const Enemy next = EnemiesOf(world).at(0);
  EXPECT_EQ(next.y, after.y + FloatToIntTruncate(world.directionTable.At(3072, 1) * 512.0f));
  EXPECT_LT(next.y, after.y - 500);
  EXPECT_EQ(next.speed, 512 - 12);
  EXPECT_EQ(world.EnemyShots.Count(), 1);
}

// ---------------------------------------------------------------------------
// Movement

TEST(EnemyMove, RightwardMonsterMeetingRockReversesBeforeItsVerticalMove) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 10, 10);
  // Heading 512: down and to the right, about 707 units each way per frame.
  const std::int32_t ex = 20 * 4096 + 2048;
  const std::int32_t ey = 12 * 4096 + 2048;
  const std::int32_t step = FloatToIntTruncate(world.directionTable.At(512, 0) * 1000.0f);
  ASSERT_GT(step, 700);

  World open = world;
  Enemy& free = AddEnemy(open, ex, ey);
  free.heading = 512;
  free.speed = free.cruiseSpeed = 1000;
  QuietHost host;
  UpdateEnemies(open, host);
  EXPECT_GT(EnemiesOf(open).at(0).x, ex);
  EXPECT_GT(EnemiesOf(open).at(0).y, ey);
  EXPECT_EQ(EnemiesOf(open).at(0).heading, 512);

  // Rock in the next column: the right edge (x + 3072 + step) reaches it.
  world.CollisionMap.At(21, 12) = kCellRock;
  Enemy& e = AddEnemy(world, ex, ey);
  e.heading = 512;
  e.speed = e.cruiseSpeed = 1000;
  UpdateEnemies(world, host);
  const Enemy after = EnemiesOf(world).at(0);
  EXPECT_EQ(after.x, ex);
  EXPECT_EQ(after.heading, 2560);
  // The vertical move already used the reversed heading: up, not down.
  EXPECT_EQ(after.y, ey + FloatToIntTruncate(world.directionTable.At(2560, 1) * 1000.0f));
  EXPECT_LT(after.y, ey);
}

TEST(EnemyMove, DownwardMonsterMeetingFloorOrWorldEdgeStaysAndTurns) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 10, 10);
  world.CollisionMap.At(20, 13) = kCellRock;
  Enemy& e = AddEnemy(world, 20 * 4096 + 2048, 12 * 4096 + 2048);
  e.heading = 1024;
  e.speed = e.cruiseSpeed = 1200;  // the lower edge passes 13 * 4096
  // Against the world's top edge: the upper edge leaves the world.
  Enemy& top = AddEnemy(world, 14 * 4096 + 2048, 3072 + 100);
  top.heading = 3072;
  top.speed = top.cruiseSpeed = 200;
  QuietHost host;
  UpdateEnemies(world, host);
  const std::vector<Enemy> after = EnemiesOf(world);
  EXPECT_EQ(after[0].y, 12 * 4096 + 2048);
  EXPECT_EQ(after[0].heading, 3072);
  EXPECT_EQ(after[1].y, 3072 + 100);
  EXPECT_EQ(after[1].heading, 1024);
}

TEST(EnemyMove, NoiseUnderTheNewPositionBendsTheHeadingAndPhaseCounts) {
  World world = SmallWorld(64, 64, true);
  PlaceHero(world, 10, 10);
  Enemy& e = AddEnemy(world, 14 * 4096 + 1000, 9 * 4096 + 77);
  e.heading = 0;
  e.speed = e.cruiseSpeed = 900;
  e.phase = 255;
  QuietHost host;
  UpdateEnemies(world, host);
  const Enemy after = EnemiesOf(world).at(0);
  ASSERT_EQ(after.x, 14 * 4096 + 1900);
  const std::int32_t bend = NoiseAt(world, after.x << 2, after.y << 2) >> 7;
  EXPECT_EQ(after.heading, bend & 4095);
  EXPECT_EQ(after.phase, 0);  // wraps at 256
  // The bend stays within about a sixteenth of a turn either way.
  EXPECT_LE(bend, 256);
  EXPECT_GE(bend, -256);
}

TEST(EnemyMove, RoamingSpeedApproachesCruiseAndAimingBrakesToAHalt) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 10, 40);
  Enemy& slow = AddEnemy(world, 14 * 4096, 30 * 4096);
  slow.speed = 0;
  slow.cruiseSpeed = 10;
  slow.accel = 4;
  Enemy& fast = AddEnemy(world, 18 * 4096, 30 * 4096);
  fast.speed = 512;
  fast.cruiseSpeed = 500;
  fast.accel = 8;
  Enemy& braking = AddEnemy(world, 22 * 4096, 30 * 4096);
  braking.mode = kEnemyAiming;
  braking.speed = 10;
  braking.accel = 8;
  QuietHost host;
  std::vector<std::int32_t> slowSpeeds, fastSpeeds, brakeSpeeds;
  for (int i = 0; i < 4; ++i) {
    UpdateEnemies(world, host);
    const std::vector<Enemy> es = EnemiesOf(world);
    slowSpeeds.push_back(es[0].speed);
    fastSpeeds.push_back(es[1].speed);
    brakeSpeeds.push_back(es[2].speed);
  }
  EXPECT_EQ(slowSpeeds, (std::vector<std::int32_t>{4, 8, 12, 8}));
  EXPECT_EQ(fastSpeeds, (std::vector<std::int32_t>{504, 496, 504, 496}));
  EXPECT_EQ(brakeSpeeds, (std::vector<std::int32_t>{2, -6, 0, 0}));
}

// ---------------------------------------------------------------------------
// Firing

TEST(EnemyFiring, ReloadIsShortenedByThePowerLevel) {
  for (const auto& [level, reload] : {std::pair{0, 800}, std::pair{7, 534}}) {
    World world = SmallWorld(64, 64);
    PlaceHero(world, 10, 40);
    world.player.powerLevel = level;
    world.enemyShotTimer = 1;
    AddEnemy(world, 14 * 4096, 30 * 4096);
    QuietHost host;
    UpdateEnemies(world, host);
    EXPECT_EQ(world.enemyShotTimer, reload) << "level " << level;
    const Enemy e = EnemiesOf(world).at(0);
    EXPECT_EQ(e.mode, kEnemyAiming);
    EXPECT_EQ(e.phase, 0);
  }
}

TEST(EnemyFiring, EveryRoamingActiveMonsterRunsTheTimerDown) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 10, 40);
  world.enemyShotTimer = 10;
  AddEnemy(world, 14 * 4096, 30 * 4096);
  AddEnemy(world, 16 * 4096, 30 * 4096);
  AddEnemy(world, 18 * 4096, 30 * 4096).mode = kEnemyAiming;  // does not count
  AddEnemy(world, 60 * 4096, 30 * 4096);                      // outside the window
  QuietHost host;
  UpdateEnemies(world, host);
  EXPECT_EQ(world.enemyShotTimer, 8);

  // The monster that takes the timer to 0 is the one that stops to fire.
  world.enemyShotTimer = 2;
  UpdateEnemies(world, host);
  const std::vector<Enemy> es = EnemiesOf(world);
  EXPECT_EQ(es[0].mode, kEnemyRoaming);
  EXPECT_EQ(es[1].mode, kEnemyAiming);
  EXPECT_EQ(world.enemyShotTimer, 800);
}

TEST(EnemyFiring, TimerExpiringWhileTheHeroIsABallLeavesTheMonsterRoaming) {
  for (const std::int32_t state : {kHeroBall, kHeroBursting}) {
    World world = SmallWorld(64, 64);
    PlaceHero(world, 10, 40);
    world.player.state = state;
    world.player.powerLevel = 3;
    world.enemyShotTimer = 1;
    AddEnemy(world, 14 * 4096, 30 * 4096);
    QuietHost host;
    UpdateEnemies(world, host);
    EXPECT_EQ(EnemiesOf(world).at(0).mode, kEnemyRoaming) << "state " << state;
    EXPECT_EQ(world.enemyShotTimer, 800 - 3 * 38);
  }
}

TEST(EnemyFiring, FiresAtTheHeroOnPhase32AndRoamsAgain) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 20, 40);
  struct Case {
    std::int32_t dx, dy, heading;
  };
  for (const Case c : {Case{-8 * 4096, 0, 0}, Case{0, -5 * 4096, 1024}, Case{8 * 4096, 0, 2048},
                       Case{0, 5 * 4096, 3072}}) {
    World w = world;
    Enemy& e = AddEnemy(w, w.player.x + c.dx, w.player.y + c.dy);
    e.mode = kEnemyAiming;
    e.phase = 30;
    e.shotSpeed = 1280;
    QuietHost host;
    UpdateEnemies(w, host);
    EXPECT_EQ(w.EnemyShots.Count(), 0);  // phase 31
    EXPECT_FALSE(Played(host, kSoundEnemyFire));
    UpdateEnemies(w, host);  // phase 32
    ASSERT_EQ(w.EnemyShots.Count(), 1);
    EXPECT_TRUE(Played(host, kSoundEnemyFire));
    const Shot s = test::Records(w.EnemyShots).at(0);
    EXPECT_EQ(s.heading, c.heading);
    EXPECT_EQ(s.x, e.x + (w.fixedDirectionTable.At(c.heading, 0) >> 1));
    EXPECT_EQ(s.y, e.y + (w.fixedDirectionTable.At(c.heading, 1) >> 1));
    EXPECT_EQ(s.speed, 1280);
    EXPECT_EQ(s.accel, 0);
    EXPECT_EQ(s.age, 0);
    EXPECT_EQ(s.frame, (c.heading >> 7) * 5 + 472);
    EXPECT_EQ(EnemiesOf(w).at(0).mode, kEnemyRoaming);
  }
}

// ---------------------------------------------------------------------------
// Contact with the hero

TEST(EnemyContact, WalkingHeroIsHurtOnlyInsideTheStrictReach) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 30, 30);
  const std::int32_t reachX = world.player.halfWidth + kRadius;
  const std::int32_t reachY = world.player.halfHeight + kRadius;
  struct Case {
    std::int32_t dx, dy;
    bool touches;
  };
  for (const Case c : {Case{reachX - 1, 0, true}, Case{-(reachX - 1), 0, true}, Case{0, reachY - 1, true},
                       Case{0, -(reachY - 1), true}, Case{reachX, 0, false}, Case{-reachX, 0, false},
                       Case{0, reachY, false}, Case{0, -reachY, false}}) {
    World w = world;
    // The monster sits at hero - d, so hero - monster = d.
    AddEnemy(w, w.player.x - c.dx, w.player.y - c.dy);
    QuietHost host;
    UpdateEnemies(w, host);
    EXPECT_EQ(w.Enemies.Count(), c.touches ? 0 : 1) << c.dx << "," << c.dy;
    EXPECT_EQ(w.player.state, c.touches ? kHeroBall : kHeroWalking);
    EXPECT_EQ(Played(host, kSoundEnemyDies), c.touches);
  }
}

TEST(EnemyContact, TouchingMonsterKillsTheWalkingHeroWithoutScoringOrGems) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 30, 30);
  world.player.power = 0;  // no power left: the hurt ends the game
  AddEnemy(world, world.player.x + 100, world.player.y, 5);
  QuietHost host;
  UpdateEnemies(world, host);
  EXPECT_EQ(world.Enemies.Count(), 0);
  EXPECT_EQ(world.player.score, 0);
  int gems = 0;
  world.Pickups.ForEach([&](const Pickup& p) { gems += p.kind == kPickupGem; });
  EXPECT_EQ(gems, 0);
  EXPECT_EQ(host.lastState, kGameOver);
}

TEST(EnemyContact, InvulnerableWalkingHeroLeavesATouchingMonsterAlone) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 30, 30);
  world.player.invulnerable = 1;
  AddEnemy(world, world.player.x, world.player.y);
  QuietHost host;
  UpdateEnemies(world, host);
  EXPECT_EQ(world.Enemies.Count(), 1);
  EXPECT_EQ(world.player.state, kHeroWalking);
  EXPECT_EQ(world.player.invulnerable, 1);  // the hero's own update counts it down
  EXPECT_EQ(world.Particles.Count(), 0);
  EXPECT_EQ(host.soundsStarted, 0u);
}

TEST(EnemyContact, BallKillsScoreARisingComboAndThrowTheBallUp) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 30, 30);
  world.player.state = kHeroBall;
  world.player.vx = 100;
  world.player.vy = 500;
  world.playerInput.dirX = -1;
  for (int i = 0; i < 3; ++i) AddEnemy(world, world.player.x + 1000 * (i - 1), world.player.y + 2000);
  QuietHost host;
  UpdateEnemies(world, host);

  EXPECT_EQ(world.Enemies.Count(), 0);
  EXPECT_EQ(world.player.score, 10 + 20 + 30);
  EXPECT_EQ(world.player.comboBonus, 30);
  EXPECT_EQ(world.player.bounces, 3);
  EXPECT_EQ(world.player.vx, 100 - 3 * 256);
  EXPECT_EQ(world.player.vy, -1536);
  EXPECT_TRUE(Played(host, kSoundEnemyDies));
  std::vector<std::string> shown;
  world.FloatingTexts.ForEach([&](const FloatingText& t) {
    shown.push_back(t.text);
    EXPECT_EQ(t.glyphBase, 224);
    EXPECT_EQ(t.spacing, -2);
    EXPECT_EQ(t.vy, -1024);
    EXPECT_EQ(t.vyAccel, 80);
    EXPECT_EQ(t.life, 32);
    EXPECT_EQ(t.x, world.player.x);
  });
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (std::vector<std::string>{"1", "2", "3"}));
  // Four gems' worth from each kill.
  int gemValue = 0;
  world.Pickups.ForEach([&](const Pickup& p) { gemValue += p.kind == kPickupGem ? 1 << p.variant : 0; });
  EXPECT_EQ(gemValue, 12);

  // A ball already flying up faster keeps its speed; the combo goes on.
  world.player.vy = -2000;
  AddEnemy(world, world.player.x, world.player.y);
  UpdateEnemies(world, host);
  EXPECT_EQ(world.player.vy, -2000);
  EXPECT_EQ(world.player.score, 60 + 40);
  EXPECT_EQ(world.player.bounces, 4);
}

TEST(EnemyContact, BurstingHeroTouchesNothing) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 30, 30);
  world.player.state = kHeroBursting;
  AddEnemy(world, world.player.x, world.player.y);
  QuietHost host;
  UpdateEnemies(world, host);
  EXPECT_EQ(world.Enemies.Count(), 1);
  EXPECT_EQ(world.player.score, 0);
  EXPECT_EQ(host.soundsStarted, 0u);
}

// ---------------------------------------------------------------------------
// Monster shots

TEST(EnemyShotFlight, ShotsEndOnlyInRockAtTheWorldsEdgeOrOnTheHero) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 32, 32);
  world.CollisionMap.At(40, 20) = kCellRock;
  // Into rock: right along row 20.
  AddEnemyShot(world, 36 * 4096, 20 * 4096 + 2048, 0, 1024);
  // Out of the picture to the left and on to the world's edge.
  AddEnemyShot(world, 16 * 4096, 10 * 4096, 2048, 1024);
  // At the hero from above.
  AddEnemyShot(world, world.player.x, world.player.y - 10 * 1024, 1024, 1024);
  QuietHost host;
  int frames = 0;
  std::vector<int> endedAt(3, -1);
  while (world.EnemyShots.Count() > 0 && frames < 200) {
    std::vector<Shot> before = test::Records(world.EnemyShots);
    UpdateEnemyShots(world, host);
    ++frames;
    std::vector<Shot> after = test::Records(world.EnemyShots);
    for (const Shot& b : before) {
      const bool alive = std::any_of(after.begin(), after.end(), [&](const Shot& a) { return a.heading == b.heading; });
      if (!alive) endedAt[b.heading / 1024] = frames;
    }
  }
  // Rock at column 40 = 163840: from 147456 at 1024 per frame the shot is in
  // it after 16 moves, and the 17th update removes it.
  EXPECT_EQ(endedAt[0], 17);
  // Left edge: from 65536 the shot is below 0 after 65 moves (the table's
  // cosine of 2048 gives 1023 or 1024 per frame), removed on the 66th update.
  const std::int32_t leftStep = -FloatToIntTruncate(world.directionTable.At(2048, 0) * 1024.0f);
  ASSERT_TRUE(leftStep == 1023 || leftStep == 1024);
  EXPECT_EQ(endedAt[2], 66);
  // The hero: the shot moves into the box on its 7th move (y distance 3072
  // < 3328) and is taken on that update.
  EXPECT_EQ(endedAt[1], 7);
  EXPECT_EQ(world.player.state, kHeroBall);
}

TEST(EnemyShotFlight, OutsideTheDrawBoundsAShotOnlyFlies) {
  World world = SmallWorld(128, 64);
  PlaceHero(world, 32, 32);
  // Right of the picture plus margin: x + cameraX >= 139264.
  const std::int32_t beyond = 139264 - world.cameraX;
  Shot& s = AddEnemyShot(world, beyond, world.player.y, 0, 512);
  s.age = 1;
  QuietHost host;
  for (int i = 0; i < 10; ++i) UpdateEnemyShots(world, host);
  const Shot after = test::Records(world.EnemyShots).at(0);
  EXPECT_EQ(after.x, beyond + 10 * 512);
  EXPECT_EQ(after.age, 1);
  EXPECT_EQ(world.Particles.Count(), 0);

  // Just inside: it ages, and leaves a trail on odd ages only.
  World inside = SmallWorld(128, 64);
  PlaceHero(inside, 32, 32);
  AddEnemyShot(inside, beyond - 1 - 8 * 512, inside.player.y + 40000, 0, 512);
  std::vector<int> trails;
  for (int i = 0; i < 4; ++i) {
    UpdateEnemyShots(inside, host);
    trails.push_back(inside.Particles.Count());
  }
  EXPECT_EQ(test::Records(inside.EnemyShots).at(0).age, 4);
  EXPECT_EQ(trails, (std::vector<int>{0, 1, 1, 2}));
  const Particle trail = test::Records(inside.Particles).at(0);
  EXPECT_EQ(trail.frame, 473);
  EXPECT_EQ(trail.vx, 0);
  EXPECT_EQ(trail.vy, 0);
}

TEST(EnemyShotFlight, HitsOnlyAVulnerableWalkingHeroInsideTheStrictBox) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 32, 32);
  const Player& p = world.player;
  struct Case {
    std::int32_t dx, dy;
    std::int32_t state, invulnerable;
    bool hits;
  };
  // The shot stands still (speed 0) at hero - (dx, dy).
  for (const Case c : {Case{p.halfWidth - 1, 0, kHeroWalking, 0, true},
                       Case{-(p.halfWidth - 1), 0, kHeroWalking, 0, true},
                       Case{0, p.halfHeight - 1, kHeroWalking, 0, true},
                       Case{0, -(p.halfHeight - 1), kHeroWalking, 0, true},
                       Case{p.halfWidth, 0, kHeroWalking, 0, false},
                       Case{-p.halfWidth, 0, kHeroWalking, 0, false},
                       Case{0, p.halfHeight, kHeroWalking, 0, false},
                       Case{0, -p.halfHeight, kHeroWalking, 0, false},
                       Case{0, 0, kHeroWalking, 5, false},
                       Case{0, 0, kHeroBall, 0, false},
                       Case{0, 0, kHeroBursting, 0, false}}) {
    World w = world;
    w.player.state = c.state;
    w.player.invulnerable = c.invulnerable;
    AddEnemyShot(w, w.player.x - c.dx, w.player.y - c.dy, 0, 0);
    QuietHost host;
    UpdateEnemyShots(w, host);
    EXPECT_EQ(w.EnemyShots.Count(), c.hits ? 0 : 1) << c.dx << "," << c.dy << " state " << c.state;
    if (c.hits) {
      EXPECT_EQ(w.player.state, kHeroBall);
      EXPECT_EQ(w.player.vy, -1536);  // thrown as by a shot, not a touch
    } else {
      EXPECT_EQ(w.player.state, c.state);
    }
  }
}

TEST(EnemyShotFlight, RockSparkFliesBack) {
  World world = SmallWorld(64, 64);
  PlaceHero(world, 32, 32);
  world.CollisionMap.At(33, 20) = kCellRock;
  AddEnemyShot(world, 33 * 4096 + 10, 20 * 4096, 0, 1024);
  QuietHost host;
  UpdateEnemyShots(world, host);
  EXPECT_EQ(world.EnemyShots.Count(), 0);
  const Particle spark = test::Records(world.Particles).at(0);
  EXPECT_EQ(spark.frame, 80);
  EXPECT_EQ(spark.x, 33 * 4096 + 10);
  EXPECT_EQ(spark.vx, -(1024 >> 4));
  EXPECT_EQ(spark.vy, 0);
}

// ---------------------------------------------------------------------------
// Determinism

TEST(EnemyDeterminism, CopiesOfABusyWorldRunOnIdentically) {
  World world = SmallWorld(64, 64, true);
  PlaceHero(world, 30, 30);
  world.player.invulnerable = 1 << 20;
  for (int c = 4; c < 60; c += 6) world.CollisionMap.At(c, 20) = kCellRock;
  for (int i = 0; i < 40; ++i) {
    Enemy& e = AddEnemy(world, (14 + (i % 10) * 3) * 4096 + 2048, (24 + (i / 10) * 3) * 4096 + 2048, 1 + i % 5);
    e.cruiseSpeed = 128 + 8 * (i & 15);
    e.accel = 4;
    e.heading = (i * 397) & 4095;
  }
  world.enemyShotTimer = 5;
  World copy = world;
  QuietHost hostA, hostB;
  for (int f = 0; f < 300; ++f) {
    UpdateEnemies(world, hostA);
    UpdateEnemyShots(world, hostA);
    UpdateEnemies(copy, hostB);
    UpdateEnemyShots(copy, hostB);
  }
  EXPECT_EQ(WorldDigest(world), WorldDigest(copy));
  EXPECT_TRUE(Played(hostA, kSoundEnemyFire));  // they did fire
}

}  // namespace
}  // namespace quorin
