// Reference values marked "scipy" were computed once with Debian's python3-scipy 1.10.1
// (scipy.stats.binomtest(k, n).proportion_ci(method='wilson'), binomtest(min(b, c), b + c).pvalue,
// wilcoxon(d, zero_method='wilcox', correction=True, method='approx'), norm.ppf(0.975)) and are
// written here as literals; neither the build nor the tests need scipy.
#include <gtest/gtest.h>

#include <cmath>

#include "experiment/Statistics.h"

using namespace zp::experiment;

namespace {

// Agreement with the reference to 1e-9 relative (absolute for an exact zero).
void ExpectClose(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-9 * std::fabs(expected)) << "expected " << expected;
}

}  // namespace

TEST(NormalQuantile975, IsTheExactQuantileNotRounded) {
  ExpectClose(NormalQuantile975(), 1.959963984540054);  // scipy
  EXPECT_NE(NormalQuantile975(), 1.96);
}

TEST(WilsonInterval, NoneAllAndSomeSuccesses) {
  struct Case {
    int64_t k, n;
    double low, high;  // scipy
  };
  for (const Case& c : {Case{0, 10, 0.0, 0.27753279986288926}, Case{10, 10, 0.7224672001371109, 1.0},
                        Case{3, 10, 0.10779126740630102, 0.6032218525388546},
                        Case{13, 30, 0.27377485576466526, 0.6080269299918639}, Case{0, 1, 0.0, 0.7934506856227626},
                        Case{1, 1, 0.20654931437723745, 1.0}, Case{2, 3, 0.20765960080204782, 0.9385080552796038}}) {
    SCOPED_TRACE(std::to_string(c.k) + " of " + std::to_string(c.n));
    const auto interval = WilsonInterval(c.k, c.n);
    ASSERT_TRUE(interval.has_value());
    ExpectClose(interval->Low, c.low);
    ExpectClose(interval->High, c.high);
  }
  // The extreme bounds are exact, so the files never show a rounding residue.
  EXPECT_EQ(WilsonInterval(0, 7)->Low, 0.0);
  EXPECT_EQ(WilsonInterval(7, 7)->High, 1.0);
  // By hand: at 0 of n the upper bound is z^2 / (n + z^2).
  const double z2 = NormalQuantile975() * NormalQuantile975();
  ExpectClose(WilsonInterval(0, 10)->High, z2 / (10 + z2));
}

TEST(WilsonInterval, UndefinedWithoutTrialsOrWithImpossibleCounts) {
  EXPECT_FALSE(WilsonInterval(0, 0).has_value());
  EXPECT_FALSE(WilsonInterval(5, 4).has_value());
  EXPECT_FALSE(WilsonInterval(-1, 4).has_value());
}

TEST(ExpectedRunningTime, ChargesEveryRunToTheSolvedOnes) {
  // Runs of 100 (unsolved), 40, 100 (unsolved), 60 generations: 300 over 2 solved.
  EXPECT_EQ(ExpectedRunningTime(100 + 40 + 100 + 60, 2), 150.0);
  EXPECT_EQ(ExpectedRunningTime(7, 3), 7.0 / 3);
  EXPECT_FALSE(ExpectedRunningTime(400, 0).has_value());
}

TEST(Quartiles, OneTwoAndFiveValuesByLinearInterpolation) {
  const auto one = Quartiles({7});
  ASSERT_TRUE(one.has_value());
  EXPECT_EQ(one->Q1, 7);
  EXPECT_EQ(one->Median, 7);
  EXPECT_EQ(one->Q3, 7);
  // h = (n - 1) p: 0.25, 0.5, 0.75 of the way from 3 to 10.
  const auto two = Quartiles({10, 3});
  EXPECT_EQ(two->Q1, 4.75);
  EXPECT_EQ(two->Median, 6.5);
  EXPECT_EQ(two->Q3, 8.25);
  // Sorted 1 4 9 16 25: h = 1, 2, 3 fall on order statistics.
  const auto five = Quartiles({9, 1, 25, 16, 4});
  EXPECT_EQ(five->Q1, 4);
  EXPECT_EQ(five->Median, 9);
  EXPECT_EQ(five->Q3, 16);
  EXPECT_FALSE(Quartiles({}).has_value());
}

TEST(Quantile7, InterpolatesBetweenNeighboursAndRejectsBadProbabilities) {
  EXPECT_DOUBLE_EQ(*Quantile7({12, 7, 4, 2, 1}, 0.1), 1.4);  // h = 0.4 between 1 and 2
  EXPECT_EQ(*Quantile7({12, 7, 4, 2, 1}, 0), 1);
  EXPECT_EQ(*Quantile7({12, 7, 4, 2, 1}, 1), 12);
  EXPECT_FALSE(Quantile7({1, 2}, 1.5).has_value());
  EXPECT_FALSE(Quantile7({1, 2}, std::nan("")).has_value());
  EXPECT_FALSE(Quantile7({}, 0.5).has_value());
}

TEST(MeanAndSampleStandardDeviation, UseTheSampleDivisor) {
  EXPECT_EQ(*Mean({26, 27, 28, 25}), 26.5);
  // Squared deviations 0.25 + 0.25 + 2.25 + 2.25 = 5, over n - 1 = 3.
  EXPECT_DOUBLE_EQ(*SampleStandardDeviation({26, 27, 28, 25}), std::sqrt(5.0 / 3));
  // Large offsets do not cancel: the spread of 1e9 + {0, 1, 2} is 1.
  EXPECT_DOUBLE_EQ(*SampleStandardDeviation({1e9, 1e9 + 1, 1e9 + 2}), 1);
  EXPECT_FALSE(Mean({}).has_value());
  EXPECT_FALSE(SampleStandardDeviation({3}).has_value());
  EXPECT_FALSE(SampleStandardDeviation({}).has_value());
}

TEST(McNemarExact, TwoSidedExactBinomialCappedAtOne) {
  // By hand: n = 7, P(X <= 1) = (1 + 7) / 128, doubled.
  const TTestResult r = McNemarExact(1, 6);
  EXPECT_EQ(r.Statistic, 1);
  ExpectClose(r.PValue, 0.125);
  EXPECT_EQ(McNemarExact(6, 1).PValue, r.PValue);                 // symmetric in the two methods
  ExpectClose(McNemarExact(3, 12).PValue, 0.03515625);            // scipy; (1 + 15 + 105 + 455) / 2^15 doubled
  ExpectClose(McNemarExact(0, 4).PValue, 0.125);                  // scipy
  ExpectClose(McNemarExact(7, 2).PValue, 0.1796875);              // scipy
  ExpectClose(McNemarExact(20, 31).PValue, 0.16077960181198847);  // scipy
  EXPECT_EQ(McNemarExact(5, 5).PValue, 1.0);                      // 2 P(X <= 5) > 1, capped
  EXPECT_EQ(McNemarExact(5, 5).Statistic, 5);
}

TEST(McNemarExact, WithoutDiscordantPairsIsUndefined) {
  const TTestResult r = McNemarExact(0, 0);
  EXPECT_EQ(r.Statistic, 0);
  EXPECT_EQ(r.PValue, 1);
}

TEST(WilcoxonSignedRank, DropsZerosAndAveragesTiedRanks) {
  // By hand: nonzero 2 -2 3 3 -1 5 4 3 (n = 8); ranks |1| 1, |2| 2.5 2.5, |3| 5 5 5, |4| 7, |5| 8.
  // W- = 1 + 2.5 = 3.5, W+ = 32.5; mean 18; variance 8*9*17/24 - (6 + 24)/48 = 50.375;
  // z = (3.5 - 18 + 0.5) / sqrt(50.375).
  const TTestResult r = WilcoxonSignedRank({0, 2, -2, 3, 3, -1, 0, 5, 4, 3});
  EXPECT_EQ(r.Statistic, 3.5);
  ExpectClose(r.PValue, 0.048550746423148196);  // scipy
  ExpectClose(r.PValue, std::erfc(14 / std::sqrt(50.375) / std::sqrt(2.0)));

  ExpectClose(WilcoxonSignedRank({1, 1, 1, -1}).PValue, 0.4237107971667934);  // scipy; one tie group of all
  const TTestResult mixed = WilcoxonSignedRank({10, -3, 7, 7, -7, 2, 0, 0, 15, -1, 4, 9});
  EXPECT_EQ(mixed.Statistic, 10);
  ExpectClose(mixed.PValue, 0.08233090735989115);  // scipy
  const TTestResult half = WilcoxonSignedRank({0, 2, -2, 0, 3, 3});
  EXPECT_EQ(half.Statistic, 1.5);
  ExpectClose(half.PValue, 0.26520539259150755);  // scipy
}

TEST(WilcoxonSignedRank, BalancedSignsGiveOneAndAllZerosAreUndefined) {
  EXPECT_EQ(WilcoxonSignedRank({5}).PValue, 1.0);                 // T = 0 lies within 1/2 of its mean 1/2
  EXPECT_EQ(WilcoxonSignedRank({10, -30, -30, 40}).PValue, 1.0);  // W+ = W- = 5
  const TTestResult zeros = WilcoxonSignedRank({0, 0, 0});
  EXPECT_EQ(zeros.Statistic, 0);
  EXPECT_EQ(zeros.PValue, 1);
  EXPECT_EQ(WilcoxonSignedRank({}).PValue, 1);
}

TEST(HolmAdjust, StepsDownMonotoneAndCapped) {
  // Sorted 0.005 0.01 0.03 0.04 times 4 3 2 1 = 0.02 0.03 0.06 0.04; the last is raised to 0.06.
  const std::vector<double> adjusted = HolmAdjust({0.01, 0.04, 0.03, 0.005});
  ASSERT_EQ(adjusted.size(), 4u);
  EXPECT_DOUBLE_EQ(adjusted[0], 0.03);
  EXPECT_DOUBLE_EQ(adjusted[1], 0.06);
  EXPECT_DOUBLE_EQ(adjusted[2], 0.06);
  EXPECT_DOUBLE_EQ(adjusted[3], 0.02);
  // A larger raw p never gets a smaller adjusted p.
  const std::vector<double> raw{0.2, 0.001, 0.019, 0.5, 0.02, 0.0125};
  const std::vector<double> holm = HolmAdjust(raw);
  for (size_t i = 0; i < raw.size(); ++i)
    for (size_t j = 0; j < raw.size(); ++j)
      if (raw[i] <= raw[j]) {
        EXPECT_LE(holm[i], holm[j]) << i << " " << j;
      }
  EXPECT_EQ(HolmAdjust({0.5, 0.6}), (std::vector<double>{1.0, 1.0}));
  EXPECT_EQ(HolmAdjust({0.3}), std::vector<double>{0.3});
  EXPECT_TRUE(HolmAdjust({}).empty());
}
