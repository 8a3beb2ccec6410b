// Small conversions the game's rules are written in.
#pragma once

#include <cstdint>

namespace quorin {

// r + g * 256 + b * 65536: red in the low byte. Components are not masked.
constexpr std::int32_t ColourPack(std::int32_t r, std::int32_t g, std::int32_t b) {
  return r + g * 256 + b * 65536;
}

// Angle of the vector (x, y) in radians, -pi..pi (x first).
float Atan2Of(float x, float y);
// Truncation toward zero: the game never rounds when it turns values into integers.
std::int32_t FloatToIntTruncate(double x);
// mode 1 ceiling, mode 2 nearest with halves away from zero, else floor.
float RoundFloat(float x, std::int32_t mode);
double RoundDouble(double x, std::int32_t mode);

}  // namespace quorin
