// The critical-difference diagram as a chart panel: the methods' average
// ranks on the bottom axis, each method a vertical line of its colour up to a
// staggered height (its name and rank in the legend), a black bar under each
// run of methods closer than the critical difference, and the CD's length
// drawn at the top.
//
//   TCdDiagram chart({smTournament, ...}, friedman.AverageRanks, cd, "Critical difference, ...");
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "engine/SelectionMethods.h"

namespace zp::experiment {

class TCdDiagram {
 public:
  // Methods[j] has average rank Ranks[j]; Cd is the critical difference.
  TCdDiagram(const std::vector<ga::TGASelectionMethod>& Methods, const std::vector<double>& Ranks, double Cd,
             const std::string& Header);
  ~TCdDiagram();
  TCdDiagram(const TCdDiagram&) = delete;
  TCdDiagram& operator=(const TCdDiagram&) = delete;

  chart::TZPChartPanel& Panel() { return *panel_; }

 private:
  std::unique_ptr<chart::TZPChartPanel> panel_;
  std::vector<std::unique_ptr<chart::TZPLineChart>> lines_;
};

}  // namespace zp::experiment
