// The chart's full-window background: the default left-to-right gradient
// (801 one-pixel strips) and a diagonal one (two shaded triangles) over an
// 800 x 500 area, drawn through the Qt canvas into an image.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "chart/ZPGradientFill.h"
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

}  // namespace

BENCHMARK(BM_GradientFillRight800x500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillDownRight800x500)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
