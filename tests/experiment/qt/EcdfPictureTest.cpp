// The ECDF chart drawn by Qt, as the front ends draw it: every curve shows in
// its method's colour, in PNG and in SVG.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "chart/qt/ChartRender.h"
#include "engine/SelectionMethods.h"
#include "experiment/Ecdf.h"

using namespace zp;
using namespace zp::experiment;

namespace {

void EnsureApp() {
  static int argc = 1;
  static char name[] = "experiment_qt_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

TRunRow MakeRun(int32_t Queens, ga::TGASelectionMethod Method, int32_t Repeat, bool Solved, int32_t Generations) {
  TRunRow row;
  row.Size = Queens;
  row.Repeat = Repeat;
  row.Method = Method;
  row.Solved = Solved;
  if (Solved) row.HitGeneration = Generations;  // a solved run hit where it stopped
  row.Generations = Generations;
  return row;
}

// Twelve queens, G generations, 30 repeats of all five methods: method m
// solves repeat r when r < 6 m, at generation (r + 1) G / (6 m + 2).
std::vector<TRunRow> Experiment(int32_t Generations) {
  std::vector<TRunRow> rows;
  for (int32_t r = 0; r < 30; ++r)
    for (size_t m = 0; m < kMethodOrder.size(); ++m) {
      const auto solved_by = static_cast<int32_t>(6 * m);
      const int32_t at = (r + 1) * Generations / (solved_by + 2);
      rows.push_back(r < solved_by ? MakeRun(12, kMethodOrder[m], r, true, at)
                                   : MakeRun(12, kMethodOrder[m], r, false, Generations));
    }
  return rows;
}

int CountPixels(const QImage& Image, TColor Color) {
  const QRgb wanted = qRgb(GetRValue(Color), GetGValue(Color), GetBValue(Color));
  const QImage img = Image.convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == wanted;
  return n;
}

// Keeps a picture for a person to look at when ZP_CHART_PICTURES names a folder.
void Keep(const QImage& Image, const char* Name) {
  const QByteArray dir = qgetenv("ZP_CHART_PICTURES");
  if (!dir.isEmpty()) Image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(Name)));
}

QImage FromSvg(const QString& File, QSize Size) {
  QSvgRenderer renderer(File);
  EXPECT_TRUE(renderer.isValid());
  QImage image(Size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

}  // namespace

TEST(EcdfPicture, EveryMethodsCurveShowsInPngAndSvg) {
  EnsureApp();
  TEcdfChart chart(Experiment(100), TCell{"nqueens", 12, 0}, 100, EcdfHeader("12 queens", 0));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString png = dir.filePath("ecdf-12.png");
  const QString svg = dir.filePath("ecdf-12.svg");
  chart::SaveChartFile(chart.Panel(), png.toStdString(), 800, 500);
  chart::SaveChartFile(chart.Panel(), svg.toStdString(), 800, 500);

  QImage from_png;
  ASSERT_TRUE(from_png.load(png, "PNG"));
  EXPECT_EQ(from_png.size(), QSize(800, 500));
  const QImage from_svg = FromSvg(svg, QSize(800, 500));
  for (const auto& method : zp::ga::kSelectionMethods) {
    const TColor c = method.Color;
    EXPECT_GT(CountPixels(from_png, c), 100) << std::hex << c;
    EXPECT_GT(CountPixels(from_svg, c), 100) << std::hex << c;
  }
  Keep(from_png, "ecdf-12.png");

  QFile f(svg);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  for (const char* caption : {"Run-length ECDF, 12 queens, configuration 0", "Generation", "Fraction of runs solved",
                              "Stochastic Tournament"})
    EXPECT_TRUE(text.contains(caption)) << caption;
}

TEST(EcdfPicture, NothingSolvedStillDrawsFlatCurvesOnALogarithmicAxis) {
  EnsureApp();
  std::vector<TRunRow> rows;
  for (int32_t r = 0; r < 3; ++r)
    for (ga::TGASelectionMethod m : kMethodOrder) rows.push_back(MakeRun(20, m, r, false, 5000));
  TEcdfChart chart(rows, TCell{"nqueens", 20, 0}, 5000, "");
  const QImage image = chart::RenderChartImage(chart.Panel(), 800, 500);
  // The five curves lie on one another along the bottom; the last drawn shows.
  EXPECT_GT(CountPixels(image, zp::ga::kSelectionMethods.back().Color), 300);
  Keep(image, "ecdf-unsolved.png");

  TEcdfChart long_chart(Experiment(5000), TCell{"nqueens", 12, 0}, 5000, "");
  const QImage long_image = chart::RenderChartImage(long_chart.Panel(), 800, 500);
  for (const auto& method : zp::ga::kSelectionMethods)
    EXPECT_GT(CountPixels(long_image, method.Color), 100) << std::hex << method.Color;
  Keep(long_image, "ecdf-log.png");
}

// A 1,200-generation ECDF is labelled at every power of ten on its decade axis.
TEST(EcdfPicture, TheDecadeAxisOfTwelveHundredGenerationsIsLabelledAtThePowersOfTen) {
  EnsureApp();
  TEcdfChart chart(Experiment(1200), TCell{"nqueens", 12, 0}, 1200, EcdfHeader("12 queens", 0));
  const std::string svg = chart::ChartSvgBytes(chart.Panel(), 800, 500);
  for (const char* label : {">1</text>", ">10</text>", ">100</text>", ">1,000</text>"})
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  EXPECT_EQ(svg.find(">500</text>"), std::string::npos);  // no longer the compressed axis' steps
  Keep(chart::RenderChartImage(chart.Panel(), 800, 500), "ecdf-decades.png");
  Keep(chart::RenderChartImage(chart.Panel(), 400, 250), "ecdf-decades-small.png");
}

// One generation: every curve's one step shows.
TEST(EcdfPicture, OneGenerationShowsEveryCurvesStep) {
  EnsureApp();
  TEcdfChart chart(Experiment(1), TCell{"nqueens", 12, 0}, 1, EcdfHeader("12 queens", 0));
  const QImage image = chart::RenderChartImage(chart.Panel(), 800, 500);
  for (const auto& method : zp::ga::kSelectionMethods)
    EXPECT_GT(CountPixels(image, method.Color), 300) << std::hex << method.Color;
  Keep(image, "ecdf-one.png");
}
