// Exploring a drawn chart: legend lines traced to their series and toggled
// by a click, hidden series kept in the legend greyed, the value nearest the
// mouse and its readout, double clicks, the wheel's zoom around the cursor
// and the way back through the zoom steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ChartTestSupport.h"

using namespace zp;
using namespace zp::chart;
using namespace zp::chart::testing;
using enum TShiftStateFlag;

namespace {

struct TExploreFixture : ::testing::Test {
  TRecordingHost host;
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  TZPLineChart* a = nullptr;
  TZPLineChart* b = nullptr;
  void SetUp() override {
    a = &lp.Add({{0, 1}, {2, 2}, {5, 5}, {8, 8}, {10, 9}});
    b = &lp.Add({{0, 9}, {5, 3}, {10, 1}});
    a->SetCaption("Roulette");
    b->SetCaption("Random");
    p.BottomAxis().Title().SetText("Generation");
    p.LeftAxis().Title().SetText("Fitness");
    p.Legend().SetListHiddenSeries(true);
    p.SetUserActions(p.UserActions() + TChartUserActions{TChartUserAction::cuaLegendToggle});
    p.SetHost(&host);
    Paint();
  }
  std::unique_ptr<TRecordingCanvas> Paint() {
    auto c = std::make_unique<TRecordingCanvas>();
    p.Paint(*c);
    return c;
  }
  TPoint At(double X, double Y) const {
    return Point(p.BottomAxis().ValueToPixel(p.PlotRect(), X), p.LeftAxis().ValueToPixel(p.PlotRect(), Y));
  }
  // The middle of the legend line that names Caption.
  TPoint LegendLine(const std::string& Caption) {
    const TStrings& lines = p.Legend().Lines();
    for (int i = 0; i < lines.Count(); ++i)
      if (lines.Strings(i) == Caption)
        for (int y = 0; y < 300; ++y)
          for (int x = 0; x < 400; ++x)
            if (p.Legend().LineAt(x, y) == i) return Point(x + 3, y + 3);
    ADD_FAILURE() << "no legend line " << Caption;
    return {};
  }
  void Click(TPoint P, TPoint Release) {
    p.MouseDown(TMouseButton::mbLeft, {ssLeft}, P.X, P.Y);
    p.MouseMove({ssLeft}, Release.X, Release.Y);
    p.MouseUp(TMouseButton::mbLeft, {}, Release.X, Release.Y);
  }
  void Click(TPoint P) { Click(P, P); }
  void DoubleClick(TPoint P) {
    Click(P);
    p.MouseDown(TMouseButton::mbLeft, {ssLeft, ssDouble}, P.X, P.Y);
    p.MouseUp(TMouseButton::mbLeft, {}, P.X, P.Y);
  }
};

}  // namespace

TEST_F(TExploreFixture, LegendLinesLeadToTheirSeries) {
  const TPoint roulette = LegendLine("Roulette"), random = LegendLine("Random");
  EXPECT_EQ(p.LegendChartAt(roulette.X, roulette.Y), a);
  EXPECT_EQ(p.LegendChartAt(random.X, random.Y), b);
  const TPoint plot = At(5, 5);
  EXPECT_EQ(p.LegendChartAt(plot.X, plot.Y), nullptr);
  EXPECT_EQ(p.Legend().LineSeries(-1), -1);
  EXPECT_EQ(p.Legend().LineSeries(2), -1);
  // Lines set by hand name no series.
  TStrings own;
  own.Add("own line");
  p.Legend().SetFixed(true);
  p.Legend().SetLines(own);
  EXPECT_EQ(p.Legend().LineSeries(0), -1);
}

TEST_F(TExploreFixture, AClickOnALegendLineTogglesItsSeriesWhichStaysListedGreyed) {
  const TPoint line = LegendLine("Random");
  Click(line);
  EXPECT_FALSE(b->Visible());
  EXPECT_TRUE(a->Visible());
  EXPECT_FALSE(p.BottomAxis().Zoomed());  // a click is no zoom
  const auto c = Paint();
  ASSERT_EQ(p.Legend().Lines().Count(), 2);
  EXPECT_TRUE(p.Legend().ListsSeriesNames());  // not the one visible series' values
  // The hidden series' text is grey and its box empty.
  bool grey_text = false;
  for (const TCanvasCall& call : c->CallsOf("TextOut"))
    if (call.Text == "Random") grey_text = call.Font.Color == clGray;
  EXPECT_TRUE(grey_text);
  Click(LegendLine("Random"));
  EXPECT_TRUE(b->Visible());
}

TEST_F(TExploreFixture, OnlyAPlainClickOnALegendLineWithTheToggleOnTogglesIt) {
  const TPoint line = LegendLine("Roulette");
  Click(line, Point(line.X + 4, line.Y));  // moved too far: a (tiny) drag
  p.MouseDown(TMouseButton::mbLeft, {ssCtrl, ssLeft}, line.X, line.Y);
  p.MouseUp(TMouseButton::mbLeft, {ssCtrl}, line.X, line.Y);
  p.MouseDown(TMouseButton::mbRight, {ssRight}, line.X, line.Y);
  p.MouseUp(TMouseButton::mbRight, {}, line.X, line.Y);
  EXPECT_TRUE(a->Visible());
  Click(line, Point(line.X + 3, line.Y - 3));  // still a click
  EXPECT_FALSE(a->Visible());
  p.SetUserActions({TChartUserAction::cuaZoom});
  Click(line);
  EXPECT_FALSE(a->Visible());
}

TEST_F(TExploreFixture, WithoutListingHiddenSeriesTheLegendDropsThem) {
  p.Legend().SetListHiddenSeries(false);
  b->SetVisible(false);
  Paint();
  EXPECT_FALSE(p.Legend().ListsSeriesNames());  // one visible series: its values
}

TEST_F(TExploreFixture, ADoubleClickResetsTheZoomOutsideTheLegendAndTogglesOnceOnALine) {
  p.ZoomValues({2, 2, 6, 6}, true, true);
  Paint();
  DoubleClick(LegendLine("Random"));
  EXPECT_FALSE(b->Visible());  // toggled once, not twice
  EXPECT_TRUE(p.BottomAxis().Zoomed());
  DoubleClick(At(4, 4));
  EXPECT_FALSE(p.BottomAxis().Zoomed());
  EXPECT_FALSE(p.LeftAxis().Zoomed());
}

TEST_F(TExploreFixture, TheNearestValueWithinTheRadiusAndItsReadout) {
  const TPoint v = At(5, 5);
  TChartHit hit = p.NearestValue(v.X + 2, v.Y - 2, 4);
  EXPECT_EQ(hit.Chart, a);
  EXPECT_EQ(hit.Index, 2);
  EXPECT_EQ(hit.At, v);
  EXPECT_EQ(p.ValueReadout(hit), "Roulette\nGeneration: 5\nFitness: 5");
  EXPECT_EQ(p.NearestValue(v.X + 4, v.Y + 4, 4).Chart, nullptr);  // 5.7 pixels away
  EXPECT_EQ(p.ValueReadout({}), "");
  // Between the two series' points at x = 0 the nearer one counts.
  const TPoint a0 = At(0, 1), b0 = At(0, 9);
  EXPECT_EQ(p.NearestValue(a0.X, a0.Y + 1, 100).Chart, a);
  EXPECT_EQ(p.NearestValue(b0.X, b0.Y + 1, 100).Chart, b);
  // Hidden values and hidden series are not found.
  a->Values().Items(2).SetVisible(false);
  EXPECT_EQ(p.NearestValue(v.X, v.Y, 4).Chart, nullptr);
  b->SetVisible(false);
  EXPECT_EQ(p.NearestValue(b0.X, b0.Y, 4).Chart, nullptr);
}

TEST_F(TExploreFixture, TheNearestValueOnAnInvertedOrZoomedAxis) {
  p.BottomAxis().SetOptions(p.BottomAxis().Options() + TAxisOptions{TAxisOption::axInverted});
  Paint();
  const TPoint v = At(8, 8);
  EXPECT_EQ(p.NearestValue(v.X, v.Y, 2).Index, 3);
  p.ZoomValues({3, 0, 9, 10}, true, true);
  Paint();
  const TPoint w = At(8, 8);
  EXPECT_NE(w, v);
  EXPECT_EQ(p.NearestValue(w.X, w.Y, 2).Index, 3);
  const TChartHit hit = p.NearestValue(w.X, w.Y, 2);
  EXPECT_EQ(hit.At, w);
}

TEST_F(TExploreFixture, TheWheelZoomsAroundTheCursorWithinTheFullRange) {
  const TPoint c = At(8, 5);
  p.ZoomAround(c.X, 0.5);
  EXPECT_NEAR(p.BottomAxis().ZoomMinimum(), 4, 0.05);
  EXPECT_NEAR(p.BottomAxis().ZoomMaximum(), 9, 0.05);
  EXPECT_FALSE(p.LeftAxis().Zoomed());
  Paint();
  EXPECT_NEAR(p.BottomAxis().PixelToValue(p.PlotRect(), c.X), 8, 0.05);  // still under the cursor
  p.ZoomAround(c.X, 4);                                                  // far out: the full range again
  EXPECT_FALSE(p.BottomAxis().Zoomed());
  EXPECT_EQ(p.BottomAxis().ZoomMaximum(), 10);
  p.ZoomAround(c.X, 0);
  p.ZoomAround(c.X, 1e-6);  // narrower than a few pixels
  EXPECT_FALSE(p.BottomAxis().Zoomed());
}

TEST_F(TExploreFixture, ZoomBackStepsThroughEveryZoom) {
  EXPECT_FALSE(p.ZoomBack());
  const TPoint from = At(2, 8), to = At(6, 4);
  p.MouseDown(TMouseButton::mbLeft, {ssLeft}, from.X, from.Y);
  p.MouseMove({ssLeft}, to.X, to.Y);
  p.MouseUp(TMouseButton::mbLeft, {}, to.X, to.Y);
  const TZoomState dragged = p.CaptureZoom();
  Paint();
  p.ZoomAround(At(4, 4).X, 0.5);
  const TZoomState wheeled = p.CaptureZoom();
  p.Unzoom(true, true);
  p.Unzoom(true, true);  // nothing changed: no step
  EXPECT_EQ(p.ZoomHistoryCount(), 3);
  EXPECT_TRUE(p.ZoomBack());
  EXPECT_EQ(p.CaptureZoom(), wheeled);
  EXPECT_TRUE(p.ZoomBack());
  EXPECT_EQ(p.CaptureZoom(), dragged);
  EXPECT_TRUE(p.ZoomBack());
  EXPECT_FALSE(p.BottomAxis().Zoomed());
  EXPECT_FALSE(p.LeftAxis().Zoomed());
  EXPECT_FALSE(p.ZoomBack());
  for (int i = 0; i < TZPChartPanel::kZoomHistoryLimit + 5; ++i) p.ZoomValues({1.0 + i * 0.01, 1, 9, 9}, true, true);
  EXPECT_EQ(p.ZoomHistoryCount(), TZPChartPanel::kZoomHistoryLimit);
}
