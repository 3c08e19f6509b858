#include "workbench/FitnessGraph.h"

#include <algorithm>

#include "platform/Numbers.h"

namespace zp::queens {

void StyleMethodCurve(chart::TZPLineChart& Curve, const ga::TSelectionMethodInfo& Method) {
  Curve.SetCaption(std::string(Method.Caption));
  Curve.Brush().SetColor(Method.Brush);
  Curve.Pen().SetColor(Method.Color);
  Curve.Pen().SetWidth(ga::kMethodLineWidth);
  Curve.SetOptions({chart::TChartOption::coShowInLegend});
}

std::string GraphHeader(const TRunHeading& Heading) { return "Best fitness per generation, " + Heading.Problem; }

std::string GraphFooter(const TRunHeading& Heading) {
  const std::string start = Heading.Seed ? "seed " + std::to_string(*Heading.Seed) : "loaded population";
  return start + ", streams " + ToString(Heading.Streams);
}

TFitnessGraph::TFitnessGraph() : panel_(std::make_unique<chart::TZPChartPanel>()) {
  // Until a workbench tells what is shown.
  panel_->Header().SetText("Best fitness per generation");
  panel_->Footer().SetText("");
  panel_->Footer().SetVisible(false);
  panel_->LeftAxis().Title().SetText("Fitness");
  panel_->BottomAxis().Title().SetText("Generation");
  // Made logarithmic (the chart's menu), the generation axis has a label at each power of ten.
  panel_->BottomAxis().SetLogarithmicType(chart::TZPLogarithmicType::ltDecades);
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
    StyleMethodCurve(*s, ga::kSelectionMethods[i]);
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

void TFitnessGraph::OnHeading(const TRunHeading& Heading) {
  panel_->Header().SetText(GraphHeader(Heading));
  panel_->Footer().SetText(GraphFooter(Heading));
  panel_->Footer().SetVisible(true);
}

void TFitnessGraph::OnGeneration(const TGenerationReport& Report) {
  const auto curve = ga::MethodPlace(Report.Method);
  if (!curve) return;
  chart::TZP2DChartValues& values = Series(static_cast<int>(*curve)).Values();
  const int arrival = values.Count();
  values.AddPoint(Report.Generation, Report.MaxFitness, "", chart::kAutoValueColor).SetTag(arrival);
}

}  // namespace zp::queens
