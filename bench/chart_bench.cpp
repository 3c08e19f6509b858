// Chart speed: the full-window background gradient (left-to-right strips and
// a diagonal of two shaded triangles), points arriving in X order, and a
// whole panel with five series of 10,000 to 1,000,000 points painted through
// the Qt canvas at 800 x 500 (dense lines are drawn decimated), also right
// after new points came, and exported as SVG (its size as a counter).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "chart/ZPCharts.h"
#include "chart/ZPGradientFill.h"
#include "chart/qt/ChartRender.h"
#include "chart/qt/TQtCanvas.h"

using namespace zp;
using namespace zp::chart;

namespace {

void Gradient(benchmark::State& state, TGradientDirection direction) {
  QImage img(800, 500, QImage::Format_RGB32);
  QPainter painter(&img);
  TQtCanvas canvas(painter);
  for (auto _ : state) {
    GradientFill(canvas, Rect(0, 0, 800, 500), {clYellow, clWhite}, 1, direction);
    benchmark::ClobberMemory();
  }
}

void BM_GradientFillRight800x500(benchmark::State& state) { Gradient(state, TGradientDirection::gdRight); }
void BM_GradientFillDownRight800x500(benchmark::State& state) { Gradient(state, TGradientDirection::gdDownRight); }

// Points in X order, one call each, on a series in a panel: the per-point
// cost must not grow with the count.
void BM_AddPointsInOrder(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    TZPChartPanel panel;
    auto series = std::make_unique<TZPLineChart>();
    series->SetParent(&panel);
    state.ResumeTiming();
    for (int i = 0; i < n; ++i) series->Values().AddPoint(i, i % 17);
    state.PauseTiming();
    series.reset();
    state.ResumeTiming();
  }
  state.counters["ns_per_point"] = benchmark::Counter(static_cast<double>(state.iterations()) * n / 1e9,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

struct FivePanel {
  TZPChartPanel panel;
  std::vector<std::unique_ptr<TZPLineChart>> series;
  explicit FivePanel(int points) {
    const TColor pens[] = {0x00FF00, 0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF};
    for (int i = 0; i < 5; ++i) {
      auto s = std::make_unique<TZPLineChart>();
      s->SetParent(&panel);
      s->Pen().SetColor(pens[i]);
      s->SetOptions({TChartOption::coShowInLegend});
      s->BeginUpdate();
      for (int x = 1; x <= points; ++x) s->Values().AddPoint(x, 10 * i + (x * (i + 3)) % 7);
      s->EndUpdate();
      series.push_back(std::move(s));
    }
  }
  ~FivePanel() {
    for (auto& s : series) s.reset();
  }
};

void Paint(FivePanel& g, QImage& image) {
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  g.panel.Paint(canvas, Rect(0, 0, 800, 500));
}

// The same picture again (a window repainting after a hover or a resize).
void BM_PaintFiveSeries(benchmark::State& state) {
  FivePanel g(static_cast<int>(state.range(0)));
  QImage image(800, 500, QImage::Format_RGB32);
  Paint(g, image);  // the first paint after the points came (measured below)
  for (auto _ : state) Paint(g, image);
}

// A run going on: every series got one more point since the last paint.
void BM_PaintFiveSeriesAfterNewPoints(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FivePanel g(n);
  QImage image(800, 500, QImage::Format_RGB32);
  Paint(g, image);
  int x = n;
  for (auto _ : state) {
    state.PauseTiming();
    ++x;
    for (auto& s : g.series) s->Values().AddPoint(x, x % 7);
    state.ResumeTiming();
    Paint(g, image);
  }
}

void BM_SvgExportFiveSeries(benchmark::State& state) {
  FivePanel g(static_cast<int>(state.range(0)));
  QTemporaryDir dir;
  const std::string file = QDir(dir.path()).filePath(QStringLiteral("chart.svg")).toStdString();
  for (auto _ : state) SaveChartSvg(g.panel, file, 800, 500);
  state.counters["svg_bytes"] = static_cast<double>(QFileInfo(QString::fromStdString(file)).size());
}

}  // namespace

BENCHMARK(BM_GradientFillRight800x500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillDownRight800x500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddPointsInOrder)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFiveSeries)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFiveSeriesAfterNewPoints)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SvgExportFiveSeries)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // Text needs a font database: a headless application when there is no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
