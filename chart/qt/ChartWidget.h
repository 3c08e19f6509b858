// TZPChartWidget: the QWidget that shows a chart panel. It is the panel's
// host: paints it through TQtCanvas into a cached picture (repainted only
// after the panel asks), forwards mouse events with the exact key and button
// sets, shows the panel's cursors, and draws the drag rectangle over the
// cached picture, so a drag costs no chart repaint. Beyond the panel's own
// gestures it reads out the value under the mouse, zooms with the wheel
// around the cursor, steps back through the zooms with Backspace, and
// offers a context menu: save or copy the picture, reset the zoom, and a
// logarithmic horizontal axis.
//
//   auto* view = new zp::chart::TZPChartWidget(&workbench.ChartPanel(), page);
//   layout->addWidget(view);
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "chart/ZPCustomChartPanel.h"

class QMenu;

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

  // ---- exploring ----
  // How near (pixels) the mouse must come to a value to read it out.
  static constexpr int kHoverRadius = 5;
  // One wheel notch shows this share of the horizontal window (or its inverse).
  static constexpr double kWheelZoom = 0.8;
  // The value read out now (its tooltip text and a dot on it); empty
  // when the mouse is near no value.
  const TChartHit& Hover() const { return hover_; }
  QString HoverText() const { return hover_text_; }
  // The context menu (owned by the caller): "Save image...", "Copy image",
  // "Reset zoom", and "Logarithmic <bottom axis title> axis" (checkable).
  QMenu* CreateContextMenu();
  // The size of a saved picture: its layout in pixels and, for PNG only,
  // the pixel density (2: twice the pixels each way, the same layout).
  struct TImageSize {
    int Width = 0;
    int Height = 0;
    int Scale = 1;
  };
  // Asks for a PNG, SVG or PDF file name and then the picture's size (the
  // widget's, at its density, unless changed), and writes the chart.
  void SaveImage();
  // The chart as laid out now onto the clipboard.
  void CopyImage();
  // The picture of the chart at the widget's size and pixel density.
  QImage ChartImage() const;
  // Replaceable, so that tests and hosts need no modal dialogs: the file
  // chooser of SaveImage (empty: cancelled), its size chooser (empty:
  // cancelled; Suggested is the widget's size) and the error report.
  std::function<QString(QWidget* Parent)> ChooseImageFile;
  std::function<std::optional<TImageSize>(QWidget* Parent, const QString& File, TImageSize Suggested)> ChooseImageSize;
  std::function<void(const QString& Message)> ShowError;

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
  void leaveEvent(QEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;

 private:
  void RenderCache();
  static TMouseButton ButtonOf(Qt::MouseButton Button);
  // Reads out the value nearest P (widget coordinates), or nothing.
  void UpdateHover(const QPoint& P);
  void ClearHover();
  QRect HoverMarkRect() const;
  int PictureScale() const;

  TZPCustomChartPanel* panel_ = nullptr;  // not owned
  QImage cache_;
  bool dirty_ = true;
  int chart_paints_ = 0;
  std::vector<TRect> feedback_;
  TChartHit hover_;
  QString hover_text_;
};

}  // namespace zp::chart
