// The statistics of an experiment as pure functions over plain numbers:
// success-rate interval, expected running time, quartiles, mean and spread,
// the paired tests between two methods with their effect sizes, and Holm's
// correction over a family.
//
//   WilsonInterval(3, 10);                  // {0.107789..., 0.603222...}
//   McNemarExact(1, 6)->PValue;             // 0.125
//   HolmAdjust({0.01, 0.04, 0.03});         // {0.03, 0.06, 0.06}
// An undefined value is an empty optional, never NaN.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zp::experiment {

// Phi^-1(0.975), the two-sided 95% normal quantile (1.959963984540054...).
double NormalQuantile975();

struct TInterval {
  double Low = 0;
  double High = 0;
};

// Wilson score interval at 95% without continuity correction for Successes of
// Trials; exactly 0 below for no successes and exactly 1 above for all.
// Empty when Trials is 0 or Successes lies outside 0 .. Trials.
std::optional<TInterval> WilsonInterval(int64_t Successes, int64_t Trials);

// Expected running time: the cost of all runs, solved or not, over the number solved.
// Empty when nothing was solved.
std::optional<double> ExpectedRunningTime(double TotalCost, int64_t Solved);

// Sample quantile at P (0 to 1) by linear interpolation between order statistics
// (type 7, numpy's default). Empty for no values or P outside 0 .. 1.
std::optional<double> Quantile7(std::vector<double> Values, double P);

struct TQuartiles {
  double Q1 = 0;
  double Median = 0;
  double Q3 = 0;
};

// Type-7 quartiles and median; empty for no values.
std::optional<TQuartiles> Quartiles(std::vector<double> Values);

// Arithmetic mean; empty for no values.
std::optional<double> Mean(const std::vector<double>& Values);

// Sample standard deviation (divisor n - 1); empty for fewer than two values.
std::optional<double> SampleStandardDeviation(const std::vector<double>& Values);

// A paired test's statistic and two-sided p-value.
struct TTestResult {
  double Statistic = 0;
  double PValue = 1;
};

// Exact McNemar test from the discordant pairs: OnlyA = a hit and b did not,
// OnlyB the reverse. Statistic min(OnlyA, OnlyB); p the two-sided exact binomial
// test of n = OnlyA + OnlyB at 1/2, capped at 1. Empty (undefined) when n is 0.
std::optional<TTestResult> McNemarExact(int64_t OnlyA, int64_t OnlyB);

// The odds ratio OnlyA / OnlyB of the discordant pairs with its 95% limits from
// the Clopper-Pearson interval [pL, pU] of OnlyA in OnlyA + OnlyB, as pL / (1 - pL)
// and pU / (1 - pU): 0 below when OnlyA is 0, +infinity above (and as the ratio)
// when OnlyB is 0. Empty when there is no discordant pair.
struct TOddsRatio {
  double Ratio = 0;
  double Low = 0;
  double High = 0;
};
std::optional<TOddsRatio> McNemarOddsRatio(int64_t OnlyA, int64_t OnlyB);

// Wilcoxon signed-rank test of paired Differences: zeros dropped, average ranks
// for ties, T = min(W+, W-). Up to kExactSignedRankLimit nonzero differences the
// p value is exact: W+ under random signs over the doubled average ranks,
// min(1, 2 P(W+ <= T)); above, the normal approximation with tie and 1/2
// continuity correction, two-sided. Empty (undefined) when no difference is nonzero.
struct TSignedRankResult : TTestResult {
  int64_t N = 0;      // nonzero differences
  double WPlus = 0;   // rank sum of the positive differences
  double WMinus = 0;  // rank sum of the negative ones
  bool Exact = false;
};
inline constexpr int64_t kExactSignedRankLimit = 50;
std::optional<TSignedRankResult> WilcoxonSignedRank(const std::vector<double>& Differences);

// The exact null distribution behind WilcoxonSignedRank: for doubled ranks
// (positive integers), the number of the 2^n sign patterns giving each doubled
// W+ from 0 to the ranks' sum. Empty in, {1} out.
std::vector<double> SignedRankCounts(const std::vector<int64_t>& DoubledRanks);

// Vargha and Delaney's A12 of lower-is-better values: the chance that a value of
// A lies below one of B, ties counting half, over all |A| x |B| pairs; above 0.5
// favours A. Empty when either side is empty.
std::optional<double> VarghaDelaneyA12(std::vector<double> A, std::vector<double> B);

// Holm's step-down adjustment of a family of p-values, in the input's order:
// monotone in the sorted order and capped at 1. Empty in, empty out.
std::vector<double> HolmAdjust(const std::vector<double>& PValues);

}  // namespace zp::experiment
