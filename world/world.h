// The world state: one copyable value. Copy it, run the same frames on both
// copies, and they stay identical.
#pragma once

#include <cstdint>

#include "runtime/array.h"
#include "runtime/random.h"

namespace quorin {

// 4096 position units per cell, 16 internal pixels per cell.
inline constexpr std::int32_t kUnitsPerCell = 4096;
inline constexpr std::int32_t kUnitsPerPixel = 256;
// Angles are 12-bit: 4096 steps per turn.
inline constexpr std::int32_t kAngleSteps = 4096;
inline constexpr std::int32_t kAngleMask = kAngleSteps - 1;
// The noise field tiles the plane: both indexes are masked.
inline constexpr std::int32_t kNoiseSize = 1024;
inline constexpr std::int32_t kNoiseMask = kNoiseSize - 1;

// Where a shot leaves the hero, by aim direction.
struct AimOffset {
  std::int32_t dx;
  std::int32_t dy;
};
inline constexpr int kAimOffsetSlots = 32;  // 8 used
inline constexpr int kAimDirections = 8;

struct World {
  RandomState random;
  Array<float> directionTable;              // 4096 x 2: cos, sin
  Array<std::int32_t> fixedDirectionTable;  // 4097 x 2: cos, sin times 4095
  Array<std::int32_t> noiseField;           // 1024 x 1024, -32767..32768 once built
  Array<AimOffset> aimOffsets;
};

}  // namespace quorin
