#include "world/player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/world/small_world.h"
#include "world/digest.h"
#include "world/effects.h"
#include "world/economy.h"

namespace quorin {
namespace {

using test::CellCentre;
using test::FillCells;
using test::Records;
using test::RowTop;
using test::SmallWorld;

constexpr int kFloorRow = 20;
// The hero's centre when it stands on the floor.
constexpr std::int32_t kStandingY = RowTop(kFloorRow) - 3328 - 1;

// A 60 x 30 world with rock along row 20 and a new-game hero standing on it
// at column 10; the checkpoint is the cell above column 2.
World HeroWorld() {
  World world = SmallWorld(60, 30);
  FillCells(world, 0, kFloorRow, 59, kFloorRow, kCellRock);
  PlayerNewGame(world.player);
  world.player.x = CellCentre(10);
  world.player.y = kStandingY;
  world.player.jumpsLeft = 2;
  world.checkpointColumn = 2;
  world.checkpointRow = kFloorRow - 1;
  UpdateCamera(world);
  return world;
}

PlayerInput Input(std::int32_t dirX, std::int32_t dirY, bool jump, bool fire, bool jumpPressed = false,
                  bool firePressed = false) {
  PlayerInput in;
  in.dirX = dirX;
  in.dirY = dirY;
  in.button1 = jump || jumpPressed;
  in.button2 = fire || firePressed;
  in.button1Pressed = jumpPressed;
  in.button2Pressed = firePressed;
  return in;
}

const PlayerInput kNothing{};

// One played frame of the hero as the frame driver runs it; the host records this frame only.
QuietHost Frame(World& world, const PlayerInput& in, std::int32_t maxBounce = 0) {
  QuietHost host;
  host.maxBounce = maxBounce;
  world.frameCounter += 1;
  world.playerInput = in;
  PlayerUpdate(world, host);
  return host;
}

bool Played(const QuietHost& host, SoundId id) { return (host.soundsStarted & (1u << id)) != 0; }

// ---- Jumps ----

TEST(HeroJumps, SecondJumpInTheAirThenAThirdPressDoesNothing) {
  World world = HeroWorld();
  QuietHost host = Frame(world, Input(0, 0, false, false, true));
  EXPECT_TRUE(Played(host, kSoundJump));
  EXPECT_EQ(world.player.jumpsLeft, 1);
  EXPECT_EQ(world.player.vy, -2047 + 110);  // the rise gravity while the button is held
  const auto dust = Records(world.Particles);
  ASSERT_EQ(dust.size(), 1u);
  EXPECT_EQ(dust[0].frame, 64);
  EXPECT_EQ(dust[0].y, kStandingY + 3328);
  EXPECT_EQ(dust[0].vy, 96);

  Frame(world, Input(0, 0, true, false));
  EXPECT_EQ(world.player.vy, -2047 + 220);
  host = Frame(world, Input(0, 0, false, false, true));
  EXPECT_TRUE(Played(host, kSoundJump));
  EXPECT_EQ(world.player.jumpsLeft, 0);
  EXPECT_EQ(world.player.vy, -2047 + 110);

  Frame(world, kNothing);
  const std::int32_t vyBefore = world.player.vy;
  host = Frame(world, Input(0, 0, false, false, true));
  EXPECT_FALSE(Played(host, kSoundJump));
  EXPECT_EQ(world.player.jumpsLeft, 0);
  EXPECT_GT(world.player.vy, vyBefore);  // no new jump: only the pull of gravity
  EXPECT_EQ(world.Particles.Count(), 2);
}

TEST(HeroJumps, WalkingOffALedgeLeavesExactlyOneJump) {
  World world = HeroWorld();
  FillCells(world, 12, kFloorRow, 59, kFloorRow, 0);  // the floor ends after column 11
  int frames = 0;
  while (world.player.jumpsLeft == 2 && frames < 100) {
    Frame(world, Input(1, 0, false, false));
    ++frames;
  }
  ASSERT_EQ(world.player.jumpsLeft, 1);
  EXPECT_GT(world.player.vy, 0);
  EXPECT_GT(world.player.x - 512, 12 * 4096 - 1);
  QuietHost host = Frame(world, Input(0, 0, false, false, true));
  EXPECT_TRUE(Played(host, kSoundJump));
  EXPECT_EQ(world.player.jumpsLeft, 0);
  host = Frame(world, Input(0, 0, false, false, true));
  EXPECT_FALSE(Played(host, kSoundJump));
}

TEST(HeroJumps, LandingSnapsAboveTheFloorAndPlaysTheStep) {
  World world = HeroWorld();
  world.player.y = kStandingY - 1000;
  world.player.vy = 900;
  world.player.jumpsLeft = 0;
  world.player.anim = 9;
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.player.y, kStandingY);
  EXPECT_EQ(world.player.vy, 0);
  EXPECT_EQ(world.player.jumpsLeft, 2);
  EXPECT_EQ(world.player.anim, 0);
  EXPECT_TRUE(Played(host, kSoundFootstep));
}

// ---- Hover ----

TEST(HeroHover, NeedsBothJumpsUsedAndTheButtonHeld) {
  World world = HeroWorld();
  world.player.y = RowTop(8);
  world.player.vy = 1000;
  world.player.jumpsLeft = 1;
  Frame(world, Input(0, 0, true, false));
  EXPECT_EQ(world.player.hovering, 0);
  EXPECT_EQ(world.player.hoverFuel, 48);
  EXPECT_EQ(world.player.vy, 1200);

  world.player.jumpsLeft = 0;
  world.player.vy = 1000;
  Frame(world, kNothing);
  EXPECT_EQ(world.player.hovering, 0);
  EXPECT_EQ(world.player.hoverFuel, 48);
  EXPECT_EQ(world.player.vy, 1200);

  world.player.vy = 1000;
  Frame(world, Input(0, 0, true, false));
  EXPECT_EQ(world.player.hovering, 1);
  EXPECT_EQ(world.player.hoverFuel, 47);
  EXPECT_EQ(world.player.vy, 1200 - 300 - 256);
}

TEST(HeroHover, ThrustWeakensWithRisingSpeedAndStopsPast1280) {
  World world = HeroWorld();
  // vy before the frame -> after the rise gravity (110) and the thrust.
  const std::int32_t cases[][2] = {{-300, -190 - 192}, {-621, -511 - 192}, {-622, -512 - 128},
                                   {-1389, -1279 - 128}, {-1390, -1280}, {-2000, -1890}};
  for (const auto& c : cases) {
    world.player.y = RowTop(10);
    world.player.jumpsLeft = 0;
    world.player.hoverFuel = 20;
    world.player.vy = c[0];
    Frame(world, Input(0, 0, true, false));
    EXPECT_EQ(world.player.vy, c[1]) << "from " << c[0];
    EXPECT_EQ(world.player.hoverFuel, 19) << "from " << c[0];
  }
}

TEST(HeroHover, TheLastDropOfFuelPuffsAndThenTheHeroFalls) {
  World world = HeroWorld();
  world.player.y = RowTop(8);
  world.player.jumpsLeft = 0;
  world.player.hoverFuel = 1;
  world.player.vx = 400;
  Frame(world, Input(0, 0, true, false));
  EXPECT_EQ(world.player.hoverFuel, 0);
  const auto smoke = Records(world.Particles);
  ASSERT_EQ(smoke.size(), 1u);
  EXPECT_EQ(smoke[0].frame, 68);
  EXPECT_EQ(smoke[0].vx, (400 - 32) >> 1);
  EXPECT_EQ(smoke[0].vy, 64);
  EXPECT_EQ(smoke[0].ay, -12);
  world.player.vy = 0;
  Frame(world, Input(0, 0, true, false));
  EXPECT_EQ(world.player.hovering, 0);
  EXPECT_EQ(world.player.vy, 200);
}

TEST(HeroHover, FuelRefillsByTwoOnTheGroundUpToTheLimit) {
  World world = HeroWorld();
  world.player.hoverFuel = 41;
  const std::int32_t expected[] = {43, 45, 47, 48, 48};
  for (std::int32_t fuel : expected) {
    Frame(world, kNothing);
    EXPECT_EQ(world.player.hoverFuel, fuel);
  }
  world.player.powerLevel = 1;
  for (int k = 0; k < 20; ++k) Frame(world, kNothing);
  EXPECT_EQ(world.player.hoverFuel, 72);
}

// ---- Running and contacts ----

TEST(HeroRuns, GainsSeventyTwoPerFrameToTheLimitAndStopsWithinFourFrames) {
  World world = HeroWorld();
  world.player.x = CellCentre(3);
  for (int k = 1; k <= 20; ++k) {
    Frame(world, Input(1, 0, false, false));
    EXPECT_EQ(world.player.vx, std::min(72 * k, 1280)) << "frame " << k;
  }
  EXPECT_EQ(world.player.facing, 0);
  const std::int32_t expected[] = {896, 512, 128, 0};
  for (std::int32_t vx : expected) {
    Frame(world, kNothing);
    EXPECT_EQ(world.player.vx, vx);
  }
}

TEST(HeroRuns, TurningBrakesOnTopOfTheAcceleration) {
  World world = HeroWorld();
  world.player.vx = 1000;
  Frame(world, Input(-1, 0, false, false));
  EXPECT_EQ(world.player.vx, 1000 - 72 - 384);
  EXPECT_EQ(world.player.facing, 0);  // still moving right
  world.player.y = RowTop(8);
  world.player.jumpsLeft = 1;
  world.player.vx = -1000;
  Frame(world, Input(1, 0, false, false));
  EXPECT_EQ(world.player.vx, -1000 + 72 + 32);
  EXPECT_EQ(world.player.facing, 16);
}

TEST(HeroRuns, WallsStopTheHeroFlushWithTheRock) {
  World world = HeroWorld();
  FillCells(world, 15, 0, 15, kFloorRow - 1, kCellRock);
  FillCells(world, 5, 0, 5, kFloorRow - 1, kCellRock);
  world.player.x = 15 * 4096 - 512 - 100;
  world.player.vx = 1280;
  Frame(world, Input(1, 0, false, false));
  EXPECT_EQ(world.player.x, 15 * 4096 - 512 - 1);
  EXPECT_EQ(world.player.vx, 0);

  world.player.x = 6 * 4096 + 512 + 100;
  world.player.vx = -1280;
  Frame(world, Input(-1, 0, false, false));
  EXPECT_EQ(world.player.x, 6 * 4096 + 512);
  EXPECT_EQ(world.player.vx, 0);
  EXPECT_EQ(world.player.facing, 16);
}

TEST(HeroRuns, TheHeadTestStopsOneUnitShortOfTheRightEdge) {
  World world = HeroWorld();
  FillCells(world, 10, 9, 10, 9, kCellRock);
  // The right edge of the box is exactly on column 10; the head test reads column 9.
  world.player.x = 10 * 4096 - 512;
  world.player.y = RowTop(10) + 3328 + 100;
  world.player.jumpsLeft = 0;
  world.player.vy = -1000;
  Frame(world, kNothing);
  EXPECT_EQ(world.player.vy, -800);
  EXPECT_EQ(world.player.y, RowTop(10) + 3328 + 100 - 800);
  // One unit further right and the head meets the rock.
  world.player.x = 10 * 4096 - 511;
  world.player.y = RowTop(10) + 3328 + 100;
  world.player.vy = -1000;
  Frame(world, kNothing);
  EXPECT_EQ(world.player.vy, 0);
  EXPECT_EQ(world.player.y, RowTop(10) + 3328);
}

TEST(HeroRuns, TheFeetTestReachesTheRightEdge) {
  World world = HeroWorld();
  FillCells(world, 0, kFloorRow, 59, kFloorRow, 0);
  FillCells(world, 10, kFloorRow, 10, kFloorRow, kCellRock);
  world.player.x = 10 * 4096 - 512;
  world.player.y = kStandingY - 100;
  world.player.vy = 0;
  world.player.jumpsLeft = 1;
  Frame(world, kNothing);
  EXPECT_EQ(world.player.y, kStandingY);
  EXPECT_EQ(world.player.jumpsLeft, 2);
}

// ---- Hurts ----

TEST(HeroHurts, LandingOnAHazardHurtsEvenWhileInvulnerable) {
  World world = HeroWorld();
  FillCells(world, 8, kFloorRow, 12, kFloorRow, kCellRock | kCellHazardOnTop);
  world.player.y = kStandingY - 100;
  world.player.vy = 100;
  world.player.jumpsLeft = 1;
  world.player.power = 20;
  world.player.powerLevel = 1;
  ASSERT_EQ(world.player.invulnerable, 96);
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBall);
  EXPECT_EQ(world.player.vy, -2048);
  EXPECT_EQ(world.player.invulnerable, 95);
  EXPECT_TRUE(Played(host, kSoundHurt));
  EXPECT_EQ(world.player.power, 10);
}

TEST(HeroHurts, AHangingHazardHurtsFromBelowAndPushesDown) {
  World world = HeroWorld();
  FillCells(world, 8, 12, 12, 12, kCellHazardBelow);
  world.player.y = RowTop(13) + 3328 + 100;
  world.player.vy = -1000;
  world.player.jumpsLeft = 0;
  world.player.power = 30;
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBall);
  EXPECT_EQ(world.player.vy, 512);
  EXPECT_TRUE(Played(host, kSoundHurt));
}

struct Spill {
  std::int32_t gems = 0;   // total value of the gems
  std::int32_t debris = 0;
};

Spill CountPickups(const World& world) {
  Spill s;
  world.Pickups.ForEach([&](const Pickup& p) {
    if (p.kind == kPickupGem) s.gems += 1 << p.variant;
    if (p.kind == kPickupDebris) s.debris += 1;
  });
  return s;
}

TEST(HeroHurts, PowerOneSpillsOneGemAndLeavesNothing) {
  World world = HeroWorld();
  world.player.power = 1;
  QuietHost host;
  PlayerHit(world, host, 3);
  const Spill s = CountPickups(world);
  EXPECT_EQ(s.gems, 1);
  EXPECT_EQ(s.debris, 2);
  EXPECT_EQ(world.player.power, 0);
  EXPECT_EQ(host.stateChanges, 0);
  EXPECT_FALSE(Played(host, kSoundHurt));  // a monster's touch has no hurt sound of its own here
}

TEST(HeroHurts, PowerTwentySpillsTenAndKeepsTen) {
  World world = HeroWorld();
  world.player.power = 20;
  world.player.powerLevel = 1;
  QuietHost host;
  PlayerHit(world, host, 4);
  EXPECT_EQ(CountPickups(world).gems, 10);
  EXPECT_EQ(world.player.power, 10);
  EXPECT_EQ(world.player.powerLevel, 0);
  EXPECT_EQ(world.player.vy, -1536);
}

TEST(HeroHurts, PowerTwelveSpillsSixAndClearsTheRest) {
  World world = HeroWorld();
  world.player.power = 12;
  QuietHost host;
  PlayerHit(world, host, 3);
  EXPECT_EQ(CountPickups(world).gems, 6);
  EXPECT_EQ(world.player.power, 0);
}

TEST(HeroHurts, HalvingFortyAnnouncesPowerDownFourteenDoesNot) {
  World world = HeroWorld();
  world.player.power = 40;
  world.player.powerLevel = 2;
  QuietHost host;
  PlayerHit(world, host, 3);
  EXPECT_EQ(world.player.power, 20);
  EXPECT_EQ(world.player.powerLevel, 1);
  EXPECT_TRUE(Played(host, kSoundPowerDown));
  ASSERT_EQ(world.FloatingTexts.Count(), 1);
  EXPECT_EQ(Records(world.FloatingTexts)[0].text, "POWER DOWN");

  World other = HeroWorld();
  other.player.power = 14;
  QuietHost quiet;
  PlayerHit(other, quiet, 3);
  EXPECT_EQ(other.player.power, 0);
  EXPECT_EQ(other.player.powerLevel, 0);
  EXPECT_EQ(other.FloatingTexts.Count(), 0);
  EXPECT_EQ(quiet.soundsStarted, 0u);
}

TEST(HeroHurts, NoPowerEndsTheGameBeforeAnySpill) {
  World world = HeroWorld();
  world.player.power = 0;
  QuietHost host;
  PlayerHit(world, host, 1);
  EXPECT_EQ(host.lastState, kGameOver);
  EXPECT_EQ(host.stateChanges, 1);
  const Spill s = CountPickups(world);
  EXPECT_EQ(s.gems, 0);
  EXPECT_EQ(s.debris, 2);
}

TEST(HeroHurts, DebrisHalvesFlyApartWithTheFrameCounterSpread) {
  World world = HeroWorld();
  world.frameCounter = 5;  // r1 = 160 - 256, r2 = 40 - 512
  world.player.vx = 1000;
  world.player.power = 16;
  QuietHost host;
  PlayerHit(world, host, 1);
  EXPECT_EQ(world.player.vx, 500 - 96);
  EXPECT_EQ(world.player.vy, -2048);
  EXPECT_EQ(world.player.hoverFuel, 0);
  EXPECT_EQ(world.player.fireTimer, 0);
  std::int32_t found = 0;
  world.Pickups.ForEach([&](const Pickup& p) {
    if (p.kind != kPickupDebris) return;
    if (p.variant == 92) {
      EXPECT_EQ(p.vx, (404 >> 1) - 480);
      EXPECT_EQ(p.vy, -472 - 1536);
    } else {
      EXPECT_EQ(p.variant, 88);
      EXPECT_EQ(p.vx, (404 >> 1) + 480);
      EXPECT_EQ(p.vy, 472 - 1800);
    }
    ++found;
  });
  EXPECT_EQ(found, 2);
}

// ---- The ball ----

World BallOverTheFloor(std::int32_t vy) {
  World world = HeroWorld();
  world.player.state = kHeroBall;
  world.player.y = RowTop(kFloorRow) - 100;
  world.player.vy = vy;
  return world;
}

// A ball 500 units left of a rock wall at column 15, rolling into it at 1200.
World BallBesideTheWall(int row, std::int32_t vy) {
  World world = HeroWorld();
  FillCells(world, 15, 0, 15, kFloorRow, kCellRock);
  world.player.state = kHeroBall;
  world.player.x = 15 * 4096 - 500;
  world.player.y = RowTop(row);
  world.player.vx = 1200;
  world.player.vy = vy;
  return world;
}

TEST(HeroBall, ABounceFrom200IsNeitherCountedNorResting) {
  World world = BallOverTheFloor(200);
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBall);
  EXPECT_EQ(world.player.bounces, 0);
  EXPECT_EQ(world.player.vy, -133 + 100);
  EXPECT_EQ(world.player.y, RowTop(kFloorRow) - 100);
  EXPECT_FALSE(Played(host, kSoundBounce));
}

TEST(HeroBall, ABounceFrom130ComesToRestAndBurstsSilently) {
  World world = BallOverTheFloor(130);
  world.player.vx = 400;
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBursting);
  EXPECT_EQ(world.player.anim, 48);
  EXPECT_EQ(world.player.vx, 0);
  EXPECT_EQ(host.soundsStarted, 0u);
  const auto puffs = Records(world.Particles);
  ASSERT_EQ(puffs.size(), 2u);
  EXPECT_EQ(puffs[0].frame, 80);
  EXPECT_EQ(puffs[0].vx, 200);
  EXPECT_EQ(puffs[1].frame, 68);
  EXPECT_EQ(puffs[1].vx, 100);
}

TEST(HeroBall, AGoodBounceIsCountedShownAndSteerable) {
  World world = BallOverTheFloor(600);
  const QuietHost host = Frame(world, Input(1, 0, false, false));
  EXPECT_EQ(world.player.bounces, 1);
  EXPECT_EQ(world.player.vx, 256);
  EXPECT_EQ(world.player.vy, -400 + 100);
  EXPECT_TRUE(Played(host, kSoundBounce));
  const auto texts = Records(world.FloatingTexts);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "1");
  EXPECT_EQ(texts[0].glyphBase, 224);
  EXPECT_EQ(texts[0].spacing, -2);
  EXPECT_EQ(texts[0].vy, -1024);
  EXPECT_EQ(texts[0].life, 32);
}

TEST(HeroBall, TheJumpButtonHalvesGravity) {
  World world = HeroWorld();
  world.player.state = kHeroBall;
  world.player.y = RowTop(5);
  Frame(world, Input(0, 0, true, false));
  EXPECT_EQ(world.player.vy, 50);
  Frame(world, kNothing);
  EXPECT_EQ(world.player.vy, 150);
}

TEST(HeroBall, WallsBounceItBackAtHalfSpeed) {
  World world = BallBesideTheWall(10, 0);
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.player.vx, -600);
  EXPECT_EQ(world.player.x, 15 * 4096 - 500 + 1200 - 600);
  EXPECT_EQ(world.player.bounces, 1);
  EXPECT_TRUE(Played(host, kSoundBounce));
}

TEST(HeroBall, TheEighthRepeatOfTheSameBounceEndsIt) {
  World world = BallBesideTheWall(5, 1000);
  world.player.lastBounceVy = 1143;
  world.player.sameBounceCount = 6;
  Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBall);
  EXPECT_EQ(world.player.sameBounceCount, 7);
  EXPECT_EQ(world.player.lastBounceVy, 1000);

  world.player.x = 15 * 4096 - 500;
  world.player.vx = 1200;
  world.player.vy = 1000 - 143;
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBursting);
  EXPECT_EQ(world.player.sameBounceCount, 0);
  EXPECT_EQ(world.player.lastBounceVy, 0);
  EXPECT_TRUE(Played(host, kSoundHurt));
}

TEST(HeroBall, ADifferentBounceStartsTheCountAgain) {
  World world = BallBesideTheWall(5, 1000);
  world.player.lastBounceVy = 1144;
  world.player.sameBounceCount = 7;
  Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBall);
  EXPECT_EQ(world.player.sameBounceCount, 0);
}

TEST(HeroBall, ANewBallCountsItsOwnBouncesNotAnEarlierOnes) {
  World world = BallBesideTheWall(5, 1000);
  // The ball before this one ended on seven repeats of the same bounce.
  world.player.state = kHeroWalking;
  world.player.power = 40;
  world.player.lastBounceVy = 1000;
  world.player.sameBounceCount = 7;
  QuietHost hit;
  PlayerHit(world, hit, 3);  // touched by a monster
  ASSERT_EQ(world.player.state, kHeroBall);
  EXPECT_EQ(world.player.sameBounceCount, 0);
  EXPECT_EQ(world.player.lastBounceVy, 0);

  world.player.x = 15 * 4096 - 500;
  world.player.vx = 1200;
  world.player.vy = 1000 - 143;
  Frame(world, kNothing);  // within 144 of the old ball's last bounce
  EXPECT_EQ(world.player.state, kHeroBall);
  EXPECT_EQ(world.player.sameBounceCount, 0);
}

TEST(HeroBall, TheFireButtonBurstsItFromTheSixteenthFrame) {
  World world = HeroWorld();
  world.player.state = kHeroBall;
  world.player.y = RowTop(2);
  world.player.vx = 600;
  world.player.fireTimer = 14;
  QuietHost host = Frame(world, Input(0, 0, false, false, false, true));
  EXPECT_EQ(world.player.fireTimer, 15);
  EXPECT_EQ(world.player.state, kHeroBall);
  EXPECT_FALSE(Played(host, kSoundHurt));
  host = Frame(world, Input(0, 0, false, false, false, true));
  EXPECT_EQ(world.player.state, kHeroBursting);
  EXPECT_EQ(world.player.anim, 48);
  EXPECT_EQ(world.player.vx, 600);  // the ball's speed stays
  EXPECT_TRUE(Played(host, kSoundHurt));
}

TEST(HeroBall, LandingOnAPadMovesTheCheckpoint) {
  World world = BallOverTheFloor(600);
  FillCells(world, 10, kFloorRow, 10, kFloorRow, kCellRock | kCellPad);
  const QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.checkpointColumn, 10);
  EXPECT_EQ(world.checkpointRow, kFloorRow - 1);
  EXPECT_TRUE(Played(host, kSoundCheckpoint));
}

// ---- Bursting and respawn ----

TEST(HeroBurst, ScoresTheBouncesOnceAndKeepsOnlyABetterBest) {
  World world = HeroWorld();
  world.player.state = kHeroBursting;
  world.player.anim = 48;
  world.player.bounces = 5;
  world.player.score = 100;
  QuietHost host;
  host.maxBounce = 7;
  world.frameCounter += 1;
  PlayerUpdate(world, host);
  EXPECT_EQ(world.player.score, 150);
  EXPECT_EQ(host.maxBounce, 7);
  PlayerUpdate(world, host);
  EXPECT_EQ(world.player.score, 150);

  world.player.anim = 48;
  world.player.bounces = 9;
  PlayerUpdate(world, host);
  EXPECT_EQ(host.maxBounce, 9);
  EXPECT_EQ(world.player.score, 240);
}

TEST(HeroBurst, RespawnsAtTheCheckpointAfterFortyEightFrames) {
  World world = HeroWorld();
  world.player.state = kHeroBursting;
  world.player.anim = 48;
  world.player.bounces = 3;
  world.player.powerLevel = 2;
  world.player.power = 40;
  world.player.score = 77;
  world.player.fruitsFound = 2;
  AddParticle(world, 64, 0, 0, 0, 0, 0, 0);
  AddFloatingText(world, "3", 224, -2, 0, 0, 0, 0, 30);
  ListInsert(world.PlayerShots);
  ListInsert(world.EnemyShots);
  ListInsert(world.Enemies);
  AddPickup(world, kPickupGem, 1, 0, 0, 0, 0, 100);
  for (int k = 0; k < 47; ++k) Frame(world, kNothing);
  EXPECT_EQ(world.player.state, kHeroBursting);
  EXPECT_EQ(world.player.anim, 1);
  Frame(world, kNothing);
  const Player& p = world.player;
  EXPECT_EQ(p.state, kHeroWalking);
  EXPECT_EQ(p.x, 2 * 4096 + 2048);
  EXPECT_EQ(p.y, (kFloorRow - 1) * 4096 + 2048);
  EXPECT_EQ(p.invulnerable, 96);
  EXPECT_EQ(p.hoverFuel, 2 * 24 + 48);
  EXPECT_EQ(p.bounces, 0);
  EXPECT_EQ(p.jumpsLeft, 0);
  EXPECT_EQ(p.power, 40);
  EXPECT_EQ(p.score, 77 + 30);
  EXPECT_EQ(p.fruitsFound, 2);
  EXPECT_EQ(world.Particles.Count(), 0);
  EXPECT_EQ(world.FloatingTexts.Count(), 0);
  EXPECT_EQ(world.PlayerShots.Count(), 0);
  EXPECT_EQ(world.EnemyShots.Count(), 0);
  EXPECT_EQ(world.Enemies.Count(), 1);
  EXPECT_EQ(world.Pickups.Count(), 1);
  // The camera follows the respawned hero in the same update.
  EXPECT_EQ(world.cameraX, 65536 - p.x < 0 ? 65536 - p.x : 0);
}

// ---- Firing ----

TEST(HeroFires, AShotEveryFrameAtLevelSeven) {
  World world = HeroWorld();
  world.player.powerLevel = 7;
  QuietHost host = Frame(world, Input(0, 0, false, false, false, true));
  EXPECT_TRUE(Played(host, kSoundHeroFire));
  for (int k = 2; k <= 6; ++k) {
    host = Frame(world, Input(0, 0, false, true));
    EXPECT_TRUE(Played(host, kSoundHeroFire)) << "frame " << k;
  }
  EXPECT_EQ(world.PlayerShots.Count(), 6);
  EXPECT_EQ(world.player.shotCount, 6);
  EXPECT_EQ(world.player.firing, 1);
}

TEST(HeroFires, EveryEighthFrameAtLevelZero) {
  World world = HeroWorld();
  Frame(world, Input(0, 0, false, false, false, true));
  for (int k = 2; k <= 8; ++k) Frame(world, Input(0, 0, false, true));
  EXPECT_EQ(world.PlayerShots.Count(), 1);
  Frame(world, Input(0, 0, false, true));
  EXPECT_EQ(world.PlayerShots.Count(), 2);
  Frame(world, kNothing);
  EXPECT_EQ(world.player.firing, 0);
  EXPECT_EQ(world.player.fireTimer, 0);
  EXPECT_EQ(world.player.shotCount, 0);
}

TEST(HeroFires, ALevelGainedMidBurstShortensThePeriodInsteadOfJamming) {
  World world = HeroWorld();
  Frame(world, Input(0, 0, false, false, false, true));
  for (int k = 2; k <= 6; ++k) Frame(world, Input(0, 0, false, true));
  ASSERT_EQ(world.player.fireTimer, 6);
  ASSERT_EQ(world.PlayerShots.Count(), 1);
  world.player.powerLevel = 4;  // period 4, already passed
  Frame(world, Input(0, 0, false, true));
  EXPECT_EQ(world.player.fireTimer, 0);
  Frame(world, Input(0, 0, false, true));
  EXPECT_EQ(world.PlayerShots.Count(), 2);
  for (int k = 0; k < 4; ++k) Frame(world, Input(0, 0, false, true));
  EXPECT_EQ(world.PlayerShots.Count(), 3);
}

TEST(HeroFires, ShotsLeaveTheMuzzleAlongTheAimWithSmokeOnOddShots) {
  World world = HeroWorld();
  world.player.anim = 6;  // 7 after the step: bit 3 clear
  world.frameCounter = 99;
  Frame(world, Input(0, 0, false, false, false, true));
  ASSERT_EQ(world.PlayerShots.Count(), 1);
  const Shot s = Records(world.PlayerShots)[0];
  const std::int32_t noiseB = NoiseAt(world, 100, 0) >> 7;
  EXPECT_EQ(s.heading, 0);
  EXPECT_EQ(s.frame, 312);
  EXPECT_EQ(s.x, world.player.x + 18 * 256);
  EXPECT_EQ(s.y, world.player.y + 3 * 256);
  EXPECT_EQ(s.speed, 2048 + noiseB);
  EXPECT_EQ(s.accel, 24 + (noiseB >> 3));
  const auto smoke = Records(world.Particles);
  ASSERT_EQ(smoke.size(), 1u);
  EXPECT_EQ(smoke[0].frame, 68);
  EXPECT_EQ(smoke[0].x, s.x);
  EXPECT_EQ(smoke[0].vx, -((4095 * s.speed) >> 13));
  EXPECT_EQ(smoke[0].ax, -(smoke[0].vx >> 4));
  EXPECT_EQ(smoke[0].vy, 0);

  world.player.powerLevel = 7;
  world.player.anim = 7;  // 8 after the step: the muzzle is 2 pixels higher
  Frame(world, Input(0, 0, false, true));
  Frame(world, Input(0, 0, false, true));
  ASSERT_EQ(world.PlayerShots.Count(), 2);
  EXPECT_EQ(world.Particles.Count(), 1);  // the second shot makes no smoke
  const Shot second = Records(world.PlayerShots)[1];
  EXPECT_EQ(second.y, world.player.y + 1 * 256);
  const std::int32_t noiseA = NoiseAt(world, 4, 102);  // fired on frame 102
  EXPECT_EQ(second.heading, ((noiseA * 7) >> 12) & 4095);
}

TEST(HeroFires, TheAimIsChosenOnThePressAndHeld) {
  World world = HeroWorld();
  Frame(world, Input(1, -1, false, false, false, true));
  EXPECT_EQ(world.player.aimDir, 7);
  Frame(world, Input(-1, 1, false, true));
  EXPECT_EQ(world.player.aimDir, 7);
  const std::int32_t cases[][3] = {{1, 0, 0},  {1, 1, 1},  {0, 1, 2},  {-1, 1, 3},
                                   {-1, 0, 4}, {-1, -1, 5}, {0, -1, 6}, {1, -1, 7}};
  for (const auto& c : cases) {
    world.player.vx = 0;
    Frame(world, kNothing);
    Frame(world, Input(c[0], c[1], false, false, false, true));
    EXPECT_EQ(world.player.aimDir, c[2]) << c[0] << "," << c[1];
  }
  world.player.facing = 16;
  world.player.vx = 0;
  Frame(world, kNothing);
  Frame(world, Input(0, 0, false, false, false, true));
  EXPECT_EQ(world.player.aimDir, 4);
}

// ---- Checkpoint pads ----

TEST(HeroPads, LandingOnAPadOrPassingJustAboveOneMovesTheCheckpoint) {
  World world = HeroWorld();
  FillCells(world, 10, kFloorRow, 10, kFloorRow, kCellRock | kCellPad);
  world.player.y = kStandingY - 500;
  world.player.vy = 300;
  world.player.jumpsLeft = 1;
  QuietHost host = Frame(world, kNothing);
  EXPECT_EQ(world.checkpointColumn, 10);
  EXPECT_EQ(world.checkpointRow, kFloorRow - 1);
  EXPECT_TRUE(Played(host, kSoundCheckpoint));

  // A pad-only cell one row below the feet, not yet touched.
  FillCells(world, 30, 15, 30, 15, kCellPad);
  world.player.x = CellCentre(30);
  world.player.y = RowTop(15) - 3328 - 300;
  world.player.vy = 0;
  world.player.jumpsLeft = 1;
  host = Frame(world, kNothing);
  EXPECT_EQ(world.player.vy, 200);
  EXPECT_EQ(world.checkpointColumn, 30);
  EXPECT_EQ(world.checkpointRow, 14);
}

// ---- New game ----

TEST(HeroNewGame, ResetsPlayValuesAndKeepsTheCarriedOnes) {
  Player p;
  p.facing = 16;
  p.aimDir = 5;
  p.sameBounceCount = 3;
  p.lastBounceVy = 700;
  p.score = 999;
  p.power = 50;
  p.powerLevel = 2;
  p.state = kHeroBursting;
  p.fruitsFound = 4;
  p.invulnerable = 0;
  PlayerNewGame(p);
  EXPECT_EQ(p.facing, 16);
  EXPECT_EQ(p.aimDir, 5);
  EXPECT_EQ(p.sameBounceCount, 3);
  EXPECT_EQ(p.lastBounceVy, 700);
  EXPECT_EQ(p.score, 0);
  EXPECT_EQ(p.power, 0);
  EXPECT_EQ(p.powerLevel, 0);
  EXPECT_EQ(p.state, kHeroWalking);
  EXPECT_EQ(p.fruitsFound, 0);
  EXPECT_EQ(p.invulnerable, 96);
  EXPECT_EQ(p.hoverFuel, 48);
  EXPECT_EQ(p.halfWidth, 512);
  EXPECT_EQ(p.halfHeight, 3328);
  EXPECT_EQ(p.pickupRadius, 4608);
  EXPECT_EQ(p.jumpSpeed, 2047);
  EXPECT_EQ(p.maxFallSpeed, 2378);
  EXPECT_EQ(p.riseGravity, 110);
  EXPECT_EQ(p.shotSpeed, 2048);
  EXPECT_EQ(p.shotAccel, 24);
  EXPECT_EQ(p.jumpsLeft, 0);
}

// ---- Determinism ----

// A cave with floors, a wall, hazards of both kinds, a pad, gems and fruits.
World Cave() {
  World world = SmallWorld(96, 48);
  FillCells(world, 0, 40, 95, 47, kCellRock);
  FillCells(world, 0, 0, 95, 2, kCellRock);
  FillCells(world, 0, 0, 1, 47, kCellRock);
  FillCells(world, 94, 0, 95, 47, kCellRock);
  FillCells(world, 20, 33, 34, 33, kCellRock);
  FillCells(world, 40, 30, 41, 39, kCellRock);
  FillCells(world, 50, 40, 56, 40, kCellRock | kCellHazardOnTop);
  FillCells(world, 14, 40, 15, 40, kCellRock | kCellHazardOnTop);
  FillCells(world, 60, 24, 70, 24, kCellHazardBelow);
  FillCells(world, 75, 40, 75, 40, kCellRock | kCellPad);
  PlayerNewGame(world.player);
  world.checkpointColumn = 6;
  world.checkpointRow = 39;
  world.player.x = CellCentre(6);
  world.player.y = RowTop(39);
  for (int k = 0; k < 8; ++k) AddPickup(world, kPickupFruit, k + 1, CellCentre(10 + 10 * k), CellCentre(37), 0, 0, 0);
  world.frameCounter = 17;
  SpillGems(world, 60, CellCentre(30), CellCentre(30));
  return world;
}

TEST(PlayDeterminism, TwoCopiesOfACaveStayEqualOver2000FramesOfVariedInput) {
  const World start = Cave();
  World a = start;
  World b = start;
  ASSERT_EQ(WorldDigest(a), WorldDigest(b));

  QuietHost hostA;
  QuietHost hostB;
  int shotsSeen = 0;
  bool sawBall = false;
  std::uint32_t pattern = 12345;
  PlayerInput previous;
  for (int frame = 0; frame < 2000; ++frame) {
    // A varied but repeatable pattern of held and pressed buttons.
    if (frame % 23 == 0) pattern = pattern * 1103515245u + 12345u;
    PlayerInput in;
    in.dirX = static_cast<std::int32_t>((pattern >> 16) % 3) - 1;
    in.dirY = static_cast<std::int32_t>((pattern >> 18) % 3) - 1;
    in.button1 = ((pattern >> 20) & 3) == 0 ? 1 : 0;
    in.button2 = ((pattern >> 22) & 1) != 0 ? 1 : 0;
    in.button1Pressed = in.button1 != 0 && previous.button1 == 0;
    in.button2Pressed = in.button2 != 0 && previous.button2 == 0;
    previous = in;
    for (auto [world, host] : {std::pair{&a, &hostA}, std::pair{&b, &hostB}}) {
      world->frameCounter += 1;
      world->playerInput = in;
      PlayerUpdate(*world, *host);
      UpdatePlayerShots(*world);
      UpdatePickups(*world, *host);
      UpdateParticles(*world);
      UpdateFloatingTexts(*world);
    }
    shotsSeen += a.PlayerShots.Count();
    if (a.player.state == kHeroBall) sawBall = true;
  }
  EXPECT_EQ(WorldDigest(a), WorldDigest(b));
  EXPECT_NE(WorldDigest(a), WorldDigest(start));
  EXPECT_EQ(hostA.soundsStarted, hostB.soundsStarted);
  EXPECT_EQ(hostA.maxBounce, hostB.maxBounce);
  EXPECT_GT(shotsSeen, 0);
  EXPECT_TRUE(sawBall);
  EXPECT_GT(a.player.score, 0);
  EXPECT_NE(a.player.x, start.player.x);
}

}  // namespace
}  // namespace quorin
