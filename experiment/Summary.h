// summary.csv: per queen count and method, the success rate with its Wilson
// interval, the expected running time, the quartiles of the solved runs'
// generations and the mean and spread of the best fitness ever reached.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "experiment/RunRow.h"
#include "experiment/Statistics.h"

namespace zp::experiment {

struct TSummaryRow {
  int32_t Queens = 0;
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  int64_t Runs = 0;
  int64_t Solved = 0;
  double SuccessRate = 0;
  std::optional<TInterval> Success;             // Wilson 95%
  std::optional<double> ErtGenerations;         // empty when none solved
  std::optional<double> ErtEvaluations;         // empty when none solved
  std::optional<TQuartiles> SolvedGenerations;  // over solved runs only; empty when none solved
  std::optional<double> MeanBestEver;           // over all runs
  std::optional<double> SdBestEver;             // sample sd; empty for one run
};

// One row per (queens, method) present in Rows, queens ascending then the workbench's
// method order. Rows of a method the workbench never runs are ignored. Empty in, empty out.
std::vector<TSummaryRow> Summarize(const std::vector<TRunRow>& Rows);

// The header line of summary.csv, without the line end.
inline constexpr const char* kSummaryCsvHeader =
    "queens,method,runs,solved,success_rate,success_low,success_high,ert_generations,ert_evaluations,"
    "median_generations,q1_generations,q3_generations,mean_best_ever,sd_best_ever";

// The text of summary.csv: the header and one "\n"-ended line per row; numbers in
// FormatFloat15, an undefined value as an empty field. Header only for no rows.
std::string SummaryCsv(const std::vector<TSummaryRow>& Summary);

}  // namespace zp::experiment
