#include "world/tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/sha256.h"
#include "world/digest.h"

namespace quorin {
namespace {

TEST(Directions, TablesFollowTheAccumulatedAngle) {
  World world;
  BuildDirectionTable(world);
  BuildFixedDirectionTable(world);
  EXPECT_EQ(world.directionTable.At(0, 0), 1.0f);
  EXPECT_EQ(world.directionTable.At(0, 1), 0.0f);
  EXPECT_NEAR(world.directionTable.At(1024, 1), 1.0f, 1e-6);
  EXPECT_NEAR(world.directionTable.At(2048, 0), -1.0f, 1e-6);
  EXPECT_EQ(world.fixedDirectionTable.At(0, 0), 4095);
  EXPECT_EQ(world.fixedDirectionTable.At(0, 1), 0);
  EXPECT_EQ(world.fixedDirectionTable.At(1024, 1), 4095);
  EXPECT_EQ(world.fixedDirectionTable.At(3072, 1), -4095);
  EXPECT_EQ(world.fixedDirectionTable.At(512, 0), 2895);  // 4095 cos 45 degrees, truncated
  EXPECT_EQ(world.fixedDirectionTable.At(4096, 0), 0);
  EXPECT_EQ(world.fixedDirectionTable.At(4096, 1), 0);
  // Truncation toward zero keeps the table symmetric about the axes.
  for (int a = 1; a < 1024; ++a) EXPECT_GE(world.fixedDirectionTable.At(a, 0), 0);
}

// Every entry is the float nearest to the exact cosine and sine of the
// accumulated float angle, checked against long double: within half a unit in
// the last place of the stored float.
TEST(Directions, EveryEntryIsTheNearestFloatToTheExactValue) {
  World world;
  BuildDirectionTable(world);
  const float step = static_cast<float>(6.283185307179586 / kAngleSteps);
  float angle = 0.0f;
  int misses = 0;
  for (int i = 0; i < kAngleSteps; ++i) {
    const long double exact[2] = {std::cos(static_cast<long double>(angle)),
                                  std::sin(static_cast<long double>(angle))};
    for (int k = 0; k < 2; ++k) {
      const float stored = world.directionTable.At(i, k);
      const long double below = std::nextafter(stored, -2.0f);
      const long double above = std::nextafter(stored, 2.0f);
      const long double error = std::fabs(exact[k] - stored);
      if (error > std::fabs(exact[k] - below) || error > std::fabs(exact[k] - above)) ++misses;
    }
    angle += step;
  }
  EXPECT_EQ(misses, 0);
}

// The same table on every platform and build: a replay depends on every bit.
TEST(Directions, TableDigestIsPinned) {
  World world;
  BuildDirectionTable(world);
  Sha256 digest;
  for (int i = 0; i < kAngleSteps; ++i) {
    for (int k = 0; k < 2; ++k) {
      std::uint32_t bits = 0;
      const float value = world.directionTable.At(i, k);
      std::memcpy(&bits, &value, sizeof bits);
      const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                     static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
      digest.Update(bytes, sizeof bytes);
    }
  }
  EXPECT_EQ(digest.FinishHex(), "43113f132311cd8834622aeb4bf5d6a797f7bb49929bb7fd5bbff1173b37e412");
}

TEST(Directions, AngleOfTruncatesBeforeTheMask) {
  EXPECT_EQ(AngleOf(1, 0), 0);
  EXPECT_EQ(AngleOf(0, 1), 1024);
  EXPECT_EQ(AngleOf(-1, 0), 2048);
  EXPECT_EQ(AngleOf(0, -1), 3072);
  EXPECT_EQ(AngleOf(1, -0.0005f), 0);      // raw -0.3: truncates to 0, not 4095
  EXPECT_EQ(AngleOf(1, -0.003f), 4095);    // raw -1.96
}

TEST(Directions, AngleOfIsTheSameOnEveryPlatform) {
  // Vectors where a single-precision arc tangent lands on the next heading.
  EXPECT_EQ(AngleOf(-136, -93), 2440);
  EXPECT_EQ(AngleOf(-93, 136), 1415);
  EXPECT_EQ(AngleOf(-86, -225), 2834);
  // Every integer vector of a 513 x 513 grid, angles as little-endian bytes.
  Sha256 sha;
  for (int x = -256; x <= 256; ++x) {
    for (int y = -256; y <= 256; ++y) {
      const auto angle = static_cast<std::uint32_t>(AngleOf(static_cast<float>(x), static_cast<float>(y)));
      const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(angle), static_cast<std::uint8_t>(angle >> 8),
                                     static_cast<std::uint8_t>(angle >> 16),
                                     static_cast<std::uint8_t>(angle >> 24)};
      sha.Update(bytes, sizeof bytes);
    }
  }
  EXPECT_EQ(sha.FinishHex(), "a7bffc8d01f84bac2315a37fb6f92920bb9bcb52af4ca69d641db4951388dd83");
}

TEST(Noise, FieldSpansTheFullRangeAndWraps) {
  World world;
  PrepareNoiseField(world);
  const auto [lo, hi] = std::minmax_element(world.noiseField.Data(), world.noiseField.Data() + world.noiseField.Size());
  EXPECT_EQ(*lo, -32767);
  EXPECT_EQ(*hi, 32768);
  for (int i = 0; i < 1024; i += 37) EXPECT_EQ(NoiseAt(world, 1024 + i, -1), NoiseAt(world, i, 1023));
}

TEST(Noise, SameSeedSameFieldAndOtherSeedsDiffer) {
  World a, b;
  PrepareNoiseField(a);
  RandomUpTo(b.random, 5);  // history before the seeding does not matter
  PrepareNoiseField(b);
  EXPECT_EQ(std::memcmp(a.noiseField.Data(), b.noiseField.Data(), a.noiseField.Size() * 4), 0);
  RandomSetSeed(b.random, 778);
  MakeNoiseField(b, kNoiseStep, kNoiseAmplitude);
  EXPECT_NE(std::memcmp(a.noiseField.Data(), b.noiseField.Data(), a.noiseField.Size() * 4), 0);
}

TEST(Noise, NeighboursAreSmootherThanChance) {
  World world;
  PrepareNoiseField(world);
  std::int64_t total = 0;
  for (int i = 0; i < 1024; ++i) {
    for (int j = 0; j < 1024; ++j) total += std::abs(NoiseAt(world, i, j) - NoiseAt(world, i, j + 1));
  }
  // Fractal noise: neighbouring cells differ by a small part of the range.
  EXPECT_LT(total / (1024 * 1024), 4000);
}

TEST(Sha256, KnownDigests) {
  Sha256 empty;
  EXPECT_EQ(empty.FinishHex(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  Sha256 abc;
  abc.Update("abc", 3);
  EXPECT_EQ(abc.FinishHex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  Sha256 split;  // block boundaries in odd places
  const std::string text = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  split.Update(text.data(), 7);
  split.Update(text.data() + 7, text.size() - 7);
  EXPECT_EQ(split.FinishHex(), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

}  // namespace
}  // namespace quorin

namespace quorin {
namespace {

TEST(WorldDigest, CopiesRunOnIdentically) {
  World world;
  BuildDirectionTable(world);
  BuildFixedDirectionTable(world);
  PrepareNoiseField(world);
  World copy = world;
  EXPECT_EQ(WorldDigest(copy), WorldDigest(world));
  for (int k = 0; k < 100; ++k) {
    RandomUpTo(world.random, 1000);
    RandomUpTo(copy.random, 1000);
  }
  EXPECT_EQ(WorldDigest(copy), WorldDigest(world));
  copy.noiseField[12345] += 1;
  EXPECT_NE(WorldDigest(copy), WorldDigest(world));
  World other = world;
  RandomUpTo(other.random, 5);  // the generator's state is part of the world
  EXPECT_NE(WorldDigest(other), WorldDigest(world));
}

}  // namespace
}  // namespace quorin
