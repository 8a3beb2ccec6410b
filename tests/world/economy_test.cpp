#include "world/economy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "tests/world/small_world.h"
#include "world/effects.h"
#include "world/tables.h"

namespace quorin {
namespace {

using test::CellCentre;
using test::Records;
using test::RowTop;
using test::SmallWorld;

// A walking hero at the centre of cell (10, 10) of a 32 x 32 world.
World WorldWithHero() {
  World world = SmallWorld(32, 32);
  Player& hero = world.player;
  hero.state = kHeroWalking;
  hero.x = CellCentre(10);
  hero.y = CellCentre(10);
  hero.halfWidth = 512;
  hero.halfHeight = 3328;
  hero.pickupRadius = 4608;
  return world;
}

Pickup At(std::int32_t kind, std::int32_t variant, std::int32_t x, std::int32_t y) {
  Pickup p;
  p.kind = kind;
  p.variant = variant;
  p.x = x;
  p.y = y;
  return p;
}

std::vector<std::int32_t> GemValues(const World& world) {
  std::vector<std::int32_t> values;
  world.Pickups.ForEach([&](const Pickup& p) {
    EXPECT_EQ(p.kind, kPickupGem);
    values.push_back(1 << p.variant);
  });
  return values;
}

TEST(Checkpoints, ANewPadSwapsTheTilesAnnouncesItAndMovesTheRespawn) {
  World world = SmallWorld(32, 32);
  world.checkpointColumn = 4;
  world.checkpointRow = 6;
  world.TileMap.At(4, 6) = kTileCheckpointCurrent;
  world.TileMap.At(20, 9) = kTileCheckpoint;
  QuietHost host;
  SetCheckpoint(world, host, 20, 9);
  EXPECT_EQ(world.TileMap.At(4, 6), kTileCheckpoint);
  EXPECT_EQ(world.TileMap.At(20, 9), kTileCheckpointCurrent);
  EXPECT_EQ(world.checkpointColumn, 20);
  EXPECT_EQ(world.checkpointRow, 9);
  EXPECT_EQ(host.soundsStarted, 1u << kSoundCheckpoint);
  const auto texts = Records(world.FloatingTexts);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "CHECKPOINT");
  EXPECT_EQ(texts[0].glyphBase, 0);
  EXPECT_EQ(texts[0].spacing, 0);
  EXPECT_EQ(texts[0].x, 20 * 4096 + 2048);
  EXPECT_EQ(texts[0].y, 9 * 4096);
  EXPECT_EQ(texts[0].vy, -1536);
  EXPECT_EQ(texts[0].vyAccel, 128);
  EXPECT_EQ(texts[0].life, 40);
}

TEST(Checkpoints, TheCurrentPadAgainDoesNothing) {
  World world = SmallWorld(32, 32);
  world.checkpointColumn = 4;
  world.checkpointRow = 6;
  world.TileMap.At(4, 6) = kTileCheckpointCurrent;
  QuietHost host;
  SetCheckpoint(world, host, 4, 6);
  EXPECT_EQ(host.soundsStarted, 0u);
  EXPECT_EQ(world.FloatingTexts.Count(), 0);
  EXPECT_EQ(world.TileMap.At(4, 6), kTileCheckpointCurrent);
  // A former checkpoint can become current again.
  SetCheckpoint(world, host, 5, 6);
  SetCheckpoint(world, host, 4, 6);
  EXPECT_EQ(world.TileMap.At(4, 6), kTileCheckpointCurrent);
  EXPECT_EQ(world.TileMap.At(5, 6), kTileCheckpoint);
  EXPECT_EQ(world.FloatingTexts.Count(), 2);
}

TEST(Spills, OneMakesASingleSlowGemStraightUp) {
  World world = SmallWorld(32, 32);
  for (std::int32_t f = 0; f < 300; f += 7) {
    world.frameCounter = f;
    ListClearAll(world.Pickups);
    const std::int32_t x = 50000 + f * 333;
    SpillGems(world, 1, x, 60000);
    const auto gems = Records(world.Pickups);
    ASSERT_EQ(gems.size(), 1u) << "frame " << f;
    EXPECT_EQ(gems[0].variant, 0);
    EXPECT_EQ(gems[0].timer, 2048);  // speed 64 lives 64 * 32 frames
    EXPECT_EQ(gems[0].x, x);
    EXPECT_EQ(gems[0].y, 60000);
    EXPECT_LT(gems[0].vy, -1000);
    // Within 64 angle units of straight up (one more for the table's truncation).
    EXPECT_LE(std::abs(AngleOf(static_cast<float>(gems[0].vx), static_cast<float>(gems[0].vy)) - 3072), 65);
    EXPECT_NEAR(std::hypot(gems[0].vx, gems[0].vy), 1023.0, 2.0);
  }
}

TEST(Spills, FourAddsUpToFourInTheCombinationsTheNoiseGives) {
  World world = SmallWorld(32, 32);
  std::set<std::vector<std::int32_t>> combinations;
  for (std::int32_t f = 0; f < 1024; ++f) {
    world.frameCounter = f;
    ListClearAll(world.Pickups);
    SpillGems(world, 4, 70000, 70000);
    std::vector<std::int32_t> values = GemValues(world);
    std::int32_t sum = 0;
    for (std::int32_t v : values) sum += v;
    ASSERT_EQ(sum, 4) << "frame " << f;
    std::sort(values.begin(), values.end());
    combinations.insert(values);
  }
  EXPECT_TRUE(combinations.count({4}));
  EXPECT_TRUE(combinations.count({2, 2}));
  EXPECT_TRUE(combinations.count({1, 1, 2}));
  EXPECT_TRUE(combinations.count({1, 1, 1, 1}));
}

TEST(Spills, LargeTotalsAddUpExactlyAndFlyWider) {
  World world = SmallWorld(32, 32);
  world.frameCounter = 4321;
  SpillGems(world, 255, 70000, 70000);
  std::int32_t sum = 0;
  for (std::int32_t v : GemValues(world)) sum += v;
  EXPECT_EQ(sum, 255);
  std::int32_t longest = 0;
  world.Pickups.ForEach([&](const Pickup& p) {
    EXPECT_GE(p.timer, 2048);
    EXPECT_LE(p.timer, 5664);
    longest = std::max(longest, p.timer);
  });
  EXPECT_GT(longest, 2048);
}

TEST(Power, LevelsDoubleFromSixteenAndStopAtSeven) {
  World world = WorldWithHero();
  QuietHost host;
  const std::int32_t edges[][2] = {{0, 0},   {15, 0},   {16, 1},   {31, 1},    {32, 2},      {63, 2},
                                   {64, 3},  {127, 3},  {128, 4},  {255, 4},   {256, 5},     {511, 5},
                                   {512, 6}, {1023, 6}, {1024, 7}, {65535, 7}, {1 << 30, 7}};
  for (const auto& e : edges) {
    world.player.power = e[0];
    UpdatePowerLevel(world, host);
    EXPECT_EQ(world.player.powerLevel, e[1]) << "power " << e[0];
  }
}

TEST(Power, AnEightGemAtTenShowsEighteenAndPowersUp) {
  World world = WorldWithHero();
  world.player.power = 10;
  world.player.score = 500;
  QuietHost host;
  const Pickup gem = At(kPickupGem, 3, world.player.x + 100, world.player.y - 200);
  ASSERT_TRUE(CollectGem(world, host, gem));
  EXPECT_EQ(world.player.power, 18);
  EXPECT_EQ(world.player.score, 508);
  EXPECT_EQ(world.player.powerLevel, 1);
  EXPECT_EQ(host.soundsStarted, (1u << kSoundGem) | (1u << kSoundPowerUp));
  const auto texts = Records(world.FloatingTexts);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "18");
  EXPECT_EQ(texts[0].glyphBase, 192);
  EXPECT_EQ(texts[0].spacing, -2);
  EXPECT_EQ(texts[0].x, gem.x);
  EXPECT_EQ(texts[0].y, gem.y - 2048);
  EXPECT_EQ(texts[0].vy, -(64 << 3) - 512);
  EXPECT_EQ(texts[0].vyAccel, 24);
  EXPECT_EQ(texts[0].life, (2 << 3) + 32);
  EXPECT_EQ(texts[1].text, "POWER UP");
  EXPECT_EQ(texts[1].x, world.player.x);
  EXPECT_EQ(texts[1].y, world.player.y - 3328);
  EXPECT_EQ(texts[1].life, 40);
}

TEST(Power, FallingALevelIsAnnouncedStayingIsNot) {
  World world = WorldWithHero();
  world.player.power = 20;
  world.player.powerLevel = 2;
  QuietHost host;
  UpdatePowerLevel(world, host);
  EXPECT_EQ(world.player.powerLevel, 1);
  EXPECT_EQ(host.soundsStarted, 1u << kSoundPowerDown);
  ASSERT_EQ(world.FloatingTexts.Count(), 1);
  EXPECT_EQ(Records(world.FloatingTexts)[0].text, "POWER DOWN");

  QuietHost quiet;
  world.player.power = 0;
  world.player.powerLevel = 0;
  UpdatePowerLevel(world, quiet);
  EXPECT_EQ(quiet.soundsStarted, 0u);
  EXPECT_EQ(world.FloatingTexts.Count(), 1);
}

TEST(Collection, OnlyStrictlyInsideTheSquare) {
  World world = WorldWithHero();
  QuietHost host;
  const std::int32_t x = world.player.x;
  const std::int32_t y = world.player.y;
  const std::int32_t r = world.player.pickupRadius;
  EXPECT_FALSE(CollectGem(world, host, At(kPickupGem, 0, x + r, y)));
  EXPECT_FALSE(CollectGem(world, host, At(kPickupGem, 0, x - r, y)));
  EXPECT_FALSE(CollectGem(world, host, At(kPickupGem, 0, x, y + r)));
  EXPECT_FALSE(CollectGem(world, host, At(kPickupGem, 0, x, y - r)));
  EXPECT_FALSE(CollectFruit(world, host, At(kPickupFruit, 1, x + r, y - r)));
  EXPECT_EQ(world.player.power, 0);
  EXPECT_EQ(host.soundsStarted, 0u);
  EXPECT_TRUE(CollectGem(world, host, At(kPickupGem, 0, x + r - 1, y + r - 1)));
  EXPECT_TRUE(CollectGem(world, host, At(kPickupGem, 0, x - r + 1, y - r + 1)));
  EXPECT_EQ(world.player.power, 2);
}

TEST(Collection, NothingIsTakenByTheBallOrWhileBursting) {
  World world = WorldWithHero();
  QuietHost host;
  const Pickup gem = At(kPickupGem, 1, world.player.x, world.player.y);
  const Pickup fruit = At(kPickupFruit, 4, world.player.x, world.player.y);
  for (std::int32_t state : {kHeroBall, kHeroBursting}) {
    world.player.state = state;
    EXPECT_FALSE(CollectGem(world, host, gem));
    EXPECT_FALSE(CollectFruit(world, host, fruit));
  }
  EXPECT_EQ(world.player.power, 0);
  EXPECT_EQ(world.player.fruitsFound, 0);
  EXPECT_EQ(host.soundsStarted, 0u);
}

TEST(Collection, FruitsAreLoggedNamedAndScoredByCount) {
  World world = WorldWithHero();
  QuietHost host;
  ASSERT_TRUE(CollectFruit(world, host, At(kPickupFruit, 6, world.player.x, world.player.y)));
  ASSERT_TRUE(CollectFruit(world, host, At(kPickupFruit, 2, world.player.x, world.player.y)));
  EXPECT_EQ(world.FruitLog[0], 6);
  EXPECT_EQ(world.FruitLog[1], 2);
  EXPECT_EQ(world.FruitLog[2], 0);
  EXPECT_EQ(world.player.fruitsFound, 2);
  EXPECT_EQ(world.player.score, 128 + 256);
  EXPECT_EQ(host.soundsStarted, 1u << kSoundFruit);
  EXPECT_EQ(host.stateChanges, 0);
  const auto texts = Records(world.FloatingTexts);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "LEMON!");
  EXPECT_EQ(texts[1].text, "MELON!");
  EXPECT_EQ(texts[1].vyAccel, 96);
  EXPECT_EQ(texts[1].life, 40);
}

TEST(Collection, FruitNamesInNumberOrder) {
  EXPECT_EQ(FruitName(1), "PINEAPPLE!");
  EXPECT_EQ(FruitName(3), "STRAWBERRY!");
  EXPECT_EQ(FruitName(4), "TANGERINE!");
  EXPECT_EQ(FruitName(5), "APPLE!");
  EXPECT_EQ(FruitName(7), "GRAPES!");
  EXPECT_EQ(FruitName(8), "CHERRIES!");
  EXPECT_EQ(FruitName(0), "");
  EXPECT_EQ(FruitName(9), "");
}

TEST(Collection, TheEighthFruitSavesThePlanetAndTheFrameGoesOn) {
  World world = WorldWithHero();
  world.player.fruitsFound = 7;
  world.player.score = 3584;  // 128 * (1 + ... + 7)
  QuietHost host;
  AddPickup(world, kPickupFruit, 8, world.player.x, world.player.y, 0, 0, 0);
  AddPickup(world, kPickupGem, 0, CellCentre(25), CellCentre(5), 0, 0, 100);
  AddPickup(world, kPickupFruit, 1, CellCentre(25), CellCentre(20), 0, 0, 0);
  UpdatePickups(world, host);
  EXPECT_EQ(host.lastState, kPlanetSaved);
  EXPECT_EQ(host.stateChanges, 1);
  EXPECT_EQ(world.player.fruitsFound, 8);
  EXPECT_EQ(world.player.score, 4608);
  EXPECT_EQ(world.FruitLog[7], 8);
  // The pickups after the eighth fruit still move in the same walk.
  const auto left = Records(world.Pickups);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].timer, 99);
  EXPECT_EQ(left[0].vy, 128);
  EXPECT_EQ(left[1].vy, 128);
  UpdateParticles(world);
  UpdateFloatingTexts(world);
  EXPECT_EQ(Records(world.FloatingTexts)[0].life, 39);
}

}  // namespace
}  // namespace quorin
