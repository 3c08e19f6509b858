#include "experiment/RunRow.h"

#include "experiment/CsvLine.h"
#include "platform/Numbers.h"
#include "workbench/ProblemCatalogue.h"

namespace zp::experiment {

std::string CellCaption(const TCell& Cell) {
  const auto chosen = queens::ParseProblemName(Cell.Problem);
  std::string text = chosen ? chosen->Caption(Cell.Size) : Cell.Problem + ", size " + std::to_string(Cell.Size);
  if (Cell.Config != 0) text += ", configuration " + std::to_string(Cell.Config);
  return text;
}

std::string FormatRunRow(const TRunRow& Row) {
  return CsvLine({Row.Problem, std::to_string(Row.Size), std::to_string(Row.Config), std::to_string(Row.Repeat),
                  std::to_string(Row.Seed), ga::ToString(Row.Method), Row.Solved ? "1" : "0",
                  Row.HitGeneration ? std::to_string(*Row.HitGeneration) : std::string(),
                  std::to_string(Row.Generations), std::to_string(Row.Evaluations), FormatFloat15(Row.MaxFitness),
                  FormatFloat15(Row.AvgFitness), FormatFloat15(Row.MinFitness), FormatFloat15(Row.BestEver),
                  Row.Fittest});
}

}  // namespace zp::experiment
