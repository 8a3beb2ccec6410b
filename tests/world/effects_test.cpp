#include "world/effects.h"

#include <gtest/gtest.h>

#include "tests/world/small_world.h"

namespace quorin {
namespace {

using test::CellCentre;
using test::FillCells;
using test::Records;
using test::RowTop;
using test::SmallWorld;

Shot& AddShot(World& world, std::int32_t x, std::int32_t y, std::int32_t heading, std::int32_t speed,
              std::int32_t accel) {
  Shot& s = ListInsert(world.PlayerShots);
  s.frame = (heading >> 7) * 5 + 312;
  s.x = x;
  s.y = y;
  s.heading = heading;
  s.speed = speed;
  s.accel = accel;
  return s;
}

TEST(Particles, MoveOnFifteenUpdatesAndGoOnTheSixteenth) {
  World world = SmallWorld(16, 16);
  AddParticle(world, 64, 1000, 2000, 10, 1, -20, 2);
  UpdateParticles(world);
  ASSERT_EQ(world.Particles.Count(), 1);
  Particle p = Records(world.Particles)[0];
  // Position moves by the old velocity, then the velocity changes.
  EXPECT_EQ(p.x, 1010);
  EXPECT_EQ(p.vx, 11);
  EXPECT_EQ(p.y, 1980);
  EXPECT_EQ(p.vy, -18);
  for (int k = 2; k <= 15; ++k) UpdateParticles(world);
  ASSERT_EQ(world.Particles.Count(), 1);
  p = Records(world.Particles)[0];
  EXPECT_EQ(p.age, 15);
  EXPECT_EQ(p.x, 1000 + 15 * 10 + 14 * 15 / 2);
  UpdateParticles(world);
  EXPECT_EQ(world.Particles.Count(), 0);
}

TEST(Particles, AddedAfterAWalkGoToTheTailAndAfterARewindToTheHead) {
  World world = SmallWorld(16, 16);
  AddParticle(world, 64, 0, 0, 0, 0, 0, 0);
  AddParticle(world, 68, 0, 0, 0, 0, 0, 0);
  UpdateParticles(world);
  AddParticle(world, 72, 0, 0, 0, 0, 0, 0);
  ListRewind(world.Particles);
  AddParticle(world, 76, 0, 0, 0, 0, 0, 0);
  const auto all = Records(world.Particles);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].frame, 76);
  EXPECT_EQ(all[1].frame, 64);
  EXPECT_EQ(all[2].frame, 68);
  EXPECT_EQ(all[3].frame, 72);
}

TEST(FloatingTexts, RiseElevenUpdatesStopOnTheTwelfthAndHoldFromTheThirteenth) {
  World world = SmallWorld(16, 16);
  AddFloatingText(world, "CHECKPOINT", 0, 0, 5000, 100000, -1536, 128, 40);
  std::int32_t lastY = 100000;
  for (int k = 1; k <= 11; ++k) {
    UpdateFloatingTexts(world);
    const FloatingText t = Records(world.FloatingTexts)[0];
    EXPECT_LT(t.y, lastY) << "update " << k;
    lastY = t.y;
  }
  UpdateFloatingTexts(world);
  FloatingText t = Records(world.FloatingTexts)[0];
  EXPECT_EQ(t.vy, 0);
  EXPECT_EQ(t.vyAccel, 128);
  EXPECT_EQ(t.y, lastY);
  UpdateFloatingTexts(world);
  t = Records(world.FloatingTexts)[0];
  EXPECT_EQ(t.vy, 0);
  EXPECT_EQ(t.vyAccel, 0);
  EXPECT_EQ(t.y, lastY);
  EXPECT_EQ(lastY, 100000 - 128 * (11 + 10 + 9 + 8 + 7 + 6 + 5 + 4 + 3 + 2 + 1));
  for (int k = 14; k <= 39; ++k) UpdateFloatingTexts(world);
  ASSERT_EQ(world.FloatingTexts.Count(), 1);
  EXPECT_EQ(Records(world.FloatingTexts)[0].y, lastY);
  EXPECT_EQ(Records(world.FloatingTexts)[0].text, "CHECKPOINT");
  UpdateFloatingTexts(world);  // the 40th: life runs out
  EXPECT_EQ(world.FloatingTexts.Count(), 0);
}

TEST(FloatingTexts, WithoutAccelerationKeepTheirSpeed) {
  World world = SmallWorld(16, 16);
  AddFloatingText(world, "7", 224, -2, 0, 50000, -100, 0, 10);
  for (int k = 0; k < 9; ++k) UpdateFloatingTexts(world);
  const FloatingText t = Records(world.FloatingTexts)[0];
  EXPECT_EQ(t.vy, -100);
  EXPECT_EQ(t.y, 50000 - 900);
  EXPECT_EQ(t.glyphBase, 224);
  EXPECT_EQ(t.spacing, -2);
}

TEST(PlayerShots, LeavingLeftOrTopStayUntilTheyMeetRock) {
  World world = SmallWorld(64, 64);
  FillCells(world, 2, 0, 2, 63, kCellRock);
  // The view sits far right and below: the shot is left of and above the picture.
  world.cameraX = -40 * 4096;
  world.cameraY = -40 * 4096;
  AddShot(world, CellCentre(10), CellCentre(20), 2048, 4096, 0);  // one cell a frame to the left
  for (int k = 0; k < 7; ++k) UpdatePlayerShots(world);
  ASSERT_EQ(world.PlayerShots.Count(), 1);
  const Shot s = Records(world.PlayerShots)[0];
  EXPECT_EQ(s.x >> 12, 3);
  EXPECT_EQ(s.age, 7);
  // The move into rock leaves it there for one drawn frame.
  UpdatePlayerShots(world);
  ASSERT_EQ(world.PlayerShots.Count(), 1);
  EXPECT_EQ(Records(world.PlayerShots)[0].x >> 12, 2);
  const int particlesBefore = world.Particles.Count();
  UpdatePlayerShots(world);
  EXPECT_EQ(world.PlayerShots.Count(), 0);
  ASSERT_EQ(world.Particles.Count(), particlesBefore + 1);
  const Particle spark = *world.Particles.Current();  // the newest particle
  EXPECT_EQ(spark.frame, 64);
  EXPECT_EQ(spark.vx, 256);  // -(-4096 >> 4): flying back to the right
  EXPECT_EQ(spark.vy, 0);
}

TEST(PlayerShots, LeavingTheWorldUpwardEndsOnTheOutsideCell) {
  World world = SmallWorld(16, 16);
  world.cameraX = 0;
  world.cameraY = 0;
  AddShot(world, CellCentre(5), CellCentre(1), 3072, 4096, 0);
  UpdatePlayerShots(world);  // to row 0
  UpdatePlayerShots(world);  // above the world: y < 0
  ASSERT_EQ(world.PlayerShots.Count(), 1);
  EXPECT_LT(Records(world.PlayerShots)[0].y, 0);
  UpdatePlayerShots(world);
  EXPECT_EQ(world.PlayerShots.Count(), 0);
}

TEST(PlayerShots, PastTheRightOrLowerMarginGoWithoutASpark) {
  World world = SmallWorld(64, 64);
  world.cameraX = 0;
  world.cameraY = 0;
  AddShot(world, 139264, 1000, 0, 100, 0);
  AddShot(world, 1000, world.viewHeight + 8192, 0, 100, 0);
  AddShot(world, 139263, world.viewHeight + 8191, 0, 100, 0);
  UpdatePlayerShots(world);
  ASSERT_EQ(world.PlayerShots.Count(), 1);
  EXPECT_EQ(Records(world.PlayerShots)[0].x, 139363);
  EXPECT_EQ(world.Particles.Count(), 1);  // only the survivor's trail
}

TEST(PlayerShots, MoveAlongTheHeadingAndDropATrail) {
  World world = SmallWorld(64, 64);
  world.cameraX = 0;
  world.cameraY = 0;
  AddShot(world, 100000, 100000, 512, 2048, 24);  // down-right
  UpdatePlayerShots(world);
  const Shot s = Records(world.PlayerShots)[0];
  const float c = world.directionTable.At(512, 0);
  const float sn = world.directionTable.At(512, 1);
  EXPECT_EQ(s.x, 100000 + static_cast<std::int32_t>(c * 2048.0f));
  EXPECT_EQ(s.y, 100000 + static_cast<std::int32_t>(sn * 2048.0f));
  EXPECT_EQ(s.speed, 2072);
  EXPECT_EQ(s.age, 1);
  const Particle trail = Records(world.Particles)[0];
  EXPECT_EQ(trail.frame, s.frame + 1);
  EXPECT_EQ(trail.x, 100000);
  // The cosine is truncated before scaling, the sine after.
  EXPECT_EQ(trail.vx, 0);
  EXPECT_EQ(trail.vy, 11);
}

TEST(PlayerShots, OnlyAnExactlyHorizontalTrailDrifts) {
  World world = SmallWorld(64, 64);
  world.cameraX = 0;
  world.cameraY = 0;
  AddShot(world, 100000, 100000, 0, 2048, 0);
  AddShot(world, 100000, 60000, 1024, 2048, 0);
  UpdatePlayerShots(world);
  const auto trails = Records(world.Particles);
  ASSERT_EQ(trails.size(), 2u);
  EXPECT_EQ(trails[0].vx, 16);
  EXPECT_EQ(trails[0].vy, 0);
  EXPECT_EQ(trails[1].vx, 0);  // cos 1024 is a hair off zero: truncated to 0
  EXPECT_EQ(trails[1].vy, 16);
}

TEST(Gems, ExpireOnTheirLastTimerUpdateEvenInFlight) {
  World world = SmallWorld(32, 32);
  AddPickup(world, kPickupGem, 0, CellCentre(16), CellCentre(16), 300, -500, 2048);
  QuietHost host;
  for (int k = 0; k < 2047; ++k) UpdatePickups(world, host);
  ASSERT_EQ(world.Pickups.Count(), 1);
  EXPECT_EQ(Records(world.Pickups)[0].timer, 1);
  UpdatePickups(world, host);
  EXPECT_EQ(world.Pickups.Count(), 0);
  EXPECT_EQ(host.soundsStarted, 0u);

  AddPickup(world, kPickupGem, 0, CellCentre(16), CellCentre(4), 0, 0, 3);
  UpdatePickups(world, host);
  UpdatePickups(world, host);
  ASSERT_EQ(world.Pickups.Count(), 1);
  EXPECT_NE(Records(world.Pickups)[0].vy, 0);
  UpdatePickups(world, host);
  EXPECT_EQ(world.Pickups.Count(), 0);
}

TEST(Gems, SettleOnWholePixelsAfterASmallBounce) {
  World world = SmallWorld(16, 16);
  FillCells(world, 0, 10, 15, 10, kCellRock);
  // 150 units a frame into the floor bounces to -100: settled.
  AddPickup(world, kPickupGem, 1, CellCentre(5) + 77, RowTop(10) - 100, 33, 150, 500);
  QuietHost host;
  UpdatePickups(world, host);
  const Pickup g = Records(world.Pickups)[0];
  EXPECT_EQ(g.vx, 0);
  EXPECT_EQ(g.vy, 128);  // gravity after settling
  EXPECT_EQ(g.x % 256, 0);
  EXPECT_EQ(g.y % 256, 0);
  EXPECT_EQ(g.x, (CellCentre(5) + 77 + 33) / 256 * 256);
  EXPECT_EQ(g.y, (RowTop(10) - 100) / 256 * 256);
}

TEST(Gems, BounceBackAtTwoThirdsOffTheFloor) {
  World world = SmallWorld(16, 16);
  FillCells(world, 0, 10, 15, 10, kCellRock);
  AddPickup(world, kPickupGem, 0, CellCentre(5), RowTop(10) - 100, 0, 1000, 500);
  QuietHost host;
  UpdatePickups(world, host);
  const Pickup g = Records(world.Pickups)[0];
  EXPECT_EQ(g.y, RowTop(10) - 100);
  EXPECT_EQ(g.vy, -666 + 128);
}

TEST(Gems, DissolveOnAStandingHazardWithTwoPuffsAndASound) {
  World world = SmallWorld(16, 16);
  FillCells(world, 0, 10, 15, 10, kCellRock | kCellHazardOnTop);
  AddPickup(world, kPickupGem, 2, CellCentre(5), RowTop(10) - 100, 0, 1000, 500);
  QuietHost host;
  UpdatePickups(world, host);
  EXPECT_EQ(world.Pickups.Count(), 0);
  EXPECT_EQ(host.soundsStarted, 1u << kSoundGemDissolves);
  const auto puffs = Records(world.Particles);
  ASSERT_EQ(puffs.size(), 2u);
  EXPECT_EQ(puffs[0].frame, 72);
  EXPECT_EQ(puffs[0].vy, (-666 + 128) >> 2);
  EXPECT_EQ(puffs[1].frame, 76);
  EXPECT_EQ(puffs[1].vy, (-666 + 128) >> 1);
}

TEST(Gems, CollectedOnAHazardDoNotAlsoDissolve) {
  World world = SmallWorld(16, 16);
  FillCells(world, 0, 10, 15, 10, kCellRock | kCellHazardOnTop);
  world.player.state = kHeroWalking;
  world.player.x = CellCentre(5);
  world.player.y = RowTop(10) - 3000;
  world.player.pickupRadius = 4608;
  AddPickup(world, kPickupGem, 0, CellCentre(5), RowTop(10) - 100, 0, 1000, 500);
  QuietHost host;
  UpdatePickups(world, host);
  EXPECT_EQ(world.Pickups.Count(), 0);
  EXPECT_EQ(world.player.power, 1);
  EXPECT_EQ(host.soundsStarted, 1u << kSoundGem);
  EXPECT_EQ(world.Particles.Count(), 0);
}

TEST(Fruits, HopToTheSameHeightForever) {
  World world = SmallWorld(16, 16);
  FillCells(world, 0, 8, 15, 8, kCellRock);
  const std::int32_t start = RowTop(6) + 2048;  // 1.5 cells above the floor
  AddPickup(world, kPickupFruit, 3, CellCentre(7), start, 0, 0, 0);
  QuietHost host;
  int apexes = 0;
  std::int32_t previousVy = 0;
  for (int k = 0; k < 5000; ++k) {
    UpdatePickups(world, host);
    const Pickup f = Records(world.Pickups)[0];
    ASSERT_EQ(CellAt(world, f.x, f.y), 0) << "frame " << k;
    EXPECT_EQ(f.x, CellCentre(7));
    if (previousVy < 0 && f.vy >= 0) {
      EXPECT_EQ(f.y, start) << "apex " << apexes;
      ++apexes;
    }
    previousVy = f.vy;
  }
  EXPECT_GT(apexes, 100);
}

TEST(Debris, StoppedPieceVanishesWithTwoPuffsOnTheNextUpdate) {
  World world = SmallWorld(16, 16);
  FillCells(world, 0, 10, 15, 10, kCellRock);
  AddPickup(world, kPickupDebris, 92, CellCentre(5), RowTop(10) - 30, 100, 60, 0);
  QuietHost host;
  UpdatePickups(world, host);
  ASSERT_EQ(world.Pickups.Count(), 1);
  const Pickup stopped = Records(world.Pickups)[0];
  EXPECT_EQ(stopped.kind, kPickupVanishing);
  EXPECT_EQ(stopped.vx, 0);
  EXPECT_EQ(stopped.x, CellCentre(5) + 100);
  EXPECT_EQ(world.Particles.Count(), 0);
  UpdatePickups(world, host);
  EXPECT_EQ(world.Pickups.Count(), 0);
  const auto puffs = Records(world.Particles);
  ASSERT_EQ(puffs.size(), 2u);
  EXPECT_EQ(puffs[0].frame, 80);
  EXPECT_EQ(puffs[0].vy, -224);
  EXPECT_EQ(puffs[1].frame, 68);
  EXPECT_EQ(puffs[1].vy, -448);
  EXPECT_EQ(puffs[1].ay, 32);
}

TEST(Debris, HardLandingPuffsAndBouncesAtHalfSpeed) {
  World world = SmallWorld(16, 16);
  FillCells(world, 0, 10, 15, 10, kCellRock);
  AddPickup(world, kPickupDebris, 88, CellCentre(5), RowTop(10) - 30, 0, 1000, 0);
  QuietHost host;
  UpdatePickups(world, host);
  const Pickup p = Records(world.Pickups)[0];
  EXPECT_EQ(p.kind, kPickupDebris);
  EXPECT_EQ(p.vy, -500 + 56);
  EXPECT_EQ(p.timer, 1);
  ASSERT_EQ(world.Particles.Count(), 1);
  EXPECT_EQ(Records(world.Particles)[0].frame, 80);
}

TEST(Debris, SideImpactInTheAirKeepsTheFallingSpeed) {
  World world = SmallWorld(16, 16);
  FillCells(world, 6, 0, 6, 15, kCellRock);
  // Both moves are blocked; the sideways impact already counted, so vy is kept.
  FillCells(world, 5, 10, 5, 10, kCellRock);
  AddPickup(world, kPickupDebris, 88, CellCentre(5) + 1000, RowTop(10) - 300, 2000, 400, 0);
  QuietHost host;
  UpdatePickups(world, host);
  const Pickup p = Records(world.Pickups)[0];
  EXPECT_EQ(p.x, CellCentre(5) + 1000);
  EXPECT_EQ(p.vx, -1000);
  EXPECT_EQ(p.y, RowTop(10) - 300);
  EXPECT_EQ(p.vy, 400 + 56);
  EXPECT_EQ(world.Particles.Count(), 1);
}

TEST(Pickups, RemovalInTheMiddleOfTheWalkStillMovesTheRest) {
  World world = SmallWorld(16, 16);
  AddPickup(world, kPickupFruit, 1, CellCentre(3), CellCentre(3), 0, 0, 0);
  AddPickup(world, kPickupVanishing, 0, CellCentre(5), CellCentre(5), 0, 0, 0);
  AddPickup(world, kPickupFruit, 2, CellCentre(7), CellCentre(3), 0, 0, 0);
  QuietHost host;
  UpdatePickups(world, host);
  const auto left = Records(world.Pickups);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].vy, 128);
  EXPECT_EQ(left[1].variant, 2);
  EXPECT_EQ(left[1].vy, 128);
}

}  // namespace
}  // namespace quorin
