#include "workbench/FitnessGraph.h"

#include <algorithm>

#include "platform/Numbers.h"

namespace zp::queens {

TFitnessGraph::TFitnessGraph() : panel_(std::make_unique<chart::TZPChartPanel>()) {
  panel_->LeftAxis().Title().SetText("Fitness");
  panel_->BottomAxis().Title().SetText("Generation");
  // The graph plots on the left and bottom axes only; the other two would
  // stand as bare lines taking room from the plot.
  panel_->TopAxis().SetVisible(false);
  panel_->RightAxis().SetVisible(false);
  // A click on a curve's legend line hides or shows the curve; hidden
  // curves stay listed (greyed) so that they can be shown again.
  panel_->Legend().SetListHiddenSeries(true);
  panel_->SetUserActions(panel_->UserActions() + chart::TChartUserActions{chart::TChartUserAction::cuaLegendToggle});
  for (size_t i = 0; i < series_.size(); ++i) {
    auto s = std::make_unique<chart::TZPLineChart>();
    s->SetParent(panel_.get());
    // The pen (the series colour) tells the last three apart, their yellow brushes are not drawn by lines.
    const ga::TSelectionMethodInfo& method = ga::kSelectionMethods[i];
    s->SetCaption(std::string(method.Caption));
    s->Brush().SetColor(method.Brush);
    s->Pen().SetColor(method.Color);
    s->SetOptions({chart::TChartOption::coShowInLegend});
    series_[i] = std::move(s);
  }
}

// The series let go of the panel before it goes.
TFitnessGraph::~TFitnessGraph() {
  for (auto& s : series_) s.reset();
}

// A line series keeps its points sorted by generation, so a run that starts
// below a curve's last generation lands amid the earlier points; each point's
// tag is its place in arrival order, which the CSV keeps.
std::vector<TGraphPoint> TFitnessGraph::Points(int Curve) const {
  const chart::TZP2DChartValues& values = Series(Curve).Values();
  std::vector<const chart::TZP2DChartValue*> arrived;
  arrived.reserve(static_cast<size_t>(values.Count()));
  for (int i = 0; i < values.Count(); ++i) arrived.push_back(&values.Items(i));
  std::stable_sort(arrived.begin(), arrived.end(), [](auto* a, auto* b) { return a->Tag() < b->Tag(); });
  std::vector<TGraphPoint> points;
  points.reserve(arrived.size());
  for (const chart::TZP2DChartValue* v : arrived) points.push_back({v->X(), v->Y()});
  return points;
}

std::string TFitnessGraph::Csv() const {
  std::string out = "method,generation,fitness\n";
  for (size_t c = 0; c < series_.size(); ++c)
    for (const TGraphPoint& p : Points(static_cast<int>(c)))
      out += std::string(ga::kSelectionMethods[c].Caption) + "," + FormatFloat15(p.X) + "," + FormatFloat15(p.Y) + "\n";
  return out;
}

void TFitnessGraph::OnCurvesReset(double Cutoff) {
  panel_->LeftAxis().SetMaximum(Cutoff);
  for (auto& s : series_) s->Values().Clear();
}

void TFitnessGraph::OnGeneration(const TGenerationReport& Report) {
  const auto curve = ga::MethodPlace(Report.Method);
  if (!curve) return;
  chart::TZP2DChartValues& values = Series(static_cast<int>(*curve)).Values();
  const int arrival = values.Count();
  values.AddPoint(Report.Generation, Report.MaxFitness, "", chart::kAutoValueColor).SetTag(arrival);
}

}  // namespace zp::queens
