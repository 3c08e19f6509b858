// comparisons.csv: for each cell (problem, size, configuration), every pair of methods compared by two
// paired tests over the repeats (the methods of a repeat share their start
// population): McNemar's exact test on hit or not, with the odds ratio of the
// discordant repeats, and the Wilcoxon signed-rank test on run lengths, with
// Vargha and Delaney's A12; Holm's correction over both tests of every pair of
// the cell (one family per cell).
//
//   const std::vector<TComparisonRow> rows = Compare(runs);
//   if (rows[0].PHolm && *rows[0].PHolm < 0.05) ...   // rows[0].AWins says which way
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "experiment/RunRow.h"
#include "experiment/Statistics.h"

namespace zp::experiment {

enum class TPairedTest { ptMcNemarExact, ptWilcoxonSignedRank };
inline constexpr std::array<std::string_view, 2> kPairedTestNames{"mcnemar_exact", "wilcoxon_signed_rank"};
inline std::string ToString(TPairedTest Test) { return std::string(kPairedTestNames[static_cast<size_t>(Test)]); }

// The length a run has in the signed-rank test and A12: its hit generation, or
// G + 1 for a run that never hit (it made all G generations), so that a miss
// ranks behind every hit.
inline int32_t RankedLength(const TRunRow& Row) { return Row.HitGeneration.value_or(Row.Generations + 1); }

struct TComparisonRow {
  std::string Problem = "nqueens";
  int32_t Size = 0;
  int32_t Config = 0;
  ga::TGASelectionMethod MethodA = ga::TGASelectionMethod::smRoulette;
  ga::TGASelectionMethod MethodB = ga::TGASelectionMethod::smRoulette;
  TPairedTest Test = TPairedTest::ptMcNemarExact;
  // McNemar: the discordant repeats b + c, a hit alone (b), b hit alone (c).
  // Wilcoxon: the nonzero differences, those where a's run was shorter, and where b's was.
  int64_t N = 0;
  int64_t ABetter = 0;
  int64_t BBetter = 0;
  // All empty for an undefined test (no discordant repeat, no nonzero difference),
  // which stays out of the Holm family.
  std::optional<double> Statistic;  // min(b, c), or T = min(W+, W-)
  std::optional<double> PValue;
  std::optional<double> PHolm;       // Holm-adjusted over every defined test of the cell
  std::optional<double> Effect;      // odds ratio b / c (above 1 favours a), or A12 (above 0.5 favours a)
  std::optional<double> EffectLow;   // the odds ratio's 95% limits; empty for A12
  std::optional<double> EffectHigh;  //
  // Not in the file: which way the test points (McNemar b > c, Wilcoxon W- > W+:
  // a's runs shorter by rank), and the paired repeats and their hits, for the report.
  bool AWins = false;
  int64_t Pairs = 0;
  int64_t HitsA = 0;
  int64_t HitsB = 0;
};

// For each cell in the catalogue's order (GroupByCell): every McNemar row, then every
// Wilcoxon row, each over the pairs (a, b) with a before b in the workbench's
// method order, of the methods present for that cell. Runs pair by repeat; a
// repeat missing either method is left out of the tests (A12 takes every run of
// each method). Fewer than two methods for a cell give no rows for it.
std::vector<TComparisonRow> Compare(const std::vector<TRunRow>& Rows);

// The header line of comparisons.csv, without the line end.
inline constexpr const char* kComparisonsCsvHeader =
    "problem,size,config,method_a,method_b,test,n,a_better,b_better,statistic,p_value,p_holm,effect,effect_low,effect_"
    "high";

// The text of comparisons.csv: the header and one "\n"-ended line per row, numbers
// in FormatFloat15, "inf" for an infinite one, an empty field for an undefined
// one. Header only for no rows.
std::string ComparisonsCsv(const std::vector<TComparisonRow>& Comparisons);

}  // namespace zp::experiment
