// The line series: defaults, the points of each segment style, what one or
// two points draw, invisible and selected values, labels, curves, stacking,
// sorted insertion and the preview data.
#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/NextAutoColor.h"
#include "chart/ZPSplines.h"
#include "platform/Exceptions.h"

using namespace zp;
using namespace zp::chart;
using namespace zp::chart::testing;
using enum TChartOption;
using enum TLineChartStyle;

namespace {

// The series drawn alone over (0, 0, 10, 10): value v sits at pixel x = v, y = 10 - v.
std::unique_ptr<TRecordingCanvas> DrawAlone(TZPLineChart& S) {
  auto c = std::make_unique<TRecordingCanvas>();
  S.Draw(*c, Rect(0, 0, 10, 10));
  return c;
}

}  // namespace

TEST(TZPLineChart, DefaultsDrawLinesWithAPenTwoWideInThePaletteColour) {
  const TColor next = kAutoColors[static_cast<size_t>(AutoColorIndex())];
  TZPLineChart s;
  EXPECT_EQ(s.Pen().Width(), 2);
  EXPECT_EQ(s.Pen().Color(), next);
  EXPECT_EQ(s.Color(), next);
  EXPECT_EQ(s.Options(), (TChartOptions{coColorEachPoint, coShowInLegend, coLabelEachPoint}));
  EXPECT_EQ(s.LineStyle(), lsStraight);
  EXPECT_EQ(s.LineOptions(), TLineOptions{TLineOption::DrawLines});
  EXPECT_TRUE(s.Values().Sorted());
  EXPECT_EQ(s.Values().SortByDimension(), 0);
  s.SetColor(clRed);
  EXPECT_EQ(s.Pen().Color(), clRed);
  s.SetOptions({coAllowSingleValue, coShowInLegend});
  EXPECT_EQ(s.Options(), TChartOptions{coShowInLegend});  // never holds coAllowSingleValue
}

TEST(TZPLineChart, SegmentPointsOfEachStyle) {
  TZPLineChart s;
  const TRect r = Rect(0, 0, 10, 20);
  const TPoint from = Point(0, 0), to = Point(10, 5);
  EXPECT_EQ(s.SegmentPoints(from, to, r), (TPoints{from, to}));
  s.SetLineStyle(lsStairStep);
  EXPECT_EQ(s.SegmentPoints(from, to, r), (TPoints{from, Point(10, 0), to}));
  s.SetLineStyle(lsStairStepInverted);
  EXPECT_EQ(s.SegmentPoints(from, to, r), (TPoints{from, Point(0, 5), to}));
  s.SetLineOptions({TLineOption::FillArea});
  EXPECT_EQ(s.SegmentPoints(from, to, r), (TPoints{Point(0, 20), from, Point(0, 5), to, Point(10, 20)}));
}

TEST(TZPLineChart, OnePointDrawsNothingAndTwoDrawOneSegment) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{2, 3}});
  EXPECT_TRUE(DrawAlone(s)->Calls().empty());
  s.Values().AddPoint(6, 7);
  const auto c = DrawAlone(s);
  EXPECT_EQ(Polylines(*c), (std::vector<TPoints>{{Point(2, 7), Point(6, 3)}}));
  EXPECT_EQ(c->CallsOf("Polyline")[0].Pen.Width, 2);
  EXPECT_EQ(c->CallsOf("Polyline")[0].Pen.Color, s.Color());
}

TEST(TZPLineChart, StairStepsTurnAtTheirCorners) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{0, 10}, {10, 5}});
  s.SetLineStyle(lsStairStep);
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{{Point(0, 0), Point(10, 0), Point(10, 5)}}));
  s.SetLineStyle(lsStairStepInverted);
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{{Point(0, 0), Point(0, 5), Point(10, 5)}}));
}

TEST(TZPLineChart, PointsAddedOutOfOrderAreDrawnInXOrder) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{3, 3}, {1, 1}, {2, 2}});
  ASSERT_EQ(s.Values().Count(), 3);
  EXPECT_EQ(s.Values().Items(0).X(), 1);
  EXPECT_EQ(s.Values().Items(2).X(), 3);
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{{Point(1, 9), Point(2, 8)}, {Point(2, 8), Point(3, 7)}}));
}

TEST(TZPLineChart, AnInvisibleValueHidesOnlyTheSegmentEndingAtIt) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{1, 1}, {2, 2}, {3, 3}});
  s.Values().Items(1).SetVisible(false);
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{{Point(2, 8), Point(3, 7)}}));
}

TEST(TZPLineChart, SelectedAndPerPointColours) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{1, 1}, {2, 2}, {3, 3}});
  s.SetSelectionColor(clFuchsia);
  s.Values().Items(1).SetSelected(true);
  auto colors = [&] {
    std::vector<TColor> out;
    for (const TCanvasCall& c : DrawAlone(s)->CallsOf("Polyline")) out.push_back(c.Pen.Color);
    return out;
  };
  // Without per-point colours the selection colour stays for the rest.
  EXPECT_EQ(colors(), (std::vector<TColor>{clFuchsia, clFuchsia}));
  s.SetOptions({coShowInLegend, coColorEachPoint});
  EXPECT_EQ(colors(), (std::vector<TColor>{clFuchsia, s.Values().Items(2).Color()}));
}

TEST(TZPLineChart, LabelsStandAboveEveryPointButTheFirst) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{1, 1}, {2, 2}, {3, 3}});
  s.SetOptions({coShowInLegend, coLabelEachPoint});
  s.SetValueLabelStyle(TZPLegendTextStyle::ltsValue);
  const auto texts = DrawAlone(s)->CallsOf("DrawText");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "2");  // the left axis' format "#,##0.###"
  // Raised by the height of "W" (11) and then by half of it (5).
  EXPECT_EQ(texts[0].Rect, Rect(2, 8 - 11 - 5, 2, 8 - 11 - 5));
  EXPECT_EQ(texts[1].Text, "3");
}

TEST(TZPLineChart, FilledAreasCloseDownToTheBottom) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{1, 1}, {4, 4}});
  s.SetLineOptions({TLineOption::FillArea});
  const auto c = DrawAlone(s);
  EXPECT_TRUE(c->CallsOf("Polyline").empty());
  const auto polygons = c->CallsOf("Polygon");
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].Points, (TPoints{Point(1, 10), Point(1, 9), Point(4, 6), Point(4, 10)}));
}

TEST(TZPLineChart, CurvesAreOneSplinePolyline) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{0, 0}, {5, 10}, {10, 0}});
  s.SetLineStyle(lsCurveInterpolation);
  const TPoints pts{Point(0, 10), Point(5, 0), Point(10, 10)};
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{SplinePoints(pts, false, false, 1)}));
  s.SetLineStyle(lsCurveApproximation);
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{SplinePoints(pts, true, false, 1)}));
  // Per-point colours cut the interpolating curve at each data point.
  s.SetLineStyle(lsCurveInterpolation);
  s.SetOptions({coShowInLegend, coColorEachPoint});
  const auto pieces = Polylines(*DrawAlone(s));
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], (TPoints{Point(0, 10)}));
  EXPECT_EQ(pieces[1].back(), Point(5, 0));
  EXPECT_EQ(pieces[2].front(), Point(5, 0));
  EXPECT_EQ(pieces[2].back(), Point(10, 10));
}

TEST(TZPLineChart, ACurveOverTwoPointsSamplesOneMoreOnEachSide) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{0, 0}, {2, 2}, {4, 4}, {6, 6}, {8, 8}, {10, 10}});
  s.SetLineStyle(lsCurveInterpolation);
  p.panel.BottomAxis().ZoomToValues({2, 0, 4, 0});
  ASSERT_EQ(s.FirstIndex(), 0);  // one beyond the window's left edge
  ASSERT_EQ(s.LastIndex(), 3);
  p.panel.BottomAxis().ZoomToValues({4.5, 0, 5.5, 0});
  ASSERT_EQ(s.FirstIndex(), 2);
  ASSERT_EQ(s.LastIndex(), 3);
  // Indexes 1..4 are sampled: the curve starts at X = 2.
  const TRect r = Rect(0, 0, 10, 10);
  TPoints pts;
  for (int i = 1; i <= 4; ++i) pts.push_back(s.PointAt(i, r));
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{SplinePoints(pts, false, false, 1)}));
}

TEST(TZPLineChart, AStackedSeriesIsDrawnRaisedByItsOffset) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{1, 1}, {2, 2}});
  s.SetOffsetVertical(3);
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{{Point(1, 9), Point(2, 8)}}));
  s.SetGroupStyle(TZPGroupStyle::gsStacked);
  EXPECT_EQ(Polylines(*DrawAlone(s)), (std::vector<TPoints>{{Point(1, 6), Point(2, 5)}}));
}

TEST(TZPLineChart, PreviewLoadsTheSampleDataOnlyIntoAnEmptyList) {
  TZPLineChart s;
  s.SetPreview(true);
  EXPECT_TRUE(s.Preview());
  ASSERT_EQ(s.Values().Count(), 5);
  EXPECT_EQ(s.Values().Items(0).Caption(), "Research");
  EXPECT_EQ(s.Values().Items(4).X(), 400);
  EXPECT_EQ(s.Values().Items(4).Y(), 500);
  // The first real value ends the preview.
  s.Values().AddPoint(1, 1);
  EXPECT_FALSE(s.Preview());
}

TEST(TZPLineChart, ManyPointsInXOrderStayCheapToAdd) {
  TZPChartPanel panel;
  TZPLineChart s;
  s.SetParent(&panel);
  for (int i = 0; i < 100000; ++i) s.Values().AddPoint(i, i % 17);
  EXPECT_EQ(s.Values().Count(), 100000);
  EXPECT_EQ(s.LastIndex(), 99999);
  EXPECT_EQ(s.Values().Items(99999).X(), 99999);
}
