#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include "QtTestApp.h"
#include "chart/ZPChartDecorations.h"
#include "chart/qt/TQtCanvas.h"

using namespace zp;
using namespace zp::chart;

namespace {

// The program's one application (a widget test needs it to be a QApplication).
QGuiApplication& App() { return zp::chart::testing::TestApp(); }

struct TPanelStub : IZPLegendPanel {
  struct TSeriesStub : IZPLegendSeries {
    std::string caption;
    TColor color;
    bool Visible() const override { return true; }
    TChartOptions Options() const override { return {TChartOption::coShowInLegend}; }
    std::string Caption() const override { return caption; }
    std::string Name() const override { return {}; }
    std::string ClassName() const override { return "TZPLineChart"; }
    TColor Color() const override { return color; }
    int ValueCount() const override { return 0; }
    bool ValueVisible(int) const override { return false; }
    TColor ValueColor(int) const override { return 0; }
    std::string ValueLabelText(int, TZPLegendTextStyle) const override { return {}; }
  };
  TFont font;
  const TCanvas* canvas = nullptr;
  std::vector<TSeriesStub> series;
  const TFont& Font() const override { return font; }
  const TCanvas* Canvas() const override { return canvas; }
  void GetLegendStrings(TStrings&) override {}
  int SeriesCount() const override { return static_cast<int>(series.size()); }
  IZPLegendSeries& Series(int i) const override { return const_cast<TSeriesStub&>(series[static_cast<size_t>(i)]); }
  int VisibleCount() const override { return SeriesCount(); }
  IZPLegendSeries* FirstVisible() const override {
    return series.empty() ? nullptr : Series(0).Visible() ? &Series(0) : nullptr;
  }
};

bool Near(QColor c, int r, int g, int b, int tolerance = 2) {
  return std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
         std::abs(c.blue() - b) <= tolerance;
}

}  // namespace

TEST(TQtCanvas, RendersGradientHeaderFooterAndLegendIntoAnImage) {
  App();
  QImage img(400, 300, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter painter(&img);
  TQtCanvas canvas(painter);

  TZPChartGradient gradient;
  gradient.Draw(canvas, Rect(0, 0, 400, 300));

  TPanelStub panel;
  panel.font.SetSize(10);
  panel.canvas = &canvas;
  for (auto [caption, color] : {std::pair<const char*, TColor>{"Roulette", clRed},
                                {"Random", clBlue},
                                {"Tournament", clGreen},
                                {"Elitist", clPurple}}) {
    auto& s = panel.series.emplace_back();
    s.caption = caption;
    s.color = color;
  }
  TZPChartHeader header(&panel.font, true), footer(&panel.font, false);
  header.Draw(canvas, Rect(0, 0, 400, 300));
  footer.Draw(canvas, Rect(0, 0, 400, 300));
  TZPChartLegend legend(&panel);
  const TRect area = Rect(0, header.Height(), 400, 300 - footer.Height());
  int item_width = 0;
  canvas.Font().Assign(legend.Font());
  const TRect outer = legend.CalcRect(canvas, area, item_width);
  legend.Draw(canvas, area);
  painter.end();

  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("chart_qt_render.png");
  ASSERT_TRUE(img.save(path));

  // The gradient: yellow at the left edge, white at the right, halfway between in the middle.
  EXPECT_TRUE(Near(img.pixelColor(0, 150), 255, 255, 0));
  EXPECT_TRUE(Near(img.pixelColor(399, 150), 255, 255, 253, 3));
  EXPECT_TRUE(Near(img.pixelColor(100, 150), 255, 255, 64, 2));
  // The legend: its shadow, its white box with a black border, the first colour box.
  const TRect box = ApplyMargins(outer, legend.Margins(), true);
  EXPECT_TRUE(Near(img.pixelColor(box.Right - 1, box.Bottom - 1), 0, 0, 0));     // shadow corner
  EXPECT_TRUE(Near(img.pixelColor(box.Left, box.Top + 5), 0, 0, 0));             // border
  EXPECT_TRUE(Near(img.pixelColor(box.Right - 5, box.Top + 2), 255, 255, 255));  // inside
  const int line_height = canvas.TextHeight("A");
  const int bx = box.Left + 3, by = box.Top + 4;
  EXPECT_TRUE(Near(img.pixelColor(bx + 5, by + line_height / 2), 255, 0, 0));  // Roulette's red box
  EXPECT_TRUE(Near(img.pixelColor(bx + 5, by + line_height + line_height / 2), 0, 0, 255));
  // Some blue header text and red footer text were drawn in their strips.
  auto count = [&](int top, int bottom, int r, int g, int b) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < 400; ++x) n += Near(img.pixelColor(x, y), r, g, b, 60);
    return n;
  };
  EXPECT_GT(count(0, header.Height(), 0, 0, 255), 10);
  EXPECT_GT(count(300 - footer.Height(), 300, 255, 0, 0), 10);
}

TEST(TQtCanvas, RectanglesKeepRightAndBottomEdgesExclusive) {
  App();
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TQtCanvas canvas(painter);
  canvas.Brush().SetColor(clRed);
  canvas.Pen().SetColor(clBlue);
  canvas.Rectangle(Rect(2, 2, 10, 10));
  canvas.MoveTo(0, 15);
  canvas.LineTo(10, 15);
  painter.end();
  EXPECT_EQ(img.pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(9, 9), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(10, 10), QColor(Qt::white));
  EXPECT_EQ(img.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(9, 15), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(10, 15), QColor(Qt::white));
}

TEST(TQtCanvas, ResolvesSystemColoursAndTheDefaultFace) {
  App();
  EXPECT_EQ(ToQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Button));
  EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
  TFont f;
  EXPECT_EQ(ToQFont(f).family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
  EXPECT_EQ(ToQFont(f).pixelSize(), 11);
}
