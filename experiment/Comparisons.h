// comparisons.csv: for each queen count, every pair of methods compared by two
// paired tests over the repeats (the methods of a repeat share their start
// population): McNemar's exact test on solved/unsolved and the Wilcoxon
// signed-rank test on generations, each with Holm's correction over its pairs.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "experiment/RunRow.h"
#include "experiment/Statistics.h"

namespace zp::experiment {

enum class TPairedTest { ptMcNemarExact, ptWilcoxonSignedRank };
inline constexpr std::array<std::string_view, 2> kPairedTestNames{"mcnemar_exact", "wilcoxon_signed_rank"};
inline std::string ToString(TPairedTest Test) { return std::string(kPairedTestNames[static_cast<size_t>(Test)]); }

struct TComparisonRow {
  int32_t Queens = 0;
  ga::TGASelectionMethod MethodA = ga::TGASelectionMethod::smRoulette;
  ga::TGASelectionMethod MethodB = ga::TGASelectionMethod::smRoulette;
  TPairedTest Test = TPairedTest::ptMcNemarExact;
  TTestResult Result;
  double PHolm = 1;  // Holm-adjusted over the pairs of this queen count and test
};

// For each queen count ascending, each test in TPairedTest order, then the pairs
// (a, b) with a before b in the workbench's method order, over the methods present
// for that count. Runs pair by repeat; a repeat missing either method is left out.
// Fewer than two methods for a queen count give no rows for it.
std::vector<TComparisonRow> Compare(const std::vector<TRunRow>& Rows);

// The header line of comparisons.csv, without the line end.
inline constexpr const char* kComparisonsCsvHeader = "queens,method_a,method_b,test,statistic,p_value,p_holm";

// The text of comparisons.csv: the header and one "\n"-ended line per row, numbers
// in FormatFloat15. Header only for no rows.
std::string ComparisonsCsv(const std::vector<TComparisonRow>& Comparisons);

}  // namespace zp::experiment
