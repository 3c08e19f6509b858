#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "experiment/Friedman.h"

namespace zp::experiment {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Friedman, MidRanksShareTiesAndPutMissesLast) {
  const std::vector<double> values{50, kInf, 50, 10, kInf};
  EXPECT_EQ(MidRanks(values), (std::vector<double>{2.5, 4.5, 2.5, 1, 4.5}));
  EXPECT_TRUE(MidRanks({}).empty());
}

// By hand: rank sums 5, 8, 11 over N = 4, k = 3; 12 * 4 / 12 * (13.125 - 12) = 4.5,
// and chi-squared with 2 degrees of freedom has p = exp(-4.5 / 2).
TEST(Friedman, StatisticAndRanksOfAnUntiedTable) {
  const TFriedman f = FriedmanTest({{1, 2, 3}, {1, 3, 2}, {1, 2, 3}, {2, 1, 3}});
  EXPECT_EQ(f.Instances, 4);
  EXPECT_EQ(f.Methods, 3);
  EXPECT_EQ(f.AverageRanks, (std::vector<double>{1.25, 2, 2.75}));
  ASSERT_TRUE(f.Statistic && f.PValue);
  EXPECT_NEAR(*f.Statistic, 4.5, 1e-12);
  EXPECT_NEAR(*f.PValue, std::exp(-2.25), 1e-12);
}

// scipy.stats.friedmanchisquare on the same table (misses as inf):
// statistic 1.444444444444457, p 0.695150565796709.
TEST(Friedman, TieCorrectionMatchesScipy) {
  const TFriedman f = FriedmanTest({{100, 200, kInf, 150},
                                    {50, 50, kInf, kInf},
                                    {300, 100, 200, 400},
                                    {10, 20, 30, 40},
                                    {kInf, kInf, kInf, 5},
                                    {80, 90, 70, 60}});
  ASSERT_TRUE(f.Statistic && f.PValue);
  EXPECT_NEAR(*f.Statistic, 1.444444444444457, 1e-9);
  EXPECT_NEAR(*f.PValue, 0.695150565796709, 1e-9);
  const std::vector<double> ranks{25.0 / 12, 29.0 / 12, 35.0 / 12, 31.0 / 12};
  for (size_t j = 0; j < ranks.size(); ++j) EXPECT_NEAR(f.AverageRanks[j], ranks[j], 1e-12);
}

TEST(Friedman, NoStatisticWhenEverythingTiesOrTooFewMethods) {
  EXPECT_FALSE(FriedmanTest({{kInf, kInf}, {3, 3}}).Statistic);
  EXPECT_FALSE(FriedmanTest({{1}, {2}}).Statistic);
  EXPECT_FALSE(FriedmanTest({}).Statistic);
  EXPECT_THROW(FriedmanTest({{1, 2}, {1}}), std::invalid_argument);
}

// scipy: studentized_range.ppf(0.95, 5, inf) / sqrt(2) = 2.7277743708703763.
TEST(Friedman, CriticalDifferenceForFiveMethods) {
  EXPECT_NEAR(*NemenyiQ(5), 2.7277743708703763, 1e-6);
  EXPECT_NEAR(*CriticalDifference(5, 12), 2.727774 * std::sqrt(30.0 / 72), 1e-12);
  EXPECT_FALSE(NemenyiQ(1));
  EXPECT_FALSE(NemenyiQ(11));
  EXPECT_FALSE(CriticalDifference(5, 0));
}

TEST(Friedman, BarsJoinMethodsCloserThanTheDifference) {
  // 1.0-1.5 and 1.5-2.2 overlap; 2.2-2.9 starts a third; 4.0 stands alone.
  const std::vector<double> ranks{1.0, 1.5, 2.2, 2.9, 4.0};
  using TBars = std::vector<std::pair<size_t, size_t>>;
  EXPECT_EQ(CriticalDifferenceBars(ranks, 1.0), (TBars{{0, 1}, {1, 2}, {2, 3}}));
  // A run inside an earlier one is dropped: from 1.5 the run ends at 2.2, as the first does.
  EXPECT_EQ(CriticalDifferenceBars(ranks, 1.3), (TBars{{0, 2}, {2, 3}, {3, 4}}));
  EXPECT_EQ(CriticalDifferenceBars(ranks, 5), (TBars{{0, 4}}));
  EXPECT_TRUE(CriticalDifferenceBars(ranks, 0.1).empty());
}

}  // namespace
}  // namespace zp::experiment
