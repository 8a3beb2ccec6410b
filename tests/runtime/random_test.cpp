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

}  // namespace
}  // namespace quorin
