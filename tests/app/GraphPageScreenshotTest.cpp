// Pictures of the Graph page for a person to look at: after a run, after a
// zoom by dragging, with a curve hidden from its legend line, and with the
// readout of a hovered value (its tooltip painted into the picture). The
// file names carry the pixel density, so a run under QT_SCALE_FACTOR=2 adds
// its own set. Written only when ZP_SCREENSHOT_DIR names a folder, e.g.
//   ZP_SCREENSHOT_DIR=/tmp/shots xvfb-run -a build/debug/tests/app_tests --gtest_filter='GraphPage*'
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "app/QueensMain.h"
#include "chart/qt/ChartWidget.h"

namespace {

using zp::chart::TZPChartWidget;

// The window with the tooltip shown over it, as a person would see them.
QPixmap WindowWithTooltip(QWidget& Window) {
  QPixmap shot = Window.grab();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || !w->inherits("QTipLabel")) continue;
    QPainter painter(&shot);
    painter.drawPixmap(w->mapToGlobal(QPoint(0, 0)) - Window.mapToGlobal(QPoint(0, 0)), w->grab());
  }
  return shot;
}

void Mouse(QWidget* W, QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
  QMouseEvent e(Type, QPointF(P), W->mapToGlobal(QPointF(P)), Button, Buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(W, &e);
}

TEST(GraphPageScreenshots, ZoomLegendToggleAndHover) {
  const QString folder = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "set ZP_SCREENSHOT_DIR to write screenshots";
  ASSERT_TRUE(QDir().mkpath(folder));

  zp::app::TForm1 form;
  form.ShowErrorMessage = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QString ratio = QStringLiteral("-x%1").arg(form.devicePixelRatio());
  auto save = [&](const QPixmap& Shot, const char* Name) {
    EXPECT_TRUE(Shot.save(QDir(folder).filePath(QString::fromLatin1(Name) + ratio + ".png")));
  };
  // Enough generations for dense curves, few enough queens that some solve.
  form.findChild<QSpinBox*>("SpinEdit1")->setValue(14);
  form.findChild<QLineEdit*>("Edit1")->setText("3000");
  QTest::mouseClick(form.findChild<QPushButton*>("btnRun"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Running(); }, 120000));
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  auto* chart = form.findChild<TZPChartWidget*>("ChartPanel");
  ASSERT_NE(chart, nullptr);
  QTest::qWait(200);
  save(form.grab(), "graph-after-run");

  // A zoom: dragged over the first part of the run.
  zp::chart::TZPCustomChartPanel& panel = *chart->Panel();
  const zp::TRect plot = panel.PlotRect();
  const QPoint from(plot.Left + 10, plot.Top + 10), to(plot.Left + plot.Width() / 4, plot.Bottom - 10);
  Mouse(chart, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  Mouse(chart, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  Mouse(chart, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(panel.BottomAxis().Zoomed());
  QTest::qWait(200);
  save(form.grab(), "graph-zoomed");

  // The second curve hidden from its legend line.
  QPoint line;
  for (int y = 0; y < chart->height() && line.isNull(); ++y)
    for (int x = 0; x < chart->width() && line.isNull(); ++x)
      if (panel.LegendChartAt(x, y) == panel.Charts().Items(1)) line = QPoint(x + 5, y + 5);
  ASSERT_FALSE(line.isNull());
  Mouse(chart, QEvent::MouseButtonPress, line, Qt::LeftButton, Qt::LeftButton);
  Mouse(chart, QEvent::MouseButtonRelease, line, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(panel.Charts().Items(1)->Visible());
  QTest::qWait(200);
  save(form.grab(), "graph-legend-toggled");

  // Hovering over a value of the first curve.
  (void)chart->grab();
  const auto& first = *panel.Charts().Items(0);
  const int index = (first.FirstIndex() + first.LastIndex()) / 2;
  const zp::TRect now = panel.PlotRect();
  const zp::chart::TChartHit target =
      panel.NearestValue(panel.BottomAxis().ValueToPixel(now, first.Values().Items(index).Coordinate(0)),
                         panel.LeftAxis().ValueToPixel(now, first.Values().Items(index).Coordinate(1)), 2);
  ASSERT_NE(target.Chart, nullptr);
  Mouse(chart, QEvent::MouseMove, QPoint(target.At.X + 2, target.At.Y + 1), Qt::NoButton, Qt::NoButton);
  EXPECT_FALSE(chart->HoverText().isEmpty());
  QTest::qWait(300);
  save(WindowWithTooltip(form), "graph-hover");
}

}  // namespace
