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
#include "experiment/OutputFiles.h"
#include "experiment/Summary.h"
#include "platform/Numbers.h"
#include "workbench/FitnessGraph.h"

namespace zp::experiment {

namespace {

// Main effects: per problem and size, method, varied setting and value, the runs of
// every configuration that has the value, pooled.
class TEffects {
 public:
  explicit TEffects(const TExperimentDesign& Design) : design_(Design) {}

  void Add(const std::vector<TRunRow>& Rows) {
    if (Rows.empty() || design_.ConfigCount() < 2) return;
    const TCell cell = CellOf(Rows.front());
    const auto places = design_.ConfigPlaces(cell.Config);
    auto& block = blocks_[{cell.Problem, cell.Size}];
    if (block.empty()) order_.push_back({cell.Problem, cell.Size});
    for (size_t setting = 0; setting < places.size(); ++setting) {
      if (!design_.Varies(static_cast<queens::TSettingName>(setting))) continue;
      for (const TRunRow& row : Rows) {
        const auto rank = MethodRank(row.Method);
        if (!rank) continue;
        TPooled& pooled = block[{*rank, setting, places[setting]}];
        pooled.Configs.insert(cell.Config);
        ++pooled.Runs;
        pooled.Hits += row.HitGeneration ? 1 : 0;
        pooled.Spent += static_cast<double>(SpentEvaluations(row));
      }
    }
  }

  std::string Csv() const {
    std::string text = std::string(kEffectsCsvHeader) + "\n";
    for (const auto& key : order_)
      for (const auto& [at, pooled] : blocks_.at(key)) {
        const auto [rank, setting, value] = at;
        const double rate = static_cast<double>(pooled.Hits) / static_cast<double>(pooled.Runs);
        text += key.first + "," + std::to_string(key.second) + "," + ga::ToString(kMethodOrder[rank]) + "," +
                std::string(queens::kSettingNames[setting]) + "," + design_.Settings[setting][value].Text + "," +
                std::to_string(pooled.Configs.size()) + "," + std::to_string(pooled.Runs) + "," +
                std::to_string(pooled.Hits) + "," + FormatFloat15(rate) + "," +
                (pooled.Hits > 0 ? FormatFloat15(pooled.Spent / static_cast<double>(pooled.Hits)) : "") + "\n";
      }
    return text;
  }

  bool Empty() const { return order_.empty(); }

  // effects-PROBLEM-SIZE-SETTING.png and .svg: ERT in evaluations against the
  // setting's values, one line per method; a value without a hit has no point.
  void DrawPictures(const std::filesystem::path& Folder, const TPictureWriter& Draw) const {
    for (const auto& key : order_) {
      const auto spec = queens::ParseProblemName(key.first);
      for (size_t setting = 0; setting < queens::kSettingCount; ++setting) {
        if (!design_.Varies(static_cast<queens::TSettingName>(setting))) continue;
        const std::string name(queens::kSettingNames[setting]);
        chart::TZPChartPanel panel;
        panel.Header().SetText("Main effect of " + name + ", " + (spec ? spec->Caption(key.second) : key.first));
        panel.Footer().SetVisible(false);
        panel.Gradient().SetVisible(false);
        panel.LeftAxis().Title().SetText("ERT (evaluations)");
        panel.BottomAxis().Title().SetText(name);
        std::vector<std::unique_ptr<chart::TZPLineChart>> curves;
        for (size_t rank = 0; rank < kMethodOrder.size(); ++rank) {
          auto curve = std::make_unique<chart::TZPLineChart>();
          curve->SetParent(&panel);
          queens::StyleMethodCurve(*curve, ga::kSelectionMethods[rank]);
          curve->BeginUpdate();
          for (const auto& [at, pooled] : blocks_.at(key)) {
            const auto [r, s, value] = at;
            if (r != rank || s != setting || pooled.Hits == 0) continue;
            curve->Values().AddPoint(queens::SettingAxisValue(design_.Settings[setting][value], key.second),
                                     pooled.Spent / static_cast<double>(pooled.Hits));
          }
          curve->EndUpdate();
          curves.push_back(std::move(curve));
        }
        const std::string stem =
            "effects-" + (spec ? spec->FileTag() : key.first) + "-" + std::to_string(key.second) + "-" + name;
        for (const char* type : {"png", "svg"})
          Draw(panel, (Folder / (stem + "." + type)).string(), kEcdfWidth, kEcdfHeight);
        curves.clear();  // the curves let go of the panel before it goes
      }
    }
  }

 private:
  struct TPooled {
    std::set<int32_t> Configs;
    int64_t Runs = 0, Hits = 0;
    double Spent = 0;
  };
  const TExperimentDesign& design_;
  std::vector<std::pair<std::string, int32_t>> order_;
  // (problem, size) -> (method rank, setting, value place) -> pooled runs
  std::map<std::pair<std::string, int32_t>, std::map<std::tuple<size_t, size_t, size_t>, TPooled>> blocks_;
};

}  // namespace

std::string EcdfFileStem(const TCell& Cell, bool PerConfig) {
  const auto spec = queens::ParseProblemName(Cell.Problem);
  return "ecdf-" + (spec ? spec->FileTag() : Cell.Problem) + "-" + std::to_string(Cell.Size) +
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
      const auto spec = queens::ParseProblemName(at.Problem);
      TEcdfChart chart(cell.Rows, at, settings.Generations,
                       EcdfHeader(spec ? spec->Caption(at.Size) : at.Problem, at.Config), per_generation);
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
    effects.DrawPictures(Folder, Draw);
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
