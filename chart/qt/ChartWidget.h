// TZPChartWidget: the QWidget that shows a chart panel. It is the panel's
// host: paints it through TQtCanvas into a cached picture (repainted only
// after the panel asks), forwards mouse events with the exact key and button
// sets, shows the panel's cursors, and draws the drag rectangle over the
// cached picture, so a drag costs no chart repaint.
//
//   auto* view = new zp::chart::TZPChartWidget(&workbench.ChartPanel(), page);
//   layout->addWidget(view);
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "chart/ZPCustomChartPanel.h"

namespace zp::chart {

class TZPChartWidget : public QWidget, public IZPChartHost {
 public:
  // Panel is not owned and may be nullptr; the widget becomes its host.
  explicit TZPChartWidget(TZPCustomChartPanel* Panel, QWidget* Parent = nullptr);
  ~TZPChartWidget() override;

  TZPCustomChartPanel* Panel() const { return panel_; }
  void SetPanel(TZPCustomChartPanel* Panel);

  // How often the chart itself was painted (not counting drag feedback).
  int ChartPaintCount() const { return chart_paints_; }
  // The drag rectangles shown now.
  const std::vector<TRect>& FeedbackRects() const { return feedback_; }
  // The key and button set of a Qt mouse event.
  static TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons, bool Double = false);

  // ---- host ----
  void Invalidate() override;
  TRect ClientRect() const override;
  void SetCursor(TCursor Cursor) override;
  void DrawFocusRect(const TRect& R) override;
  void PanelDestroyed() override;

  QSize sizeHint() const override { return {400, 300}; }

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  void RenderCache();
  static TMouseButton ButtonOf(Qt::MouseButton Button);

  TZPCustomChartPanel* panel_ = nullptr;  // not owned
  QImage cache_;
  bool dirty_ = true;
  int chart_paints_ = 0;
  std::vector<TRect> feedback_;
};

}  // namespace zp::chart
