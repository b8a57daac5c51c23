// The pseudo-random generator gives the same sequence on every platform.
#include <gtest/gtest.h>

#include "core/random.h"

TEST(RandomTest, SeedOneGivesTheKnownSequence) {
  SeedRandom(1);
  EXPECT_EQ(DrawRandom(), 41);
  EXPECT_EQ(DrawRandom(), 18467);
  EXPECT_EQ(DrawRandom(), 6334);
  EXPECT_EQ(DrawRandom(), 26500);
  EXPECT_EQ(DrawRandom(), 19169);
}

TEST(RandomTest, DrawsStayInFifteenBitsAndReseedingRepeats) {
  SeedRandom(0xDEADBEEFu);
  int first[64];
  int lowest = kRandomMax, highest = 0;
  for (int& v : first) {
    v = DrawRandom();
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  for (int i = 0; i < 100000; ++i) {
    int v = DrawRandom();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, kRandomMax);
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  EXPECT_LT(lowest, 10);
  EXPECT_GT(highest, kRandomMax - 10);
  SeedRandom(0xDEADBEEFu);
  for (int v : first) EXPECT_EQ(DrawRandom(), v);
}
