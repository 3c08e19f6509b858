// An experiment run into its folder by a front end other than the batch (the
// window's Experiments page): the folder started or resumed as the batch does
// it, a folder opened to be shown, and the statistics of the whole rows it
// holds, read one cell at a time so that memory grows with a cell, not with
// the experiment.
//
//   TRepeatList todo = PrepareExperimentFolder(folder, design, run, false);
//   ... TResultFiles(folder).Append(repeat) for each of todo, then FinishFolder ...
//   const TFolderState state = ReadFolderState(folder, design);   // a stopped one
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "experiment/Comparisons.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/ExperimentJson.h"
#include "experiment/RecordedRuns.h"
#include "experiment/Summary.h"

namespace zp::experiment {

// Makes Folder (when missing) a new experiment, or, when Resuming, keeps its
// complete repeats (ResumeFolder; its notes go to Notes); then writes
// configurations.csv and experiment.json with Run, as nqueens-ga batch does.
// Returns the repeats still to run. Raises Exception on a failed write.
TRepeatList PrepareExperimentFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design,
                                    const TRunInfo& Run, bool Resuming, std::vector<std::string>* Notes = nullptr);

// An experiment folder's experiment.json read back. Raises Exception naming the
// folder when it holds none, or one that cannot be read (an older format, say).
TStoredExperiment ReadExperimentFolder(const std::filesystem::path& Folder);

// What a folder's whole rows say: their statistics (summary with the ERT
// intervals, comparisons) and how many repeats are complete.
struct TFolderState {
  std::vector<TSummaryRow> Summary;
  std::vector<TComparisonRow> Comparisons;
  std::vector<TCell> Cells;  // the cells with rows, in key order
  size_t Repeats = 0;        // repeats with a row for each of the design's methods
};
// Reads Folder's runs.csv one cell at a time. Raises Exception as TCellReader does.
TFolderState ReadFolderState(const std::filesystem::path& Folder, const TExperimentDesign& Design);

// The rows of one cell of Folder's runs.csv; empty when it has none.
std::vector<TRunRow> ReadCellRows(const std::filesystem::path& Folder, const TCell& Cell);

// Repeats of Rows (one cell's) with a row for each of Methods methods.
size_t CompleteRepeats(const std::vector<TRunRow>& Rows, size_t Methods);

}  // namespace zp::experiment
