#include "experiment/Comparisons.h"

#include <map>

#include "experiment/CsvLine.h"
#include "platform/Numbers.h"

namespace zp::experiment {

namespace {

// The runs of one method of one queen count, by repeat.
using TRunsByRepeat = std::map<int32_t, const TRunRow*>;

TTestResult PairedTest(TPairedTest test, const TRunsByRepeat& a, const TRunsByRepeat& b) {
  int64_t only_a = 0;
  int64_t only_b = 0;
  std::vector<double> differences;
  for (const auto& [repeat, run_a] : a) {
    const auto found = b.find(repeat);
    if (found == b.end()) continue;
    const TRunRow& run_b = *found->second;
    only_a += run_a->Solved && !run_b.Solved;
    only_b += !run_a->Solved && run_b.Solved;
    differences.push_back(static_cast<double>(run_a->Generations) - run_b.Generations);
  }
  return test == TPairedTest::ptMcNemarExact ? McNemarExact(only_a, only_b) : WilcoxonSignedRank(differences);
}

void CompareQueenCount(int32_t queens, const std::map<size_t, TRunsByRepeat>& methods,
                       std::vector<TComparisonRow>& out) {
  for (const TPairedTest test : {TPairedTest::ptMcNemarExact, TPairedTest::ptWilcoxonSignedRank}) {
    const size_t first = out.size();
    std::vector<double> p_values;
    for (auto a = methods.begin(); a != methods.end(); ++a)
      for (auto b = std::next(a); b != methods.end(); ++b) {
        TComparisonRow row;
        row.Queens = queens;
        row.MethodA = kMethodOrder[a->first];
        row.MethodB = kMethodOrder[b->first];
        row.Test = test;
        row.Result = PairedTest(test, a->second, b->second);
        p_values.push_back(row.Result.PValue);
        out.push_back(row);
      }
    const std::vector<double> adjusted = HolmAdjust(p_values);
    for (size_t i = 0; i < adjusted.size(); ++i) out[first + i].PHolm = adjusted[i];
  }
}

}  // namespace

std::vector<TComparisonRow> Compare(const std::vector<TRunRow>& Rows) {
  // Queen count -> method rank -> repeat, so iteration follows the file's order.
  std::map<int32_t, std::map<size_t, TRunsByRepeat>> runs;
  for (const TRunRow& row : Rows)
    if (const auto rank = MethodRank(row.Method)) runs[row.Queens][*rank][row.Repeat] = &row;
  std::vector<TComparisonRow> comparisons;
  for (const auto& [queens, methods] : runs) CompareQueenCount(queens, methods, comparisons);
  return comparisons;
}

std::string ComparisonsCsv(const std::vector<TComparisonRow>& Comparisons) {
  std::string text = std::string(kComparisonsCsvHeader) + "\n";
  for (const TComparisonRow& row : Comparisons)
    text +=
        CsvLine({std::to_string(row.Queens), ga::ToString(row.MethodA), ga::ToString(row.MethodB), ToString(row.Test),
                 FormatFloat15(row.Result.Statistic), FormatFloat15(row.Result.PValue), FormatFloat15(row.PHolm)}) +
        "\n";
  return text;
}

}  // namespace zp::experiment
