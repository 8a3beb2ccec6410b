// The world painter, the committed layout it made, and the reach check that
// guards both: the hero's movement, the collision cells, the search.
#include <png.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/worldpaint/design.h"
#include "tools/worldpaint/layout.h"
#include "tools/worldpaint/painter.h"
#include "tools/worldpaint/reach.h"

namespace quorin::worldpaint {
namespace {

const std::string kCommitted = std::string(QUORIN_SOURCE_DIR) + "/assets/world.png";

Layout LoadCommitted() {
  Layout layout;
  EXPECT_TRUE(ReadLayoutPng(kCommitted, layout));
  return layout;
}

bool HasProblem(const ReachReport& r, const std::string& part) {
  for (const std::string& p : r.problems)
    if (p.find(part) != std::string::npos) return true;
  return false;
}

// A small closed cave: rock border, a floor on `floorRow`, the start on it.
Layout SmallCave(int width, int height, int floorRow, int startColumn) {
  Layout l(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (x == 0 || y == 0 || x == width - 1 || y >= floorRow) l.Set(x, y, kBlueRock);
  l.Set(startColumn, floorRow - 1, kStart);
  return l;
}

// Rock from (x0, y0) to (x1, y1) inclusive.
void Block(Layout& l, int x0, int y0, int x1, int y1) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) l.Set(x, y, kBlueRock);
}

// --- The committed image ---------------------------------------------------------

struct StoredPng {
  int width = 0, height = 0, bitDepth = 0, colourType = -1;
  bool transparency = false;
  std::vector<std::uint32_t> palette;
};

struct Bytes {
  std::vector<unsigned char> data;
  std::size_t pos = 0;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t n) {
  auto* b = static_cast<Bytes*>(png_get_io_ptr(png));
  if (b->pos + n > b->data.size()) png_error(png, "read past end");
  std::copy_n(b->data.begin() + static_cast<std::ptrdiff_t>(b->pos), n, out);
  b->pos += n;
}

StoredPng ReadHeader(const std::string& path) {
  StoredPng s;
  Bytes bytes;
  std::ifstream in(path, std::ios::binary);
  bytes.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return StoredPng{};
  }
  png_set_read_fn(png, &bytes, ReadBytes);
  png_read_info(png, info);
  s.width = static_cast<int>(png_get_image_width(png, info));
  s.height = static_cast<int>(png_get_image_height(png, info));
  s.bitDepth = png_get_bit_depth(png, info);
  s.colourType = png_get_color_type(png, info);
  s.transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_colorp colours = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &colours, &count))
    for (int i = 0; i < count; ++i) s.palette.push_back(Pack(colours[i].red, colours[i].green, colours[i].blue));
  png_destroy_read_struct(&png, &info, nullptr);
  return s;
}

TEST(WorldLayoutImage, IsAnEightBitPalettedImageOfExactlyTheFifteenColours) {
  const StoredPng s = ReadHeader(kCommitted);
  EXPECT_EQ(s.width, 512);
  EXPECT_EQ(s.height, 512);
  EXPECT_EQ(s.bitDepth, 8);
  EXPECT_EQ(s.colourType, PNG_COLOR_TYPE_PALETTE);
  EXPECT_FALSE(s.transparency);
  const std::vector<std::uint32_t> expected{
      Pack(0, 0, 0),     Pack(128, 128, 192), Pack(128, 192, 128), Pack(128, 32, 128), Pack(128, 128, 128),
      Pack(0, 255, 255), Pack(0, 255, 128),   Pack(127, 0, 0),     Pack(0, 0, 128),    Pack(0, 0, 144),
      Pack(0, 0, 160),   Pack(0, 0, 240),     Pack(0, 96, 0),      Pack(0, 128, 0),    Pack(0, 192, 0)};
  EXPECT_EQ(s.palette, expected);
}

TEST(WorldLayoutImage, LandmarksSitOnTheirPixelsAndFruitsComeInScanOrder) {
  const Layout l = LoadCommitted();
  EXPECT_EQ(l.At(kStartColumn, kStartRow), kStart);
  std::vector<std::pair<int, int>> fruits;
  for (int y = 0; y < l.height; ++y)
    for (int x = 0; x < l.width; ++x)
      if (l.At(x, y) == kFruit) fruits.emplace_back(x, y);
  const std::vector<std::pair<int, int>> expected{{463, 15}, {235, 83}, {3, 139},  {479, 165},
                                                  {232, 242}, {95, 334}, {336, 489}, {10, 505}};
  EXPECT_EQ(fruits, expected);
}

TEST(WorldLayoutImage, EveryFigureKeepsItsMargin) {
  const Figures f = CountFigures(LoadCommitted());
  EXPECT_EQ(CheckMargins(f), std::vector<std::string>{});
  EXPECT_EQ(f.enemies, 2768);
  EXPECT_EQ(f.checkpoints, f.padsOnRock);
  EXPECT_EQ(f.hazards, f.hanging + f.standing);
}

TEST(WorldLayoutImage, KeepsItsWritesInsideTheMapAndItsThingsWhereTheyBelong) {
  const Layout l = LoadCommitted();
  for (int x = 0; x < l.width; ++x) {
    EXPECT_NE(l.At(x, 0), kHazard);
    for (std::uint32_t c : {kStart, kCheckpoint, kHazard}) EXPECT_NE(l.At(x, l.height - 1), c) << x;
  }
  int misplaced = 0;
  for (int y = 1; y < l.height - 1; ++y) {
    for (int x = 1; x < l.width - 1; ++x) {
      const std::uint32_t p = l.At(x, y);
      if (IsEnemy(p))
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) misplaced += IsRock(l.At(x + dx, y + dy)) ? 1 : 0;
      if (p == kDecorationA && !IsRock(l.At(x, y + 1))) ++misplaced;
      if (p == kDecorationB && !IsRock(l.At(x, y - 1))) ++misplaced;
      if (p == kFruit && l.At(x, y + 1) != kEmpty) ++misplaced;
    }
  }
  EXPECT_EQ(misplaced, 0);
}

TEST(WorldLayoutImage, StartAreaHoldsOnlyAFewWeakMonsters) {
  const Layout l = LoadCommitted();
  int weak = 0, strong = 0, hazards = 0;
  // The start cavern and its doorways.
  for (int y = kStartRow - 24; y <= kStartRow + 24; ++y) {
    for (int x = kStartColumn - 24; x <= kStartColumn + 24; ++x) {
      const std::uint32_t p = l.At(x, y);
      if (p == kEnemy1) ++weak;
      else if (IsEnemy(p)) ++strong;
      else if (p == kHazard) ++hazards;
    }
  }
  EXPECT_GE(weak, 2);
  EXPECT_LE(weak, 10);
  EXPECT_EQ(strong, 0);
  EXPECT_EQ(hazards, 0);
}

// Figures that sit exactly on our world's targets.
Figures OnTarget() {
  Figures f;
  f.rock = 112349;
  f.blue = 36306;
  f.green = 42585;
  f.purple = 28727;
  f.grey = 4731;
  f.starts = 1;
  f.checkpoints = f.padsOnRock = 91;
  f.hanging = 238;
  f.standing = 172;
  f.hazards = 410;
  f.enemies = 2768;
  const int kinds[5]{1735, 607, 204, 0, 222};
  for (int k = 0; k < 5; ++k) f.enemyKinds[k] = kinds[k];
  f.decorationA = 4050;
  f.decorationB = 3067;
  f.fruits = 8;
  return f;
}

TEST(WorldMargins, RockMayLieTenPercentEitherSideAndNoFurther) {
  EXPECT_EQ(CheckMargins(OnTarget()), std::vector<std::string>{});
  for (int rock : {101115, 123583}) {
    Figures f = OnTarget();
    f.rock = rock;
    EXPECT_EQ(CheckMargins(f), std::vector<std::string>{}) << rock;
  }
  for (int rock : {101114, 123584}) {
    Figures f = OnTarget();
    f.rock = rock;
    EXPECT_EQ(CheckMargins(f).size(), 1u) << rock;
  }
}

TEST(WorldMargins, CheckpointsNeedEightyAtLeastAndFifteenPercentAtMost) {
  auto problems = [](int checkpoints) {
    Figures f = OnTarget();
    f.checkpoints = f.padsOnRock = checkpoints;
    return CheckMargins(f);
  };
  EXPECT_TRUE(problems(80).empty());
  EXPECT_TRUE(problems(104).empty());
  EXPECT_EQ(problems(79), std::vector<std::string>{"only 79 checkpoints"});
  EXPECT_EQ(problems(105).size(), 1u);
}

TEST(WorldMargins, EnemyKindsAndFruitsMustBeExactAndCheckpointsStandOnRock) {
  Figures kinds = OnTarget();
  kinds.enemyKinds[2] = 205;
  kinds.enemyKinds[4] = 221;
  EXPECT_EQ(CheckMargins(kinds).size(), 2u);
  Figures fruits = OnTarget();
  fruits.fruits = 7;
  EXPECT_EQ(CheckMargins(fruits), std::vector<std::string>{"fruits 7 is not 8"});
  Figures ledge = OnTarget();
  ledge.padsOnRock = 90;
  EXPECT_EQ(CheckMargins(ledge), std::vector<std::string>{"checkpoints off rock 1 is not 0"});
}

TEST(WorldPainter, PaintsTheSameImageOnEveryRunAndItIsTheCommittedOne) {
  const Painting first = PaintWorld();
  EXPECT_EQ(first.problems, std::vector<std::string>{});
  EXPECT_TRUE(first.reach.ok);
  const Painting second = PaintWorld();
  EXPECT_TRUE(first.layout.px == second.layout.px);
  const Layout committed = LoadCommitted();
  EXPECT_TRUE(first.layout.px == committed.px) << "run quorin-worldpaint assets docs and commit the result";
}

TEST(WorldLayoutPng, WritesTheFifteenColoursBackExactlyAndRefusesAnyOther) {
  Layout l(15, 2);
  for (int i = 0; i < 15; ++i) l.Set(i, 0, kLayoutColours[static_cast<std::size_t>(i)]);
  const std::string path = ::testing::TempDir() + "worldpaint_round_trip.png";
  ASSERT_TRUE(WriteLayoutPng(path, l));
  Layout back;
  ASSERT_TRUE(ReadLayoutPng(path, back));
  EXPECT_TRUE(back.px == l.px);
  l.Set(3, 1, kEnemy4);  // kind 4 has no pixel in our world, so no palette entry
  EXPECT_FALSE(WriteLayoutPng(path, l));
  std::remove(path.c_str());
}

// --- Collision cells ----------------------------------------------------------

TEST(CollisionCells, PadsAndHazardBasesTakeTheirFlags) {
  Layout l(8, 8);
  Block(l, 0, 5, 7, 7);
  Block(l, 0, 0, 7, 1);
  l.Set(1, 4, kCheckpoint);
  l.Set(2, 4, kStart);
  l.Set(3, 4, kHazard);           // stands on the floor
  l.Set(4, 2, kHazard);           // hangs from the roof
  l.Set(5, 6, kCheckpoint);       // inside rock: its pad is row 7
  l.Set(6, 3, kCheckpoint);       // over empty air: an invisible ledge
  const CollisionGrid g = BuildCollision(l);
  EXPECT_EQ(g.Cell(1, 5), 3);
  EXPECT_EQ(g.Cell(2, 5), 3);
  EXPECT_EQ(g.Cell(3, 5), 9);
  EXPECT_EQ(g.Cell(4, 1), 4);
  EXPECT_EQ(g.Cell(5, 7), 3);
  EXPECT_EQ(g.Cell(6, 4), 2);
  EXPECT_EQ(g.Cell(0, 0), 1);
  EXPECT_EQ(g.Cell(3, 3), 0);
}

TEST(CollisionCells, HazardBetweenTwoRocksHangsAndOutOfMapWritesAreSkipped) {
  Layout l(4, 4);
  Block(l, 0, 1, 3, 1);
  Block(l, 0, 3, 3, 3);
  l.Set(1, 2, kHazard);
  l.Set(2, 0, kHazard);     // row 0: nothing above to hang from, stands on row 1
  l.Set(0, 3, kCheckpoint);  // last row: its pad would be outside
  const CollisionGrid g = BuildCollision(l);
  EXPECT_EQ(g.Cell(1, 1), 4);
  EXPECT_EQ(g.Cell(1, 3), 1);
  EXPECT_EQ(g.Cell(2, 1), 9);
  EXPECT_EQ(g.Cell(0, 3), 0);
  EXPECT_EQ(g.CellAt(-1, 0), kOutsideCell);
  EXPECT_EQ(g.CellAt(4 * kCellUnits, 0), kOutsideCell);
  EXPECT_EQ(g.CellAt(4 * kCellUnits - 1, 3 * kCellUnits), 1);
}

// --- The hero's movement ------------------------------------------------------

TEST(HeroMovement, MeasuredReachMatchesTheRules) {
  const Measured m = MeasureReach();
  // A held jump rises about 4.4 cells; the double jump about twice that.
  EXPECT_GT(m.jumpRise, 4 * kCellUnits + kCellUnits / 4);
  EXPECT_LT(m.jumpRise, 4 * kCellUnits + kCellUnits / 2);
  EXPECT_GT(m.doubleRise, 2 * m.jumpRise - kCellUnits);
  EXPECT_LT(m.doubleRise, 2 * m.jumpRise);
  // Hovering burns its 48 frames at up to 1280 units a frame on top.
  EXPECT_GT(m.hoverRise, m.doubleRise + 10 * kCellUnits);
  EXPECT_LT(m.hoverRise, m.doubleRise + 48 * 1280);
  // The check's fuel reserve costs about 8 frames of 1280 units of rise.
  EXPECT_LT(m.checkedHoverRise, m.hoverRise - 2 * kCellUnits);
  EXPECT_GT(m.checkedHoverRise, m.hoverRise - 8 * 1280 - kCellUnits);
  EXPECT_GT(m.jumpRunFull, m.jumpRun);
  EXPECT_GT(m.doubleRun, m.jumpRunFull);
}

TEST(HeroMovement, WalkingFromRestGainsSeventyTwoAFrameUpToTheLimit) {
  Layout l = SmallCave(200, 10, 8, 2);
  const CollisionGrid g = BuildCollision(l);
  Hero h;
  h.x = 3 * kCellUnits;
  h.y = 8 * kCellUnits - kHeroHalfHeight - 1;
  bool landed = false;
  HeroInput right;
  right.dirX = 1;
  StepHero(h, right, g, landed);
  EXPECT_EQ(h.vx, 72);
  EXPECT_TRUE(landed);
  EXPECT_EQ(h.jumpsLeft, 2);
  for (int i = 0; i < 30; ++i) StepHero(h, right, g, landed);
  EXPECT_EQ(h.vx, 1280);
  HeroInput none;
  for (int i = 0; i < 4; ++i) StepHero(h, none, g, landed);
  EXPECT_EQ(h.vx, 0);
}

TEST(HeroMovement, LandingOnAStandingHazardAndBumpingAHangingOneHurt) {
  Layout l = SmallCave(10, 12, 10, 1);
  l.Set(5, 9, kHazard);  // stands on the floor under column 5
  Block(l, 7, 1, 8, 4);
  l.Set(7, 5, kHazard);  // hangs from the block above column 7
  const CollisionGrid g = BuildCollision(l);
  bool landed = false;
  Hero falling;
  falling.x = 5 * kCellUnits + 2048;
  falling.y = 6 * kCellUnits;
  falling.jumpsLeft = 1;
  int hurt = 0;
  for (int i = 0; i < 40 && hurt == 0; ++i) hurt = StepHero(falling, HeroInput{}, g, landed);
  EXPECT_EQ(hurt, 1);
  Hero jumping;
  jumping.x = 7 * kCellUnits + 2048;
  jumping.y = 10 * kCellUnits - kHeroHalfHeight - 1;
  HeroInput jump;
  jump.held = jump.pressed = true;
  hurt = StepHero(jumping, jump, g, landed);
  jump.pressed = false;
  for (int i = 0; i < 40 && hurt == 0; ++i) hurt = StepHero(jumping, jump, g, landed);
  EXPECT_EQ(hurt, 2);
}

// --- The reach check ----------------------------------------------------------

TEST(ReachCheck, PassesOnTheCommittedWorld) {
  const ReachReport r = CheckReach(LoadCommitted());
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.problems, std::vector<std::string>{});
  EXPECT_EQ(r.fruits, 8);
  EXPECT_EQ(r.checkpoints, 91);
  EXPECT_EQ(r.returning, r.stands);
}

TEST(ReachCheck, FailsOnTheCommittedWorldWithOneFruitSealedInRock) {
  Layout l = LoadCommitted();
  // Fruit 5 keeps its pixel, the open cell it falls into and a floor, all
  // walled in.
  const Spot f = kFruits[4];
  for (int y = f.row - 3; y <= f.row + 4; ++y)
    for (int x = f.column - 3; x <= f.column + 3; ++x)
      if (!(x == f.column && y >= f.row && y <= f.row + 2)) l.Set(x, y, kGreenRock);
  const ReachReport r = CheckReach(l);
  EXPECT_FALSE(r.ok);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_TRUE(HasProblem(r, "fruit 5 at 232,242 cannot be reached")) << r.problems[0];
}

TEST(ReachCheck, ALedgeAboveTheHoverIsOutOfReachAndOneWithinItIsNot) {
  // A lone ledge in a tall hall: the double jump with the hover rises about
  // 23 cells (20.6 with the fuel the check allows), so a ledge 17 cells up is
  // reached and one 26 cells up is not.
  for (int rise : {17, 26}) {
    Layout l = SmallCave(24, 40, 38, 3);
    const int ledge = 38 - rise;
    Block(l, 8, ledge, 14, ledge);
    l.Set(11, ledge - 3, kFruit);
    const ReachReport r = CheckReach(l);
    EXPECT_EQ(r.ok, rise == 17) << rise;
    if (rise == 26) {
      EXPECT_TRUE(HasProblem(r, "cannot be reached"));
    }
  }
}

TEST(ReachCheck, APitTooDeepToClimbIsATrap) {
  // The fruit lies at the bottom of a narrow 30-cell pit: the hero falls in
  // and cannot come back up.
  Layout l = SmallCave(20, 50, 10, 3);
  for (int y = 10; y < 44; ++y)
    for (int x = 9; x <= 11; ++x) l.Set(x, y, kEmpty);
  l.Set(10, 40, kFruit);
  const ReachReport r = CheckReach(l);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(HasProblem(r, "fruit 1 at 10,40 is a trap")) << (r.problems.empty() ? "" : r.problems[0]);
}

TEST(ReachCheck, HazardsOnTheOnlyLedgeOnTheWayCutTheRoute) {
  // The fruit's ledge lies 24 cells up, beyond the hover, so the hero must
  // land on a middle ledge first; with hazards standing all over that ledge
  // the route is cut.
  auto hall = [](bool guarded) {
    Layout l = SmallCave(30, 40, 38, 3);
    Block(l, 8, 26, 12, 26);
    Block(l, 16, 14, 22, 14);
    l.Set(19, 11, kFruit);
    if (guarded)
      for (int x = 8; x <= 12; ++x) l.Set(x, 25, kHazard);
    return l;
  };
  const ReachReport open = CheckReach(hall(false));
  EXPECT_TRUE(open.ok) << (open.problems.empty() ? "" : open.problems[0]);
  const ReachReport guarded = CheckReach(hall(true));
  EXPECT_FALSE(guarded.ok);
  EXPECT_TRUE(HasProblem(guarded, "fruit 1 at 19,11 cannot be reached"));
}

TEST(ReachCheck, RefusesALayoutWithoutExactlyOneStart) {
  Layout two = SmallCave(20, 10, 8, 3);
  two.Set(10, 7, kStart);
  EXPECT_TRUE(HasProblem(CheckReach(two), "2 start markers"));
  Layout none = SmallCave(20, 10, 8, 3);
  none.Set(3, 7, kEmpty);
  EXPECT_TRUE(HasProblem(CheckReach(none), "0 start markers"));
}

// --- The design figures ---------------------------------------------------------

std::map<std::string, std::string> FigureMap(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> m;
  for (const std::string& l : lines) {
    const std::size_t eq = l.find(" = ");
    if (eq != std::string::npos) m[l.substr(0, eq)] = l.substr(eq + 3);
  }
  return m;
}
long Number(const std::map<std::string, std::string>& m, const std::string& name) {
  const auto it = m.find(name);
  return it == m.end() ? -1 : std::stol(it->second);
}

TEST(DesignFigures, OfTheCommittedWorldAreTheOnesInTheDocsAndMeetItsGoals) {
  const std::vector<std::string> lines = DesignFigures(LoadCommitted());
  std::ifstream docs(std::string(QUORIN_SOURCE_DIR) + "/docs/world-figures.txt");
  std::vector<std::string> stored;
  for (std::string l; std::getline(docs, l);) stored.push_back(l);
  for (const std::string& l : lines)
    EXPECT_NE(std::find(stored.begin(), stored.end(), l), stored.end()) << l << ": run quorin-worldpaint assets docs";
  const auto f = FigureMap(lines);
  EXPECT_LE(Number(f, "self_similar_windows_percent"), 10);
  EXPECT_LE(Number(f, "lattice_rows_peak_permille"), 50);
  EXPECT_GE(Number(f, "room_area_largest_to_smallest"), 10);
  EXPECT_GE(Number(f, "region_explains_room_shape_percent"), 30);
  EXPECT_GE(Number(f, "great_shafts"), 3);
  EXPECT_GE(Number(f, "long_galleries"), 2);
  EXPECT_GE(Number(f, "fruit_arenas"), 2);
  EXPECT_EQ(Number(f, "fruit_room_shapes_distinct"), 8);
  EXPECT_GE(Number(f, "hazards_most_on_a_screen"), 30);
  EXPECT_GE(Number(f, "secret_fruits"), 2);
  EXPECT_GE(Number(f, "platform_shapes"), 8);
  EXPECT_LE(Number(f, "platform_commonest_shape_percent"), 50);
  EXPECT_EQ(Number(f, "kind2_first_band"), 2);
  EXPECT_EQ(Number(f, "kind3_first_band"), 3);
  EXPECT_EQ(Number(f, "kind5_first_band"), 4);
  EXPECT_GE(Number(f, "bands_mixing_two_kinds"), 4);
  for (int b = 1; b < 5; ++b)
    EXPECT_LT(Number(f, "band" + std::to_string(b) + "_strength_per_1000_cells"),
              Number(f, "band" + std::to_string(b + 1) + "_strength_per_1000_cells")) << b;
  EXPECT_LT(Number(f, "band1_hazards_per_10000_cells"), Number(f, "band5_hazards_per_10000_cells"));
  EXPECT_GE(Number(f, "quiet_screens_percent"), 10);
  EXPECT_LE(Number(f, "checkpoint_farthest_steps"), 200);
  EXPECT_GE(Number(f, "checkpoint_within_120_percent"), 90);
  EXPECT_GE(Number(f, "landmarks"), 12);
  EXPECT_GE(Number(f, "dead_end_percent"), 10);
  EXPECT_LE(Number(f, "dead_end_percent"), 30);
  EXPECT_GT(Number(f, "dead_ends_rewarded_percent"), 50);
}

// A shaft 60 high with ledges, a gallery 120 long, and a fruit behind a
// crawl two cells high off the gallery's end.
TEST(DesignFigures, FindShaftsGalleriesPlatformsAndACrawlToASecret) {
  Layout l(200, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) l.Set(x, y, kBlueRock);
  auto open = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) l.Set(x, y, kEmpty);
  };
  open(10, 80, 130, 89);   // the gallery, floor at row 90
  open(20, 20, 28, 79);    // the shaft above it
  for (int row = 30; row < 80; row += 10) Block(l, row % 20 ? 21 : 25, row, row % 20 ? 23 : 27, row);
  open(131, 87, 150, 89);  // a crawl three high, then the nook
  open(151, 80, 160, 89);
  l.Set(70, 89, kStart);
  l.Set(155, 86, kFruit);
  const auto f = FigureMap(DesignFigures(l));
  EXPECT_EQ(Number(f, "great_shafts"), 1);
  EXPECT_EQ(Number(f, "long_galleries"), 1);
  EXPECT_EQ(Number(f, "platforms"), 5);
  EXPECT_EQ(Number(f, "platform_shapes"), 1);
  EXPECT_EQ(Number(f, "secret_fruits"), 1);
  // With the crawl opened into a passage, the fruit is no secret.
  open(131, 82, 150, 89);
  EXPECT_EQ(Number(FigureMap(DesignFigures(l)), "secret_fruits"), 0);
}

}  // namespace
}  // namespace quorin::worldpaint
