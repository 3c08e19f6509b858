// The short table an experiment prints on stdout when it ends: per queen count
// and method the success rate with its interval, ERT and median generations,
// then per queen count the pairs of methods that differ after Holm's correction.
#pragma once

#include <string>
#include <vector>

#include "experiment/Comparisons.h"
#include "experiment/Summary.h"

namespace zp::experiment {

// Pairs with a Holm-adjusted p below this are reported as differing.
inline constexpr double kSignificanceLevel = 0.05;

// The table as "\n"-ended lines; numbers rounded for reading ("." in every
// locale), "-" for an undefined value. Only the header line for no rows.
std::string ReportTable(const std::vector<TSummaryRow>& Summary, const std::vector<TComparisonRow>& Comparisons);

}  // namespace zp::experiment
