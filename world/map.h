// Spatial queries on the world grids and the view placement.
#pragma once

#include <cstdint>

#include "world/world.h"

namespace quorin {

// The active window reaches 288 pixels either side of the picture centre.
inline constexpr std::int32_t kActiveHalfWidth = 73728;
// Shots count as drawn up to 32 pixels past the right and lower edges.
inline constexpr std::int32_t kDrawMargin = 8192;

// CollisionMap at the cell holding (x, y); 128 outside the world.
std::int32_t CellAt(const World& world, std::int32_t x, std::int32_t y);
// Inside the picture plus a 32-pixel margin, measured from the picture centre.
bool InActiveWindow(const World& world, std::int32_t x, std::int32_t y);
// Only the right and lower limits are tested.
bool InDrawBounds(const World& world, std::int32_t x, std::int32_t y);
// Places the view around the hero; called after every hero move.
void UpdateCamera(World& world);

}  // namespace quorin
