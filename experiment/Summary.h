// summary.csv: per cell (problem, size, configuration) and method, the hit rate with its Wilson
// interval, the expected running time with a bootstrap interval, the quartiles
// of the hitting runs' hit generations and the mean and spread of the best
// fitness ever reached.
//
//   SummaryCsv(Summarize(rows, design.Seed));   // with the ERT interval of each cell
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "experiment/RunRow.h"
#include "experiment/Statistics.h"

namespace zp::experiment {

struct TSummaryRow {
  std::string Problem = "nqueens";
  int32_t Size = 0;
  int32_t Config = 0;
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  int64_t Runs = 0;
  int64_t Hits = 0;  // runs whose start population or a generation reached the target
  double SuccessRate = 0;
  std::optional<TInterval> Success;          // Wilson 95%
  std::optional<double> ErtGenerations;      // sum of run lengths / hits; empty when none hit
  std::optional<double> ErtEvaluations;      // sum of population x (1 + length) / hits; empty when none hit
  std::optional<TInterval> ErtInterval;      // bootstrap 95% of ErtEvaluations, +inf possible; empty without
  std::optional<TQuartiles> HitGenerations;  // over hitting runs only; empty when none hit
  std::optional<double> MeanBestEver;        // over all runs
  std::optional<double> SdBestEver;          // sample sd; empty for one run
};

// Resamples the percentile bootstrap of ERT takes, and the 1-based places of its limits among them.
inline constexpr int kBootstrapResamples = 1000;
inline constexpr int kBootstrapLowPlace = 25, kBootstrapHighPlace = 976;

// One row per (cell, method) present in Rows, the cells in the catalogue's order
// (GroupByCell), then the workbench's method order. Rows of a method the workbench never
// runs are ignored. Empty in, empty out.
// With the experiment's Seed, each cell's ERT intervals come from
// kBootstrapResamples resamples of its repeats, drawn by a random source seeded
// with BootstrapSeed(Seed, size, config) and shared by its methods; a resample
// without a hit has ERT +inf. Without Seed there are no intervals.
std::vector<TSummaryRow> Summarize(const std::vector<TRunRow>& Rows, std::optional<uint32_t> Seed = std::nullopt);

// The header line of summary.csv, without the line end.
inline constexpr const char* kSummaryCsvHeader =
    "problem,size,config,method,runs,hits,success_rate,success_low,success_high,ert_generations,ert_evaluations,ert_"
    "low,"
    "ert_high,median_generations,q1_generations,q3_generations,mean_best_ever,sd_best_ever";

// The text of summary.csv: the header and one "\n"-ended line per row; numbers in
// FormatFloat15, "inf" for an infinite one, an undefined value as an empty field.
// Header only for no rows.
std::string SummaryCsv(const std::vector<TSummaryRow>& Summary);

}  // namespace zp::experiment
