// Umbrella header of the chart panel: the panel with its axes, header,
// footer, legend and decorations, the series it draws, and TZPChartPanel,
// the panel with every property public.
//
//   TZPChartPanel panel;
//   panel.LeftAxis().Title().SetText("Fitness");
//   TZPLineChart s;  s.SetParent(&panel);  s.Values().AddPoint(1, 20);
#pragma once

#include "chart/ZPChartAxis.h"
#include "chart/ZPChartDecorations.h"
#include "chart/ZPChartHost.h"
#include "chart/ZPChartList.h"
#include "chart/ZPCharts.h"
#include "chart/ZPCustomChartPanel.h"

namespace zp::chart {

class TZPChartPanel : public TZPCustomChartPanel {
 public:
  using TZPCustomChartPanel::TZPCustomChartPanel;
  std::string ClassName() const override { return "TZPChartPanel"; }
};

}  // namespace zp::chart
