#include "experiment/Statistics.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
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

TTestResult McNemarExact(int64_t OnlyA, int64_t OnlyB) {
  const int64_t n = OnlyA + OnlyB;
  if (OnlyA < 0 || OnlyB < 0 || n == 0) return {};
  const int64_t smaller = std::min(OnlyA, OnlyB);
  const boost::math::binomial_distribution<double> binomial(static_cast<double>(n), 0.5);
  // The distribution is symmetric, so the two tails are equal.
  const double p = 2 * boost::math::cdf(binomial, static_cast<double>(smaller));
  return {static_cast<double>(smaller), std::min(1.0, p)};
}

TTestResult WilcoxonSignedRank(const std::vector<double>& Differences) {
  std::vector<double> magnitudes;
  for (double d : Differences)
    if (d != 0) magnitudes.push_back(std::fabs(d));
  const size_t n = magnitudes.size();
  if (n == 0) return {};

  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return magnitudes[a] < magnitudes[b]; });
  std::vector<double> ranks(n);
  double tie_terms = 0;  // sum of t^3 - t over groups of tied magnitudes
  for (size_t first = 0; first < n;) {
    size_t last = first;
    while (last + 1 < n && magnitudes[order[last + 1]] == magnitudes[order[first]]) ++last;
    const double average_rank = static_cast<double>(first + last + 2) / 2;
    for (size_t i = first; i <= last; ++i) ranks[order[i]] = average_rank;
    const auto t = static_cast<double>(last - first + 1);
    tie_terms += t * t * t - t;
    first = last + 1;
  }

  double w_plus = 0;
  double w_minus = 0;
  size_t next = 0;
  for (double d : Differences) {
    if (d == 0) continue;
    (d > 0 ? w_plus : w_minus) += ranks[next++];
  }
  const double t_statistic = std::min(w_plus, w_minus);
  const auto count = static_cast<double>(n);
  const double mean = count * (count + 1) / 4;
  // Positive for n >= 1 even when every magnitude ties.
  const double variance = count * (count + 1) * (2 * count + 1) / 24 - tie_terms / 48;
  double shift = t_statistic - mean;
  if (shift != 0) shift -= std::copysign(0.5, shift);
  const double z = std::fabs(shift) / std::sqrt(variance);
  const double p = 2 * boost::math::cdf(boost::math::complement(boost::math::normal_distribution<double>(), z));
  return {t_statistic, std::min(1.0, p)};
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
