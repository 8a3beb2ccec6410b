#include "world/map.h"

#include <gtest/gtest.h>

#include "tests/world/small_world.h"

namespace quorin {
namespace {

using test::EmptyWorld;

TEST(CellAt, ReadsInsideAndGives128Outside) {
  World world = EmptyWorld(64, 40);
  world.CollisionMap.At(63, 0) = 1;
  world.CollisionMap.At(0, 39) = 2;  // a pad without rock
  EXPECT_EQ(CellAt(world, -1, 0), kCellOutside);
  EXPECT_EQ(CellAt(world, 0, -1), kCellOutside);
  EXPECT_EQ(CellAt(world, 64 * 4096 - 1, 0), 1);  // the last column
  EXPECT_EQ(CellAt(world, 64 * 4096, 0), kCellOutside);
  EXPECT_EQ(CellAt(world, 0, 40 * 4096 - 1), 2);  // the last row; non-zero blocks
  EXPECT_EQ(CellAt(world, 0, 40 * 4096), kCellOutside);
  EXPECT_EQ(CellAt(world, 4096, 4096), 0);
}

TEST(CellAt, AddressesColumnMajor) {
  World world = EmptyWorld(8, 5);
  world.CollisionMap.At(3, 2) = 9;
  EXPECT_EQ(world.CollisionMap[3 * 5 + 2], 9);
  EXPECT_EQ(CellAt(world, 3 * 4096 + 4095, 2 * 4096), 9);
  EXPECT_EQ(CellAt(world, 2 * 4096 + 4095, 3 * 4096), 0);
}

TEST(ActiveWindow, CentredOnThePictureWhenTheHeroIsAtTheLeftEdge) {
  World world = EmptyWorld(512, 512);
  world.player.x = 2048;
  world.player.y = 100 * 4096;
  UpdateCamera(world);
  EXPECT_EQ(world.cameraX, 0);
  EXPECT_EQ(world.screenOffsetX, 65536 - 2048);
  // The window spans the picture centre 65536 +- 73728, exclusive.
  EXPECT_TRUE(InActiveWindow(world, 65536 + 73727, world.player.y));
  EXPECT_FALSE(InActiveWindow(world, 65536 + 73728, world.player.y));
  EXPECT_TRUE(InActiveWindow(world, 65536 - 73727, world.player.y));
  EXPECT_FALSE(InActiveWindow(world, 65536 - 73728, world.player.y));
  const std::int32_t half = world.activeHalfHeight;  // 49152 + 8192
  EXPECT_EQ(half, 57344);
  EXPECT_TRUE(InActiveWindow(world, 65536, world.player.y + half - 1));
  EXPECT_FALSE(InActiveWindow(world, 65536, world.player.y + half));
  EXPECT_TRUE(InActiveWindow(world, 65536, world.player.y - half + 1));
  EXPECT_FALSE(InActiveWindow(world, 65536, world.player.y - half));
}

TEST(DrawBounds, OnlyTheRightAndLowerLimitsCount) {
  World world = EmptyWorld(512, 512);
  world.cameraX = -1000000;
  world.cameraY = -2000000;
  EXPECT_TRUE(InDrawBounds(world, 1000000 + 139263, 2000000));
  EXPECT_FALSE(InDrawBounds(world, 1000000 + 139264, 2000000));
  EXPECT_TRUE(InDrawBounds(world, 1000000, 2000000 + 98304 + 8191));
  EXPECT_FALSE(InDrawBounds(world, 1000000, 2000000 + 98304 + 8192));
  EXPECT_TRUE(InDrawBounds(world, 0, 0));  // far beyond the left and top edges
}

TEST(Camera, HoldsTheViewAtEveryWorldEdge) {
  World world = EmptyWorld(512, 512);
  const std::int32_t extentX = 512 * 4096 - 1;
  const std::int32_t extentY = 512 * 4096 - 1;

  // Centred: the hero in the middle of the world.
  world.player.x = 1000000;
  world.player.y = 1000000;
  UpdateCamera(world);
  EXPECT_EQ(world.cameraX, 65536 - 1000000);
  EXPECT_EQ(world.cameraY, 192 * 256 - 1000000);
  EXPECT_EQ(world.screenOffsetX, 0);
  EXPECT_EQ(world.screenOffsetY, 0);

  // Left and top.
  world.player.x = 100 * 256;
  world.player.y = 10 * 256;
  UpdateCamera(world);
  EXPECT_EQ(world.cameraX, 0);
  EXPECT_EQ(world.screenOffsetX, 65536 - 100 * 256);
  EXPECT_EQ(world.cameraY, 0);
  EXPECT_EQ(world.screenOffsetY, 192 * 256 - 10 * 256);

  // Right and bottom.
  world.player.x = extentX - 1000;
  world.player.y = extentY - 1000;
  UpdateCamera(world);
  EXPECT_EQ(world.cameraX, 131072 - extentX);
  EXPECT_EQ(world.screenOffsetX, extentX + (65536 - world.player.x) - 131072);
  EXPECT_EQ(world.cameraY, world.viewHeight - extentY);
  EXPECT_EQ(world.screenOffsetY, extentY - world.viewHeight + (192 * 256 - world.player.y));
  // Exactly at the right-hand limit the view is still centred.
  world.player.x = 65536 + extentX - 131072;
  UpdateCamera(world);
  EXPECT_EQ(world.screenOffsetX, 0);
}

TEST(Camera, CentresAWorldShorterThanThePicture) {
  World world = EmptyWorld(64, 10);  // 160 pixels high in a 384-pixel picture
  const std::int32_t spare = world.viewHeight - world.WorldExtentY;
  world.player.x = 40 * 4096;
  world.player.y = 5 * 4096;
  UpdateCamera(world);
  EXPECT_EQ(world.cameraY, spare >> 1);
  EXPECT_EQ(world.screenOffsetY, 192 * 256 - world.player.y - (spare >> 1));
}

}  // namespace
}  // namespace quorin
