// The improvements of one run: the start population (generation 0) and the
// generations whose best fitness beats every earlier generation of the run,
// gathered one generation at a time while the run is made, and their text in
// traces.csv beside runs.csv.
//
//   TTraceBuilder b({"nqueens", 8, 0}, 0, TGASelectionMethod::smElitist);
//   b.AddGeneration(0, 20);  b.AddGeneration(1, 20);  b.AddGeneration(2, 23);
//   FormatRunTrace(b.Trace());   // "nqueens,8,0,0,smElitist,0,20\nnqueens,8,0,0,smElitist,2,23\n"
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "experiment/RunRow.h"

namespace zp::experiment {

struct TTracePoint {
  int32_t Generation = 0;
  double Best = 0;  // the generation's MaxFitness, above every earlier one
  bool operator==(const TTracePoint&) const = default;
};

// Keyed like a row of runs.csv. Improvements rise strictly in generation and best;
// the first is the start population's best at generation 0, the last the run's best_ever.
struct TRunTrace {
  std::string Problem = "nqueens";
  int32_t Size = 0;
  int32_t Config = 0;
  int32_t Repeat = 0;
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  std::vector<TTracePoint> Improvements;
  bool operator==(const TRunTrace&) const = default;
};

// Collects a run's improvements from its per-generation MaxFitness values, so
// that nothing but the improvements is kept.
class TTraceBuilder {
 public:
  TTraceBuilder(const TCell& Cell, int32_t Repeat, ga::TGASelectionMethod Method);

  // One generation's MaxFitness, generation 0 being the start population. A
  // negative generation is ignored, as is a value equal to or below the best so far, or NaN.
  void AddGeneration(int32_t Generation, double MaxFitness);
  const TRunTrace& Trace() const { return trace_; }
  // The largest MaxFitness so far; empty before any.
  std::optional<double> BestEver() const;

 private:
  TRunTrace trace_;
};

// The header line of traces.csv, without the line end.
inline constexpr const char* kTracesCsvHeader = "problem,size,config,repeat,method,generation,best";

// One "\n"-ended line per improvement, best in FormatFloat15; "" for none.
std::string FormatRunTrace(const TRunTrace& Trace);

// The text of traces.csv: the header, then the traces' lines in the given order.
std::string TracesCsv(const std::vector<TRunTrace>& Traces);

}  // namespace zp::experiment
