// Pictures of a chart panel: PNG and SVG files at a given size, the SVG read
// back with Qt's own renderer, the file-type choice.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "QtTestApp.h"
#include "chart/ZPChartPanel.h"
#include "chart/qt/ChartRender.h"
#include "chart/qt/TQtCanvas.h"
#include "platform/Exceptions.h"

using namespace zp;
using namespace zp::chart;

namespace {

constexpr TColor kPens[] = {0x00FF00, 0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF};

// A panel like the workbench's graph: five line series, titled axes.
struct TGraph {
  TZPChartPanel panel;
  std::vector<std::unique_ptr<TZPLineChart>> series;
  explicit TGraph(int Points) {
    zp::chart::testing::TestApp();
    panel.LeftAxis().Title().SetText("Fitness");
    panel.BottomAxis().Title().SetText("Generation");
    const char* captions[] = {"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist"};
    for (int i = 0; i < 5; ++i) {
      auto s = std::make_unique<TZPLineChart>();
      s->SetParent(&panel);
      s->SetCaption(captions[i]);
      s->Pen().SetColor(kPens[i]);
      s->SetOptions({TChartOption::coShowInLegend});
      s->BeginUpdate();
      // Separate bands so that no curve hides another.
      for (int x = 1; x <= Points; ++x) s->Values().AddPoint(x, 10 * i + (x * (i + 3)) % 7);
      s->EndUpdate();
      series.push_back(std::move(s));
    }
  }
};

QColor QColorOf(TColor C) { return QColor(GetRValue(C), GetGValue(C), GetBValue(C)); }

int CountPixels(const QImage& Image, const QColor& Color) {
  int n = 0;
  const QImage img = Image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixelColor(x, y).rgb() == Color.rgb()) ++n;
  return n;
}

// Every curve colour shows, each on a good number of pixels.
void ExpectFiveCurves(const QImage& Image) {
  for (TColor c : kPens) EXPECT_GT(CountPixels(Image, QColorOf(c)), 100) << std::hex << c;
}

// Keeps the pictures for a person to look at when ZP_CHART_PICTURES names a folder.
void Keep(const QImage& Image, const char* Name) {
  const QByteArray dir = qgetenv("ZP_CHART_PICTURES");
  if (!dir.isEmpty()) Image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(Name)));
}

}  // namespace

TEST(ChartRender, ImageShowsEveryCurveAtTheAskedSize) {
  TGraph g(100);
  const QImage image = RenderChartImage(g.panel, 640, 400);
  EXPECT_EQ(image.size(), QSize(640, 400));
  ExpectFiveCurves(image);
  // The plot lies inside the picture, right of the legend-free left part.
  const TRect plot = g.panel.PlotRect();
  EXPECT_GT(plot.Left, 20);
  EXPECT_LT(plot.Right, 640 - 60);  // the legend takes the right side
  EXPECT_GT(plot.Height(), 250);
  Keep(image, "render.png");
}

// At device pixel ratio 2 the picture has four times the pixels and the
// same layout: the gradient fills the whole inner area, not a quarter of it.
TEST(ChartRender, AHighDensityPictureIsTheSameLayoutWithMorePixels) {
  TGraph g(100);
  const QImage plain = RenderChartImage(g.panel, 400, 300);
  const TRect plot = g.panel.PlotRect();
  const QImage image = RenderChartImage(g.panel, 400, 300, 2);
  EXPECT_EQ(image.size(), QSize(800, 600));
  EXPECT_EQ(g.panel.PlotRect(), plot);
  // The gradient (yellow at the left to white at the right) near the corners
  // and the middle of the bottom edge shows as in the plain picture.
  for (const QPoint p : {QPoint(8, 290), QPoint(8, 10), QPoint(200, 292), QPoint(392, 290)}) {
    const QColor c = image.pixelColor(p * 2), want = plain.pixelColor(p);
    EXPECT_EQ(c.red(), 255) << p.x() << "," << p.y();
    EXPECT_EQ(c.green(), 255) << p.x() << "," << p.y();
    EXPECT_NEAR(c.blue(), want.blue(), 12) << p.x() << "," << p.y();
  }
  EXPECT_LT(plain.pixelColor(200, 292).blue(), 200);  // not the white the image starts as
  ExpectFiveCurves(image);
  Keep(image, "render_scale2.png");
}

TEST(ChartRender, PngAndSvgFilesReadBack) {
  TGraph g(100);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string png = dir.filePath("graph.png").toStdString();
  const std::string svg = dir.filePath("graph.SVG").toStdString();
  SaveChartFile(g.panel, png, 800, 500);
  SaveChartFile(g.panel, svg, 800, 500);

  QImage from_png;
  ASSERT_TRUE(from_png.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(from_png.size(), QSize(800, 500));
  ExpectFiveCurves(from_png);

  QSvgRenderer renderer(QString::fromStdString(svg));
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 800, 500));
  QImage from_svg(800, 500, QImage::Format_RGB32);
  from_svg.fill(Qt::white);
  QPainter painter(&from_svg);
  renderer.render(&painter);
  painter.end();
  ExpectFiveCurves(from_svg);
  Keep(from_svg, "render-svg.png");
  // Both show the same texts: the legend's captions are in the file.
  QFile f(QString::fromStdString(svg));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  for (const char* caption : {"Roulette", "Stochastic Tournament", "Fitness", "Generation", "Chart", "Footer"})
    EXPECT_TRUE(text.contains(caption)) << caption;
}

TEST(ChartRender, AnUnknownExtensionWritesNothing) {
  TGraph g(3);
  QTemporaryDir dir;
  const std::string bmp = dir.filePath("graph.bmp").toStdString();
  try {
    SaveChartFile(g.panel, bmp, 100, 100);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()),
              "cannot tell the picture type of \"" + bmp + "\": use a file name ending in .png or .svg");
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(bmp)));
  EXPECT_THROW(SaveChartFile(g.panel, dir.filePath("no-such-dir/graph.png").toStdString(), 100, 100), Exception);
}

// A dense line drawn decimated looks like the same line drawn segment by
// segment: at most 0.5 % of the pixels of an 800 x 500 picture differ.
TEST(ChartRender, ADecimatedPictureMatchesTheFullOneAlmostPixelForPixel) {
  TGraph g(0);
  uint32_t seed = 7;
  for (size_t i = 0; i < g.series.size(); ++i) {
    TZPLineChart& s = *g.series[i];
    TUpdateGuard bracket(s.Values());
    double y = 5.0 * static_cast<double>(i);
    for (int x = 1; x <= 20000; ++x) {
      seed = seed * 1664525u + 1013904223u;
      y += static_cast<double>(seed >> 8) / (1u << 24) - 0.499;  // a slowly rising random walk
      s.Values().AddPoint(x, y);
    }
  }
  const QImage decimated = RenderChartImage(g.panel, 800, 500);
  const TRect plot = g.panel.PlotRect();
  for (auto& s : g.series) {
    EXPECT_TRUE(s->Decimates(s->FirstIndex(), s->LastIndex(), plot));
    // Every segment on its own, as an undecimated line is drawn.
    s->OnDrawing = [](TZPCustomChart& Sender, TCanvas& Canvas, TRect R, bool& DoDraw) {
      auto& line = static_cast<TZPLineChart&>(Sender);
      Canvas.Pen().Assign(line.Pen());
      for (int i = 1; i < line.Values().Count(); ++i) Canvas.Polyline({line.PointAt(i - 1, R), line.PointAt(i, R)});
      DoDraw = false;
    };
  }
  const QImage full = RenderChartImage(g.panel, 800, 500);
  ASSERT_EQ(full.size(), decimated.size());
  int differ = 0;
  for (int y = 0; y < full.height(); ++y)
    for (int x = 0; x < full.width(); ++x)
      if (full.pixel(x, y) != decimated.pixel(x, y)) ++differ;
  Keep(decimated, "decimated.png");
  Keep(full, "undecimated.png");
  EXPECT_LE(differ, 800 * 500 / 200);
  RecordProperty("differing_pixels", differ);
}

namespace {

// The TZ variable for as long as the object lives.
class TTimeZone {
 public:
  explicit TTimeZone(const char* Zone) {
    if (const char* old = getenv("TZ")) old_ = old;
    setenv("TZ", Zone, 1);
    tzset();
  }
  ~TTimeZone() {
    if (old_)
      setenv("TZ", old_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

// The offsets of the cross-reference table must still point at their objects once the
// date has changed length; a reader would otherwise have to repair the file.
bool CrossReferencesHold(const std::string& Pdf) {
  const size_t xref = Pdf.rfind("\nxref\n");
  const size_t header_end = Pdf.find('\n', xref + 6);
  const size_t count = std::stoull(Pdf.substr(Pdf.find(' ', xref + 6) + 1));
  for (size_t i = 0; i < count; ++i) {
    const std::string entry = Pdf.substr(header_end + 1 + 20 * i, 20);
    if (entry[17] != 'n') continue;
    const std::string object = Pdf.substr(std::stoull(entry.substr(0, 10)), 16);
    if (object.find(" 0 obj") == std::string::npos) return false;
  }
  return Pdf.compare(std::stoull(Pdf.substr(Pdf.rfind("startxref\n") + 10)), 4, "xref") == 0;
}

}  // namespace

TEST(ChartRender, PdfIsTheSameInEveryTimeZoneWithAFixedDate) {
  TGraph graph(20);
  std::string utc, berlin, new_york;
  {
    TTimeZone zone("UTC");
    utc = ChartPdfBytes(graph.panel, 400, 300);
  }
  {
    TTimeZone zone("Europe/Berlin");
    berlin = ChartPdfBytes(graph.panel, 400, 300);
  }
  {
    TTimeZone zone("America/New_York");
    new_york = ChartPdfBytes(graph.panel, 400, 300);
  }
  EXPECT_TRUE(utc.starts_with("%PDF-"));
  EXPECT_NE(utc.find("/CreationDate (D:20000101000000Z)"), std::string::npos);
  EXPECT_EQ(berlin, utc);
  EXPECT_EQ(new_york, utc);
  EXPECT_TRUE(CrossReferencesHold(utc));
}

// A PDF is one page of the asked size, the same bytes on every save (the
// writer's time stamp is fixed), and, where poppler is installed, shows every curve.
TEST(ChartRender, PdfIsOnePageOfTheAskedSizeWithTheSameBytesOnEverySave) {
  TGraph g(100);
  QTemporaryDir dir;
  const QString file = dir.filePath("graph.pdf");
  SaveChartPdf(g.panel, file.toStdString(), 800, 500);
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray first = f.readAll();
  EXPECT_TRUE(first.startsWith("%PDF-"));
  EXPECT_TRUE(first.contains("/MediaBox [0 0 600.000000 375.000000]")) << first.left(2000).toStdString();
  EXPECT_TRUE(first.contains("/CreationDate (D:20000101000000"));
  QTest::qWait(1100);  // the writer's clock has moved on by a second
  EXPECT_EQ(ChartPdfBytes(g.panel, 800, 500), std::string(first.constData(), static_cast<size_t>(first.size())));

  QProcess poppler;
  poppler.start(QStringLiteral("pdftoppm"),
                {"-r", "96", "-aa", "no", "-aaVector", "no", "-png", "-singlefile", file, dir.filePath("page")});
  if (!poppler.waitForFinished(30000) || poppler.exitCode() != 0) GTEST_SKIP() << "pdftoppm is not installed";
  const QImage page(dir.filePath("page.png"));
  EXPECT_EQ(page.size(), QSize(800, 500));
  ExpectFiveCurves(page);
  Keep(page, "render-pdf.png");
}
