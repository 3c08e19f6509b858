// The runs in the IOHprofiler two-column format, so that an experiment can be
// taken into that ecosystem: per method and problem an info file listing every
// run of each size, and per size a data file with each run's improvements
// counted in function evaluations (the population times 1 + generation), from
// the start population (generation 0) on. Each method's algId carries the
// experiment's label, so that two experiments loaded together stay apart.
//
//   WriteOutputFiles(folder, IohProfilerFiles(rows, traces, {"exp12", IohAlgInfo(design, version)}));
//   // iohprofiler/smRoulette/IOHprofiler_f1_NQueens.info   (algId = "Roulette@exp12")
//   // iohprofiler/smRoulette/data_f1_NQueens/IOHprofiler_f1_DIM8.dat ...
//   // iohprofiler/smRoulette/IOHprofiler_f4_Jump_3.info ...
#pragma once

#include <string>
#include <vector>

#include "experiment/ExperimentDesign.h"
#include "experiment/OutputFiles.h"
#include "experiment/RunRow.h"
#include "experiment/Traces.h"

namespace zp::experiment {

// What the info files say of the experiment besides its runs.
struct TIohProfilerInfo {
  std::string Label;    // after "@" in every algId
  std::string AlgInfo;  // the algInfo text, the same for every method
  // More than one configuration: each is an algorithm of its own, "Roulette@LABEL#c2"
  // in iohprofiler/smRoulette-c2/.
  bool PerConfig = false;
};

// "streams continued, seed 5, generations 100, version VERSION", Generations the
// cell's; with an evaluation budget "evaluations E" follows the generations.
std::string IohAlgInfo(const TExperimentDesign& Design, const std::string& Version, int32_t Generations);

// For each method with rows, in the workbench's order, and each problem in the
// order the rows give them: the info file, then one data file per size
// ascending; runs in repeat order. N-Queens is function 1 of suite "NQueens",
// the others functions 2 (OneMax), 3 (LeadingOnes) and 4 (Jump_K, K also in
// algInfo) of suite "GAWorkbench". A row without a
// trace has only its last line. Rows of a method the workbench never runs are
// left out. Numbers as in runs.csv. Empty in, empty out.
std::vector<TOutputFile> IohProfilerFiles(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces,
                                          const TIohProfilerInfo& Info);

}  // namespace zp::experiment
