// quorin-sim route: an input file's path drawn over the world map.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

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
  Surface picture;
  ASSERT_TRUE(testing::LoadPicture("route.png", picture));
  ASSERT_EQ(picture.width, 1024);
  ASSERT_EQ(picture.height, 1024);
  // The hero starts in the start cell (305, 157), walks left off its ledge
  // and lands four columns further left, six rows down: both cells are on the
  // path, the cells right of the start are not.
  EXPECT_EQ(Rgb(picture, 2 * 305 + 1, 2 * 157 + 1), kPath);
  EXPECT_EQ(Rgb(picture, 2 * 301 + 1, 2 * 163 + 1), kPath);
  EXPECT_NE(Rgb(picture, 2 * 307 + 1, 2 * 157 + 1), kPath);
}

TEST(SimRoute, RefusesAMissingArgumentAndAnUnreadableInput) {
  TempDir dir;
  EXPECT_EQ(testing::RunSim("route only.txt 2>/dev/null").code, 2);
  EXPECT_EQ(testing::RunSim("route missing.txt out.png 2>/dev/null").code, 2);
}

}  // namespace
}  // namespace quorin
