#include "experiment/RunRow.h"

#include "experiment/CsvLine.h"
#include "platform/Numbers.h"

namespace zp::experiment {

std::string FormatRunRow(const TRunRow& Row) {
  return CsvLine(
      {std::to_string(Row.Queens), std::to_string(Row.Repeat), std::to_string(Row.Seed), ga::ToString(Row.Method),
       Row.Solved ? "1" : "0", Row.HitGeneration ? std::to_string(*Row.HitGeneration) : std::string(),
       std::to_string(Row.Generations), std::to_string(Row.Evaluations), FormatFloat15(Row.MaxFitness),
       FormatFloat15(Row.AvgFitness), FormatFloat15(Row.MinFitness), FormatFloat15(Row.BestEver), Row.Fittest});
}

}  // namespace zp::experiment
