#include "runtime/random.h"

#include <chrono>
#include <functional>
#include <thread>

namespace quorin {

namespace {

constexpr std::uint32_t kSeedMultiplier = 1403630843u;  // 0x53A9B4FB

std::uint32_t RotateRight(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

std::uint32_t Step(RandomState& s) {
  // The value derived from table b goes into table a and vice versa.
  const std::uint32_t newA = RotateRight(s.b[s.i], 13) + s.b[s.j];
  const std::uint32_t newB = RotateRight(s.a[s.i], 5) + s.a[s.j];
  s.a[s.i] = newA;
  s.b[s.i] = newB;
  s.i = s.i == 0 ? 16 : s.i - 1;
  s.j = s.j == 0 ? 16 : s.j - 1;
  return newA;
}

void Seed(RandomState& s, std::int32_t seed) {
  std::uint32_t x = static_cast<std::uint32_t>(seed);
  for (int k = 0; k < 17; ++k) {
    s.b[k] = 1u - x * kSeedMultiplier;
    s.a[k] = 1u - s.b[k] * kSeedMultiplier;
    x = s.a[k];
  }
  s.i = 0;
  s.j = 10;
  for (int k = 0; k < 31; ++k) Step(s);
}

// Any varying value will do: the game always seeds explicitly before drawing.
void AutoSeed(RandomState& s) {
  s.seeded = true;
  const auto thread = std::hash<std::thread::id>{}(std::this_thread::get_id());
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  Seed(s, static_cast<std::int32_t>(static_cast<std::uint32_t>(thread ^ static_cast<std::size_t>(ms))));
}

}  // namespace

void RandomSetSeed(RandomState& state, std::int32_t seed) {
  if (!state.seeded) AutoSeed(state);
  Seed(state, seed);
}

std::uint32_t RandomUpTo(RandomState& state, std::int32_t max) {
  if (!state.seeded) AutoSeed(state);
  const std::uint32_t n = static_cast<std::uint32_t>(max) + 1u;
  const std::uint32_t r = Step(state);
  if (n == 0) return r;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(r) * n) >> 32);
}

}  // namespace quorin
