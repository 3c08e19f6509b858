// The end of an experiment read one queen count at a time: the cells together
// are the whole files, and the statistics worked out cell by cell are those of
// all rows at once.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "experiment/CellReader.h"
#include "experiment/Comparisons.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/FinishedExperiment.h"
#include "experiment/Runner.h"
#include "experiment/Summary.h"

namespace {

using namespace zp::experiment;
namespace fs = std::filesystem;

std::string Read(const fs::path& File) { return zp::test::ReadFile(File.string()); }

TEST(TCellReader, CellsAreTheWholeFilesAndGiveTheWholeStatistics) {
  const fs::path folder = fs::path(testing::TempDir()) / "nqueens_cells";
  fs::remove_all(folder);
  fs::create_directories(folder);
  TExperimentDesign design;
  design.Sizes = {4, 5, 6};
  design.Repeats = 4;
  design.Generations = 6;
  design.Seed = 3;
  design.Label = "cells";
  StartFolder(folder);
  {
    TResultFiles files(folder);
    std::atomic<bool> stop{false};
    RunRepeats(design, RepeatKeys(design), 2, stop, [&](TRepeatResult& r) { files.Append(r); });
  }
  const std::vector<TRunRow> rows = ParseRunsCsv(Read(folder / "runs.csv"));
  const std::vector<TRunTrace> traces = ParseTracesCsv(Read(folder / "traces.csv"));

  TCellReader reader(folder);
  std::vector<TRunRow> all_rows;
  std::vector<TRunTrace> all_traces;
  int cells = 0;
  for (TRecordedRuns cell; reader.Next(cell); ++cells) {
    ASSERT_FALSE(cell.Rows.empty());
    for (const TRunRow& row : cell.Rows) EXPECT_EQ(row.Size, design.Sizes[static_cast<size_t>(cells)]);
    for (const TRunTrace& trace : cell.Traces) EXPECT_EQ(trace.Size, design.Sizes[static_cast<size_t>(cells)]);
    all_rows.insert(all_rows.end(), cell.Rows.begin(), cell.Rows.end());
    all_traces.insert(all_traces.end(), cell.Traces.begin(), cell.Traces.end());
  }
  EXPECT_EQ(cells, 3);
  ASSERT_EQ(all_rows.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(FormatRunRow(all_rows[i]), FormatRunRow(rows[i]));
  EXPECT_EQ(TracesCsv(all_traces), TracesCsv(traces));

  const TFinishedAnalysis analysis = FinishFolder(folder, design, [](auto&, const std::string&, int, int) {});
  EXPECT_EQ(SummaryCsv(analysis.Summary), SummaryCsv(Summarize(rows, design.Seed)));
  EXPECT_EQ(ComparisonsCsv(analysis.Comparisons), ComparisonsCsv(Compare(rows)));
  EXPECT_EQ(Read(folder / "summary.csv"), SummaryCsv(Summarize(rows, design.Seed)));
  fs::remove_all(folder);
}

}  // namespace
