// Start-up tables of play: directions and the noise field.
#pragma once

#include <cstdint>

#include "world/world.h"

namespace quorin {

// Row i = (cos a, sin a), the angle accumulated in single precision from 0 by
// the float nearest 2 pi / 4096, as the game has always built it.
void BuildDirectionTable(World& world);
// Row a = truncated (cos, sin) x 4095 from the direction table; row 4096 stays 0.
void BuildFixedDirectionTable(World& world);
// Midpoint-displacement noise on the 1024 x 1024 torus from the world's
// generator, normalised to -32767..32768.
void MakeNoiseField(World& world, std::int32_t step, std::int32_t amplitude);

// The start-up noise: seed 777, lattice step 16, amplitude 6000. Every run of
// the game builds the same field from it.
inline constexpr std::int32_t kNoiseSeed = 777;
inline constexpr std::int32_t kNoiseStep = 16;
inline constexpr std::int32_t kNoiseAmplitude = 6000;
void PrepareNoiseField(World& world);

// Noise at (i, j), both indexes wrapped.
inline std::int32_t NoiseAt(const World& world, std::int32_t i, std::int32_t j) {
  return world.noiseField[static_cast<std::size_t>(i & kNoiseMask) * kNoiseSize + (j & kNoiseMask)];
}

// 12-bit angle of the vector (dx, dy); truncated toward zero before the mask.
std::int32_t AngleOf(float dx, float dy);

}  // namespace quorin
