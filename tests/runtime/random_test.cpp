#include "runtime/random.h"

#include <gtest/gtest.h>

namespace quorin {
namespace {

TEST(Random, Seed777GivesTheKnownRawDrawsAndLagIndexes) {
  RandomState s;
  RandomSetSeed(s, 777);
  EXPECT_EQ(s.i, 3);
  EXPECT_EQ(s.j, 13);
  EXPECT_EQ(RandomUpTo(s, -1), 683405308u);
  EXPECT_EQ(RandomUpTo(s, -1), 837479372u);
  EXPECT_EQ(RandomUpTo(s, -1), 3437716506u);
}

TEST(Random, Seed777DrawsUpTo99) {
  RandomState s;
  RandomSetSeed(s, 777);
  const std::uint32_t expected[] = {15, 19, 80, 99, 83, 5, 92, 95};
  for (std::uint32_t e : expected) EXPECT_EQ(RandomUpTo(s, 99), e);
}

TEST(Random, Seed0RawDraws) {
  RandomState s;
  RandomSetSeed(s, 0);
  EXPECT_EQ(RandomUpTo(s, -1), 2341539169u);
  EXPECT_EQ(RandomUpTo(s, -1), 3366969473u);
}

TEST(Random, UpToZeroIsZeroButStillAdvances) {
  RandomState a, b;
  RandomSetSeed(a, 777);
  RandomSetSeed(b, 777);
  EXPECT_EQ(RandomUpTo(a, 0), 0u);
  RandomUpTo(b, -1);
  EXPECT_EQ(RandomUpTo(a, -1), RandomUpTo(b, -1));
}

TEST(Random, ReseedingRestartsTheSequenceWhateverCameBefore) {
  RandomState a, b;
  RandomUpTo(a, -1);  // auto-seeded from the clock
  RandomSetSeed(a, 777);
  RandomSetSeed(b, 777);
  for (int k = 0; k < 100; ++k) ASSERT_EQ(RandomUpTo(a, 1000), RandomUpTo(b, 1000));
}

}  // namespace
}  // namespace quorin
