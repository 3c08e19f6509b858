#include <gtest/gtest.h>

#include "chart/ZPChartDecorations.h"
#include "platform/Exceptions.h"
#include "platform/RecordingCanvas.h"

using namespace zp;
using namespace zp::chart;

TEST(TZPChartGraphic, DrawingHandlerCanSkipTheElementAndItsDrawEvent) {
  TZPChartGradient g;
  TRecordingCanvas c;
  int drawn = 0;
  g.OnDraw = [&](TZPChartGraphic&, TCanvas&, TRect r) {
    EXPECT_EQ(r, Rect(0, 0, 2, 2));
    ++drawn;
  };
  g.Draw(c, Rect(0, 0, 2, 2));
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(c.CallsOf("FillRect").size(), 3u);
  g.OnDrawing = [](TZPChartGraphic&, TCanvas&, TRect, bool& DoDraw) { DoDraw = false; };
  c.Clear();
  g.Draw(c, Rect(0, 0, 2, 2));
  EXPECT_EQ(drawn, 1);
  EXPECT_TRUE(c.Calls().empty());
}

TEST(TZPChartGradient, SettersClampCompareAndNotify) {
  TZPChartGradient g;
  int changes = 0;
  g.OnChange = [&](TZPChartGraphic&) { ++changes; };
  g.SetCoarseness(0);
  EXPECT_EQ(g.Coarseness(), 1);
  EXPECT_EQ(changes, 0);
  g.SetCoarseness(-5);
  g.SetStartColor(clYellow);
  g.SetEndColor(clRed);
  g.SetDirection(TGradientDirection::gdUp);
  g.SetVisible(false);
  EXPECT_EQ(changes, 3);
  TZPChartGradient copy;
  copy.Assign(g);
  EXPECT_EQ(copy.EndColor(), clRed);
  EXPECT_EQ(copy.Direction(), TGradientDirection::gdUp);
  EXPECT_FALSE(copy.Visible());
  EXPECT_THROW(copy.Assign(TBrush()), EConvertError);
}

TEST(TZPChartShadow, TakesItsPartAndLeavesTheBoxForEachDirection) {
  TZPChartShadow s;
  TRecordingCanvas c;
  s.Draw(c, Rect(0, 0, 100, 50));
  ASSERT_EQ(c.Calls().size(), 1u);
  EXPECT_EQ(c.Calls()[0].Op, "Rectangle");
  EXPECT_EQ(c.Calls()[0].Rect, Rect(3, 3, 100, 50));
  EXPECT_EQ(c.Calls()[0].Brush.Color, clBlack);
  EXPECT_EQ(s.BoxPart(Rect(0, 0, 100, 50)), Rect(0, 0, 97, 47));
  s.SetDirection(TZPShadowDirection::sdTopLeft);
  EXPECT_EQ(s.ShadowPart(Rect(0, 0, 100, 50)), Rect(0, 0, 97, 47));
  EXPECT_EQ(s.BoxPart(Rect(0, 0, 100, 50)), Rect(3, 3, 100, 50));
  s.SetDirection(TZPShadowDirection::sdBottomLeft);
  EXPECT_EQ(s.BoxPart(Rect(0, 0, 100, 50)), Rect(3, 0, 100, 47));
  s.SetShape(2);
  EXPECT_EQ(s.Shape(), 0);
  s.SetShape(8);
  c.Clear();
  s.Draw(c, Rect(0, 0, 100, 50));
  EXPECT_EQ(c.Calls()[0].Op, "RoundRect");
}

TEST(TZPChartImageArea, SmallPictureIsCentredAndLargeOneShrunkKeepingItsShape) {
  TZPChartImageArea a;
  a.Image().SetGraphic(std::make_unique<TBitmapGraphic>(20, 10));
  TRecordingCanvas c;
  a.Draw(c, Rect(0, 0, 100, 50));
  ASSERT_EQ(c.CallsOf("StretchDraw").size(), 1u);
  EXPECT_EQ(c.CallsOf("StretchDraw")[0].Rect, Rect(40, 20, 60, 30));
  EXPECT_EQ(c.CallsOf("StretchDraw")[0].Brush.Color, clBtnFace);
  a.Image().SetGraphic(std::make_unique<TBitmapGraphic>(200, 50));
  EXPECT_EQ(a.PictureRect(Rect(0, 0, 100, 50)), Rect(0, 12, 100, 37));
  a.Image().SetGraphic(std::make_unique<TBitmapGraphic>(50, 200));
  EXPECT_EQ(a.PictureRect(Rect(0, 0, 100, 50)), Rect(44, 0, 56, 50));
  a.SetImageOptions({TImageOption::ioStretch});
  EXPECT_EQ(a.PictureRect(Rect(0, 0, 100, 50)), Rect(0, 0, 100, 50));
  a.SetImageOptions({TImageOption::ioTiled, TImageOption::ioTransparent});
  a.Image().SetGraphic(std::make_unique<TBitmapGraphic>(30, 20));
  EXPECT_TRUE(a.Image().Graphic()->Transparent());
  c.Clear();
  a.Draw(c, Rect(0, 0, 60, 30));
  EXPECT_EQ(c.CallsOf("StretchDraw").size(), 4u);  // 2 x 2 tiles of 30 x 20
}

TEST(TZPChartLayer, PlacesItsPictureByImageMode) {
  TZPChartLayer l;
  TRecordingCanvas c;
  l.Draw(c, Rect(10, 10, 110, 60));
  ASSERT_EQ(c.Calls().size(), 1u);  // only the brush without a picture
  EXPECT_EQ(c.Calls()[0].Op, "FillRect");
  l.Image().SetGraphic(std::make_unique<TBitmapGraphic>(20, 10));
  auto placed = [&](TImageMode m) {
    l.SetImageMode(m);
    c.Clear();
    l.Draw(c, Rect(10, 10, 110, 60));
    return c.Calls().back();
  };
  EXPECT_EQ(placed(TImageMode::imCenter).Points[0], Point(50, 30));
  EXPECT_EQ(placed(TImageMode::imLeft).Points[0], Point(0, 30));
  EXPECT_EQ(placed(TImageMode::imRight).Points[0], Point(90, 30));
  EXPECT_EQ(placed(TImageMode::imTop).Points[0], Point(50, 0));
  EXPECT_EQ(placed(TImageMode::imBottom).Points[0], Point(50, 50));
  EXPECT_EQ(placed(TImageMode::imStretch).Rect, Rect(10, 10, 110, 60));
  placed(TImageMode::imTile);
  EXPECT_EQ(c.CallsOf("Draw").size(), 6u * 6u);  // from the canvas origin: x 0..100, y 0..50
}

namespace {

struct TFakeAxis : IZPGridAxis {
  double max = 10, zmin = 0, zmax = 10;
  bool snap = true;
  TZPChartAxisLocation loc = TZPChartAxisLocation::caLeft;
  bool show_grid = true;
  double Maximum() const override { return max; }
  double ZoomMinimum() const override { return zmin; }
  double ZoomMaximum() const override { return zmax; }
  bool SnapGrid() const override { return snap; }
  TZPChartAxisLocation Location() const override { return loc; }
  // 10 pixels per unit from the rectangle's far end, like a linear axis.
  int ValueToPixel(const TRect& R, double V) const override {
    const bool vertical = loc == TZPChartAxisLocation::caLeft || loc == TZPChartAxisLocation::caRight;
    return vertical ? R.Bottom - static_cast<int>(V * 10) : R.Left + static_cast<int>(V * 10);
  }
  void SetShowGrid(bool v) override { show_grid = v; }
};

std::vector<TCanvasCall> Lines(const TRecordingCanvas& c, TColor color) {
  std::vector<TCanvasCall> out;
  for (const auto& k : c.CallsOf("LineTo"))
    if (k.Pen.Color == color) out.push_back(k);
  return out;
}

}  // namespace

TEST(TZPAxisGrid, LeftAndRightAxesDrawTicksAcrossTheAxisLine) {
  TFakeAxis axis;
  TZPAxisGrid g(&axis);
  g.SetStep(5);
  g.SetFirstTick(0);  // snap: starts at FirstTick + Step
  g.SetTickLength(4);
  g.SetInnerLength(2);
  g.SetTickSpace(4);
  g.SetMinorTickCount(0);
  TRecordingCanvas c;
  g.Draw(c, Rect(0, 0, 50, 100));
  auto ticks = Lines(c, clGray);
  ASSERT_EQ(ticks.size(), 2u);                              // snapped: values 5 and 0
  EXPECT_EQ(ticks[0].Points, (TPoints{{0, 50}, {6, 50}}));  // axis line at x = 4
  auto grid = c.CallsOf("LineTo")[0];
  EXPECT_EQ(grid.Pen.Style, TPenStyle::psDot);
  EXPECT_EQ(grid.Points, (TPoints{{4, 50}, {50, 50}}));

  axis.loc = TZPChartAxisLocation::caRight;
  c.Clear();
  g.Draw(c, Rect(0, 0, 50, 100));
  ticks = Lines(c, clGray);
  EXPECT_EQ(ticks[0].Points, (TPoints{{50, 50}, {44, 50}}));  // axis line at x = 46
  EXPECT_EQ(c.CallsOf("LineTo")[0].Points, (TPoints{{46, 50}, {0, 50}}));
}

TEST(TZPAxisGrid, UnsnappedZoomedAxisAddsMinorMarksAboveTheFirstVisibleValue) {
  TFakeAxis axis;
  axis.snap = false;
  axis.max = 20;
  axis.zmax = 9;
  axis.loc = TZPChartAxisLocation::caBottom;
  TZPAxisGrid g(&axis);
  g.SetStep(4);
  g.SetMinorTickCount(1);
  g.SetTickSpace(4);
  TRecordingCanvas c;
  g.Draw(c, Rect(0, 0, 120, 50));
  // Majors at 8, 4, 0 (20 stepped down below 9); one extra step 12 supplies the minor at 10.
  std::vector<int> major_x, minor_x;
  for (const auto& k : Lines(c, clGray)) {
    if (k.Points[0].Y == 50) major_x.push_back(k.Points[0].X);  // axis line at y = 46
    if (k.Points[1].Y == 48) minor_x.push_back(k.Points[0].X);
  }
  EXPECT_EQ(major_x, (std::vector<int>{80, 40, 0}));
  EXPECT_EQ(minor_x, (std::vector<int>{100, 60, 20}));  // -2 lies outside the rectangle
}

TEST(TZPAxisGrid, DrawsOnlyWithTickMarksAndAnOpenZoomWindow) {
  using enum TAxisDrawGridOption;
  TFakeAxis axis;
  TZPAxisGrid g(&axis);
  g.SetStep(5);
  TRecordingCanvas c;
  g.SetDrawOptions({goDrawMajorGrid});
  g.Draw(c, Rect(0, 0, 50, 100));
  EXPECT_TRUE(c.Calls().empty());

  g.SetDrawOptions({goDrawMinorGrid, goDrawTickMarks});
  g.SetTickLength(0);
  g.Draw(c, Rect(0, 0, 50, 100));
  ASSERT_FALSE(c.Calls().empty());
  for (const auto& k : c.Calls()) {
    EXPECT_TRUE(k.Pen.Color == clInactiveBorder || k.Pen.Color == clGray);
    if (k.Pen.Color == clGray) {
      EXPECT_EQ(k.Points[1].X - k.Points[0].X, 2);  // minor ticks only
    }
  }
  c.Clear();
  g.SetMinorTickCount(0);
  g.Draw(c, Rect(0, 0, 50, 100));
  EXPECT_TRUE(c.Calls().empty());

  g.SetMinorTickCount(3);
  axis.zmin = axis.zmax = 5;
  g.Draw(c, Rect(0, 0, 50, 100));
  EXPECT_TRUE(c.Calls().empty());
}

TEST(TZPAxisGrid, VisibilityFollowsIntoTheAxisAndSettersClamp) {
  TFakeAxis axis;
  TZPAxisGrid g(&axis);
  g.SetVisible(false);
  EXPECT_FALSE(axis.show_grid);
  g.SetInnerLength(-3);
  EXPECT_EQ(g.InnerLength(), 0);
  g.SetTickLength(7);
  TZPAxisGrid copy(nullptr);
  copy.Assign(g);
  EXPECT_EQ(copy.TickLength(), 7);
  EXPECT_FALSE(copy.Visible());
  EXPECT_EQ(copy.MinorGridPen().Color(), clInactiveBorder);
}
