// The runs in the IOHprofiler two-column format, so that an experiment can be
// taken into that ecosystem: per method an info file listing every run of each
// queen count, and per queen count a data file with each run's improvements
// counted in function evaluations (the population of 4N times 1 + generation).
//
//   WriteOutputFiles(folder, IohProfilerFiles(rows, traces));
//   // iohprofiler/smRoulette/IOHprofiler_f1_NQueens.info
//   // iohprofiler/smRoulette/data_f1_NQueens/IOHprofiler_f1_DIM8.dat ...
#pragma once

#include <vector>

#include "experiment/OutputFiles.h"
#include "experiment/RunRow.h"
#include "experiment/Traces.h"

namespace zp::experiment {

// For each method with rows, in the workbench's order: its info file, then one
// data file per queen count ascending; runs in repeat order. A row without a
// trace has no improvement lines. Rows of a method the workbench never runs are
// left out. Numbers as in runs.csv. Empty in, empty out.
std::vector<TOutputFile> IohProfilerFiles(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces);

}  // namespace zp::experiment
