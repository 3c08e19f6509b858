#include "experiment/Comparisons.h"

#include <cmath>
#include <map>

#include "experiment/CellGroups.h"
#include "experiment/CsvLine.h"
#include "platform/Numbers.h"

namespace zp::experiment {

namespace {

// The runs of one method of one cell, by repeat.
using TRunsByRepeat = std::map<int32_t, const TRunRow*>;

TComparisonRow McNemarRow(const TRunsByRepeat& a, const TRunsByRepeat& b) {
  TComparisonRow row;
  row.Test = TPairedTest::ptMcNemarExact;
  for (const auto& [repeat, run_a] : a) {
    const auto found = b.find(repeat);
    if (found == b.end()) continue;
    const bool hit_a = run_a->HitGeneration.has_value(), hit_b = found->second->HitGeneration.has_value();
    ++row.Pairs;
    row.HitsA += hit_a;
    row.HitsB += hit_b;
    row.ABetter += hit_a && !hit_b;
    row.BBetter += !hit_a && hit_b;
  }
  row.N = row.ABetter + row.BBetter;
  row.AWins = row.ABetter > row.BBetter;
  if (const auto test = McNemarExact(row.ABetter, row.BBetter)) {
    row.Statistic = test->Statistic;
    row.PValue = test->PValue;
    const TOddsRatio odds = *McNemarOddsRatio(row.ABetter, row.BBetter);
    row.Effect = odds.Ratio;
    row.EffectLow = odds.Low;
    row.EffectHigh = odds.High;
  }
  return row;
}

TComparisonRow WilcoxonRow(const TRunsByRepeat& a, const TRunsByRepeat& b) {
  TComparisonRow row;
  row.Test = TPairedTest::ptWilcoxonSignedRank;
  std::vector<double> differences;
  for (const auto& [repeat, run_a] : a) {
    const auto found = b.find(repeat);
    if (found == b.end()) continue;
    const double d = static_cast<double>(RankedLength(*run_a)) - RankedLength(*found->second);
    ++row.Pairs;
    row.HitsA += run_a->HitGeneration.has_value();
    row.HitsB += found->second->HitGeneration.has_value();
    row.ABetter += d < 0;
    row.BBetter += d > 0;
    differences.push_back(d);
  }
  row.N = row.ABetter + row.BBetter;
  if (const auto test = WilcoxonSignedRank(differences)) {
    row.Statistic = test->Statistic;
    row.PValue = test->PValue;
    row.AWins = test->WMinus > test->WPlus;
    std::vector<double> lengths_a, lengths_b;
    for (const auto& [repeat, run] : a) lengths_a.push_back(RankedLength(*run));
    for (const auto& [repeat, run] : b) lengths_b.push_back(RankedLength(*run));
    row.Effect = VarghaDelaneyA12(std::move(lengths_a), std::move(lengths_b));
  }
  return row;
}

void CompareCell(const TCell& cell, const std::map<size_t, TRunsByRepeat>& methods, std::vector<TComparisonRow>& out) {
  const size_t first = out.size();
  for (const TPairedTest test : {TPairedTest::ptMcNemarExact, TPairedTest::ptWilcoxonSignedRank})
    for (auto a = methods.begin(); a != methods.end(); ++a)
      for (auto b = std::next(a); b != methods.end(); ++b) {
        TComparisonRow row =
            test == TPairedTest::ptMcNemarExact ? McNemarRow(a->second, b->second) : WilcoxonRow(a->second, b->second);
        row.Problem = cell.Problem;
        row.Size = cell.Size;
        row.Config = cell.Config;
        row.MethodA = kMethodOrder[a->first];
        row.MethodB = kMethodOrder[b->first];
        out.push_back(row);
      }
  // One family per cell: both tests of every pair, the undefined ones left out.
  std::vector<size_t> family;
  std::vector<double> p_values;
  for (size_t i = first; i < out.size(); ++i)
    if (out[i].PValue) {
      family.push_back(i);
      p_values.push_back(*out[i].PValue);
    }
  const std::vector<double> adjusted = HolmAdjust(p_values);
  for (size_t i = 0; i < family.size(); ++i) out[family[i]].PHolm = adjusted[i];
}

// A number as the file writes it: empty when undefined, "inf" when infinite.
std::string Field(const std::optional<double>& value) {
  if (!value) return "";
  if (std::isinf(*value)) return *value > 0 ? "inf" : "-inf";
  return FormatFloat15(*value);
}

}  // namespace

std::vector<TComparisonRow> Compare(const std::vector<TRunRow>& Rows) {
  std::vector<TComparisonRow> comparisons;
  for (const auto& [cell, methods] : GroupByCell(Rows)) {
    // Method rank -> repeat.
    std::map<size_t, TRunsByRepeat> runs;
    for (const auto& [rank, method_runs] : methods)
      for (const TRunRow* row : method_runs) runs[rank][row->Repeat] = row;
    CompareCell(cell, runs, comparisons);
  }
  return comparisons;
}

std::string ComparisonsCsv(const std::vector<TComparisonRow>& Comparisons) {
  std::string text = std::string(kComparisonsCsvHeader) + "\n";
  for (const TComparisonRow& row : Comparisons)
    text += CsvLine({row.Problem, std::to_string(row.Size), std::to_string(row.Config), ga::ToString(row.MethodA),
                     ga::ToString(row.MethodB), ToString(row.Test), std::to_string(row.N), std::to_string(row.ABetter),
                     std::to_string(row.BBetter), Field(row.Statistic), Field(row.PValue), Field(row.PHolm),
                     Field(row.Effect), Field(row.EffectLow), Field(row.EffectHigh)}) +
            "\n";
  return text;
}

}  // namespace zp::experiment
