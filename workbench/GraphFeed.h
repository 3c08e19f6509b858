// The graph feed: which curve receives which point, and when the curves are
// cleared. The workbench keeps the points itself (for scripts and CSV) and
// mirrors every step to an optional sink, the chart's five line series.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/ZPGAConsts.h"

namespace zp::queens {

// What a chart must do to show the feed.
class IGraphSink {
 public:
  virtual ~IGraphSink() = default;
  // The graph reset of an initialization: left axis maximum := Cutoff, every curve emptied.
  virtual void ResetCurves(double Cutoff) = 0;
  // The curve of Method receives the following points.
  virtual void SelectCurve(ga::TGASelectionMethod Method) = 0;
  // One point on the selected curve.
  virtual void AddPoint(double X, double Y) = 0;
};

struct TGraphPoint {
  double X, Y;
};

// The five curves, in run order: Roulette, Random, Tournament, Stochastic Tournament, Elitist.
class TGraphFeed {
 public:
  static constexpr int kCurves = 5;
  static const std::array<ga::TGASelectionMethod, kCurves>& Methods();
  // "Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist".
  static const std::array<std::string, kCurves>& Captions();

  void ResetCurves(double Cutoff);
  void SelectCurve(ga::TGASelectionMethod Method);
  void AddPoint(double X, double Y);

  const std::vector<TGraphPoint>& Points(int Curve) const { return points_[static_cast<size_t>(Curve)]; }
  int CurrentCurve() const { return current_; }
  double LeftAxisMaximum() const { return left_axis_maximum_; }
  // False until the first reset: the axis keeps its automatic maximum.
  bool LeftAxisMaximumSet() const { return left_axis_maximum_set_; }

  // Every point as "method,generation,fitness" rows under that header line.
  std::string Csv() const;

  void SetSink(IGraphSink* Sink) { sink_ = Sink; }  // not owned

 private:
  std::array<std::vector<TGraphPoint>, kCurves> points_;
  int current_ = 0;
  double left_axis_maximum_ = 0;
  bool left_axis_maximum_set_ = false;
  IGraphSink* sink_ = nullptr;
};

}  // namespace zp::queens
