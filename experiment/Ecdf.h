// The run-length ECDF of a cell (problem, size, configuration): for each method, the fraction of all its
// runs that hit the target by generation g, for g from 1 to the experiment's generations, as
// step points; and the chart panel that draws them as stairs, one curve per
// method in the method palette (pictures are rendered by the front ends).
//
//   TEcdfChart chart(rows, {"nqueens", 8, 0}, 100, EcdfHeader("8 queens", 0));
//   chart::SaveChartFile(chart.Panel(), "ecdf-8.png", 800, 500);   // chart/qt
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "experiment/RunRow.h"

namespace zp::experiment {

struct TEcdfPoint {
  int32_t Generation = 0;
  double Fraction = 0;  // hitting runs / all runs of the method
  bool operator==(const TEcdfPoint&) const = default;
};

struct TEcdfCurve {
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  int64_t Runs = 0;
  // The fraction holds from a point's generation up to the next point's, where
  // it rises: the first point is at generation 1, the last at Generations.
  std::vector<TEcdfPoint> Steps;
};

// One curve per method with runs of Cell in Rows, in the workbench's order. A
// run that hit at generation 0 (its start population) counts from 1, one that hit
// after Generations not at all. No curves for Generations below 1 or no runs of Cell.
std::vector<TEcdfCurve> RunLengthEcdfs(const std::vector<TRunRow>& Rows, const TCell& Cell, int32_t Generations);

// An ECDF's header: "Run-length ECDF, 8 queens, configuration 0" for the
// problem's caption (queens::IProblem::Caption) and the configuration's number.
std::string EcdfHeader(std::string_view Problem, int32_t Configuration);

// The ECDF picture of one cell: header Header, bottom axis "Generation"
// from 1 to Generations (a decade axis from 1000 on; 0 to 1 for one generation,
// its one step drawn across), left axis from 0 to 1, one stair-step curve per
// method in the legend.
class TEcdfChart {
 public:
  // With EvaluationsPerGeneration (the population) the axis counts evaluations,
  // population x (1 + generation), instead of generations.
  TEcdfChart(const std::vector<TRunRow>& Rows, const TCell& Cell, int32_t Generations, const std::string& Header,
             int32_t EvaluationsPerGeneration = 0);
  ~TEcdfChart();
  TEcdfChart(const TEcdfChart&) = delete;
  TEcdfChart& operator=(const TEcdfChart&) = delete;

  chart::TZPChartPanel& Panel() { return *panel_; }
  // In the workbench's method order, methods without runs left out.
  const std::vector<std::unique_ptr<chart::TZPLineChart>>& Curves() const { return curves_; }

 private:
  std::unique_ptr<chart::TZPChartPanel> panel_;
  std::vector<std::unique_ptr<chart::TZPLineChart>> curves_;
};

// A generation axis this long or longer is logarithmic (by decades).
inline constexpr int32_t kLogarithmicGenerations = 1000;

}  // namespace zp::experiment
