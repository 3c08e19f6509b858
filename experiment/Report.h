// The short table an experiment prints on stdout when it ends: per cell
// and method the hit rate with its interval, ERT and median hit generation,
// then per cell each test that finds a difference after Holm's
// correction, its winner first, and the pairs that none of their tests tells apart.
#pragma once

#include <string>
#include <vector>

#include "experiment/Comparisons.h"
#include "experiment/Summary.h"

namespace zp::experiment {

// Pairs with a Holm-adjusted p below this are reported as differing.
inline constexpr double kSignificanceLevel = 0.05;

// True when Row's Holm-adjusted p is below kSignificanceLevel (never for an undefined test).
inline bool Differs(const TComparisonRow& Row) { return Row.PHolm && *Row.PHolm < kSignificanceLevel; }

// The methods that differ from Method in Cell in either test of the one family, in the
// workbench's order; none when no comparison row says so.
std::vector<ga::TGASelectionMethod> DifferingMethods(const std::vector<TComparisonRow>& Comparisons, const TCell& Cell,
                                                     ga::TGASelectionMethod Method);

// The table as "\n"-ended lines, a column for the configuration only when a row has
// one other than 0; numbers rounded for reading ("." in every
// locale), "-" for an undefined value. Only the header line for no rows. A
// difference reads "Tournament beats Roulette on hits: 17 vs 3 of 20 (14 vs 0
// where they differ), odds ratio inf [3.32, inf], p_holm 0.0024" or "... on run
// length: Â12 0.81, p_holm 0.0087" (odds ratios to 3 significant digits, p
// below 0.0001 as "<0.0001"); then "Not different (p_holm ≥ 0.05): " and the
// pairs, "A–B" joined by ", ", or "none".
std::string ReportTable(const std::vector<TSummaryRow>& Summary, const std::vector<TComparisonRow>& Comparisons);

// A duration for a progress display, rounded to whole seconds: "m:ss", or
// "h:mm:ss" from an hour on.
std::string ClockText(double Seconds);

}  // namespace zp::experiment
