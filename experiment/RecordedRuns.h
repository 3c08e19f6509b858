// Reading runs.csv and traces.csv back, for resuming an interrupted experiment:
// the whole rows and improvements they hold, and which repeats are complete.
// Both files are appended in key order (problem, size, configuration, repeat,
// method order), so an
// interruption can only cut the end: a last line without its line end or with
// too few fields is dropped; anything wrong before it is an error.
//
//   TRecordedRuns done{ParseRunsCsv(runs), ParseTracesCsv(traces)};
//   if (!RepeatComplete(done, {"nqueens", 8, 0}, 3, kMethodOrder)) ...   // run repeat 3 again
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "experiment/RunRow.h"
#include "experiment/Traces.h"

namespace zp::experiment {

// The parsed files, each in key order as the parsers return them.
struct TRecordedRuns {
  std::vector<TRunRow> Rows;
  std::vector<TRunTrace> Traces;  // one per run, from its generation 0
};

// The whole rows of runs.csv text. Empty text, or a header cut short, gives no
// rows. Raises Exception "Name line L: ..." for a first line that is not the
// header, and for a line before the last with a wrong field count, a bad value
// or a key not after the previous row's.
// With Damage, a bad line (a block of zeros, a row out of order) is not raised:
// the rows before it are returned and Damage tells what was wrong where.
[[nodiscard]] std::vector<TRunRow> ParseRunsCsv(std::string_view Text, std::string_view Name = "runs.csv",
                                                std::string* Damage = nullptr);

// The traces of traces.csv text, one per run with lines, its improvements in
// file order. The same rules and errors as ParseRunsCsv; within a run the
// generations and the best values must rise.
[[nodiscard]] std::vector<TRunTrace> ParseTracesCsv(std::string_view Text, std::string_view Name = "traces.csv",
                                                    std::string* Damage = nullptr);

// True when Recorded holds rows of (Cell, Repeat) for exactly the methods in
// Methods (any order), each with its whole trace: the trace (which every run
// has, from generation 0) ends at the row's best_ever. False for no Methods.
bool RepeatComplete(const TRecordedRuns& Recorded, const TCell& Cell, int32_t Repeat,
                    std::span<const ga::TGASelectionMethod> Methods);

// The rows and traces of the complete repeats only, in key order: what a resumed
// experiment keeps before it runs the rest.
TRecordedRuns KeepCompleteRepeats(const TRecordedRuns& Recorded, std::span<const ga::TGASelectionMethod> Methods);

}  // namespace zp::experiment
