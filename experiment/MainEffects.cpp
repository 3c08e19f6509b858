#include "experiment/MainEffects.h"

#include <memory>

#include "chart/ZPChartPanel.h"
#include "platform/Numbers.h"
#include "workbench/FitnessGraph.h"
#include "workbench/ProblemCatalogue.h"

namespace zp::experiment {

void TEffects::Add(const std::vector<TRunRow>& Rows) {
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

std::string TEffects::Csv() const {
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

std::vector<std::pair<std::string, std::string>> TEffects::DrawPictures(
    const std::filesystem::path& Folder, const TPictureWriter& Draw, std::initializer_list<const char*> Types) const {
  std::vector<std::pair<std::string, std::string>> drawn;
  for (const auto& key : order_) {
    const auto chosen = queens::ParseProblemName(key.first);
    for (size_t setting = 0; setting < queens::kSettingCount; ++setting) {
      if (!design_.Varies(static_cast<queens::TSettingName>(setting))) continue;
      const std::string name(queens::kSettingNames[setting]);
      chart::TZPChartPanel panel;
      panel.Header().SetText("Main effect of " + name + ", " + (chosen ? chosen->Caption(key.second) : key.first));
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
          "effects-" + (chosen ? chosen->FileTag() : key.first) + "-" + std::to_string(key.second) + "-" + name;
      for (const char* type : Types) Draw(panel, (Folder / (stem + "." + type)).string(), kEcdfWidth, kEcdfHeight);
      curves.clear();  // the curves let go of the panel before it goes
      drawn.emplace_back(stem, panel.Header().Text());
    }
  }
  return drawn;
}

}  // namespace zp::experiment
