#include "world/tables.h"

#include <algorithm>
#include <cmath>

#include "runtime/numeric.h"

namespace quorin {

void BuildDirectionTable(World& world) {
  ArrayCreateMulti(world.directionTable, {kAngleSteps, 2});
  const float stepAngle = static_cast<float>(6.283185307179586 / kAngleSteps);
  float angle = 0.0f;
  for (int i = 0; i < kAngleSteps; ++i) {
    // The nearest float to the exact value: single-precision cos and sin
    // differ between C libraries in the last bit, and every speed in play is
    // a product from this table, so replays would differ between platforms.
    const double exact = static_cast<double>(angle);
    world.directionTable.At(i, 0) = static_cast<float>(std::cos(exact));
    world.directionTable.At(i, 1) = static_cast<float>(std::sin(exact));
    angle += stepAngle;
  }
}

void BuildFixedDirectionTable(World& world) {
  ArrayCreateMulti(world.fixedDirectionTable, {kAngleSteps + 1, 2});
  for (int a = 0; a < kAngleSteps; ++a) {
    for (int k = 0; k < 2; ++k) {
      world.fixedDirectionTable.At(a, k) = FloatToIntTruncate(world.directionTable.At(a, k) * 4095.0);
    }
  }
}

void MakeNoiseField(World& world, std::int32_t step, std::int32_t amplitude) {
  Array<std::int32_t>& field = world.noiseField;
  if (field.Size() != static_cast<std::size_t>(kNoiseSize) * kNoiseSize) {
    ArrayCreateMulti(field, {kNoiseSize, kNoiseSize});
  }
  if (step < 2) return;
  auto n = [&](std::int32_t a, std::int32_t b) -> std::int32_t& {
    return field[static_cast<std::size_t>(a) * kNoiseSize + b];
  };
  auto draw = [&](std::int32_t max) { return static_cast<std::int32_t>(RandomUpTo(world.random, max)); };

  for (std::int32_t b = 0; b <= kNoiseMask; b += step) {
    for (std::int32_t a = 0; a <= kNoiseMask; a += step) n(a, b) = draw(amplitude);
  }
  while (step > 1) {
    amplitude /= 2;
    const std::int32_t h = step / 2;
    for (std::int32_t b = 0; b <= kNoiseMask; b += step) {
      const std::int32_t b2 = (b + step) & kNoiseMask;
      for (std::int32_t a = h; a <= kNoiseMask; a += step) {
        const std::int32_t left = a - h;
        const std::int32_t right = (a + h) & kNoiseMask;
        n(a, b + h) = (n(left, b) + n(right, b) + n(left, b2) + n(right, b2)) / 4 + draw(amplitude) - amplitude / 2;
        n(a, b) = (n(left, b) + n(right, b)) / 2 + draw(amplitude) - amplitude / 2;
        n(left, b + h) = (n(left, b) + n(left, b2)) / 2 + draw(amplitude) - amplitude / 2;
      }
    }
    step /= 2;
  }

  std::int32_t lo = amplitude * 16;
  std::int32_t hi = 0;
  for (std::size_t k = 0; k < field.Size(); ++k) {
    lo = std::min(lo, field[k]);
    hi = std::max(hi, field[k]);
  }
  const float range = static_cast<float>(hi - lo);
  for (std::size_t k = 0; k < field.Size(); ++k) {
    const float scaled = static_cast<float>(field[k] - lo) / range;
    field[k] = FloatToIntTruncate(static_cast<double>(scaled) * 65535.0) - 32767;
  }
}

void PrepareNoiseField(World& world) {
  RandomSetSeed(world.random, kNoiseSeed);
  MakeNoiseField(world, kNoiseStep, kNoiseAmplitude);
}

std::int32_t AngleOf(float dx, float dy) {
  return FloatToIntTruncate(Atan2Of(dx, dy) / 6.283185307179586 * 4096.0) & kAngleMask;
}

}  // namespace quorin
