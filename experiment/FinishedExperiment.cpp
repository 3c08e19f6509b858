#include "experiment/FinishedExperiment.h"

#include <future>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "chart/ZPChartPanel.h"
#include "experiment/CellReader.h"
#include "experiment/Comparisons.h"
#include "experiment/Configurations.h"
#include "experiment/Ecdf.h"
#include "experiment/IohProfiler.h"
#include "experiment/MainEffects.h"
#include "experiment/OutputFiles.h"
#include "experiment/Summary.h"
#include "platform/Numbers.h"
#include "workbench/FitnessGraph.h"

namespace zp::experiment {

std::string EcdfFileStem(const TCell& Cell, bool PerConfig) {
  const auto chosen = queens::ParseProblemName(Cell.Problem);
  return "ecdf-" + (chosen ? chosen->FileTag() : Cell.Problem) + "-" + std::to_string(Cell.Size) +
         (PerConfig ? "-c" + std::to_string(Cell.Config) : "");
}

TFinishedAnalysis FinishFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design,
                               const TPictureWriter& Draw) {
  // One cell at a time, so that memory grows with one cell's repeats, not with
  // the experiment's rows. The info files list every size of their method and
  // problem: their blocks are gathered and written at the end.
  TFinishedAnalysis analysis;
  std::map<std::string, std::string> info_files;
  TCellReader reader(Folder);
  TEffects effects(Design);
  for (TRecordedRuns cell; reader.Next(cell);) {
    effects.Add(cell.Rows);
    // A cell's files are written while the caller's thread draws its pictures
    // (a failed picture still waits for them: the future's end waits).
    std::future<void> files = std::async(std::launch::async, [&] {
      const std::vector<TSummaryRow> summary = Summarize(cell.Rows, Design.Seed);
      const std::vector<TComparisonRow> comparisons = Compare(cell.Rows);
      analysis.Summary.insert(analysis.Summary.end(), summary.begin(), summary.end());
      analysis.Comparisons.insert(analysis.Comparisons.end(), comparisons.begin(), comparisons.end());
      std::vector<TOutputFile> data;
      const int32_t generations =
          cell.Rows.empty() ? Design.Generations
                            : Design.SettingsFor(cell.Rows.front().Config, cell.Rows.front().Size).Generations;
      const TIohProfilerInfo info{Design.Label, IohAlgInfo(Design, ProgramVersion(), generations),
                                  Design.ConfigCount() > 1};
      for (TOutputFile& file : IohProfilerFiles(cell.Rows, cell.Traces, info))
        if (file.Path.ends_with(".info"))
          info_files[file.Path] += file.Text;
        else
          data.push_back(std::move(file));
      WriteOutputFiles(Folder, data);
    });
    if (!cell.Rows.empty()) {
      const TCell at = CellOf(cell.Rows.front());
      const queens::TGASettings settings = Design.SettingsFor(at.Config, at.Size);
      // With an evaluation budget the axis counts evaluations: population x (1 + generation).
      const int32_t per_generation = Design.Evaluations ? settings.Population.value_or(4 * at.Size) : 0;
      const auto chosen = queens::ParseProblemName(at.Problem);
      TEcdfChart chart(cell.Rows, at, settings.Generations,
                       EcdfHeader(chosen ? chosen->Caption(at.Size) : at.Problem, at.Config), per_generation);
      for (const char* type : {"png", "svg"})
        Draw(chart.Panel(), (Folder / (EcdfFileStem(at, Design.ConfigCount() > 1) + "." + type)).string(), kEcdfWidth,
             kEcdfHeight);
    }
    files.get();
  }
  std::vector<TOutputFile> end{{"summary.csv", SummaryCsv(analysis.Summary)},
                               {"comparisons.csv", ComparisonsCsv(analysis.Comparisons)}};
  for (auto& [path, text] : info_files) end.push_back({path, std::move(text)});
  if (!effects.Empty()) {
    end.push_back({"effects.csv", effects.Csv()});
    effects.DrawPictures(Folder, Draw, {"png", "svg"});
  }
  WriteOutputFiles(Folder, end);
  return analysis;
}

void WriteExperimentFolder(const std::filesystem::path& Folder, const TExperimentDesign& Given, const TRunInfo& Run,
                           std::span<const TRepeatLines> Repeats, const TPictureWriter& Draw) {
  TExperimentDesign design = Given;
  if (design.Label.empty()) design.Label = DefaultLabel(Folder.string());
  StartFolder(Folder);
  WriteOutputFiles(Folder, {{"configurations.csv", ConfigurationsCsv(ResolveConfigurations(design))}});
  {
    TResultFiles files(Folder);
    for (const TRepeatLines& repeat : Repeats) files.Append(repeat);
  }
  FinishFolder(Folder, design, Draw);
  WriteOutputFiles(Folder, {{"experiment.json", ExperimentJson(design, ProgramVersion(), Run)}});
}

}  // namespace zp::experiment
