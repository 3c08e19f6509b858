#include <gtest/gtest.h>

#include <cstdint>

#include "platform/Random.h"

using namespace zp;

TEST(TRandom, FollowsTheLinearCongruentialSequence) {
  TRandom r;
  EXPECT_EQ(r.Next(), 1u);
  EXPECT_EQ(r.Next(), 134775814u);
  // Integer draw: (seed * n) >> 32 on the advanced seed.
  TRandom a(1);
  const uint32_t s = 134775814u;
  EXPECT_EQ(a.RandomInt(10), static_cast<int>((uint64_t{s} * 10) >> 32));
  TRandom b(0);
  EXPECT_EQ(b.RandomInt(0), 0);
  EXPECT_EQ(b.Seed(), 1u);  // an empty range still advances
  TRandom c(0xFFFFFFFFu);
  EXPECT_EQ(c.Random(), static_cast<double>(0xFFFFFFFFu * 134775813u + 1u) / 4294967296.0);
}

TEST(TRandom, ThresholdMatchesTheRealDrawComparison) {
  for (double p : {0.0, 1.0, 0.5, 1.0 / 24, 0.01, 0.98, 1.0 / 3, 1e-12, 0.999999999999}) {
    const uint64_t t = TRandom::Threshold(p);
    TRandom x(12345), y(12345);
    for (int i = 0; i < 20000; ++i) ASSERT_EQ(x.Random() < p, y.Next() < t) << p;
  }
  EXPECT_EQ(TRandom::Threshold(0.0), 0u);
  EXPECT_EQ(TRandom::Threshold(1.0), uint64_t{1} << 32);
}

TEST(TRandom, GlobalSourceStartsAtZero) {
  // Other tests may have drawn; the instance is shared and only readable here.
  TRandom& g = GlobalRandom();
  EXPECT_EQ(&g, &GlobalRandom());
}

TEST(ParseSeed, TakesDecimalAndHexadecimalSeedsOfThirtyTwoBits) {
  EXPECT_EQ(ParseSeed("0"), 0u);
  EXPECT_EQ(ParseSeed("4294967295"), 4294967295u);
  EXPECT_EQ(ParseSeed("0xFFFFFFFF"), 4294967295u);
  EXPECT_EQ(ParseSeed("0x1f"), 31u);
  EXPECT_EQ(ParseSeed("007"), 7u);
  for (const char* bad : {"", "4294967296", "0x100000000", "-1", "+1", " 1", "1 ", "0x", "0x-1", "1e3", "12a", "x1"})
    EXPECT_FALSE(ParseSeed(bad).has_value()) << bad;
}
