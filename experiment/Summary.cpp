#include "experiment/Summary.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "experiment/CellGroups.h"
#include "experiment/CsvLine.h"
#include "experiment/ExperimentDesign.h"
#include "platform/Numbers.h"
#include "platform/Random.h"

namespace zp::experiment {

namespace {

TSummaryRow SummarizeGroup(const TCell& cell, ga::TGASelectionMethod method, const std::vector<const TRunRow*>& runs) {
  TSummaryRow row;
  row.Problem = cell.Problem;
  row.Size = cell.Size;
  row.Config = cell.Config;
  row.Method = method;
  row.Runs = static_cast<int64_t>(runs.size());
  double total_generations = 0;
  double total_evaluations = 0;
  std::vector<double> hit_generations;
  std::vector<double> best_ever;
  for (const TRunRow* run : runs) {
    total_generations += RunLength(*run);
    total_evaluations += static_cast<double>(SpentEvaluations(*run));
    if (run->HitGeneration) hit_generations.push_back(*run->HitGeneration);
    best_ever.push_back(run->BestEver);
  }
  row.Hits = static_cast<int64_t>(hit_generations.size());
  row.SuccessRate = static_cast<double>(row.Hits) / static_cast<double>(row.Runs);
  row.Success = WilsonInterval(row.Hits, row.Runs);
  row.ErtGenerations = ExpectedRunningTime(total_generations, row.Hits);
  row.ErtEvaluations = ExpectedRunningTime(total_evaluations, row.Hits);
  row.HitGenerations = Quartiles(std::move(hit_generations));
  row.MeanBestEver = Mean(best_ever);
  row.SdBestEver = SampleStandardDeviation(best_ever);
  return row;
}

// The percentile bootstrap of ERT in evaluations for the methods of one queen
// count: every resample draws its repeats once for all methods, so the methods'
// intervals come from the same resamples, as their runs come from the same repeats.
void BootstrapErt(uint32_t seed, const std::vector<std::vector<const TRunRow*>>& methods,
                  std::vector<TSummaryRow>& rows) {
  std::set<int32_t> repeat_set;
  for (const auto& runs : methods)
    for (const TRunRow* run : runs) repeat_set.insert(run->Repeat);
  const std::vector<int32_t> repeats(repeat_set.begin(), repeat_set.end());
  const auto count = static_cast<int32_t>(repeats.size());
  // Per method and repeat index: the evaluations spent and whether it hit; a
  // repeat the method lacks adds nothing.
  struct TSpent {
    double Spent = 0;
    int64_t Hit = 0;
  };
  std::vector<std::vector<TSpent>> cells(methods.size(), std::vector<TSpent>(repeats.size()));
  for (size_t m = 0; m < methods.size(); ++m)
    for (const TRunRow* run : methods[m]) {
      const auto index = std::lower_bound(repeats.begin(), repeats.end(), run->Repeat) - repeats.begin();
      cells[m][static_cast<size_t>(index)] = {static_cast<double>(SpentEvaluations(*run)), run->HitGeneration ? 1 : 0};
    }
  TRandom random(seed);
  std::vector<std::vector<double>> ert(methods.size(), std::vector<double>(kBootstrapResamples));
  std::vector<int32_t> drawn(repeats.size());
  for (int b = 0; b < kBootstrapResamples; ++b) {
    for (int32_t& index : drawn) index = random.RandomInt(count);
    for (size_t m = 0; m < methods.size(); ++m) {
      double spent = 0;
      int64_t hits = 0;
      for (const int32_t index : drawn) {
        spent += cells[m][static_cast<size_t>(index)].Spent;
        hits += cells[m][static_cast<size_t>(index)].Hit;
      }
      ert[m][static_cast<size_t>(b)] =
          hits > 0 ? spent / static_cast<double>(hits) : std::numeric_limits<double>::infinity();
    }
  }
  for (size_t m = 0; m < methods.size(); ++m) {
    if (!rows[m].ErtEvaluations) continue;  // no hit at all: no ERT, no interval
    std::vector<double>& values = ert[m];
    std::sort(values.begin(), values.end());
    rows[m].ErtInterval =
        TInterval{values[kBootstrapLowPlace - 1], values[static_cast<size_t>(kBootstrapHighPlace - 1)]};
  }
}

// An undefined value is an empty field, an infinite one "inf".
std::string Field(const std::optional<double>& value) {
  if (!value) return "";
  if (std::isinf(*value)) return *value > 0 ? "inf" : "-inf";
  return FormatFloat15(*value);
}

template <typename T>
std::string Field(const std::optional<T>& value, double T::*member) {
  return value ? Field(std::optional((*value).*member)) : std::string();
}

}  // namespace

std::vector<TSummaryRow> Summarize(const std::vector<TRunRow>& Rows, std::optional<uint32_t> Seed) {
  std::vector<TSummaryRow> summary;
  for (const auto& [cell, methods] : GroupByCell(Rows)) {
    std::vector<TSummaryRow> rows;
    std::vector<std::vector<const TRunRow*>> runs;
    for (const auto& [rank, method_runs] : methods) {
      rows.push_back(SummarizeGroup(cell, kMethodOrder[rank], method_runs));
      runs.push_back(method_runs);
    }
    if (Seed) BootstrapErt(BootstrapSeed(*Seed, cell.Size, cell.Config), runs, rows);
    summary.insert(summary.end(), rows.begin(), rows.end());
  }
  return summary;
}

std::string SummaryCsv(const std::vector<TSummaryRow>& Summary) {
  std::string text = std::string(kSummaryCsvHeader) + "\n";
  for (const TSummaryRow& row : Summary) {
    const auto& q = row.HitGenerations;
    text += CsvLine({row.Problem, std::to_string(row.Size), std::to_string(row.Config), ga::ToString(row.Method),
                     std::to_string(row.Runs), std::to_string(row.Hits), FormatFloat15(row.SuccessRate),
                     Field(row.Success, &TInterval::Low), Field(row.Success, &TInterval::High),
                     Field(row.ErtGenerations), Field(row.ErtEvaluations), Field(row.ErtInterval, &TInterval::Low),
                     Field(row.ErtInterval, &TInterval::High), Field(q, &TQuartiles::Median), Field(q, &TQuartiles::Q1),
                     Field(q, &TQuartiles::Q3), Field(row.MeanBestEver), Field(row.SdBestEver)});
    text += '\n';
  }
  return text;
}

}  // namespace zp::experiment
