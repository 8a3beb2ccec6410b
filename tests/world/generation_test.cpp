#include "world/generation.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/embedded.h"
#include "tests/support/layout.h"
#include "world/digest.h"
#include "world/map.h"
#include "world/tables.h"

namespace quorin {
namespace {

using testing::LayoutColour;
using testing::MakeLayout;

// Enemy headings read the noise field, so every test starts from a world with
// the start-up noise built once.
class Generation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prepared_ = new World;
    PrepareNoiseField(*prepared_);
  }
  static void TearDownTestSuite() {
    delete prepared_;
    prepared_ = nullptr;
  }
  World Generate(const LayoutImage& layout) {
    World world = *prepared_;
    GenerateWorld(world, layout);
    return world;
  }
  static std::vector<Enemy> Enemies(const World& world) {
    std::vector<Enemy> out;
    world.Enemies.ForEach([&](const Enemy& e) { out.push_back(e); });
    return out;
  }
  static std::vector<Pickup> Pickups(const World& world) {
    std::vector<Pickup> out;
    world.Pickups.ForEach([&](const Pickup& p) { out.push_back(p); });
    return out;
  }

  static World* prepared_;
};
World* Generation::prepared_ = nullptr;

constexpr std::int32_t kBlueBase = 128;
constexpr std::int32_t kGreenBase = 192;
constexpr std::int32_t kGreyBase = 320;
constexpr std::int32_t kAnyRock = 128;

std::int32_t Mask(const LayoutImage& layout, int column, int row, std::int32_t base, char rock, NeighbourMode mode) {
  return NeighbourMask(layout, column, row, base, LayoutColour(rock), mode) - base;
}

// ---- NeighbourMask ----

TEST(NeighbourMask, NeighboursOutsideTheImageAlwaysConnect) {
  const LayoutImage alone = MakeLayout({"b"});
  EXPECT_EQ(NeighbourMask(alone, 0, 0, kBlueBase, kAnyRock, NeighbourMode::kAnyBit), kBlueBase + 15);
  const LayoutImage corners = MakeLayout({
      "b.b",
      "...",
      "b.b",
  });
  EXPECT_EQ(NeighbourMask(corners, 0, 0, 0, kAnyRock, NeighbourMode::kAnyBit), 1 + 8);
  EXPECT_EQ(NeighbourMask(corners, 2, 0, 0, kAnyRock, NeighbourMode::kAnyBit), 1 + 2);
  EXPECT_EQ(NeighbourMask(corners, 2, 2, 0, kAnyRock, NeighbourMode::kAnyBit), 2 + 4);
  EXPECT_EQ(NeighbourMask(corners, 0, 2, 0, kAnyRock, NeighbourMode::kAnyBit), 4 + 8);
  // In every mode, even where the image shows nothing that would connect.
  const LayoutImage green = MakeLayout({"g"});
  EXPECT_EQ(Mask(green, 0, 0, kGreenBase, 'g', NeighbourMode::kEqual), 15);
  EXPECT_EQ(Mask(green, 0, 0, kGreyBase, 'r', NeighbourMode::kAllBits), 15);
}

TEST(NeighbourMask, EachDirectionHasItsOwnBit) {
  const LayoutImage layout = MakeLayout({
      ".....",
      "..b..",
      ".bbb.",
      "..b..",
      ".....",
  });
  EXPECT_EQ(NeighbourMask(layout, 2, 2, 0, kAnyRock, NeighbourMode::kAnyBit), 15);
  EXPECT_EQ(NeighbourMask(layout, 2, 1, 0, kAnyRock, NeighbourMode::kAnyBit), 4);
  EXPECT_EQ(NeighbourMask(layout, 3, 2, 0, kAnyRock, NeighbourMode::kAnyBit), 8);
  EXPECT_EQ(NeighbourMask(layout, 2, 3, 0, kAnyRock, NeighbourMode::kAnyBit), 1);
  EXPECT_EQ(NeighbourMask(layout, 1, 2, 0, kAnyRock, NeighbourMode::kAnyBit), 2);
}

TEST(NeighbourMask, AnyBitJoinsEveryRockButNotTheHazard) {
  // Up green, right grey, down unknown rock, left hazard (red 127 has no rock bit).
  const LayoutImage layout = MakeLayout({
      ".g.",
      "Hbr",
      ".x.",
  });
  EXPECT_EQ(NeighbourMask(layout, 1, 1, 0, kAnyRock, NeighbourMode::kAnyBit), 1 + 2 + 4);
}

TEST(NeighbourMask, EqualJoinsOnlyTheSameColour) {
  const LayoutImage layout = MakeLayout({
      ".g.",
      "bgp",
      ".g.",
  });
  EXPECT_EQ(Mask(layout, 1, 1, kGreenBase, 'g', NeighbourMode::kEqual), 1 + 4);
  const LayoutImage row = MakeLayout({"ggg"});
  EXPECT_EQ(Mask(row, 1, 0, kGreenBase, 'g', NeighbourMode::kEqual), 15);  // above and below: outside
}

TEST(NeighbourMask, AllBitsJoinsColoursWithEveryChannelAtLeast128) {
  // Up blue (128,128,192) and right green (128,192,128) join; down purple
  // (128,32,128) and left enemy (0,0,240) do not.
  const LayoutImage layout = MakeLayout({
      ".b.",
      "5rg",
      ".p.",
  });
  EXPECT_EQ(Mask(layout, 1, 1, kGreyBase, 'r', NeighbourMode::kAllBits), 1 + 2);
  const LayoutImage greys = MakeLayout({
      ".r.",
      "xr.",
      "...",
  });
  EXPECT_EQ(Mask(greys, 1, 1, kGreyBase, 'r', NeighbourMode::kAllBits), 1);  // (200,10,10) lacks green
}


// ---- GenerateWorld ----

TEST_F(Generation, SetsTheWorldSizeAndTheViewConstants) {
  World world = *prepared_;
  world.internalHeight = 240;
  GenerateWorld(world, MakeLayout({std::string(40, '.'), std::string(40, '.'), std::string(40, '.')}));
  EXPECT_EQ(world.WorldWidth, 40);
  EXPECT_EQ(world.WorldHeight, 3);
  EXPECT_EQ(world.LastColumn, 39);
  EXPECT_EQ(world.LastRow, 2);
  EXPECT_EQ(world.WorldExtentX, 40 * 4096 - 1);
  EXPECT_EQ(world.WorldExtentY, 3 * 4096 - 1);
  EXPECT_EQ(world.viewHeight, 240 * 256);
  EXPECT_EQ(world.activeHalfWidth, 73728);
  EXPECT_EQ(world.activeHalfHeight, 120 * 256 + 8192);
  // Column-major: the first extent runs across.
  EXPECT_EQ(world.CollisionMap.Extent(0), 40);
  EXPECT_EQ(world.CollisionMap.Extent(1), 3);
  EXPECT_EQ(world.TileMap.Extent(0), 40);
  EXPECT_EQ(world.TileMap.Extent(1), 3);
}

TEST_F(Generation, ReCreatesBothMapsZeroFilled) {
  World world = Generate(MakeLayout({"bbbb", "bbbb", "bbbb", "bbbb"}));
  GenerateWorld(world, MakeLayout({"...", "..."}));
  ASSERT_EQ(world.CollisionMap.Size(), 6u);
  ASSERT_EQ(world.TileMap.Size(), 6u);
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(world.CollisionMap[k], 0);
    EXPECT_EQ(world.TileMap[k], 0);
  }
}

TEST_F(Generation, RockTilesTakeTheKindsBaseMaskAndParity) {
  const World world = Generate(MakeLayout({
      "bgpr",
      ".b..",
  }));
  EXPECT_EQ(world.TileMap.At(0, 0), 128 + (1 + 2 + 8));           // blue joins the green on its right
  EXPECT_EQ(world.TileMap.At(1, 0), 192 + 1 + 16);                // green joins only green
  EXPECT_EQ(world.TileMap.At(2, 0), 256 + (1 + 2 + 8));           // purple joins any rock
  EXPECT_EQ(world.TileMap.At(3, 0), 320 + (1 + 2) + 16);          // grey refuses purple
  EXPECT_EQ(world.TileMap.At(1, 1), 128 + (1 + 4) + 16 + 32);     // odd column and odd row
  for (int column = 0; column < 4; ++column) EXPECT_EQ(world.CollisionMap.At(column, 0), kCellRock);
  EXPECT_EQ(world.CollisionMap.At(1, 1), kCellRock);
  EXPECT_EQ(world.CollisionMap.At(0, 1), 0);
  EXPECT_EQ(world.TileMap.At(0, 1), 0);
  EXPECT_EQ(world.Enemies.Count(), 0);  // blue rock has blue >= 128, but rock is tested first
}

TEST_F(Generation, AnUnknownRockColourIsRockDrawnAsBlue) {
  const World world = Generate(MakeLayout({
      "x?",
      "..",
  }));
  EXPECT_EQ(world.CollisionMap.At(0, 0), kCellRock);
  EXPECT_EQ(world.TileMap.At(0, 0), 128 + 1 + 8);
  // A colour outside the code with no rock or enemy bit is empty.
  EXPECT_EQ(world.CollisionMap.At(1, 0), 0);
  EXPECT_EQ(world.TileMap.At(1, 0), 0);
}

TEST_F(Generation, TheStartTile547IsTheFirstCheckpointAndPadsBlock) {
  World world = *prepared_;
  world.checkpointColumn = 99;
  world.checkpointRow = 99;
  GenerateWorld(world, MakeLayout({
      ".S.C.C",
      ".bbb..",
  }));
  EXPECT_EQ(world.TileMap.At(1, 0), kTileCheckpointCurrent);
  EXPECT_EQ(world.checkpointColumn, 1);
  EXPECT_EQ(world.checkpointRow, 0);
  EXPECT_EQ(world.TileMap.At(3, 0), kTileCheckpoint);
  EXPECT_EQ(world.TileMap.At(5, 0), kTileCheckpoint);
  // Pads on rock read 3; a pad over air reads 2 and blocks all the same.
  EXPECT_EQ(world.CollisionMap.At(1, 1), kCellPad + kCellRock);
  EXPECT_EQ(world.CollisionMap.At(3, 1), kCellPad + kCellRock);
  EXPECT_EQ(world.CollisionMap.At(5, 1), kCellPad);
  EXPECT_EQ(world.TileMap.At(5, 1), 0);
  EXPECT_NE(CellAt(world, 5 * 4096 + 100, 4096 + 100), 0);
  EXPECT_EQ(CellAt(world, 4 * 4096 + 100, 4096 + 100), 0);
  EXPECT_EQ(world.CollisionMap.At(1, 0), 0);  // the markers themselves do not block
}

TEST_F(Generation, HazardsHangFirstThenStandAndFlagTheirBase) {
  const World world = Generate(MakeLayout({
      "b.b.",
      "HHHH",
      "bb..",
  }));
  // Rock above and below: hangs, and the rock below keeps a plain 1.
  EXPECT_EQ(world.TileMap.At(0, 1), kTileHazardHanging);
  EXPECT_EQ(world.CollisionMap.At(0, 0), kCellHazardBelow);  // 4: the rock bit is replaced
  EXPECT_EQ(world.CollisionMap.At(0, 2), kCellRock);
  // Rock below only: stands, and the rock adds its 1 to the flag: 9.
  EXPECT_EQ(world.TileMap.At(1, 1), kTileHazardStanding);
  EXPECT_EQ(world.CollisionMap.At(1, 2), kCellHazardOnTop + kCellRock);
  // Rock above only: hangs.
  EXPECT_EQ(world.TileMap.At(2, 1), kTileHazardHanging);
  EXPECT_EQ(world.CollisionMap.At(2, 0), kCellHazardBelow);
  // No rock: nothing at all.
  EXPECT_EQ(world.TileMap.At(3, 1), 0);
  EXPECT_EQ(world.CollisionMap.At(3, 0), 0);
  EXPECT_EQ(world.CollisionMap.At(3, 2), 0);
  // The hazard cell itself does not block; its base does, and the flags show.
  EXPECT_EQ(world.CollisionMap.At(0, 1), 0);
  EXPECT_EQ(CellAt(world, 2048, 2048) & kCellHazardBelow, kCellHazardBelow);
  EXPECT_EQ(CellAt(world, 4096 + 2048, 2 * 4096 + 2048) & kCellHazardOnTop, kCellHazardOnTop);
}

TEST_F(Generation, WritesOffTheMapAreSkipped) {
  const World world = Generate(MakeLayout({
      "H.b..H.",
      "b.H...b",
      "S.bHC.H",
  }));
  // A start and a checkpoint on the last row have no pad; column-major
  // storage would otherwise put it in the next column's first row.
  const std::int32_t expected[7][3] = {
      {0, 9, 0},  // row-0 hazard stands on the rock below; the start has no pad
      {0, 0, 0},
      {4, 0, 1},  // hanging from row 0
      {0, 0, 0},  // a last-row hazard with nothing above
      {0, 0, 0},  // a last-row checkpoint
      {0, 0, 0},  // a row-0 hazard with nothing below
      {0, 4, 0},  // a last-row hazard hangs from the rock above
  };
  for (int column = 0; column < 7; ++column) {
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(world.CollisionMap.At(column, row), expected[column][row]) << column << "," << row;
    }
  }
  EXPECT_EQ(world.TileMap.At(0, 0), kTileHazardStanding);
  EXPECT_EQ(world.TileMap.At(5, 0), 0);
  EXPECT_EQ(world.TileMap.At(3, 2), 0);
  EXPECT_EQ(world.TileMap.At(6, 2), kTileHazardHanging);
  EXPECT_EQ(world.TileMap.At(0, 2), kTileCheckpointCurrent);
  EXPECT_EQ(world.checkpointRow, 2);
  EXPECT_EQ(world.TileMap.At(4, 2), kTileCheckpoint);
}

TEST_F(Generation, EnemiesTakeCommonAndPerKindValuesAndThePhaseCounter) {
  const World world = Generate(MakeLayout({
      "........",
      "12a3d450",
  }));
  const std::vector<Enemy> enemies = Enemies(world);
  ASSERT_EQ(enemies.size(), 6u);
  struct Want {
    int column, kind, phase, hitPoints, cruiseSpeed, accel, dropCount, shotSpeed;
  };
  const Want want[] = {
      {0, 1, 0, 1, 128, 4, 1, 800},
      {1, 2, 1, 2, 192 + 8, 8, 2, 1024},        // the next pixel: one phase on
      {3, 3, 3, 3, 256 + 24, 12, 4, 1280},      // a decoration between: two on
      {5, 4, 5, 4, 224 + 40, 8, 5, 1280},
      {6, 5, 6, 5, 256 + 48, 16, 6, 1024},
      {7, 0, 7, 0, 0, 0, 0, 0},                 // a blue outside the five kinds
  };
  for (std::size_t k = 0; k < enemies.size(); ++k) {
    const Enemy& e = enemies[k];
    const Want& w = want[k];
    SCOPED_TRACE(k);
    EXPECT_EQ(e.kind, w.kind);
    EXPECT_EQ(e.phase, w.phase);
    EXPECT_EQ(e.hitPoints, w.hitPoints);
    EXPECT_EQ(e.cruiseSpeed, w.cruiseSpeed);
    EXPECT_EQ(e.accel, w.accel);
    EXPECT_EQ(e.dropCount, w.dropCount);
    EXPECT_EQ(e.shotSpeed, w.shotSpeed);
    EXPECT_EQ(e.mode, kEnemyRoaming);
    EXPECT_EQ(e.x, w.column * 4096 + 2048);
    EXPECT_EQ(e.y, 4096 + 2048);
    EXPECT_EQ(e.speed, 0);
    EXPECT_EQ(e.radius, 3072);
    EXPECT_EQ(e.heading, (NoiseAt(world, w.column * 16, 16) >> 4) & 4095);
  }
  EXPECT_EQ(world.TileMap.At(2, 1), kTileDecorationA + 2);
  EXPECT_EQ(world.TileMap.At(4, 1), kTileDecorationB);
  EXPECT_EQ(world.CollisionMap.At(2, 1), 0);
  EXPECT_EQ(world.CollisionMap.At(4, 1), 0);
  // The headings differ with the place: the field is read, not a constant.
  EXPECT_NE(enemies[0].heading, enemies[1].heading);
}

TEST_F(Generation, ThePhaseCounterWrapsAtSixteen) {
  const World world = Generate(MakeLayout({"aaaaaaaaaaaaaaa11a", ".................."}));
  // Fifteen decorations A take phases 0..14; the enemies get 15 and 0.
  EXPECT_EQ(world.TileMap.At(0, 0), 512);
  EXPECT_EQ(world.TileMap.At(14, 0), 526);
  const std::vector<Enemy> enemies = Enemies(world);
  ASSERT_GE(enemies.size(), 2u);
  EXPECT_EQ(enemies[0].phase, 15);
  EXPECT_EQ(enemies[0].cruiseSpeed, 128 + 120);
  EXPECT_EQ(enemies[1].phase, 0);
  EXPECT_EQ(enemies[1].cruiseSpeed, 128);
  EXPECT_EQ(world.TileMap.At(17, 0), 513);
}

TEST_F(Generation, FruitsAreNumberedInScanOrderAndFallFromBelowTheirPixel) {
  const World world = Generate(MakeLayout({
      "..F..",
      "F...F",
      ".F...",
  }));
  const std::vector<Pickup> fruits = Pickups(world);
  ASSERT_EQ(fruits.size(), 4u);
  const int cells[4][2] = {{2, 0}, {0, 1}, {4, 1}, {1, 2}};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(fruits[k].kind, kPickupFruit);
    EXPECT_EQ(fruits[k].variant, k + 1);
    EXPECT_EQ(fruits[k].x, cells[k][0] * 4096 + 2048);
    EXPECT_EQ(fruits[k].y, cells[k][1] * 4096 + 6144);
    EXPECT_EQ(fruits[k].vx, 0);
    EXPECT_EQ(fruits[k].vy, 0);
    EXPECT_EQ(fruits[k].timer, 0);
  }
  EXPECT_EQ(world.Pickups.Current()->variant, 4);  // the cursor stays on the last insert
  for (std::size_t k = 0; k < world.TileMap.Size(); ++k) EXPECT_EQ(world.TileMap[k], 0);
}

TEST_F(Generation, TheSameLayoutGivesTheSameWorld) {
  const LayoutImage layout = MakeLayout({
      "..F.1.a.",
      ".S..2.C.",
      "bbgg.Hpr",
      "bbggd.pr",
  });
  const World a = Generate(layout);
  const World b = Generate(layout);
  EXPECT_EQ(WorldDigest(a), WorldDigest(b));
  World copy = a;
  EXPECT_EQ(WorldDigest(copy), WorldDigest(a));
}

// ---- the layout image ----

TEST(DecodeLayout, PixelsAreColourPackOfTheImage) {
  const LayoutImage layout = MakeLayout({"bgS.", "H1aF"});
  LayoutImage decoded;
  ASSERT_TRUE(DecodeLayout(testing::LayoutPng(layout), decoded));
  EXPECT_EQ(decoded.width, 4);
  EXPECT_EQ(decoded.height, 2);
  EXPECT_EQ(decoded.pixels, layout.pixels);
  EXPECT_EQ(decoded.At(2, 0), ColourPack(0, 255, 255));
  EXPECT_EQ(decoded.At(0, 1), ColourPack(127, 0, 0));
}

TEST(DecodeLayout, RefusesWhatIsNotAnImage) {
  const unsigned char junk[] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
  LayoutImage decoded;
  EXPECT_FALSE(DecodeLayout(junk, decoded));
  EXPECT_EQ(decoded.width, 0);
}

TEST(EmbeddedLayout, IsTheEmbeddedImageOrEmptyWithoutOne) {
  const LayoutImage& layout = EmbeddedLayout();
  EXPECT_EQ(&layout, &EmbeddedLayout());  // decoded once
  if (FindEmbeddedFile("world.png") == nullptr) {
    EXPECT_EQ(layout.width, 0);
    EXPECT_EQ(layout.height, 0);
    World world;
    GenerateWorld(world);  // an empty world, no crash
    EXPECT_EQ(world.WorldWidth, 0);
    EXPECT_EQ(world.CollisionMap.Size(), 0u);
    EXPECT_EQ(world.Enemies.Count(), 0);
    return;
  }
  EXPECT_EQ(layout.width, 512);
  EXPECT_EQ(layout.height, 512);
  EXPECT_EQ(CheckLayout(layout), "");
}

// ---- CheckLayout ----

// One start, one checkpoint, eight fruits: every check passes.
LayoutImage GoodLayout() {
  return MakeLayout({
      "FFFFFFFF..",
      "...S..C...",
      "bbbbbbbbbb",
  });
}

void Put(LayoutImage& layout, int column, int row, char c) {
  layout.pixels[static_cast<std::size_t>(row) * layout.width + column] = LayoutColour(c);
}

::testing::AssertionResult RefusedFor(const LayoutImage& layout, const std::string& words) {
  const std::string reason = CheckLayout(layout);
  if (reason.find(words) != std::string::npos && reason.find('\n') == std::string::npos) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "reason \"" << reason << "\" lacks \"" << words << "\"";
}

TEST(CheckLayout, AcceptsALayoutWithinTheLimits) {
  EXPECT_EQ(CheckLayout(GoodLayout()), "");
  EXPECT_EQ(CheckLayout(MakeLayout({
                "FFFFFFFFC...",
                "Sgpr1235adH.",
                "bbbbbbbbbbbb",
            })),
            "");  // all fifteen colours
}

TEST(CheckLayout, RefusesAColourOutsideTheFifteen) {
  LayoutImage layout = GoodLayout();
  Put(layout, 8, 1, '?');
  EXPECT_TRUE(RefusedFor(layout, "colour (1, 2, 3) at column 8, row 1"));
  Put(layout, 8, 1, 'x');  // rock to the generator, but not one of our four
  EXPECT_TRUE(RefusedFor(layout, "colour (200, 10, 10)"));
  Put(layout, 8, 1, '4');  // kind 4: the code knows it, our layout has none
  EXPECT_TRUE(RefusedFor(layout, "colour (0, 0, 176)"));
}

TEST(CheckLayout, RefusesAHazardOnTheFirstRow) {
  LayoutImage layout = GoodLayout();
  Put(layout, 9, 0, 'H');
  EXPECT_TRUE(RefusedFor(layout, "hazard at column 9, row 0"));
}

TEST(CheckLayout, RefusesAStartCheckpointOrHazardOnTheLastRow) {
  LayoutImage start = GoodLayout();
  Put(start, 3, 1, '.');
  Put(start, 4, 2, 'S');
  EXPECT_TRUE(RefusedFor(start, "start at column 4, row 2"));
  LayoutImage checkpoint = GoodLayout();
  Put(checkpoint, 9, 2, 'C');
  EXPECT_TRUE(RefusedFor(checkpoint, "checkpoint at column 9, row 2"));
  LayoutImage hazard = GoodLayout();
  Put(hazard, 0, 2, 'H');
  EXPECT_TRUE(RefusedFor(hazard, "hazard at column 0, row 2"));
}

TEST(CheckLayout, RefusesNoStartAndASecondStart) {
  LayoutImage none = GoodLayout();
  Put(none, 3, 1, '.');
  EXPECT_TRUE(RefusedFor(none, "no start"));
  LayoutImage two = GoodLayout();
  Put(two, 8, 1, 'S');
  EXPECT_TRUE(RefusedFor(two, "second start at column 8, row 1"));
}

TEST(CheckLayout, RefusesAFruitCountOtherThanEight) {
  LayoutImage seven = GoodLayout();
  Put(seven, 0, 0, '.');
  EXPECT_TRUE(RefusedFor(seven, "7 fruits"));
  LayoutImage nine = GoodLayout();
  Put(nine, 8, 1, 'F');
  EXPECT_TRUE(RefusedFor(nine, "9 fruits"));
}

}  // namespace
}  // namespace quorin
