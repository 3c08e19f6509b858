#include "experiment/ReportFolder.h"

#include <fstream>
#include <limits>
#include <sstream>

#include "experiment/CdDiagram.h"
#include "experiment/CellReader.h"
#include "experiment/Ecdf.h"
#include "experiment/FixedBudget.h"
#include "experiment/FolderLock.h"
#include "experiment/MainEffects.h"
#include "experiment/OutputFiles.h"
#include "platform/Exceptions.h"
#include "workbench/ProblemCatalogue.h"

namespace zp::experiment {

namespace {

std::string Quoted(const std::filesystem::path& Folder) { return "'" + Folder.string() + "'"; }

TStoredExperiment ReadFinishedExperiment(const std::filesystem::path& Folder) {
  if (FolderLocked(Folder))
    throw Exception(Quoted(Folder) + " is in use by a running batch; report on it when it has finished");
  std::ifstream in(Folder / "experiment.json", std::ios::binary);
  if (!in) throw Exception(Quoted(Folder) + " holds no experiment.json: it is no experiment folder");
  std::stringstream text;
  text << in.rdbuf();
  TStoredExperiment stored;
  try {
    stored = ReadExperimentJson(text.str());
  } catch (const std::exception& e) {
    throw Exception((Folder / "experiment.json").string() + ": " + e.what());
  }
  if (!stored.Finished)
    throw Exception(Quoted(Folder) +
                    " holds an unfinished experiment (its run has no end); finish it with 'batch --resume' first");
  return stored;
}

void DrawFigure(chart::TZPCustomChartPanel& Panel, const std::filesystem::path& Out, const std::string& Stem,
                const TPictureWriter& Draw) {
  for (const char* type : kReportFigureTypes)
    Draw(Panel, (Out / (Stem + "." + type)).string(), kEcdfWidth, kEcdfHeight);
}

}  // namespace

TReportContent WriteReport(const std::filesystem::path& Folder, const std::filesystem::path& Out,
                           const TPictureWriter& Draw) {
  TReportContent report;
  report.Experiment = ReadFinishedExperiment(Folder);
  const TExperimentDesign& design = report.Experiment.Design;
  std::error_code ec;
  // The report's figures are named like the batch's pictures: in the experiment's own
  // folder they would replace them.
  if (std::filesystem::weakly_canonical(Out, ec) == std::filesystem::weakly_canonical(Folder, ec))
    throw Exception(Quoted(Out) + " is the experiment's folder; the report goes into a folder of its own");
  std::filesystem::create_directories(Out, ec);
  if (ec) throw Exception(Quoted(Out) + " cannot be made (" + ec.message() + ")");
  const bool per_config = design.ConfigCount() > 1;
  std::vector<std::vector<double>> erts;  // per instance, per written method: ERT in evaluations, +inf for no hit
  TEffects effects(design);
  TCellReader reader(Folder);
  for (TRecordedRuns runs; reader.Next(runs);) {
    if (runs.Rows.empty()) continue;
    effects.Add(runs.Rows);
    TReportCell cell;
    cell.Cell = CellOf(runs.Rows.front());
    cell.Summary = Summarize(runs.Rows, design.Seed);
    cell.Comparisons = Compare(runs.Rows);
    std::vector<double> ert;
    for (ga::TGASelectionMethod method : design.Methods) {
      double value = std::numeric_limits<double>::infinity();
      for (const TSummaryRow& row : cell.Summary)
        if (row.Method == method && row.ErtEvaluations) value = *row.ErtEvaluations;
      ert.push_back(value);
    }
    erts.push_back(std::move(ert));

    const queens::TGASettings settings = design.SettingsFor(cell.Cell.Config, cell.Cell.Size);
    const int32_t per_generation = design.Evaluations ? settings.Population.value_or(4 * cell.Cell.Size) : 0;
    const auto chosen = queens::ParseProblemName(cell.Cell.Problem);
    const std::string caption = chosen ? chosen->Caption(cell.Cell.Size) : cell.Cell.Problem;
    {
      TEcdfChart chart(runs.Rows, cell.Cell, settings.Generations, EcdfHeader(caption, cell.Cell.Config),
                       per_generation);
      const std::string stem = EcdfFileStem(cell.Cell, per_config);
      DrawFigure(chart.Panel(), Out, stem, Draw);
      cell.Figures.push_back({stem, "Run-length ECDF of " + ReportCellCaption(cell.Cell, design) +
                                        ": per method, the fraction of its runs that hit the target by each " +
                                        (per_generation ? "evaluation" : "generation") + "."});
    }
    {
      TFixedBudgetChart chart(runs.Rows, runs.Traces, settings.Generations,
                              "Fixed-budget best fitness, " + ReportCellCaption(cell.Cell, design));
      const std::string stem = "budget-" + EcdfFileStem(cell.Cell, per_config).substr(5);
      DrawFigure(chart.Panel(), Out, stem, Draw);
      cell.Figures.push_back(
          {stem, "Fixed-budget curves of " + ReportCellCaption(cell.Cell, design) +
                     ": per method, the median best-so-far fitness of its runs against the evaluations spent (solid) "
                     "and the interquartile range (dashed); a run keeps its last value after it ends."});
    }
    report.Cells.push_back(std::move(cell));
  }
  if (design.Methods.size() >= 2 && !erts.empty()) report.Friedman = FriedmanTest(erts);
  const auto k = static_cast<int32_t>(design.Methods.size());
  const std::optional<double> cd = CriticalDifference(k, static_cast<int64_t>(erts.size()));
  if (report.Friedman && cd && k >= kCdMinMethods && report.Friedman->Instances >= kCdMinInstances) {
    TCdDiagram chart(design.Methods, report.Friedman->AverageRanks, *cd,
                     "Average ranks by ERT over " + std::to_string(erts.size()) + " instances");
    DrawFigure(chart.Panel(), Out, "cd-diagram", Draw);
    report.Figures.push_back({"cd-diagram", CdCaption(*report.Friedman, *cd, per_config)});
  }
  for (const auto& [stem, header] : effects.DrawPictures(Out, Draw, {"pdf", "svg", "png"}))
    report.Figures.push_back({stem, header + ": ERT in evaluations of the runs of every configuration with each value, "
                                             "pooled, one line per method; a value without a hit has no point."});
  WriteOutputFiles(Out, {{"report.md", ReportMarkdown(report)},
                         {"report.tex", ReportLatex(report)},
                         {"report-standalone.tex", ReportStandaloneLatex(report)}});
  return report;
}

}  // namespace zp::experiment
