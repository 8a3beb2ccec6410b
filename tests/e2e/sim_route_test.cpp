// quorin-sim route: an input file's path drawn over the world map.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/key_codes.h"
#include "runtime/surface.h"
#include "tests/support/process.h"
#include "tests/support/stored_picture.h"
#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

using testing::TempDir;

constexpr std::uint32_t kPath = 255u | 250u << 8 | 200u << 16;

std::uint32_t Rgb(const Surface& s, int x, int y) { return s.Row(y)[x] & kPixelRgbMask; }

TEST(SimRoute, DrawsTheHerosWalkFromTheStartAtTwoPixelsPerCell) {
  TempDir dir;
  // START, then a walk to the left along the start hall.
  std::ofstream("walk.txt") << "1 mouse 660 338\n2 mouse 660 339\n4 button left down\n5 button left up\n"
                            << "20 key " << kKeyLeft << " down\n60 key " << kKeyLeft << " up\n";
  const testing::CommandResult r = testing::RunSim("route walk.txt route.png 2>stderr.txt");
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "fruits=0 hurts=0\n");
  // Where the hero is on the first frame of play and once it has landed, as
  // the trace of the same walk tells.
  ASSERT_EQ(testing::RunSim("run --frames 100 --input walk.txt --trace trace.txt >/dev/null 2>&1").code, 0);
  std::ifstream trace("trace.txt");
  std::vector<std::vector<long long>> rows;
  for (std::string line; std::getline(trace, line);) {
    std::istringstream words(line);
    rows.emplace_back();
    for (long long v; words >> v;) rows.back().push_back(v);
  }
  ASSERT_GE(rows.size(), 90u);
  const int startColumn = static_cast<int>(rows.front()[12] >> 12), startRow = static_cast<int>(rows.front()[13] >> 12);
  const int endColumn = static_cast<int>(rows.back()[12] >> 12), endRow = static_cast<int>(rows.back()[13] >> 12);
  EXPECT_EQ(startColumn, 305);
  EXPECT_LT(endColumn, startColumn);

  Surface picture;
  ASSERT_TRUE(testing::LoadPicture("route.png", picture));
  ASSERT_EQ(picture.width, 1024);
  ASSERT_EQ(picture.height, 1024);
  // Each cell is 2 x 2 pixels; the path runs through the lower right one.
  EXPECT_EQ(Rgb(picture, 2 * startColumn + 1, 2 * startRow + 1), kPath);
  EXPECT_EQ(Rgb(picture, 2 * endColumn + 1, 2 * endRow + 1), kPath);
  // The hero never went right of the start.
  EXPECT_NE(Rgb(picture, 2 * (startColumn + 2) + 1, 2 * startRow + 1), kPath);
}

TEST(SimRoute, RefusesAMissingArgumentAndAnUnreadableInput) {
  TempDir dir;
  EXPECT_EQ(testing::RunSim("route only.txt 2>/dev/null").code, 2);
  EXPECT_EQ(testing::RunSim("route missing.txt out.png 2>/dev/null").code, 2);
}

}  // namespace
}  // namespace quorin
