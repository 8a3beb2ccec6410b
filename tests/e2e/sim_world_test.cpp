// quorin-sim world and map, run as a separate process on layouts made here
// and on the embedded layout.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/embedded.h"
#include "runtime/png_codec.h"
#include "runtime/sha256.h"
#include "tests/support/layout.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "world/generation.h"

namespace quorin {
namespace {

using testing::MakeLayout;

void WriteLayout(const std::string& path, const LayoutImage& layout) {
  const std::vector<unsigned char> png = testing::LayoutPng(layout);
  testing::WriteFile(path, std::string(png.begin(), png.end()));
}

// SHA-256 of the values as little-endian int32, in the order given.
std::string DigestOf(const std::vector<std::int32_t>& values) {
  Sha256 sha;
  for (std::int32_t value : values) {
    const auto v = static_cast<std::uint32_t>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    sha.Update(bytes, 4);
  }
  return sha.FinishHex();
}

// "name = value" lines into a map, and the names in their order.
std::map<std::string, std::string> Figures(const std::string& out, std::vector<std::string>* order = nullptr) {
  std::map<std::string, std::string> figures;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t eq = line.find(" = ");
    if (eq == std::string::npos) continue;
    figures[line.substr(0, eq)] = line.substr(eq + 3);
    if (order) order->push_back(line.substr(0, eq));
  }
  return figures;
}

const LayoutImage& SmallLayout() {
  static const LayoutImage layout = MakeLayout({
      "Fbb.aF",
      "1Hb.S.",
      "b.bCbd",
      "bH.b.2",
      "bbbbrr",
  });
  return layout;
}

TEST(SimWorld, PrintsTheFiguresInOrder) {
  testing::TempDir dir;
  WriteLayout("layout.png", SmallLayout());
  const testing::CommandResult run = testing::RunSim("world --layout layout.png 2>/dev/null");
  ASSERT_EQ(run.code, 0);
  // The collision map by hand, column by column: the hanging hazard's base
  // (4), the standing one's (9), the start's and the checkpoint's pads (3).
  const std::string collision = DigestOf({
      0, 0, 1, 1, 1,  //
      4, 0, 0, 0, 9,  //
      1, 1, 1, 0, 1,  //
      0, 0, 0, 3, 1,  //
      0, 0, 3, 0, 1,  //
      0, 0, 0, 0, 1,  //
  });
  World world;
  world.noiseField.Create({1024, 1024});  // headings do not reach the maps
  GenerateWorld(world, SmallLayout());
  std::vector<std::int32_t> tiles;
  for (int column = 0; column < 6; ++column) {
    for (int row = 0; row < 5; ++row) tiles.push_back(world.TileMap.At(column, row));
  }
  EXPECT_EQ(run.out,
            "width = 6\nheight = 5\ncheckpoints = 1\nhazards_hanging = 1\nhazards_standing = 1\nenemies = 2\n"
            "rock_blue = 12\nrock_green = 0\nrock_purple = 0\nrock_grey = 2\ndecoration_a = 1\ndecoration_b = 1\n"
            "enemies_kind1 = 1\nenemies_kind2 = 1\nenemies_kind3 = 0\nenemies_kind4 = 0\nenemies_kind5 = 0\n"
            "start = 4,1\nfruits = 0,0 5,0\ncollision_digest = " +
                collision + "\ntile_digest = " + DigestOf(tiles) + "\n");
}

TEST(SimWorld, SameFiguresOnEveryRunAndALayoutOutsideTheLimitsIsNamed) {
  testing::TempDir dir;
  WriteLayout("layout.png", SmallLayout());
  const testing::CommandResult first = testing::RunSim("world --layout layout.png 2>/dev/null");
  const testing::CommandResult second = testing::RunSim("world --layout layout.png 2>/dev/null");
  EXPECT_EQ(first.code, 0);
  EXPECT_EQ(first.out, second.out);
  // Two fruits: generated all the same, with the broken limit on stderr.
  const testing::CommandResult warned = testing::RunSim("world --layout layout.png 2>&1 >/dev/null");
  EXPECT_EQ(warned.out, "quorin-sim: the layout breaks a limit: 2 fruits, not 8\n");
}

TEST(SimWorld, RefusesAMissingLayoutAndStrayArguments) {
  testing::TempDir dir;
  testing::WriteFile("junk.png", "not a picture");
  EXPECT_EQ(testing::RunSim("world --layout none.png 2>/dev/null").code, 1);
  EXPECT_EQ(testing::RunSim("world --layout junk.png 2>/dev/null").code, 1);
  EXPECT_EQ(testing::RunSim("world --layout 2>/dev/null").code, 2);
  EXPECT_EQ(testing::RunSim("world extra 2>/dev/null").code, 2);
  EXPECT_EQ(testing::RunSim("map 2>/dev/null").code, 2);
  EXPECT_EQ(testing::RunSim("map out.png --layout 2>/dev/null").code, 2);
  if (FindEmbeddedFile("world.png") == nullptr) {
    EXPECT_EQ(testing::RunSim("world 2>/dev/null").code, 1);
    EXPECT_EQ(testing::RunSim("map out.png 2>/dev/null").code, 1);
  }
}

std::uint32_t PixelAt(const DecodedImage& image, int x, int y) {
  return image.pixels.Row(y)[x] & kPixelRgbMask;
}

TEST(SimMap, MarksEveryKindOfCellAtOnePixelPerCell) {
  testing::TempDir dir;
  std::vector<std::string> rows(30, std::string(40, '.'));
  rows[29] = std::string(40, 'b');
  rows[28] = std::string(10, 'b') + std::string(10, 'g') + std::string(10, 'p') + std::string(10, 'r');
  rows[27][5] = 'S';
  rows[27][25] = 'C';
  rows[27][15] = 'H';
  rows[10][20] = 'F';
  rows[20][2] = '3';
  LayoutImage layout;
  layout.width = 40;
  layout.height = 30;
  for (const std::string& row : rows) {
    for (char c : row) layout.pixels.push_back(testing::LayoutColour(c));
  }
  WriteLayout("layout.png", layout);
  ASSERT_EQ(testing::RunSim("map map.png --layout layout.png 2>/dev/null").code, 0);
  const std::string bytes = testing::ReadFile("map.png");
  DecodedImage image;
  ASSERT_TRUE(DecodePng(std::vector<unsigned char>(bytes.begin(), bytes.end()), image));
  ASSERT_EQ(image.pixels.width, 40);
  ASSERT_EQ(image.pixels.height, 30);
  const std::uint32_t empty = PixelAt(image, 39, 0);
  // Four rock tones, none of them the empty one (inner rock, away from markers).
  const std::uint32_t tones[4] = {PixelAt(image, 12, 29), PixelAt(image, 12, 28), PixelAt(image, 22, 28),
                                  PixelAt(image, 37, 28)};
  const std::uint32_t blue = PixelAt(image, 34, 29);
  EXPECT_NE(blue, empty);
  for (int a = 0; a < 4; ++a) {
    EXPECT_NE(tones[a], empty);
    for (int b = a + 1; b < 4; ++b) EXPECT_NE(tones[a], tones[b]) << a << " " << b;
  }
  // Hazard, checkpoint, start, enemy and fruit each differ from the rock and the air.
  const std::uint32_t marks[5] = {PixelAt(image, 15, 27), PixelAt(image, 25, 27), PixelAt(image, 5, 27),
                                  PixelAt(image, 2, 20), PixelAt(image, 20, 10)};
  for (int a = 0; a < 5; ++a) {
    EXPECT_NE(marks[a], empty) << a;
    EXPECT_NE(marks[a], blue) << a;
    for (int b = a + 1; b < 5; ++b) EXPECT_NE(marks[a], marks[b]) << a << " " << b;
  }
  // The fruit's number "1" is written beside it, in white.
  int white = 0;
  for (int y = 5; y < 16; ++y) {
    for (int x = 22; x < 28; ++x) white += PixelAt(image, x, y) == 0xFFFFFFu;
  }
  EXPECT_EQ(white, 8);  // the 3 x 5 one has eight lit pixels
}

// Our own layout: the figures the world is designed to. Runs once the layout
// image is embedded.
TEST(SimWorld, OurLayoutHasTheDesignedFigures) {
  if (FindEmbeddedFile("world.png") == nullptr) GTEST_SKIP() << "no world.png is embedded yet";
  const testing::CommandResult run = testing::RunSim("world");
  ASSERT_EQ(run.code, 0);
  std::vector<std::string> order;
  std::map<std::string, std::string> f = Figures(run.out, &order);
  const std::vector<std::string> names = {
      "width", "height", "checkpoints", "hazards_hanging", "hazards_standing", "enemies", "rock_blue",
      "rock_green", "rock_purple", "rock_grey", "decoration_a", "decoration_b", "enemies_kind1", "enemies_kind2",
      "enemies_kind3", "enemies_kind4", "enemies_kind5", "start", "fruits", "collision_digest", "tile_digest"};
  EXPECT_EQ(order, names);
  auto n = [&](const std::string& name) { return std::atoi(f[name].c_str()); };
  auto near = [&](const std::string& name, int target, double margin) {
    EXPECT_GE(n(name), target * (1 - margin)) << name;
    EXPECT_LE(n(name), target * (1 + margin)) << name;
  };
  EXPECT_EQ(n("width"), 512);
  EXPECT_EQ(n("height"), 512);
  EXPECT_EQ(f["start"], "305,157");
  EXPECT_EQ(f["fruits"], "463,15 235,83 3,139 479,165 232,242 95,334 336,489 10,505");
  EXPECT_EQ(n("enemies"), 2768);
  EXPECT_EQ(n("enemies_kind1"), 1735);
  EXPECT_EQ(n("enemies_kind2"), 607);
  EXPECT_EQ(n("enemies_kind3"), 204);
  EXPECT_EQ(n("enemies_kind4"), 0);
  EXPECT_EQ(n("enemies_kind5"), 222);
  EXPECT_GE(n("checkpoints"), 80);
  near("hazards_hanging", 238, 0.15);
  near("hazards_standing", 172, 0.15);
  const int hazards = n("hazards_hanging") + n("hazards_standing");
  EXPECT_GE(hazards, 410 * 0.85);
  EXPECT_LE(hazards, 410 * 1.15);
  const int rock = n("rock_blue") + n("rock_green") + n("rock_purple") + n("rock_grey");
  EXPECT_GE(rock, 112000 * 0.9);
  EXPECT_LE(rock, 112000 * 1.1);
  near("rock_blue", 36300, 0.15);
  near("rock_green", 42600, 0.15);
  near("rock_purple", 28700, 0.15);
  near("rock_grey", 4700, 0.15);
  near("decoration_a", 4050, 0.15);
  near("decoration_b", 3070, 0.15);
  EXPECT_EQ(f["collision_digest"].size(), 64u);
  EXPECT_EQ(f["tile_digest"].size(), 64u);
  // The same world on every run.
  EXPECT_EQ(testing::RunSim("world").out, run.out);
}

// Every checkpoint of our layout, and the start, stands on rock: its pad reads 3.
TEST(OurLayout, KeepsTheLimitsAndEveryPadStandsOnRock) {
  const LayoutImage& layout = EmbeddedLayout();
  if (layout.width == 0) GTEST_SKIP() << "no world.png is embedded yet";
  EXPECT_EQ(CheckLayout(layout), "");
  World world;
  world.noiseField.Create({1024, 1024});  // headings do not reach the maps
  GenerateWorld(world, layout);
  int pads = 0;
  for (int column = 0; column < world.WorldWidth; ++column) {
    for (int row = 0; row + 1 < world.WorldHeight; ++row) {
      const std::int32_t tile = world.TileMap.At(column, row);
      if (tile != kTileCheckpoint && tile != kTileCheckpointCurrent) continue;
      ++pads;
      EXPECT_EQ(world.CollisionMap.At(column, row + 1), kCellPad + kCellRock) << column << "," << row;
    }
  }
  EXPECT_GE(pads, 81);
}

}  // namespace
}  // namespace quorin
