#include "experiment/Statistics.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <cmath>
#include <limits>
#include <numeric>

namespace zp::experiment {

double NormalQuantile975() {
  static const double z = boost::math::quantile(boost::math::normal_distribution<double>(), 0.975);
  return z;
}

std::optional<TInterval> WilsonInterval(int64_t Successes, int64_t Trials) {
  if (Trials <= 0 || Successes < 0 || Successes > Trials) return std::nullopt;
  const double z = NormalQuantile975();
  const double z2 = z * z;
  const double n = static_cast<double>(Trials);
  const double k = static_cast<double>(Successes);
  // Newcombe's form keeps k (n - k) / n exact for the extreme counts.
  const double denominator = 2 * (n + z2);
  const double centre = (2 * k + z2) / denominator;
  const double half = z * std::sqrt(z2 + 4 * k * (n - k) / n) / denominator;
  // At 0 of n (or n of n) the bound is 0 (or 1) exactly; the subtraction alone
  // would leave a rounding residue such as 1E-17 in the written file.
  return TInterval{Successes == 0 ? 0.0 : centre - half, Successes == Trials ? 1.0 : centre + half};
}

std::optional<double> ExpectedRunningTime(double TotalCost, int64_t Solved) {
  if (Solved <= 0) return std::nullopt;
  return TotalCost / static_cast<double>(Solved);
}

namespace {

// Type-7 quantile of values already sorted ascending and not empty.
double SortedQuantile7(const std::vector<double>& sorted, double p) {
  const double h = static_cast<double>(sorted.size() - 1) * p;
  const auto lower = static_cast<size_t>(std::floor(h));
  if (lower + 1 >= sorted.size()) return sorted.back();
  return sorted[lower] + (h - static_cast<double>(lower)) * (sorted[lower + 1] - sorted[lower]);
}

}  // namespace

std::optional<double> Quantile7(std::vector<double> Values, double P) {
  if (Values.empty() || !(P >= 0 && P <= 1)) return std::nullopt;
  std::sort(Values.begin(), Values.end());
  return SortedQuantile7(Values, P);
}

std::optional<TQuartiles> Quartiles(std::vector<double> Values) {
  if (Values.empty()) return std::nullopt;
  std::sort(Values.begin(), Values.end());
  return TQuartiles{SortedQuantile7(Values, 0.25), SortedQuantile7(Values, 0.5), SortedQuantile7(Values, 0.75)};
}

std::optional<double> Mean(const std::vector<double>& Values) {
  if (Values.empty()) return std::nullopt;
  return std::accumulate(Values.begin(), Values.end(), 0.0) / static_cast<double>(Values.size());
}

std::optional<double> SampleStandardDeviation(const std::vector<double>& Values) {
  if (Values.size() < 2) return std::nullopt;
  // Two passes: squares of deviations from the mean, not the cancelling sum-of-squares formula.
  const double mean = *Mean(Values);
  double squares = 0;
  for (double v : Values) squares += (v - mean) * (v - mean);
  return std::sqrt(squares / static_cast<double>(Values.size() - 1));
}

std::optional<TTestResult> McNemarExact(int64_t OnlyA, int64_t OnlyB) {
  const int64_t n = OnlyA + OnlyB;
  if (OnlyA < 0 || OnlyB < 0 || n == 0) return std::nullopt;
  const int64_t smaller = std::min(OnlyA, OnlyB);
  const boost::math::binomial_distribution<double> binomial(static_cast<double>(n), 0.5);
  // The distribution is symmetric, so the two tails are equal.
  const double p = 2 * boost::math::cdf(binomial, static_cast<double>(smaller));
  return TTestResult{static_cast<double>(smaller), std::min(1.0, p)};
}

std::optional<TOddsRatio> McNemarOddsRatio(int64_t OnlyA, int64_t OnlyB) {
  if (OnlyA < 0 || OnlyB < 0 || OnlyA + OnlyB == 0) return std::nullopt;
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const auto a = static_cast<double>(OnlyA), b = static_cast<double>(OnlyB);
  // Clopper-Pearson: the limits are quantiles of beta distributions.
  const double low = OnlyA == 0 ? 0.0 : boost::math::ibeta_inv(a, b + 1, 0.025);
  const double high = OnlyB == 0 ? 1.0 : boost::math::ibeta_inv(a + 1, b, 0.975);
  const auto odds = [&](double p) { return p >= 1 ? kInfinity : p / (1 - p); };
  return TOddsRatio{OnlyB == 0 ? kInfinity : a / b, odds(low), odds(high)};
}

std::vector<double> SignedRankCounts(const std::vector<int64_t>& DoubledRanks) {
  int64_t total = 0;
  for (const int64_t r : DoubledRanks) total += r;
  // counts[s] = sign patterns of the ranks so far whose positive ones sum to s; at
  // most 2^50 of them here, which a double holds exactly.
  std::vector<double> counts(static_cast<size_t>(total) + 1, 0.0);
  counts[0] = 1;
  int64_t reach = 0;
  for (const int64_t r : DoubledRanks) {
    reach += r;
    for (int64_t s = reach; s >= r; --s) counts[static_cast<size_t>(s)] += counts[static_cast<size_t>(s - r)];
  }
  return counts;
}

std::optional<TSignedRankResult> WilcoxonSignedRank(const std::vector<double>& Differences) {
  std::vector<double> magnitudes;
  for (double d : Differences)
    if (d != 0) magnitudes.push_back(std::fabs(d));
  const size_t n = magnitudes.size();
  if (n == 0) return std::nullopt;

  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return magnitudes[a] < magnitudes[b]; });
  // Twice the average ranks: whole numbers, so the exact distribution is over integers.
  std::vector<int64_t> doubled(n);
  double tie_terms = 0;  // sum of t^3 - t over groups of tied magnitudes
  for (size_t first = 0; first < n;) {
    size_t last = first;
    while (last + 1 < n && magnitudes[order[last + 1]] == magnitudes[order[first]]) ++last;
    for (size_t i = first; i <= last; ++i) doubled[order[i]] = static_cast<int64_t>(first + last + 2);
    const auto t = static_cast<double>(last - first + 1);
    tie_terms += t * t * t - t;
    first = last + 1;
  }

  int64_t doubled_plus = 0, doubled_minus = 0;
  size_t next = 0;
  for (double d : Differences) {
    if (d == 0) continue;
    (d > 0 ? doubled_plus : doubled_minus) += doubled[next++];
  }
  TSignedRankResult result;
  result.N = static_cast<int64_t>(n);
  result.WPlus = static_cast<double>(doubled_plus) / 2;
  result.WMinus = static_cast<double>(doubled_minus) / 2;
  result.Statistic = std::min(result.WPlus, result.WMinus);
  if (result.N <= kExactSignedRankLimit) {
    const std::vector<double> counts = SignedRankCounts(doubled);
    const int64_t t2 = std::min(doubled_plus, doubled_minus);
    double tail = 0;
    for (int64_t s = 0; s <= t2; ++s) tail += counts[static_cast<size_t>(s)];
    result.PValue = std::min(1.0, 2 * std::ldexp(tail, -static_cast<int>(n)));
    result.Exact = true;
    return result;
  }
  const auto count = static_cast<double>(n);
  const double mean = count * (count + 1) / 4;
  // Positive for n >= 1 even when every magnitude ties.
  const double variance = count * (count + 1) * (2 * count + 1) / 24 - tie_terms / 48;
  double shift = result.Statistic - mean;
  if (shift != 0) shift -= std::copysign(0.5, shift);
  const double z = std::fabs(shift) / std::sqrt(variance);
  const double p = 2 * boost::math::cdf(boost::math::complement(boost::math::normal_distribution<double>(), z));
  result.PValue = std::min(1.0, p);
  return result;
}

std::optional<double> VarghaDelaneyA12(std::vector<double> A, std::vector<double> B) {
  if (A.empty() || B.empty()) return std::nullopt;
  std::sort(B.begin(), B.end());
  // Twice (below + half the ties), counted exactly, then one division.
  int64_t twice = 0;
  for (const double a : A) {
    const auto equal = std::equal_range(B.begin(), B.end(), a);
    twice += 2 * (B.end() - equal.second) + (equal.second - equal.first);
  }
  return static_cast<double>(twice) / (2.0 * static_cast<double>(A.size()) * static_cast<double>(B.size()));
}

std::vector<double> HolmAdjust(const std::vector<double>& PValues) {
  const size_t m = PValues.size();
  std::vector<size_t> order(m);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return PValues[a] < PValues[b]; });
  std::vector<double> adjusted(m);
  double running = 0;  // keeps the adjusted values from falling along the sorted order
  for (size_t i = 0; i < m; ++i) {
    running = std::max(running, std::min(1.0, static_cast<double>(m - i) * PValues[order[i]]));
    adjusted[order[i]] = running;
  }
  return adjusted;
}

}  // namespace zp::experiment
