#include "experiment/Summary.h"

#include <map>
#include <utility>

#include "experiment/CsvLine.h"
#include "platform/Numbers.h"

namespace zp::experiment {

namespace {

TSummaryRow SummarizeGroup(int32_t queens, ga::TGASelectionMethod method, const std::vector<const TRunRow*>& runs) {
  TSummaryRow row;
  row.Queens = queens;
  row.Method = method;
  row.Runs = static_cast<int64_t>(runs.size());
  double total_generations = 0;
  double total_evaluations = 0;
  std::vector<double> solved_generations;
  std::vector<double> best_ever;
  for (const TRunRow* run : runs) {
    total_generations += run->Generations;
    total_evaluations += static_cast<double>(run->Evaluations);
    if (run->Solved) solved_generations.push_back(run->Generations);
    best_ever.push_back(run->BestEver);
  }
  row.Solved = static_cast<int64_t>(solved_generations.size());
  row.SuccessRate = static_cast<double>(row.Solved) / static_cast<double>(row.Runs);
  row.Success = WilsonInterval(row.Solved, row.Runs);
  row.ErtGenerations = ExpectedRunningTime(total_generations, row.Solved);
  row.ErtEvaluations = ExpectedRunningTime(total_evaluations, row.Solved);
  row.SolvedGenerations = Quartiles(std::move(solved_generations));
  row.MeanBestEver = Mean(best_ever);
  row.SdBestEver = SampleStandardDeviation(best_ever);
  return row;
}

// An undefined value is an empty field.
std::string Field(const std::optional<double>& value) { return value ? FormatFloat15(*value) : std::string(); }

template <typename T>
std::string Field(const std::optional<T>& value, double T::*member) {
  return value ? FormatFloat15((*value).*member) : std::string();
}

}  // namespace

std::vector<TSummaryRow> Summarize(const std::vector<TRunRow>& Rows) {
  // Keyed by queen count and method rank, so the map's order is the file's order.
  std::map<std::pair<int32_t, size_t>, std::vector<const TRunRow*>> groups;
  for (const TRunRow& row : Rows)
    if (const auto rank = MethodRank(row.Method)) groups[{row.Queens, *rank}].push_back(&row);
  std::vector<TSummaryRow> summary;
  summary.reserve(groups.size());
  for (const auto& [key, runs] : groups) summary.push_back(SummarizeGroup(key.first, kMethodOrder[key.second], runs));
  return summary;
}

std::string SummaryCsv(const std::vector<TSummaryRow>& Summary) {
  std::string text = std::string(kSummaryCsvHeader) + "\n";
  for (const TSummaryRow& row : Summary) {
    const auto& q = row.SolvedGenerations;
    text += CsvLine({std::to_string(row.Queens), ga::ToString(row.Method), std::to_string(row.Runs),
                     std::to_string(row.Solved), FormatFloat15(row.SuccessRate), Field(row.Success, &TInterval::Low),
                     Field(row.Success, &TInterval::High), Field(row.ErtGenerations), Field(row.ErtEvaluations),
                     Field(q, &TQuartiles::Median), Field(q, &TQuartiles::Q1), Field(q, &TQuartiles::Q3),
                     Field(row.MeanBestEver), Field(row.SdBestEver)});
    text += '\n';
  }
  return text;
}

}  // namespace zp::experiment
