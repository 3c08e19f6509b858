#include "experiment/Report.h"

#include <charconv>
#include <cstdio>
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

std::string SummaryLine(const TSummaryRow& row) {
  const std::string interval =
      row.Success ? "[" + Fixed(row.Success->Low, 3) + ", " + Fixed(row.Success->High, 3) + "]" : "-";
  const std::optional<double> median =
      row.SolvedGenerations ? std::optional(row.SolvedGenerations->Median) : std::nullopt;
  return PadLeft(std::to_string(row.Queens), 6) + "  " + PadRight(ga::ToString(row.Method), kMethodWidth) +
         PadLeft(std::to_string(row.Solved) + "/" + std::to_string(row.Runs), 9) + "  " +
         PadLeft(Fixed(row.SuccessRate, 3), 5) + "  " + PadRight(interval, 14) + "  " +
         PadLeft(Fixed(row.ErtGenerations, 1), 10) + "  " + PadLeft(Fixed(median, 1), 11) + "\n";
}

// The lines naming the differing pairs of one queen count, or "none".
std::string DifferencesOf(int32_t queens, const std::vector<TComparisonRow>& comparisons) {
  // Pair -> "test p_holm" texts of the tests in which it differs, in file order.
  std::map<std::pair<size_t, size_t>, std::string> pairs;
  for (const TComparisonRow& row : comparisons) {
    if (row.Queens != queens || !Differs(row)) continue;
    std::string& tests = pairs[{*MethodRank(row.MethodA), *MethodRank(row.MethodB)}];
    if (!tests.empty()) tests += ", ";
    tests += ToString(row.Test) + " p_holm " + Fixed(row.PHolm, 4);
  }
  std::string text = std::to_string(queens) + " queens, pairs differing (Holm p < 0.05):";
  if (pairs.empty()) return text + " none\n";
  text += "\n";
  for (const auto& [pair, tests] : pairs)
    text += "  " + ga::ToString(kMethodOrder[pair.first]) + " vs " + ga::ToString(kMethodOrder[pair.second]) + ": " +
            tests + "\n";
  return text;
}

}  // namespace

std::string ReportTable(const std::vector<TSummaryRow>& Summary, const std::vector<TComparisonRow>& Comparisons) {
  std::string text = PadLeft("queens", 6) + "  " + PadRight("method", kMethodWidth) + PadLeft("solved", 9) + "  " +
                     PadLeft("rate", 5) + "  " + PadRight("95% interval", 14) + "  " + PadLeft("ERT gens", 10) + "  " +
                     PadLeft("median gens", 11) + "\n";
  std::set<int32_t> queen_counts;
  for (const TSummaryRow& row : Summary) {
    text += SummaryLine(row);
    queen_counts.insert(row.Queens);
  }
  for (const int32_t queens : queen_counts) text += DifferencesOf(queens, Comparisons);
  return text;
}

std::vector<ga::TGASelectionMethod> DifferingMethods(const std::vector<TComparisonRow>& Comparisons, int32_t Queens,
                                                     ga::TGASelectionMethod Method) {
  std::set<size_t> ranks;
  for (const TComparisonRow& row : Comparisons) {
    if (row.Queens != Queens || !Differs(row)) continue;
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
