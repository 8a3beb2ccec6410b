// The world is painted: generation turns the layout image into the maps, the
// monsters, the fruits and the first checkpoint.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "world/world.h"

namespace quorin {

// A decoded layout image: one ColourPack value (red low) per pixel, row by row.
struct LayoutImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::int32_t> pixels;
  std::int32_t At(std::int32_t column, std::int32_t row) const {
    return pixels[static_cast<std::size_t>(row) * width + column];
  }
};

// Decodes a PNG layout; false when the data is not an image.
bool DecodeLayout(std::span<const unsigned char> png, LayoutImage& out);
// The embedded world layout ("world.png"), decoded once.
const LayoutImage& EmbeddedLayout();
// Empty when the layout keeps the generator's limits, else the first reason
// it does not (a colour outside the code, hazards on the first row, a start,
// checkpoint or hazard on the last row, not exactly one start, not 8 fruits).
std::string CheckLayout(const LayoutImage& layout);

// base + the connection mask of the rock pixel at (column, row).
enum class NeighbourMode { kAnyBit, kEqual, kAllBits };
std::int32_t NeighbourMask(const LayoutImage& layout, std::int32_t column, std::int32_t row,
                           std::int32_t base, std::int32_t colour, NeighbourMode mode);

// A new world from the layout, at every new game. The Enemies and Pickups
// lists must be empty, world.internalHeight set and the noise field built
// (monster headings read it).
void GenerateWorld(World& world, const LayoutImage& layout);
// The same from the embedded layout.
void GenerateWorld(World& world);

}  // namespace quorin
