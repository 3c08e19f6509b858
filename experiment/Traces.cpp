#include "experiment/Traces.h"

#include <cmath>

#include "experiment/CsvLine.h"
#include "platform/Numbers.h"

namespace zp::experiment {

TTraceBuilder::TTraceBuilder(const TCell& Cell, int32_t Repeat, ga::TGASelectionMethod Method) {
  trace_.Problem = Cell.Problem;
  trace_.Size = Cell.Size;
  trace_.Config = Cell.Config;
  trace_.Repeat = Repeat;
  trace_.Method = Method;
}

void TTraceBuilder::AddGeneration(int32_t Generation, double MaxFitness) {
  if (Generation < 0 || std::isnan(MaxFitness)) return;
  auto& points = trace_.Improvements;
  if (!points.empty() && !(MaxFitness > points.back().Best)) return;
  points.push_back({Generation, MaxFitness});
}

std::optional<double> TTraceBuilder::BestEver() const {
  if (trace_.Improvements.empty()) return std::nullopt;
  return trace_.Improvements.back().Best;
}

std::string FormatRunTrace(const TRunTrace& Trace) {
  std::string text;
  const std::string size = std::to_string(Trace.Size), config = std::to_string(Trace.Config);
  const std::string repeat = std::to_string(Trace.Repeat);
  const std::string method = ga::ToString(Trace.Method);
  for (const TTracePoint& p : Trace.Improvements) {
    text += CsvLine({Trace.Problem, size, config, repeat, method, std::to_string(p.Generation), FormatFloat15(p.Best)});
    text += '\n';
  }
  return text;
}

std::string TracesCsv(const std::vector<TRunTrace>& Traces) {
  std::string text = std::string(kTracesCsvHeader) + "\n";
  for (const TRunTrace& trace : Traces) text += FormatRunTrace(trace);
  return text;
}

}  // namespace zp::experiment
