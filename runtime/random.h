// The seeded generator. The noise field, and so the whole world, is built from
// its draws after RandomSetSeed(777): the sequence must never change.
#pragma once

#include <cstdint>

namespace quorin {

struct RandomState {
  std::int32_t i = 0;
  std::int32_t j = 0;
  std::uint32_t a[17] = {};
  std::uint32_t b[17] = {};
  bool seeded = false;
};

void RandomSetSeed(RandomState& state, std::int32_t seed);
// Uniform 0..max inclusive; max = -1 gives the raw 32-bit draw.
std::uint32_t RandomUpTo(RandomState& state, std::int32_t max);

}  // namespace quorin
