// nqueens-ga batch: many repeats of the comparison run over queen counts, on
// all cores, written to a folder (runs.csv, traces.csv, timing.csv,
// experiment.json) in key order; interruptible and resumable; at the end the
// statistics, the ECDF pictures and the IOHprofiler files over them.
//
//   nqueens-ga batch --queens 8,10-12 --repeats 30 --generations 500 --out exp
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>

#include "workbench/SettingValues.h"

namespace CLI {
class App;
}

namespace zp::cli {

// The batch options as given; an option not given stays empty (so that
// --resume can tell a given option from a default).
struct TBatchOptions {
  std::optional<std::string> Problem, Sizes, Queens, Repeats, Generations, Evaluations, Seed, Streams, Methods, Label,
      Jobs;
  // The setting lists, in queens::TSettingName order.
  std::array<std::optional<std::string>, queens::kSettingCount> Settings;
  std::string Out = "experiment";
  bool Resume = false;
  bool Quiet = false;
};

// Registers the "batch" subcommand on App, filling Options; returns it.
CLI::App* AddBatchCommand(CLI::App& App, TBatchOptions& Options);

// Runs the experiment. Exit status: 0 done, 1 a failed write, 2 bad input
// (nothing written), 130/143 stopped by SIGINT/SIGTERM. Out gets the table of
// results at the end; Err gets "error: MESSAGE" lines, the progress line and how to resume.
int RunBatch(const TBatchOptions& Options, std::ostream& Out, std::ostream& Err);

}  // namespace zp::cli
