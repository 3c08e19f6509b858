#include "experiment/FinishedExperiment.h"

#include <future>
#include <map>

#include "experiment/CellReader.h"
#include "experiment/Comparisons.h"
#include "experiment/Ecdf.h"
#include "experiment/IohProfiler.h"
#include "experiment/OutputFiles.h"
#include "experiment/Summary.h"
#include "workbench/QueensProblem.h"

namespace zp::experiment {

namespace {

TIohProfilerInfo IohInfo(const TExperimentDesign& Design) {
  return {Design.Label, IohAlgInfo(Design, ProgramVersion())};
}

}  // namespace

TFinishedAnalysis FinishFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design,
                               const TPictureWriter& Draw) {
  // One queen count at a time, so that memory grows with one cell's repeats, not
  // with the experiment's rows. The info files list every queen count of their
  // method: their blocks are gathered and written at the end.
  TFinishedAnalysis analysis;
  std::map<std::string, std::string> info_files;
  TCellReader reader(Folder);
  for (TRecordedRuns cell; reader.Next(cell);) {
    // A cell's files are written while the caller's thread draws its pictures
    // (a failed picture still waits for them: the future's end waits).
    std::future<void> files = std::async(std::launch::async, [&] {
      const std::vector<TSummaryRow> summary = Summarize(cell.Rows, Design.Seed);
      const std::vector<TComparisonRow> comparisons = Compare(cell.Rows);
      analysis.Summary.insert(analysis.Summary.end(), summary.begin(), summary.end());
      analysis.Comparisons.insert(analysis.Comparisons.end(), comparisons.begin(), comparisons.end());
      std::vector<TOutputFile> data;
      for (TOutputFile& file : IohProfilerFiles(cell.Rows, cell.Traces, IohInfo(Design)))
        if (file.Path.ends_with(".info"))
          info_files[file.Path] += file.Text;
        else
          data.push_back(std::move(file));
      WriteOutputFiles(Folder, data);
    });
    if (!cell.Rows.empty()) {
      const int32_t n = cell.Rows.front().Queens;
      TEcdfChart chart(cell.Rows, n, Design.Generations, EcdfHeader(queens::TQueensProblem(n).Caption(), 0));
      for (const char* type : {"png", "svg"})
        Draw(chart.Panel(), (Folder / ("ecdf-" + std::to_string(n) + "." + type)).string(), kEcdfWidth, kEcdfHeight);
    }
    files.get();
  }
  std::vector<TOutputFile> end{{"summary.csv", SummaryCsv(analysis.Summary)},
                               {"comparisons.csv", ComparisonsCsv(analysis.Comparisons)}};
  for (auto& [path, text] : info_files) end.push_back({path, std::move(text)});
  WriteOutputFiles(Folder, end);
  return analysis;
}

void WriteExperimentFolder(const std::filesystem::path& Folder, const TExperimentDesign& Given, const TRunInfo& Run,
                           std::span<const TRepeatLines> Repeats, const TPictureWriter& Draw) {
  TExperimentDesign design = Given;
  if (design.Label.empty()) design.Label = DefaultLabel(Folder.string());
  StartFolder(Folder);
  {
    TResultFiles files(Folder);
    for (const TRepeatLines& repeat : Repeats) files.Append(repeat);
  }
  FinishFolder(Folder, design, Draw);
  WriteOutputFiles(Folder, {{"experiment.json", ExperimentJson(design, ProgramVersion(), Run)}});
}

}  // namespace zp::experiment
