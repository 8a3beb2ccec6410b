// The route over the cell grid: for a goal cell, how far every open cell is
// from it for a hero who climbs only with jumps and the hover. The leg search
// ranks its states by this distance.
#pragma once

#include <cstdint>
#include <vector>

#include "world/world.h"

namespace quorin::bot {

inline constexpr std::int32_t kFar = 1 << 28;

class DistanceField {
 public:
  // Distances to (column, row) over the world's collision map.
  DistanceField(const World& world, std::int32_t column, std::int32_t row);

  // kFar for rock, cells outside the map and cells with no way to the goal.
  std::int32_t At(std::int32_t column, std::int32_t row) const;
  // The distance of a point in world units.
  std::int32_t AtUnits(std::int32_t x, std::int32_t y) const;

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<std::int32_t> distance_;  // row-major
};

// Costs of one step between open cells. Climbing costs more than falling, so
// ways that drop to the goal are preferred over ways that must climb to it;
// air next to a hazard costs more, so routes keep clear of spikes.
inline constexpr std::int32_t kStepAcross = 2;
inline constexpr std::int32_t kStepDown = 1;
inline constexpr std::int32_t kStepUp = 4;
inline constexpr std::int32_t kNearHazard = 30;

}  // namespace quorin::bot
