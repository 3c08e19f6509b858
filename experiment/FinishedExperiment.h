// What a finished experiment's folder gets besides its rows: the statistics,
// the IOHprofiler files and the run-length ECDF pictures; and a whole folder
// written at once from repeats held in memory, file for file what a batch
// run writes as it goes. The pictures are drawn by the caller (a front end
// with chart/qt), so this layer stays free of any drawing toolkit.
//
//   FinishFolder(folder, design, [](auto& panel, const std::string& file, int w, int h) {
//     chart::SaveChartFile(panel, file, w, h);
//   });
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "experiment/Comparisons.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/RecordedRuns.h"
#include "experiment/Summary.h"

namespace zp::chart {
class TZPCustomChartPanel;
}

namespace zp::experiment {

// The ECDF pictures' size: that of nqueens-ga's charts by default.
inline constexpr int kEcdfWidth = 800, kEcdfHeight = 500;

// Draws Panel into FileName (PNG or SVG by its extension) laid out for Width x
// Height; raises Exception naming the file when it cannot be written.
using TPictureWriter =
    std::function<void(chart::TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height)>;

// What summary.csv and comparisons.csv hold.
struct TFinishedAnalysis {
  std::vector<TSummaryRow> Summary;
  std::vector<TComparisonRow> Comparisons;
};

// The header line of effects.csv (an experiment of several configurations), without the line end:
// per problem, size, method, varied setting and value, the runs of the configurations with the value,
// pooled; ert_evaluations = the evaluations they spent / their hits, empty without a hit.
inline constexpr const char* kEffectsCsvHeader =
    "problem,size,method,setting,value,configs,runs,hits,hit_rate,ert_evaluations";

// The name of a cell's ECDF pictures without the extension: "ecdf-nqueens-8",
// "ecdf-jump3-64"; in an experiment of several configurations "ecdf-onemax-64-c2".
std::string EcdfFileStem(const TCell& Cell, bool PerConfig);

// After the last repeat: summary.csv, comparisons.csv and iohprofiler/ from the
// folder's runs.csv and traces.csv as written, and the ECDF pictures (PNG and
// SVG) of each cell, read and worked out one cell at a time (memory grows with
// one cell's repeats). Returns the statistics. Raises Exception on
// a failed write; the files written before it stay.
TFinishedAnalysis FinishFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design,
                               const TPictureWriter& Draw);

// A whole experiment folder from its repeats (every repeat of Design, in key
// order): the CSV files, the end files and experiment.json with Run, as a batch
// run that ended writes them; a design without a label gets the folder's DefaultLabel. Folder is made when missing.
// Raises Exception on a failed write.
void WriteExperimentFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design, const TRunInfo& Run,
                           std::span<const TRepeatLines> Repeats, const TPictureWriter& Draw);

}  // namespace zp::experiment
