// The chart widget: it hosts its panel, repaints the chart only when the
// panel asks, shows drag feedback without repainting the chart, forwards the
// exact key and button sets, and survives its panel; reads out the value
// under the mouse, toggles series from the legend, zooms with the wheel and
// double clicks, goes back with Backspace, and offers its context menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <optional>
#include <vector>

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
  QPoint Pixel(double X, double Y) const {
    const TRect plot = panel->PlotRect();
    return QPoint(panel->BottomAxis().ValueToPixel(plot, X), panel->LeftAxis().ValueToPixel(plot, Y));
  }
};

// Two series whose legend keeps hidden series and toggles them on a click.
struct TExploreFixture : TWidgetFixture {
  TZPLineChart second;
  void SetUp() override {
    TWidgetFixture::SetUp();
    series.SetCaption("Roulette");
    second.SetCaption("Random");
    second.SetParent(panel.get());
    second.Values().AddPoint(0, 3);
    second.Values().AddPoint(10, 3);
    panel->BottomAxis().Title().SetText("Generation");
    panel->LeftAxis().Title().SetText("Fitness");
    panel->Legend().SetListHiddenSeries(true);
    panel->SetUserActions(panel->UserActions() + TChartUserActions{TChartUserAction::cuaLegendToggle});
    (void)widget->grab();
  }
  void TearDown() override {
    second.SetParent(nullptr);
    TWidgetFixture::TearDown();
  }
  QPoint LegendLine(const std::string& Caption) const {
    for (int y = 0; y < widget->height(); ++y)
      for (int x = 0; x < widget->width(); ++x)
        if (panel->LegendChartAt(x, y) && panel->LegendChartAt(x, y)->Caption() == Caption) return QPoint(x + 4, y + 4);
    ADD_FAILURE() << "no legend line " << Caption;
    return {};
  }
  void Wheel(QPoint P, int Delta) {
    QWheelEvent e(QPointF(P), widget->mapToGlobal(QPointF(P)), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget.get(), &e);
  }
  QAction* Action(QMenu& Menu, const char* Name) {
    QAction* a = Menu.findChild<QAction*>(QString::fromLatin1(Name));
    EXPECT_NE(a, nullptr) << Name;
    return a;
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

TEST_F(TExploreFixture, HoveringNearAValueReadsItOut) {
  const QPoint v = Pixel(6, 2);  // series: (x, x % 4)
  Send(QEvent::MouseMove, v + QPoint(2, 1), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(widget->HoverText().toStdString(), "Roulette\nGeneration: 6\nFitness: 2");
  EXPECT_EQ(widget->Hover().At, (TPoint{v.x(), v.y()}));
  Send(QEvent::MouseMove, v + QPoint(3 * TZPChartWidget::kHoverRadius, 0), Qt::NoButton, Qt::NoButton);
  EXPECT_TRUE(widget->HoverText().isEmpty());
  // No readout while a button is held (a drag).
  Send(QEvent::MouseMove, v, Qt::NoButton, Qt::LeftButton);
  EXPECT_TRUE(widget->HoverText().isEmpty());
}

TEST_F(TExploreFixture, AClickOnALegendLineTogglesItsSeriesAndADoubleClickTogglesOnce) {
  const QPoint line = LegendLine("Random");
  Send(QEvent::MouseButtonPress, line, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, line, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(second.Visible());
  (void)widget->grab();
  // A double click: press, release, double click, release.
  Send(QEvent::MouseButtonPress, line, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, line, Qt::LeftButton, Qt::NoButton);
  Send(QEvent::MouseButtonDblClick, line, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, line, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(second.Visible());
}

TEST_F(TExploreFixture, WheelZoomsAroundTheCursorBackspaceGoesBackAndEscIsLeftToTheWindow) {
  const QPoint c = Pixel(8, 1);
  Wheel(c, 120);
  ASSERT_TRUE(panel->BottomAxis().Zoomed());
  EXPECT_NEAR(panel->BottomAxis().ZoomMinimum(), 8 - 8 * TZPChartWidget::kWheelZoom, 0.1);
  Wheel(c, 240);
  (void)widget->grab();
  EXPECT_NEAR(panel->BottomAxis().PixelToValue(panel->PlotRect(), c.x()), 8, 0.1);
  EXPECT_EQ(widget->focusPolicy(), Qt::ClickFocus);
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(widget.get(), &esc);
  EXPECT_FALSE(esc.isAccepted());
  QTest::keyClick(widget.get(), Qt::Key_Backspace);
  EXPECT_NEAR(panel->BottomAxis().ZoomMinimum(), 8 - 8 * TZPChartWidget::kWheelZoom, 0.1);
  QTest::keyClick(widget.get(), Qt::Key_Backspace);
  EXPECT_FALSE(panel->BottomAxis().Zoomed());
}

TEST_F(TExploreFixture, ADoubleClickInThePlotResetsTheZoom) {
  panel->ZoomValues({2, 0, 6, 3}, true, true);
  (void)widget->grab();
  const QPoint p = Pixel(4, 1);
  Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
  Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(panel->BottomAxis().Zoomed());
  EXPECT_FALSE(panel->LeftAxis().Zoomed());
}

TEST_F(TExploreFixture, TheContextMenuResetsTheZoomAndTogglesALogarithmicAxis) {
  std::unique_ptr<QMenu> menu(widget->CreateContextMenu());
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text();
  EXPECT_EQ(texts, (QStringList{"Save image...", "Copy image", "Reset zoom", "Logarithmic generation axis"}));
  EXPECT_FALSE(Action(*menu, "actResetZoom")->isEnabled());
  panel->ZoomValues({2, 0, 6, 3}, true, true);
  menu.reset(widget->CreateContextMenu());
  ASSERT_TRUE(Action(*menu, "actResetZoom")->isEnabled());
  Action(*menu, "actResetZoom")->trigger();
  EXPECT_FALSE(panel->BottomAxis().Zoomed());
  QAction* log = Action(*menu, "actLogarithmicAxis");
  EXPECT_FALSE(log->isChecked());
  log->trigger();
  EXPECT_TRUE(panel->BottomAxis().Options().Contains(TAxisOption::axLogarithmic));
  menu.reset(widget->CreateContextMenu());
  EXPECT_TRUE(Action(*menu, "actLogarithmicAxis")->isChecked());
  Action(*menu, "actLogarithmicAxis")->trigger();
  EXPECT_FALSE(panel->BottomAxis().Options().Contains(TAxisOption::axLogarithmic));
}

TEST_F(TExploreFixture, SaveImageWritesTheChosenTypeAtTheChosenSizeAndReportsFailures) {
  QTemporaryDir dir;
  QString chosen;
  std::optional<TZPChartWidget::TImageSize> size;
  std::vector<TZPChartWidget::TImageSize> suggested;
  QStringList errors;
  widget->ChooseImageFile = [&](QWidget*) { return chosen; };
  widget->ChooseImageSize = [&](QWidget*, const QString&, TZPChartWidget::TImageSize Suggested) {
    suggested.push_back(Suggested);
    return size ? size : std::optional(Suggested);
  };
  widget->ShowError = [&](const QString& Message) { errors << Message; };
  std::unique_ptr<QMenu> menu(widget->CreateContextMenu());
  auto save = [&](const char* Name) {
    chosen = Name ? QDir(dir.path()).filePath(QString::fromLatin1(Name)) : QString();
    Action(*menu, "actSaveImage")->trigger();
  };

  // The size offered is the widget's, at its pixel density; taken as it is, the PNG has the screen's pixels.
  save("chart.png");
  ASSERT_EQ(suggested.size(), 1u);
  EXPECT_EQ(QSize(suggested[0].Width, suggested[0].Height), widget->size());
  EXPECT_EQ(suggested[0].Scale, qRound(widget->devicePixelRatio()));
  EXPECT_EQ(QImage(chosen).size(), widget->size() * widget->devicePixelRatio());
  // A chosen size and density: the same layout with more pixels, or a larger page.
  size = TZPChartWidget::TImageSize{640, 400, 2};
  save("big.png");
  EXPECT_EQ(QImage(chosen).size(), QSize(1280, 800));
  save("chart.svg");
  QFile svg(chosen);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("viewBox=\"0 0 640 400\""));
  save("chart.PDF");
  QFile pdf(chosen);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.readAll().contains("/MediaBox [0 0 480.000000 300.000000]"));

  // Cancelled at the file or at the size: nothing is written.
  save(nullptr);
  size.reset();
  widget->ChooseImageSize = [&](QWidget*, const QString&, TZPChartWidget::TImageSize) {
    return std::optional<TZPChartWidget::TImageSize>();
  };
  save("cancelled.png");
  EXPECT_FALSE(QFile::exists(chosen));
  // Another type, or a PNG too large to draw, is refused by name.
  widget->ChooseImageSize = [&](QWidget*, const QString&, TZPChartWidget::TImageSize) {
    return std::optional(TZPChartWidget::TImageSize{10000, 10000, 4});
  };
  save("huge.png");
  EXPECT_FALSE(QFile::exists(chosen));
  save("chart.bmp");
  EXPECT_FALSE(QFile::exists(chosen));
  ASSERT_EQ(errors.size(), 2);
  EXPECT_TRUE(errors[0].contains("40000 \u00d7 40000 pixels is too large")) << errors[0].toStdString();
  EXPECT_TRUE(errors[1].contains("chart.bmp") && errors[1].contains(".pdf")) << errors[1].toStdString();
}

TEST_F(TExploreFixture, CopyImagePutsThePictureOnTheClipboard) {
  QGuiApplication::clipboard()->clear();
  std::unique_ptr<QMenu> menu(widget->CreateContextMenu());
  Action(*menu, "actCopyImage")->trigger();
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), widget->ChartImage().size());
  EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), widget->ChartImage().convertToFormat(QImage::Format_RGB32));
}
