#include "experiment/Friedman.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace zp::experiment {

std::vector<double> MidRanks(std::span<const double> Values) {
  std::vector<size_t> order(Values.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return Values[a] < Values[b]; });
  std::vector<double> ranks(Values.size());
  for (size_t first = 0; first < order.size();) {
    size_t last = first;
    while (last + 1 < order.size() && Values[order[last + 1]] == Values[order[first]]) ++last;
    const double mid = (static_cast<double>(first + 1) + static_cast<double>(last + 1)) / 2;
    for (size_t i = first; i <= last; ++i) ranks[order[i]] = mid;
    first = last + 1;
  }
  return ranks;
}

TFriedman FriedmanTest(const std::vector<std::vector<double>>& Values) {
  TFriedman result;
  if (Values.empty()) return result;
  const size_t k = Values.front().size();
  result.Instances = static_cast<int64_t>(Values.size());
  result.Methods = static_cast<int32_t>(k);
  result.AverageRanks.assign(k, 0.0);
  double ties = 0;  // sum of t^3 - t over the tied groups of every row
  for (const std::vector<double>& row : Values) {
    if (row.size() != k) throw std::invalid_argument("every instance needs a value of every method");
    const std::vector<double> ranks = MidRanks(row);
    for (size_t j = 0; j < k; ++j) result.AverageRanks[j] += ranks[j];
    std::vector<double> sorted = row;
    std::sort(sorted.begin(), sorted.end());
    for (size_t first = 0; first < k;) {
      size_t last = first;
      while (last + 1 < k && sorted[last + 1] == sorted[first]) ++last;
      const double t = static_cast<double>(last - first + 1);
      ties += t * t * t - t;
      first = last + 1;
    }
  }
  const double n = static_cast<double>(Values.size()), kk = static_cast<double>(k);
  for (double& rank : result.AverageRanks) rank /= n;
  if (k < 2) return result;
  const double correction = 1 - ties / (n * kk * (kk * kk - 1));
  if (correction <= 0) return result;
  double squares = 0;
  for (double rank : result.AverageRanks) squares += rank * rank;
  const double statistic = 12 * n / (kk * (kk + 1)) * (squares - kk * (kk + 1) * (kk + 1) / 4) / correction;
  result.Statistic = std::max(statistic, 0.0);
  result.PValue = boost::math::cdf(boost::math::complement(boost::math::chi_squared(kk - 1), *result.Statistic));
  return result;
}

std::optional<double> NemenyiQ(int32_t K) {
  static constexpr std::array<double, 9> kQ{1.959964, 2.343701, 2.569032, 2.727774, 2.849705,
                                            2.948320, 3.030878, 3.101730, 3.163684};
  if (K < 2 || K > 10) return std::nullopt;
  return kQ[static_cast<size_t>(K - 2)];
}

std::optional<double> CriticalDifference(int32_t K, int64_t N) {
  const std::optional<double> q = NemenyiQ(K);
  if (!q || N < 1) return std::nullopt;
  const double k = K;
  return *q * std::sqrt(k * (k + 1) / (6 * static_cast<double>(N)));
}

std::vector<std::pair<size_t, size_t>> CriticalDifferenceBars(std::span<const double> SortedRanks, double Cd) {
  std::vector<std::pair<size_t, size_t>> bars;
  size_t reached = 0;  // the furthest last place of a run so far
  for (size_t first = 0; first < SortedRanks.size(); ++first) {
    size_t last = first;
    while (last + 1 < SortedRanks.size() && SortedRanks[last + 1] - SortedRanks[first] < Cd) ++last;
    // Runs start in order, so a run lies inside an earlier one exactly when it ends no further.
    if (first > 0 && last <= reached) continue;
    reached = last;
    if (last > first) bars.emplace_back(first, last);
  }
  return bars;
}

}  // namespace zp::experiment
