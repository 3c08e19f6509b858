// Chart panels share nothing but the palette index: two threads that build,
// copy, paint and free panels at once must not race (run under the sanitizer
// presets), and each draws what it would draw alone.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "platform/RecordingCanvas.h"

namespace zp::chart {
namespace {

// The label texts of one panel's paint: the same on every thread.
std::vector<std::string> Texts(const TRecordingCanvas& Canvas) {
  std::vector<std::string> texts;
  for (const TCanvasCall& c : Canvas.CallsOf("TextOut")) texts.push_back(c.Text);
  return texts;
}

// Rounds of panels with series, axes copied into a second panel (holding the
// same series), paints, and frees in both orders: series first, copies first.
std::vector<std::string> BuildPaintAndFree(int Rounds) {
  std::vector<std::string> last;
  for (int round = 0; round < Rounds; ++round) {
    auto source = std::make_unique<TZPChartPanel>();
    auto copy = std::make_unique<TZPChartPanel>();
    source->SetBounds(400, 300);
    copy->SetBounds(400, 300);
    std::vector<std::unique_ptr<TZPLineChart>> series;
    for (int i = 0; i < 3; ++i) {
      auto s = std::make_unique<TZPLineChart>(source.get());
      for (int x = 0; x <= 20; ++x) s->Values().AddPoint(x, (x * (i + 3)) % 17 + 0.5 * i);
      series.push_back(std::move(s));
    }
    copy->SetLeftAxis(source->LeftAxis());
    copy->SetBottomAxis(source->BottomAxis());
    TRecordingCanvas canvas;
    source->Paint(canvas);
    last = Texts(canvas);
    TRecordingCanvas copy_canvas;
    copy->Paint(copy_canvas);
    series.erase(series.begin());  // held by both panels' axes
    if (round % 2 == 0) {
      copy.reset();  // the copies let go of the series they still hold
      series.clear();
    } else {
      series.clear();  // the series leave the copies
      EXPECT_TRUE(copy->LeftAxis().Charts().empty());
    }
  }
  return last;
}

TEST(TZPChartPanel, PanelsOnTwoThreadsShareNoState) {
  const std::vector<std::string> alone = BuildPaintAndFree(1);
  ASSERT_FALSE(alone.empty());
  std::vector<std::string> a, b;
  std::thread first([&] { a = BuildPaintAndFree(40); });
  std::thread second([&] { b = BuildPaintAndFree(40); });
  first.join();
  second.join();
  EXPECT_EQ(a, alone);
  EXPECT_EQ(b, alone);
}

}  // namespace
}  // namespace zp::chart
