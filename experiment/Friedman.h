// The Friedman test over instances (rows) and methods (columns), the methods'
// average ranks, Nemenyi's critical difference and the bars of a
// critical-difference diagram: how methods compare across many instances.
//
//   const TFriedman f = FriedmanTest({{1, 2, 3}, {1, 3, 2}, ...});   // lower is better
//   const double cd = CriticalDifference(3, f.Instances);
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace zp::experiment {

// The 1-based ranks of Values, lowest first, tied values sharing their mid-rank
// (+inf ties with +inf). Empty in, empty out.
std::vector<double> MidRanks(std::span<const double> Values);

struct TFriedman {
  int64_t Instances = 0;             // N: the rows
  int32_t Methods = 0;               // k: the columns
  std::vector<double> AverageRanks;  // per column, over the rows
  // The tie-corrected chi-squared statistic and its p from chi-squared with
  // k - 1 degrees of freedom; empty when every row is tied throughout.
  std::optional<double> Statistic;
  std::optional<double> PValue;
};

// Values[i][j] is method j's value on instance i, lower being better (+inf for
// a method that never hit). Rows shorter or longer than the first are
// refused with std::invalid_argument; fewer than two methods or no rows give
// no statistic.
TFriedman FriedmanTest(const std::vector<std::vector<double>>& Values);

// The studentized range's 95% quantile over sqrt(2) for K methods, 2 to 10; empty otherwise.
std::optional<double> NemenyiQ(int32_t K);

// q * sqrt(k (k + 1) / (6 N)); empty where NemenyiQ is, or for no instances.
std::optional<double> CriticalDifference(int32_t K, int64_t N);

// The bars of a critical-difference diagram, as first and last places in
// SortedRanks (ascending): for each place the longest run of methods from it
// whose rank range is below Cd, runs inside an earlier one dropped, runs of two or more kept.
std::vector<std::pair<size_t, size_t>> CriticalDifferenceBars(std::span<const double> SortedRanks, double Cd);

}  // namespace zp::experiment
