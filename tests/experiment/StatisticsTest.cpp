// Reference values marked "scipy" were computed once with Debian's python3-scipy 1.10.1
// (scipy.stats.binomtest(k, n).proportion_ci(method='wilson'), binomtest(min(b, c), b + c).pvalue,
// wilcoxon(d, zero_method='wilcox', correction=True, method='approx'), norm.ppf(0.975)), and those
// marked "wilcox.exact" with R's exactRankTests (Debian's r-cran-exactranktests), and are written
// here as literals; neither the build nor the tests need scipy or R.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

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
  const TTestResult r = *McNemarExact(1, 6);
  EXPECT_EQ(r.Statistic, 1);
  ExpectClose(r.PValue, 0.125);
  EXPECT_EQ(McNemarExact(6, 1)->PValue, r.PValue);                 // symmetric in the two methods
  ExpectClose(McNemarExact(3, 12)->PValue, 0.03515625);            // scipy; (1 + 15 + 105 + 455) / 2^15 doubled
  ExpectClose(McNemarExact(0, 4)->PValue, 0.125);                  // scipy
  ExpectClose(McNemarExact(7, 2)->PValue, 0.1796875);              // scipy
  ExpectClose(McNemarExact(20, 31)->PValue, 0.16077960181198847);  // scipy
  EXPECT_EQ(McNemarExact(5, 5)->PValue, 1.0);                      // 2 P(X <= 5) > 1, capped
  EXPECT_EQ(McNemarExact(5, 5)->Statistic, 5);
  // Without discordant pairs there is nothing to test.
  EXPECT_FALSE(McNemarExact(0, 0).has_value());
}

TEST(McNemarOddsRatio, ClopperPearsonLimitsAsOdds) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  // By hand: with b = 0 of n the upper Clopper-Pearson limit is 1 - 0.025^(1/n), so
  // the odds limit is 0.025^(-1/n) - 1; with c = 0 the lower limit is 0.025^(1/n).
  const TOddsRatio none = *McNemarOddsRatio(0, 4);
  EXPECT_EQ(none.Ratio, 0);
  EXPECT_EQ(none.Low, 0);
  ExpectClose(none.High, std::pow(0.025, -0.25) - 1);
  const TOddsRatio all = *McNemarOddsRatio(14, 0);
  EXPECT_EQ(all.Ratio, inf);
  EXPECT_EQ(all.High, inf);
  const double q = std::pow(0.025, 1.0 / 14);
  ExpectClose(all.Low, q / (1 - q));  // 3.317...: "odds ratio inf [3.32, inf]"
  // One each: P(X >= 1) = 1 - (1 - p)^2 and P(X <= 1) = 1 - p^2 at 0.025 give p = 1 - sqrt(0.975) and sqrt(0.975).
  const TOddsRatio even = *McNemarOddsRatio(1, 1);
  EXPECT_EQ(even.Ratio, 1);
  ExpectClose(even.Low, 1 / std::sqrt(0.975) - 1);
  ExpectClose(even.High, std::sqrt(0.975) / (1 - std::sqrt(0.975)));
  const TOddsRatio some = *McNemarOddsRatio(5, 3);
  ExpectClose(some.Ratio, 5.0 / 3);
  ExpectClose(some.Low, 0.3242633939619374);  // scipy binomtest(5, 8).proportion_ci(method='exact')
  ExpectClose(some.High, 10.732487899472037);
  EXPECT_FALSE(McNemarOddsRatio(0, 0).has_value());
}

TEST(WilcoxonSignedRank, NormalApproximationAboveFiftyDropsZerosAndAveragesTiedRanks) {
  // 2 -2 3 3 -1 5 4 3 with two zeros, six times over: 48 nonzero, still exact; two
  // more blocks make 64, and the normal approximation with tie and continuity correction.
  std::vector<double> d;
  for (int i = 0; i < 6; ++i)
    for (double v : {0.0, 2.0, -2.0, 3.0, 3.0, -1.0, 0.0, 5.0, 4.0, 3.0}) d.push_back(v);
  const TSignedRankResult r = *WilcoxonSignedRank(d);
  EXPECT_EQ(r.N, 48);  // at most fifty nonzero: exact
  EXPECT_TRUE(r.Exact);
  for (int i = 0; i < 2; ++i) d.insert(d.end(), {2, -2, 3, 3, -1, 5, 4, 3});
  const TSignedRankResult big = *WilcoxonSignedRank(d);
  EXPECT_EQ(big.N, 64);
  EXPECT_FALSE(big.Exact);
  // 64 nonzero: |1| 8 (4.5), |2| 16 (16.5), |3| 24 (36.5), |4| 8 (52.5), |5| 8 (60.5).
  EXPECT_EQ(big.WMinus, 8 * 4.5 + 8 * 16.5);
  EXPECT_EQ(big.Statistic, big.WMinus);
  const double variance = 64.0 * 65 * 129 / 24 - (3 * (512 - 8) + (4096 - 16) + (13824 - 24)) / 48.0;
  ExpectClose(big.PValue, std::erfc((1040 - 168 - 0.5) / std::sqrt(variance) / std::sqrt(2.0)));
}

// The exact p by enumerating every sign pattern of the doubled ranks.
double BruteForceSignedRankP(const std::vector<double>& Differences) {
  const TSignedRankResult r = *WilcoxonSignedRank(Differences);
  std::vector<double> magnitudes;
  for (double v : Differences)
    if (v != 0) magnitudes.push_back(std::fabs(v));
  std::vector<double> ranks;  // average ranks by counting
  for (double m : magnitudes) {
    double below = 0, equal = 0;
    for (double o : magnitudes) below += o < m, equal += o == m;
    ranks.push_back(below + (equal + 1) / 2);
  }
  const size_t n = ranks.size();
  double at_most = 0;
  for (uint64_t signs = 0; signs < (uint64_t{1} << n); ++signs) {
    double w = 0;
    for (size_t i = 0; i < n; ++i)
      if (signs >> i & 1) w += ranks[i];
    at_most += w <= r.Statistic;
  }
  return std::min(1.0, 2 * at_most / static_cast<double>(uint64_t{1} << n));
}

TEST(WilcoxonSignedRank, ExactUpToFiftyMatchesEnumeration) {
  for (const std::vector<double>& d : std::vector<std::vector<double>>{{5},
                                                                       {-7},
                                                                       {3, -1, 3, 3, 2},
                                                                       {0, 2, -2, 3, 3, -1, 0, 5, 4, 3, 0},
                                                                       {1, -2, 3, 4, -5, 6, 7, 8, -9, 10, 11, 12},
                                                                       {2, 2, -2, 2, 4, 4, -4, 6, 6, 6, 6, 1}}) {
    const TSignedRankResult r = *WilcoxonSignedRank(d);
    EXPECT_TRUE(r.Exact);
    ExpectClose(r.PValue, BruteForceSignedRankP(d));
  }
  // By hand: one difference has W+ 0 or 1 alike, so p = 2 x 1/2.
  EXPECT_EQ(WilcoxonSignedRank({5})->PValue, 1.0);
  // Ranks 1..12 with 2, 5, 9 negative: T = 16; wilcox.exact gives 0.0771484375 (= 79 / 1024).
  const TSignedRankResult twelve = *WilcoxonSignedRank({1, -2, 3, 4, -5, 6, 7, 8, -9, 10, 11, 12});
  EXPECT_EQ(twelve.Statistic, 16);
  EXPECT_EQ(twelve.WPlus, 62);
  ExpectClose(twelve.PValue, 0.0771484375);
}

TEST(WilcoxonSignedRank, ExactWithTiesAgreesWithWilcoxExact) {
  // R 4.2, exactRankTests 0.8.35: wilcox.exact(d, exact = TRUE)$p.value; V there is W+.
  const std::vector<double> d30{3, -1, 4,  1, -5, 9,  2, -6, 5, 3,  -5, 8, 9, -7, 9,
                                3, 2,  -3, 8, 4,  -6, 2, 6,  4, -3, 3,  8, 3, 2,  7};
  const TSignedRankResult r30 = *WilcoxonSignedRank(d30);
  EXPECT_EQ(r30.WPlus, 342);
  EXPECT_EQ(r30.Statistic, 465 - 342);
  ExpectClose(r30.PValue, 0.02273169718682766);
  const std::vector<double> d50{2, -1, 3,  3, 5, -2, 4,  1, 6, 2, -3, 7, 2, 2, -1, 4,  5, 3, -6, 1, 2,  8, 3, -2, 4,
                                4, 1,  -5, 3, 2, 6,  -1, 2, 7, 3, -4, 5, 2, 1, 3,  -2, 9, 4, 1,  2, -3, 6, 2, 5,  3};
  const TSignedRankResult r50 = *WilcoxonSignedRank(d50);
  EXPECT_TRUE(r50.Exact);
  EXPECT_EQ(r50.WPlus, 1044.5);
  ExpectClose(r50.PValue, 3.7426741627655247e-05);
}

TEST(WilcoxonSignedRank, BalancedSignsGiveOneAndAllZerosAreUndefined) {
  EXPECT_EQ(WilcoxonSignedRank({10, -30, -30, 40})->PValue, 1.0);  // W+ = W- = 5
  EXPECT_FALSE(WilcoxonSignedRank({0, 0, 0}).has_value());
  EXPECT_FALSE(WilcoxonSignedRank({}).has_value());
}

TEST(SignedRankCounts, CountsTheSignPatternsOfEachSum) {
  // Doubled ranks 2 and 2 (a tie of two at rank 1.5): sums 0, 2, 4 in 1, 2, 1 ways.
  EXPECT_EQ(SignedRankCounts({2, 2}), (std::vector<double>{1, 0, 2, 0, 1}));
  EXPECT_EQ(SignedRankCounts({}), std::vector<double>{1});
  // Fifty ranks: every one of the 2^50 patterns counted, exactly.
  std::vector<int64_t> fifty;
  for (int64_t r = 1; r <= 50; ++r) fifty.push_back(2 * r);
  const std::vector<double> counts = SignedRankCounts(fifty);
  EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0.0), std::ldexp(1.0, 50));
}

TEST(VarghaDelaneyA12, CountsTiesAsHalf) {
  // A 1 2 2 5 against B 2 3: 1 lies below both (2), each 2 ties one and lies below
  // one (1.5 twice), 5 below none: 5 of 8. scipy: mannwhitneyu(B, A).statistic / 8.
  EXPECT_EQ(VarghaDelaneyA12({1, 2, 2, 5}, {2, 3}), 0.625);
  EXPECT_EQ(VarghaDelaneyA12({2, 3}, {1, 2, 2, 5}), 0.375);  // the two sides add up to 1
  EXPECT_EQ(VarghaDelaneyA12({4, 4}, {4}), 0.5);
  EXPECT_EQ(VarghaDelaneyA12({1}, {9, 9, 9}), 1.0);
  EXPECT_FALSE(VarghaDelaneyA12({}, {1}).has_value());
  EXPECT_FALSE(VarghaDelaneyA12({1}, {}).has_value());
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
