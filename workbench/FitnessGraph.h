// TFitnessGraph: the Graph page's chart: a chart panel with one line series
// per selection method ("Roulette" ... "Elitist"), left axis "Fitness",
// bottom axis "Generation". It is the graph feed's sink: a reset empties the
// five curves and puts the left axis' top at the fitness cutoff, and each
// point lands on the curve of the method running.
//
//   TFitnessGraph graph;  feed.SetSink(&graph);
//   chartWidget.SetPanel(&graph.Panel());
#pragma once

#include <array>
#include <memory>

#include "chart/ZPChartPanel.h"
#include "workbench/GraphFeed.h"

namespace zp::queens {

class TFitnessGraph : public IGraphSink {
 public:
  TFitnessGraph();
  ~TFitnessGraph() override;
  TFitnessGraph(const TFitnessGraph&) = delete;
  TFitnessGraph& operator=(const TFitnessGraph&) = delete;

  chart::TZPChartPanel& Panel() { return *panel_; }
  // Curve in run order (0 Roulette ... 4 Elitist).
  chart::TZPLineChart& Series(int Curve) { return *series_[static_cast<size_t>(Curve)]; }
  chart::TZPLineChart& CurrentSeries() { return *series_[static_cast<size_t>(current_)]; }

  void ResetCurves(double Cutoff) override;
  void SelectCurve(ga::TGASelectionMethod Method) override;
  void AddPoint(double X, double Y) override;

 private:
  std::unique_ptr<chart::TZPChartPanel> panel_;
  std::array<std::unique_ptr<chart::TZPLineChart>, TGraphFeed::kCurves> series_;
  int current_ = 0;
};

}  // namespace zp::queens
