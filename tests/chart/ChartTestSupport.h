// Shared pieces of the series and panel tests: a host that records what the
// panel asks of it, fixed axis ranges, and a panel with line series.
#pragma once

#include <memory>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "platform/RecordingCanvas.h"

namespace zp::chart::testing {

struct TRecordingHost : IZPChartHost {
  TRect client{0, 0, 400, 300};
  int invalidates = 0;
  std::vector<TCursor> cursors;
  std::vector<TRect> focus_rects;
  bool panel_gone = false;
  void Invalidate() override { ++invalidates; }
  TRect ClientRect() const override { return client; }
  void SetCursor(TCursor Cursor) override { cursors.push_back(Cursor); }
  void DrawFocusRect(const TRect& R) override { focus_rects.push_back(R); }
  void PanelDestroyed() override { panel_gone = true; }
};

// The axis spans Lo..Hi, whatever its series hold.
inline void FixRange(TZPChartAxis& Axis, double Lo, double Hi) {
  Axis.SetOptions(Axis.Options() - TAxisOptions{TAxisOption::axAutomaticMinimum, TAxisOption::axAutomaticMaximum});
  Axis.SetMaximum(Hi);
  Axis.SetMinimum(Lo);
}

// A panel whose bottom and left axes span 0..10, with line series added on demand.
struct TLinePanel {
  TZPChartPanel panel;
  std::vector<std::unique_ptr<TZPLineChart>> series;

  TLinePanel() {
    FixRange(panel.BottomAxis(), 0, 10);
    FixRange(panel.LeftAxis(), 0, 10);
  }
  TZPLineChart& Add(std::initializer_list<std::pair<double, double>> Points = {}) {
    auto s = std::make_unique<TZPLineChart>();
    s->SetParent(&panel);
    s->SetOptions({TChartOption::coShowInLegend});
    for (auto [x, y] : Points) s->Values().AddPoint(x, y);
    series.push_back(std::move(s));
    return *series.back();
  }
};

// The points of every polyline drawn, in order.
inline std::vector<TPoints> Polylines(const TRecordingCanvas& Canvas) {
  std::vector<TPoints> lines;
  for (const TCanvasCall& c : Canvas.CallsOf("Polyline")) lines.push_back(c.Points);
  return lines;
}

}  // namespace zp::chart::testing
