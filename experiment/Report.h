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

// True when Row's Holm-adjusted p is below kSignificanceLevel (never for NaN).
inline bool Differs(const TComparisonRow& Row) { return Row.PHolm < kSignificanceLevel; }

// The methods that differ from Method at Queens queens in either test, in the
// workbench's order; none when no comparison row says so.
std::vector<ga::TGASelectionMethod> DifferingMethods(const std::vector<TComparisonRow>& Comparisons, int32_t Queens,
                                                     ga::TGASelectionMethod Method);

// The table as "\n"-ended lines; numbers rounded for reading ("." in every
// locale), "-" for an undefined value. Only the header line for no rows.
std::string ReportTable(const std::vector<TSummaryRow>& Summary, const std::vector<TComparisonRow>& Comparisons);

// A duration for a progress display, rounded to whole seconds: "m:ss", or
// "h:mm:ss" from an hour on.
std::string ClockText(double Seconds);

}  // namespace zp::experiment
