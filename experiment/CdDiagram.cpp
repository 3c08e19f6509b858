#include "experiment/CdDiagram.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "experiment/Friedman.h"
#include "experiment/RunRow.h"
#include "platform/Numbers.h"
#include "workbench/FitnessGraph.h"

namespace zp::experiment {

TCdDiagram::TCdDiagram(const std::vector<ga::TGASelectionMethod>& Methods, const std::vector<double>& Ranks, double Cd,
                       const std::string& Header)
    : panel_(std::make_unique<chart::TZPChartPanel>()) {
  panel_->Header().SetText(Header);
  panel_->Footer().SetVisible(false);
  panel_->Gradient().SetVisible(false);
  std::vector<size_t> order(std::min(Methods.size(), Ranks.size()));
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return Ranks[a] < Ranks[b]; });
  std::vector<double> sorted;
  for (size_t j : order) sorted.push_back(Ranks[j]);
  const auto bars = CriticalDifferenceBars(sorted, Cd);
  const double k = static_cast<double>(order.size());
  const double top = k + 1, bar_step = 0.35;

  chart::TZPChartAxis& bottom = panel_->BottomAxis();
  bottom.SetMinimum(1);
  bottom.SetMaximum(std::max(k, 2.0));
  bottom.SetMinStepIncrement(1);
  bottom.Title().SetText("Average rank (lower is better)");
  chart::TZPChartAxis& left = panel_->LeftAxis();
  left.SetMinimum(-bar_step * (static_cast<double>(bars.size()) + 1));
  left.SetMaximum(top + 0.5);
  // Heights mean nothing: the left axis shows neither labels nor grid.
  left.SetOptions(left.Options() -
                  chart::TAxisOptions{chart::TAxisOption::axShowLabels, chart::TAxisOption::axShowGrid});

  auto line = [&](double x0, double y0, double x1, double y1, TColor color, int width) -> chart::TZPLineChart& {
    auto s = std::make_unique<chart::TZPLineChart>();
    s->SetParent(panel_.get());
    s->Pen().SetColor(color);
    s->Pen().SetWidth(width);
    s->SetOptions({});
    s->BeginUpdate();
    s->Values().AddPoint(x0, y0);
    s->Values().AddPoint(x1, y1);
    s->EndUpdate();
    lines_.push_back(std::move(s));
    return *lines_.back();
  };
  // Staggered heights keep the lines of close ranks apart; the best method stands tallest.
  for (size_t place = 0; place < order.size(); ++place) {
    const ga::TGASelectionMethod method = Methods[order[place]];
    const auto rank = MethodRank(method);
    const double height = k - static_cast<double>(place);
    chart::TZPLineChart& s = line(sorted[place], 0, sorted[place], height, clBlack, 2);
    if (rank) queens::StyleMethodCurve(s, ga::kSelectionMethods[*rank]);
    s.SetCaption(s.Caption() + " (" + FormatFloat15(std::round(sorted[place] * 1000) / 1000) + ")");
  }
  for (size_t b = 0; b < bars.size(); ++b) {
    const double y = -bar_step * static_cast<double>(b + 1);
    line(sorted[bars[b].first] - 0.03, y, sorted[bars[b].second] + 0.03, y, clBlack, 4);
  }
  chart::TZPLineChart& cd = line(1, top, 1 + Cd, top, clBlack, 3);
  cd.SetCaption("CD = " + FormatFloat15(std::round(Cd * 1000) / 1000));
  cd.SetOptions({chart::TChartOption::coShowInLegend});
}

// The lines let go of the panel before it goes.
TCdDiagram::~TCdDiagram() { lines_.clear(); }

}  // namespace zp::experiment
