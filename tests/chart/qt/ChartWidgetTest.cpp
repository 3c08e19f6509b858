// The chart widget: it hosts its panel, repaints the chart only when the
// panel asks, shows drag feedback without repainting the chart, forwards the
// exact key and button sets, and survives its panel.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <memory>

#include "QtTestApp.h"
#include "chart/ZPChartPanel.h"
#include "chart/qt/ChartWidget.h"

using namespace zp;
using namespace zp::chart;
using enum TShiftStateFlag;

namespace {

struct TWidgetFixture : ::testing::Test {
  std::unique_ptr<TZPChartPanel> panel = std::make_unique<TZPChartPanel>();
  TZPLineChart series;
  std::unique_ptr<TZPChartWidget> widget;
  void SetUp() override {
    zp::chart::testing::TestApp();
    series.SetParent(panel.get());
    for (int x = 0; x <= 10; ++x) series.Values().AddPoint(x, x % 4);
    widget = std::make_unique<TZPChartWidget>(panel.get());
    widget->resize(400, 300);
    (void)widget->grab();  // first paint: the layout exists
  }
  void TearDown() override { widget.reset(); }
  void Send(QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons,
            Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QMouseEvent e(Type, QPointF(P), widget->mapToGlobal(QPointF(P)), Button, Buttons, Mods);
    QCoreApplication::sendEvent(widget.get(), &e);
  }
};

}  // namespace

TEST_F(TWidgetFixture, ThePanelRepaintsOnlyWhenItAsks) {
  EXPECT_EQ(panel->Host(), widget.get());
  EXPECT_EQ(panel->ClientRect(), Rect(0, 0, 400, 300));
  const int painted = widget->ChartPaintCount();
  EXPECT_GE(painted, 1);
  (void)widget->grab();
  EXPECT_EQ(widget->ChartPaintCount(), painted);  // the cached picture served
  series.Values().AddPoint(11, 2);
  series.Values().AddPoint(12, 3);
  (void)widget->grab();
  EXPECT_EQ(widget->ChartPaintCount(), painted + 1);  // two changes, one repaint
}

TEST_F(TWidgetFixture, AZoomDragShowsFeedbackWithoutRepaintingTheChart) {
  const TRect plot = panel->PlotRect();
  const QPoint a(plot.Left + 20, plot.Top + 20), b(plot.Left + 120, plot.Top + 90);
  const int painted = widget->ChartPaintCount();
  Send(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(panel->DragState(), TDragState::dsZoom);
  Send(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
  ASSERT_EQ(widget->FeedbackRects().size(), 1u);
  EXPECT_EQ(widget->FeedbackRects()[0], (TRect{a.x(), a.y(), b.x(), b.y()}));
  (void)widget->grab();
  EXPECT_EQ(widget->ChartPaintCount(), painted);
  Send(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(widget->FeedbackRects().empty());
  EXPECT_TRUE(panel->BottomAxis().Zoomed());
  (void)widget->grab();
  EXPECT_EQ(widget->ChartPaintCount(), painted + 1);
}

TEST_F(TWidgetFixture, ShiftHeldMeansNoGesture) {
  const TRect plot = panel->PlotRect();
  Send(QEvent::MouseButtonPress, QPoint(plot.Left + 5, plot.Top + 5), Qt::LeftButton, Qt::LeftButton,
       Qt::ShiftModifier);
  EXPECT_EQ(panel->DragState(), TDragState::dsNone);
  EXPECT_TRUE(widget->FeedbackRects().empty());
}

TEST(TZPChartWidget, ShiftStatesOfQtEvents) {
  EXPECT_EQ(TZPChartWidget::ShiftStateOf(Qt::NoModifier, Qt::LeftButton), TShiftState{ssLeft});
  EXPECT_EQ(TZPChartWidget::ShiftStateOf(Qt::AltModifier, Qt::LeftButton), (TShiftState{ssAlt, ssLeft}));
  EXPECT_EQ(TZPChartWidget::ShiftStateOf(Qt::ControlModifier | Qt::ShiftModifier, Qt::RightButton | Qt::MiddleButton),
            (TShiftState{ssCtrl, ssShift, ssRight, ssMiddle}));
  EXPECT_EQ(TZPChartWidget::ShiftStateOf(Qt::NoModifier, Qt::LeftButton, true), (TShiftState{ssLeft, ssDouble}));
}

TEST_F(TWidgetFixture, TheWidgetOutlivesItsPanel) {
  series.SetParent(nullptr);
  panel.reset();
  EXPECT_EQ(widget->Panel(), nullptr);
  (void)widget->grab();
  Send(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
}
