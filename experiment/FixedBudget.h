// Fixed-budget curves of a cell: per method, the median best-so-far fitness of
// its runs against the evaluations spent, with the quartiles, from the runs'
// traces; and the chart that draws them, the median as the method's line and
// the quartiles as thin dashed lines of its colour.
//
//   TFixedBudgetChart chart(cell.Rows, cell.Traces, 200, "Fixed-budget ..., 8 queens");
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "experiment/RunRow.h"
#include "experiment/Traces.h"

namespace zp::experiment {

struct TBudgetPoint {
  int64_t Evaluations = 0;  // population x (1 + generation)
  double Q1 = 0, Median = 0, Q3 = 0;
  bool operator==(const TBudgetPoint&) const = default;
};

struct TBudgetCurve {
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  std::vector<TBudgetPoint> Points;
};

// The most points a curve gets: generations 0 .. G, thinned evenly beyond it.
inline constexpr int32_t kBudgetPoints = 200;

// One curve per method with traces, in the workbench's order, at generations 0 ..
// Generations (at most kBudgetPoints of them, both ends kept). A run's best so
// far at generation g is its last improvement at or before g; a run stays at its
// last value after it ends. Quartiles are type 7 over the method's runs. The
// population comes from Rows (each row's Population); no curves without rows.
std::vector<TBudgetCurve> FixedBudgetCurves(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces,
                                            int32_t Generations);

class TFixedBudgetChart {
 public:
  TFixedBudgetChart(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces, int32_t Generations,
                    const std::string& Header);
  ~TFixedBudgetChart();
  TFixedBudgetChart(const TFixedBudgetChart&) = delete;
  TFixedBudgetChart& operator=(const TFixedBudgetChart&) = delete;

  chart::TZPChartPanel& Panel() { return *panel_; }

 private:
  std::unique_ptr<chart::TZPChartPanel> panel_;
  std::vector<std::unique_ptr<chart::TZPLineChart>> curves_;
};

}  // namespace zp::experiment
