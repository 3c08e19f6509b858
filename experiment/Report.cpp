#include "experiment/Report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <set>

namespace zp::experiment {

namespace {

// Fixed-point text with Decimals digits; to_chars ignores the locale, unlike printf.
std::string Fixed(double value, int decimals) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

std::string Fixed(const std::optional<double>& value, int decimals) {
  return value ? Fixed(*value, decimals) : std::string("-");
}

std::string PadLeft(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string PadRight(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

constexpr size_t kMethodWidth = 24;  // "smStochasticTournament" and a gap

constexpr size_t kProblemWidth = 12;  // "leadingones" and a gap

std::string CellColumns(const TSummaryRow& row, bool configs) {
  return PadRight(row.Problem, kProblemWidth) + PadLeft(std::to_string(row.Size), 5) + "  " +
         (configs ? PadLeft(std::to_string(row.Config), 6) + "  " : std::string());
}

std::string SummaryLine(const TSummaryRow& row, bool configs) {
  const std::string interval =
      row.Success ? "[" + Fixed(row.Success->Low, 3) + ", " + Fixed(row.Success->High, 3) + "]" : "-";
  const std::optional<double> median = row.HitGenerations ? std::optional(row.HitGenerations->Median) : std::nullopt;
  return CellColumns(row, configs) + PadRight(ga::ToString(row.Method), kMethodWidth) +
         PadLeft(std::to_string(row.Hits) + "/" + std::to_string(row.Runs), 9) + "  " +
         PadLeft(Fixed(row.SuccessRate, 3), 5) + "  " + PadRight(interval, 14) + "  " +
         PadLeft(Fixed(row.ErtGenerations, 1), 10) + "  " + PadLeft(Fixed(median, 1), 11) + "\n";
}

std::string Caption(ga::TGASelectionMethod method) {
  return std::string(ga::kSelectionMethods[*MethodRank(method)].Caption);
}

// Three significant digits, "inf" for infinity: 3.32, 0.0245, 1230.
std::string Significant3(double value) {
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  if (value == 0) return "0";
  // The exponent after rounding to three digits decides the decimals.
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 2).ptr;
  double rounded = 0;
  std::from_chars(buffer, end, rounded);
  // The buffer has no terminating zero: the exponent is read up to End only.
  const char* sign = std::find(buffer, end, 'e') + 1;
  int exponent = 0;
  std::from_chars(sign + (*sign == '+' ? 1 : 0), end, exponent);
  return Fixed(rounded, std::max(0, 2 - exponent));
}

std::string PText(double p) { return p < 0.0001 ? "<0.0001" : Fixed(p, 4); }

// "Tournament beats Roulette on hits: 17 vs 3 of 20 (14 vs 0 where they differ), odds ratio inf [3.32, inf], ..."
std::string WinnerLine(const TComparisonRow& row) {
  const bool a = row.AWins;
  const std::string winner = Caption(a ? row.MethodA : row.MethodB), loser = Caption(a ? row.MethodB : row.MethodA);
  std::string text = winner + " beats " + loser + " on ";
  if (row.Test == TPairedTest::ptMcNemarExact) {
    // The odds ratio and its limits turned round when b is the winner.
    const auto turned = [](double v) { return v == 0 ? std::numeric_limits<double>::infinity() : 1 / v; };
    const double ratio = a ? *row.Effect : turned(*row.Effect);
    const double low = a ? *row.EffectLow : turned(*row.EffectHigh);
    const double high = a ? *row.EffectHigh : turned(*row.EffectLow);
    text += "hits: " + std::to_string(a ? row.HitsA : row.HitsB) + " vs " + std::to_string(a ? row.HitsB : row.HitsA) +
            " of " + std::to_string(row.Pairs) + " (" + std::to_string(a ? row.ABetter : row.BBetter) + " vs " +
            std::to_string(a ? row.BBetter : row.ABetter) + " where they differ), odds ratio " + Significant3(ratio) +
            " [" + Significant3(low) + ", " + Significant3(high) + "]";
  } else {
    text += "run length: Â12 " + Fixed(a ? *row.Effect : 1 - *row.Effect, 2);
  }
  return text + ", p_holm " + PText(*row.PHolm) + "\n";
}

// The lines of one cell: each test that finds a difference, then the pairs none of whose tests does.
std::string DifferencesOf(const TCell& cell, const std::vector<TComparisonRow>& comparisons) {
  std::string text = CellCaption(cell) + ":\n";
  std::map<std::pair<size_t, size_t>, bool> pairs;  // in the workbench's order; true when a test differs
  for (const TComparisonRow& row : comparisons) {
    if (CellOf(row) != cell) continue;
    bool& differs = pairs[{*MethodRank(row.MethodA), *MethodRank(row.MethodB)}];
    if (!Differs(row)) continue;
    differs = true;
    text += "  " + WinnerLine(row);
  }
  std::string same;
  for (const auto& [pair, differs] : pairs)
    if (!differs)
      same += (same.empty() ? "" : ", ") + Caption(kMethodOrder[pair.first]) + "–" + Caption(kMethodOrder[pair.second]);
  return text + "  Not different (p_holm ≥ 0.05): " + (same.empty() ? "none" : same) + "\n";
}

}  // namespace

std::string ReportTable(const std::vector<TSummaryRow>& Summary, const std::vector<TComparisonRow>& Comparisons) {
  const bool configs =
      std::any_of(Summary.begin(), Summary.end(), [](const TSummaryRow& row) { return row.Config != 0; });
  std::string text = PadRight("problem", kProblemWidth) + PadLeft("size", 5) + "  " +
                     (configs ? PadLeft("config", 6) + "  " : std::string()) + PadRight("method", kMethodWidth) +
                     PadLeft("hits", 9) + "  " + PadLeft("rate", 5) + "  " + PadRight("95% interval", 14) + "  " +
                     PadLeft("ERT gens", 10) + "  " + PadLeft("median gens", 11) + "\n";
  std::vector<TCell> cells;  // in the table's order
  for (const TSummaryRow& row : Summary) {
    text += SummaryLine(row, configs);
    if (cells.empty() || cells.back() != CellOf(row)) cells.push_back(CellOf(row));
  }
  for (const TCell& cell : cells) text += DifferencesOf(cell, Comparisons);
  return text;
}

std::vector<ga::TGASelectionMethod> DifferingMethods(const std::vector<TComparisonRow>& Comparisons, const TCell& Cell,
                                                     ga::TGASelectionMethod Method) {
  std::set<size_t> ranks;
  for (const TComparisonRow& row : Comparisons) {
    if (CellOf(row) != Cell || !Differs(row)) continue;
    if (row.MethodA == Method) ranks.insert(*MethodRank(row.MethodB));
    if (row.MethodB == Method) ranks.insert(*MethodRank(row.MethodA));
  }
  std::vector<ga::TGASelectionMethod> methods;
  for (const size_t rank : ranks) methods.push_back(kMethodOrder[rank]);
  return methods;
}

std::string ClockText(double Seconds) {
  const auto s = static_cast<long long>(Seconds + 0.5);
  char text[32];
  if (s >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  return text;
}

}  // namespace zp::experiment
