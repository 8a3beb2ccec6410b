#include "tools/bot/route.h"

#include <queue>
#include <utility>

namespace quorin::bot {

namespace {

std::int32_t Cell(const World& w, std::int32_t column, std::int32_t row) {
  if (column < 0 || row < 0 || column >= w.WorldWidth || row >= w.WorldHeight) return kCellOutside;
  return w.CollisionMap.At(column, row);
}

// Open air beside a hazard: standing ones hurt from below, hanging ones from above.
bool NearHazard(const World& w, std::int32_t column, std::int32_t row) {
  for (std::int32_t dc = -1; dc <= 1; ++dc) {
    if ((Cell(w, column + dc, row + 1) & kCellHazardOnTop) != 0) return true;
    if ((Cell(w, column + dc, row + 2) & kCellHazardOnTop) != 0) return true;
    if ((Cell(w, column + dc, row - 1) & kCellHazardBelow) != 0) return true;
    if ((Cell(w, column + dc, row - 2) & kCellHazardBelow) != 0) return true;
  }
  return false;
}

}  // namespace

DistanceField::DistanceField(const World& world, std::int32_t column, std::int32_t row)
    : width_(world.WorldWidth), height_(world.WorldHeight),
      distance_(static_cast<std::size_t>(world.WorldWidth) * world.WorldHeight, kFar) {
  std::vector<std::int32_t> extra(distance_.size(), 0);
  for (std::int32_t r = 0; r < height_; ++r) {
    for (std::int32_t c = 0; c < width_; ++c) {
      if (Cell(world, c, r) == 0 && NearHazard(world, c, r)) extra[static_cast<std::size_t>(r) * width_ + c] = kNearHazard;
    }
  }
  using Item = std::pair<std::int32_t, std::int32_t>;  // distance, index
  std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
  if (Cell(world, column, row) == 0) {
    distance_[static_cast<std::size_t>(row) * width_ + column] = 0;
    open.emplace(0, row * width_ + column);
  }
  // The field runs from the goal outward, so a step from a cell to the one
  // nearer the goal is the reverse step here: a climb toward the goal is a
  // step down from the goal's side.
  constexpr std::int32_t dc[4] = {1, -1, 0, 0};
  constexpr std::int32_t dr[4] = {0, 0, 1, -1};
  constexpr std::int32_t cost[4] = {kStepAcross, kStepAcross, kStepUp, kStepDown};
  while (!open.empty()) {
    const auto [d, index] = open.top();
    open.pop();
    if (d != distance_[static_cast<std::size_t>(index)]) continue;
    const std::int32_t c = index % width_, r = index / width_;
    for (int k = 0; k < 4; ++k) {
      const std::int32_t nc = c + dc[k], nr = r + dr[k];
      if (Cell(world, nc, nr) != 0) continue;
      const std::size_t n = static_cast<std::size_t>(nr) * width_ + nc;
      const std::int32_t nd = d + cost[k] + extra[n];
      if (nd < distance_[n]) {
        distance_[n] = nd;
        open.emplace(nd, static_cast<std::int32_t>(n));
      }
    }
  }
}

std::int32_t DistanceField::At(std::int32_t column, std::int32_t row) const {
  if (column < 0 || row < 0 || column >= width_ || row >= height_) return kFar;
  return distance_[static_cast<std::size_t>(row) * width_ + column];
}

std::int32_t DistanceField::AtUnits(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0) return kFar;
  return At(x >> kCellShift, y >> kCellShift);
}

}  // namespace quorin::bot
