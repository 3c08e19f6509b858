#include "workbench/FitnessGraph.h"

namespace zp::queens {

namespace {

struct TCurveLook {
  TColor Brush;
  TColor Pen;
};

// Brush and pen colours in run order; the pen (the series colour) tells the
// last three apart, their yellow brushes are not drawn by lines.
constexpr std::array<TCurveLook, TGraphFeed::kCurves> kLooks{{
    {0x00FF00, 0x00FF00},
    {0x0000FF, 0x0000FF},
    {0x00FFFF, 0x00FFFF},
    {0x00FFFF, 0xFF0000},
    {0x00FFFF, 0xFF00FF},
}};

}  // namespace

TFitnessGraph::TFitnessGraph() : panel_(std::make_unique<chart::TZPChartPanel>()) {
  panel_->LeftAxis().Title().SetText("Fitness");
  panel_->BottomAxis().Title().SetText("Generation");
  for (size_t i = 0; i < series_.size(); ++i) {
    auto s = std::make_unique<chart::TZPLineChart>();
    s->SetParent(panel_.get());
    s->SetCaption(TGraphFeed::Captions()[i]);
    s->Brush().SetColor(kLooks[i].Brush);
    s->Pen().SetColor(kLooks[i].Pen);
    s->SetOptions({chart::TChartOption::coShowInLegend});
    series_[i] = std::move(s);
  }
}

// The series let go of the panel before it goes.
TFitnessGraph::~TFitnessGraph() {
  for (auto& s : series_) s.reset();
}

void TFitnessGraph::ResetCurves(double Cutoff) {
  panel_->LeftAxis().SetMaximum(Cutoff);
  for (auto& s : series_) s->Values().Clear();
}

void TFitnessGraph::SelectCurve(ga::TGASelectionMethod Method) {
  for (int i = 0; i < TGraphFeed::kCurves; ++i)
    if (TGraphFeed::Methods()[static_cast<size_t>(i)] == Method) current_ = i;
}

void TFitnessGraph::AddPoint(double X, double Y) {
  CurrentSeries().Values().AddPoint(X, Y, "", chart::kAutoValueColor);
}

}  // namespace zp::queens
