// Small hand-built worlds for the play tests: the start-up tables, empty maps
// of a chosen size and the view constants generation would set.
#pragma once

#include <cstdint>
#include <vector>

#include "world/map.h"
#include "world/tables.h"
#include "world/world.h"

namespace quorin::test {

// The start-up tables are built once and copied into every small world.
inline const World& PreparedTables() {
  static const World tables = [] {
    World w;
    BuildDirectionTable(w);
    BuildFixedDirectionTable(w);
    PrepareNoiseField(w);
    ArrayCreate(w.aimOffsets, kAimOffsetSlots);
    constexpr std::int32_t offsets[kAimDirections][2] = {{18, 3},  {16, 12},  {1, 20},  {-14, 12},
                                                         {-18, 3}, {-16, -12}, {1, -18}, {18, -12}};
    for (int k = 0; k < kAimDirections; ++k) w.aimOffsets[k] = {offsets[k][0], offsets[k][1]};
    return w;
  }();
  return tables;
}

// Gives a world empty maps of width x height cells and the view constants
// generation would set for a picture internalHeight pixels high.
inline void SizeWorld(World& world, int width, int height, int internalHeight = 384) {
  world.WorldWidth = width;
  world.WorldHeight = height;
  world.LastColumn = width - 1;
  world.LastRow = height - 1;
  world.WorldExtentX = width * kUnitsPerCell - 1;
  world.WorldExtentY = height * kUnitsPerCell - 1;
  world.internalHeight = internalHeight;
  world.viewHeight = internalHeight * kUnitsPerPixel;
  world.activeHalfWidth = kActiveHalfWidth;
  world.activeHalfHeight = world.viewHeight / 2 + 8192;
  ArrayCreateMulti(world.CollisionMap, {width, height});
  ArrayCreateMulti(world.TileMap, {width, height});
}

// An empty world without the start-up tables: enough for the map and camera.
inline World EmptyWorld(int width, int height, int internalHeight = 384) {
  World world;
  SizeWorld(world, width, height, internalHeight);
  return world;
}

// An empty width x height world (cells) with the start-up tables, ready for play.
inline World SmallWorld(int width, int height) {
  World world = PreparedTables();
  SizeWorld(world, width, height);
  world.player.maxFallSpeed = 2378;
  return world;
}

// Fills a rectangle of cells (inclusive) with one collision value.
inline void FillCells(World& world, int column0, int row0, int column1, int row1, std::int32_t value) {
  for (int c = column0; c <= column1; ++c) {
    for (int r = row0; r <= row1; ++r) world.CollisionMap.At(c, r) = value;
  }
}

// The centre of a cell and the top edge of a row, in world units.
constexpr std::int32_t CellCentre(int k) { return k * kUnitsPerCell + kUnitsPerCell / 2; }
constexpr std::int32_t RowTop(int row) { return row * kUnitsPerCell; }

template <class T>
std::vector<T> Records(const List<T>& list) {
  std::vector<T> out;
  list.ForEach([&](const T& r) { out.push_back(r); });
  return out;
}

}  // namespace quorin::test
