#include "world/map.h"

namespace quorin {

std::int32_t CellAt(const World& world, std::int32_t x, std::int32_t y) {
  if (x < 0 || y < 0) return kCellOutside;
  const std::int32_t column = x >> kCellShift;
  const std::int32_t row = y >> kCellShift;
  if (column > world.LastColumn || row > world.LastRow) return kCellOutside;
  return world.CollisionMap.At(column, row);
}

bool InActiveWindow(const World& world, std::int32_t x, std::int32_t y) {
  // 64-bit differences: a far-off thing must not wrap into the window.
  const std::int64_t dx = std::int64_t{x} - world.player.x - world.screenOffsetX;
  const std::int64_t dy = std::int64_t{y} - world.player.y - world.screenOffsetY;
  return dx > -world.activeHalfWidth && dx < world.activeHalfWidth && dy > -world.activeHalfHeight &&
         dy < world.activeHalfHeight;
}

bool InDrawBounds(const World& world, std::int32_t x, std::int32_t y) {
  return std::int64_t{x} + world.cameraX < kPictureWidthUnits + kDrawMargin &&
         std::int64_t{y} + world.cameraY < std::int64_t{world.viewHeight} + kDrawMargin;
}

void UpdateCamera(World& world) {
  const std::int32_t px = world.player.x;
  const std::int32_t py = world.player.y;

  world.cameraX = kPictureWidthUnits / 2 - px;
  if (world.cameraX > 0) {
    world.screenOffsetX = world.cameraX;
    world.cameraX = 0;
  } else if (world.cameraX < kPictureWidthUnits - world.WorldExtentX) {
    world.screenOffsetX = world.WorldExtentX + world.cameraX - kPictureWidthUnits;
    world.cameraX = kPictureWidthUnits - world.WorldExtentX;
  } else {
    world.screenOffsetX = 0;
  }

  world.cameraY = (world.internalHeight / 2) * kUnitsPerPixel - py;
  const std::int32_t spare = world.viewHeight - world.WorldExtentY;  // > 0: world shorter than the picture
  if (world.cameraY > 0) {
    if (spare > 0) {
      const std::int32_t half = spare >> 1;
      world.screenOffsetY = world.cameraY - half;
      world.cameraY = half;
    } else {
      world.screenOffsetY = world.cameraY;
      world.cameraY = 0;
    }
  } else if (world.cameraY < spare) {
    world.screenOffsetY = world.WorldExtentY - world.viewHeight + world.cameraY;
    world.cameraY = spare;
  } else {
    world.screenOffsetY = 0;
  }
}

}  // namespace quorin
