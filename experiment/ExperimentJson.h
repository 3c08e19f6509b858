// experiment.json: its format, the parameters that --resume compares, the
// design they resolve to (the GA's settings per queen count, the budget and how
// the statistics treat the runs), and when and where the experiment ran;
// written whole, and read back as a typed design.
//
//   const std::string text = ExperimentJson(design, ProgramVersion(), run);
//   const TStoredExperiment stored = ReadExperimentJson(text);   // stored.Design == design
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "experiment/ExperimentDesign.h"

namespace zp::experiment {

// Parameter names with their values as one line of JSON ("[8, 10]", "\"shared\""), in file order.
using TParameterTexts = std::vector<std::pair<std::string, std::string>>;

// The format experiment.json and the files beside it are written in; an older
// one (without "format") is refused by --resume.
inline constexpr int kExperimentFormat = 3;

// The "parameters" of experiment.json: problems, sizes, repeats, generations,
// seed, streams, methods, label, seed_function, version.
TParameterTexts Parameters(const TExperimentDesign& Design, const std::string& Version);

// The "run" part: the only part besides timing.csv that differs between runs of one experiment.
struct TRunInfo {
  std::string Start, End;  // UTC, ISO 8601; End empty while running
  int Jobs = 1;            // worker threads (per rank under MPI)
  std::string Host;
  int Ranks = 0;  // MPI ranks; 0 when not under MPI, and then not written
  // Under MPI, once the last repeat is written: the compute phase (the first
  // hand-out to the last row written); not written before.
  struct TComputePhase {
    double Seconds = 0;
    int64_t Rows = 0;
    double Rank0BusyShare = 0;  // the part of it rank 0 spent handing out, gathering and writing
  };
  std::optional<TComputePhase> ComputePhase = std::nullopt;
};

// The whole text of experiment.json; bytes that are not UTF-8 (in a host name, say) are written as U+FFFD.
std::string ExperimentJson(const TExperimentDesign& Design, const std::string& Version, const TRunInfo& Run);

// An experiment.json read back: its parameters as written and the design they describe.
struct TStoredExperiment {
  TParameterTexts Parameters;
  TExperimentDesign Design;
  bool Finished = false;  // run.end is a time: the last repeat was written and the statistics with it
};
// Raises Exception with a short message naming the place ("parameters.seed: ...",
// "line 3, column 14: ...") for text that is not strict JSON, holds a duplicate
// key, is of another format than kExperimentFormat, or lacks a parameter of the
// design or has one of the wrong type or range.
[[nodiscard]] TStoredExperiment ReadExperimentJson(std::string_view Text);

// "key (A in the folder, B given)" for each parameter whose text differs, in
// Given's order and then Stored's; "nothing" stands for a missing one.
std::vector<std::string> DifferingParameters(const TParameterTexts& Stored, const TParameterTexts& Given);

}  // namespace zp::experiment
