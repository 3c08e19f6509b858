// TFitnessGraph: the Graph page's chart and the one store of plotted points:
// a chart panel with one line series per selection method ("Roulette" ...
// "Elitist") in the method palette, left axis "Fitness", bottom axis
// "Generation" (a decade axis when made logarithmic). It observes a
// workbench: a reset empties the five curves and puts the left axis' top at
// the fitness cutoff, each generation's best fitness lands on the curve of its
// method, and the heading names what is shown ("Best fitness per generation,
// 8 queens" over "seed 0, streams continued"). The points, the CSV and the pictures are all read from the
// series. A front end creates it and attaches it; a workbench runs as well
// without one.
//
//   TFitnessGraph graph;  workbench.Attach(graph);
//   chartWidget.SetPanel(&graph.Panel());
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "engine/SelectionMethods.h"
#include "workbench/RunEvents.h"

namespace zp::queens {

// The graph's curves: one per method of the method table, in its order.
inline constexpr int kCurves = static_cast<int>(ga::kMethodCount);
// Method's curve; -1 for a method the run never uses (smCustom).
inline int CurveOf(ga::TGASelectionMethod Method) {
  const auto place = ga::MethodPlace(Method);
  return place ? static_cast<int>(*place) : -1;
}

// A method's curve as every figure draws it: the method's caption, its palette
// colour as pen and brush, ga::kMethodLineWidth pixels wide, in the legend.
void StyleMethodCurve(chart::TZPLineChart& Curve, const ga::TSelectionMethodInfo& Method);

// The graph's header and footer for Heading.
std::string GraphHeader(const TRunHeading& Heading);  // "Best fitness per generation, 8 queens"
std::string GraphFooter(const TRunHeading& Heading);  // "seed 0, streams continued"

struct TGraphPoint {
  double X, Y;
};

class TFitnessGraph : public IRunObserver {
 public:
  TFitnessGraph();
  ~TFitnessGraph() override;
  TFitnessGraph(const TFitnessGraph&) = delete;
  TFitnessGraph& operator=(const TFitnessGraph&) = delete;

  chart::TZPChartPanel& Panel() { return *panel_; }
  // Curve in run order (0 Roulette ... 4 Elitist).
  chart::TZPLineChart& Series(int Curve) const { return *series_[static_cast<size_t>(Curve)]; }

  // The points of Curve (generation, best fitness) in the order they came, whereas the
  // series holds them sorted by generation; empty after a reset.
  std::vector<TGraphPoint> Points(int Curve) const;
  // Every point as "method,generation,fitness" rows under that header line, curve by curve.
  std::string Csv() const;

  void OnCurvesReset(double Cutoff) override;
  void OnHeading(const TRunHeading& Heading) override;
  // A generation of a method the run never uses (smCustom) is not plotted.
  void OnGeneration(const TGenerationReport& Report) override;

 private:
  std::unique_ptr<chart::TZPChartPanel> panel_;
  std::array<std::unique_ptr<chart::TZPLineChart>, ga::kMethodCount> series_;
};

}  // namespace zp::queens
