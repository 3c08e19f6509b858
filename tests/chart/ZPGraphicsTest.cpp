#include <gtest/gtest.h>

#include "chart/ZPGraphics.h"
#include "platform/RecordingCanvas.h"

using namespace zp;
using namespace zp::chart;

TEST(ClampByte, RoundsHalvesToEvenThenClamps) {
  EXPECT_EQ(ClampByte(255.5), 255);
  EXPECT_EQ(ClampByte(-0.4), 0);
  EXPECT_EQ(ClampByte(2.5), 2);
  EXPECT_EQ(ClampByte(3.5), 4);
  EXPECT_EQ(ClampByte(1000), 255);
  EXPECT_EQ(ColorToBytes(0x00336699), (std::array<uint8_t, 3>{0x99, 0x66, 0x33}));
}

TEST(GradientFill, YellowToWhiteOver100PixelsFills101ColumnsEachBluer) {
  TRecordingCanvas c;
  c.Brush().SetColor(clGreen);
  GradientFill(c, Rect(0, 0, 100, 20), {clYellow, clWhite}, 1, TGradientDirection::gdRight);
  const auto fills = c.CallsOf("FillRect");
  ASSERT_EQ(fills.size(), 101u);
  int previous = -1;
  for (int i = 0; i <= 100; ++i) {
    const auto& f = fills[static_cast<size_t>(i)];
    EXPECT_EQ(f.Rect, Rect(i, 0, i + 1, 20));
    EXPECT_EQ(f.Brush.Color & 0xFFFF, 0xFFFFu);
    const int blue = GetBValue(f.Brush.Color);
    EXPECT_NEAR(blue, 2.55 * i, 0.5 + 1e-9) << i;
    EXPECT_GT(blue, previous) << i;
    previous = blue;
  }
  EXPECT_EQ(fills.front().Brush.Color, clYellow);
  EXPECT_EQ(fills.back().Brush.Color, clWhite);
  EXPECT_EQ(c.Brush().Color(), clGreen);  // restored
}

TEST(GradientFill, EveryColourIsReachedAtItsBandBoundary) {
  TRecordingCanvas c;
  GradientFill(c, Rect(0, 0, 20, 10), {clBlack, clRed, clBlack}, 1, TGradientDirection::gdDown);
  const auto fills = c.CallsOf("FillRect");
  ASSERT_EQ(fills.size(), 11u);  // bands of 5 rows
  const uint8_t reds[] = {0, 51, 102, 153, 204, 255, 204, 153, 102, 51, 0};
  for (size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(fills[i].Rect, Rect(0, static_cast<int>(i), 20, static_cast<int>(i) + 1));
    EXPECT_EQ(fills[i].Brush.Color, RGB(reds[i], 0, 0)) << i;
  }
}

TEST(GradientFill, CoarseStripsOvershootTheFarEdge) {
  TRecordingCanvas c;
  GradientFill(c, Rect(0, 0, 10, 10), {clBlack, clWhite}, 4, TGradientDirection::gdRight);
  const auto fills = c.CallsOf("FillRect");
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[2].Rect, Rect(8, 0, 12, 10));
  EXPECT_EQ(fills[1].Brush.Color, RGB(102, 102, 102));
}

TEST(GradientFill, LeftWithABEqualsRightWithBA) {
  TRecordingCanvas a, b;
  GradientFill(a, Rect(0, 0, 30, 5), {clRed, clBlue}, 2, TGradientDirection::gdLeft);
  GradientFill(b, Rect(0, 0, 30, 5), {clBlue, clRed}, 2, TGradientDirection::gdRight);
  ASSERT_EQ(a.Calls().size(), b.Calls().size());
  for (size_t i = 0; i < a.Calls().size(); ++i) {
    EXPECT_EQ(a.Calls()[i].Rect, b.Calls()[i].Rect);
    EXPECT_EQ(a.Calls()[i].Brush, b.Calls()[i].Brush);
  }
}

TEST(GradientFill, DiagonalUsesTwoTrianglesWithAveragedCorners) {
  TRecordingCanvas c;
  GradientFill(c, Rect(0, 0, 200, 100), {clYellow, clWhite}, 1, TGradientDirection::gdDownRight);
  const auto calls = c.CallsOf("GradientFillTriangles");
  ASSERT_EQ(calls.size(), 1u);
  const auto& v = calls[0].Vertices;
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0], (TTriVertex{0, 0, 0xFF00, 0xFF00, 0x0000, 0}));
  EXPECT_EQ(v[1], (TTriVertex{200, 0, 0xFF00, 0xFF00, 0x7F80, 0}));
  EXPECT_EQ(v[2], (TTriVertex{200, 100, 0xFF00, 0xFF00, 0xFF00, 0}));
  EXPECT_EQ(v[3], (TTriVertex{0, 100, 0xFF00, 0xFF00, 0x7F80, 0}));
  EXPECT_EQ(calls[0].Triangles, (std::vector<TGradientTriangle>{{0, 1, 3}, {1, 2, 3}}));

  TRecordingCanvas up;
  GradientFill(up, Rect(0, 0, 200, 100), {clYellow}, 1, TGradientDirection::gdUpLeft);
  EXPECT_EQ(up.Calls()[0].Vertices[0].Blue, 0);  // one colour: both ends use it
}

TEST(GradientFill, DrawsNothingForZeroEdgesOrNoColours) {
  TRecordingCanvas c;
  GradientFill(c, Rect(0, 0, 0, 50), {clRed}, 1, TGradientDirection::gdRight);
  GradientFill(c, Rect(0, 0, 50, 50), {}, 1, TGradientDirection::gdDownLeft);
  EXPECT_TRUE(c.Calls().empty());
}

TEST(DrawShape, DrawsEachShapeIntoTheRectangle) {
  TRecordingCanvas c;
  const TRect r = Rect(10, 20, 30, 60);  // 20 x 40, centre (20, 40), S = 20
  for (uint8_t s = 0; s <= 12; ++s) DrawShape(c, r, nullptr, false, s);
  const auto& k = c.Calls();
  ASSERT_EQ(k.size(), 11u);  // shape 2 without a graphic and 12 draw nothing
  EXPECT_EQ(k[0].Op, "Rectangle");
  EXPECT_EQ(k[1].Op, "Ellipse");
  EXPECT_EQ(k[2].Points, (TPoints{{10, 40}, {20, 20}, {30, 40}, {20, 60}}));
  EXPECT_EQ(k[3].Points, (TPoints{{10, 40}, {30, 20}, {30, 60}}));
  EXPECT_EQ(k[6].Points, (TPoints{{10, 20}, {30, 20}, {20, 60}}));
  EXPECT_EQ(k[7].Op, "RoundRect");
  EXPECT_EQ(k[7].Ints, (std::vector<int>{5, 5}));
  EXPECT_EQ(k[8].Rect, Rect(10, 30, 30, 50));
  EXPECT_EQ(k[9].Op, "Ellipse");
  EXPECT_EQ(k[9].Rect, Rect(10, 30, 30, 50));
  EXPECT_EQ(k[10].Op, "RoundRect");

  TRecordingCanvas g;
  TBitmapGraphic bmp(4, 3);
  DrawShape(g, r, &bmp, true, 2);
  DrawShape(g, r, &bmp, false, 2);
  EXPECT_EQ(g.Calls()[0].Op, "StretchDraw");
  EXPECT_EQ(g.Calls()[0].Rect, r);
  EXPECT_EQ(g.Calls()[1].Op, "Draw");
  EXPECT_EQ(g.Calls()[1].Points[0], Point(10, 20));
}

TEST(RotatedTextExtent, NinetyDegreesTurnsTheBoxAndPlacesTheOrigin) {
  TRecordingCanvas c;
  c.Font().SetHeight(-10);
  ASSERT_EQ(c.TextExtent("ABCDEFGH"), (TSize{40, 10}));
  auto e = RotatedTextExtent(c, 90, "ABCDEFGH");
  EXPECT_EQ(e.Size, (TSize{20, 60}));
  EXPECT_EQ(e.Offset, Point(10, 45));
  e = RotatedTextExtent(c, 0, "ABCDEFGH");
  EXPECT_EQ(e.Size, (TSize{40, 10}));
  EXPECT_EQ(e.Offset, Point(0, 0));
  e = RotatedTextExtent(c, -90, "ABCDEFGH");
  EXPECT_EQ(e.Size, (TSize{20, 60}));
  EXPECT_EQ(e.Offset, Point(10, 10));
  e = RotatedTextExtent(c, 180, "ABCDEFGH");
  EXPECT_EQ(e.Size, (TSize{60, 20}));
  EXPECT_EQ(e.Offset, Point(50, 10));
}

TEST(SetFontAngle, RotatesInTenthsAndPicksARotatableFace) {
  TFont f;
  f.SetName("Default");
  f.SetStyle({TFontStyle::fsBold});
  SetFontAngle(f, 90.04f);
  EXPECT_EQ(f.Orientation(), 900);
  EXPECT_EQ(f.FaceName(), kDefaultFaceName);
  EXPECT_EQ(f.Name(), "Default");
  EXPECT_TRUE(f.Style().Contains(TFontStyle::fsBold));
  f.SetName("MS Sans Serif");
  SetFontAngle(f, 45);
  EXPECT_EQ(f.FaceName(), "Arial");
  f.SetName("DejaVu Sans");
  SetFontAngle(f, -30);
  EXPECT_EQ(f.FaceName(), "DejaVu Sans");
  EXPECT_EQ(f.Orientation(), -300);
}

TEST(WrapTextToWidth, BreaksAfterBlanksAndHyphensKeepingThemAtTheLineEnd) {
  TRecordingCanvas c;
  c.Font().SetHeight(-10);  // 5 pixels per character
  EXPECT_EQ(WrapTextToWidth(c, "", 10), "");
  EXPECT_EQ(WrapTextToWidth(c, "one two three", 50), "one two \r\nthree");
  EXPECT_EQ(WrapTextToWidth(c, "well-known fact", 40), "well-\r\nknown \r\nfact");
  // A long first word is kept whole on its line; the last character is never moved.
  EXPECT_EQ(WrapTextToWidth(c, "extraordinary xy", 20), "extraordinary \r\nxy");
  EXPECT_EQ(WrapTextToWidth(c, "extraordinary x", 20), "extraordinary x");
  // Existing breaks reset the line.
  EXPECT_EQ(WrapTextToWidth(c, "ab\r\ncd ef gh", 35), "ab\r\ncd ef \r\ngh");
}

TEST(WrapTextToWidth, NeverBreaksInsideAQuotedRun) {
  TRecordingCanvas c;
  c.Font().SetHeight(-10);
  EXPECT_EQ(WrapTextToWidth(c, "say \"a b c d e\" now", 40), "say \r\n\"a b c d e\" \r\nnow");
  EXPECT_EQ(WrapTextToWidth(c, "'x y' 'z w' end", 35), "'x y' \r\n'z w' \r\nend");
}

TEST(DrawTextInRect, PlacesWrappedTextByItsHeightWithAClearBrush) {
  TRecordingCanvas c;
  c.Font().SetHeight(-10);
  DrawTextInRect(c, "one two three", DT_BOTTOM | DT_WORDBREAK, Rect(0, 0, 50, 100));
  DrawTextInRect(c, "one two three", DT_VCENTER | DT_WORDBREAK, Rect(0, 0, 50, 100));
  DrawTextInRect(c, "x", DT_VCENTER, Rect(0, 0, 50, 100));
  const auto d = c.CallsOf("DrawText");
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].Rect, Rect(0, 80, 50, 100));  // two lines of 10
  EXPECT_EQ(d[0].Text, "one two three");       // drawn unwrapped
  EXPECT_EQ(d[1].Rect, Rect(0, 40, 50, 100));
  EXPECT_EQ(d[2].Ints[0], static_cast<int>(DT_VCENTER | DT_SINGLELINE));
  EXPECT_EQ(d[0].Brush.Style, TBrushStyle::bsClear);
  EXPECT_EQ(c.Brush().Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(TextLinesHeight(c, "a\nb\nc"), 30);
}

TEST(SplinePoints, CatmullRomOnTwoPointsIsTheStraightLine) {
  const TPoints p = SplinePoints({{0, 0}, {10, 0}}, false, false, 1);
  ASSERT_EQ(p.size(), 11u);
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(p[static_cast<size_t>(i)], Point(i, 0));
  EXPECT_TRUE(SplinePoints({{1, 1}}, false, false, 1).empty());
}

TEST(SplinePoints, EqualPointsStepByTheResolution) {
  // Chord 0 counts as 1, so dt = Resolution: t = 0 and t = 1 only.
  const TPoints p = SplinePoints({{5, 5}, {5, 5}}, false, false, 1);
  EXPECT_EQ(p, (TPoints{{5, 5}, {5, 5}}));
  EXPECT_EQ(SplinePoints({{5, 5}, {5, 5}}, false, false, 2), (TPoints{{5, 5}}));
  EXPECT_TRUE(SplinePoints({{0, 0}, {9, 0}}, false, false, 0).empty());
}

TEST(SplinePoints, InterpolationPassesThroughAndApproximationNearThePoints) {
  const TPoints pts{{0, 0}, {10, 10}, {20, 0}};
  const TPoints through = SplinePoints(pts, false, false, 1);
  EXPECT_NE(std::find(through.begin(), through.end(), Point(10, 10)), through.end());
  EXPECT_EQ(through.front(), Point(0, 0));
  EXPECT_EQ(through.back(), Point(20, 0));
  const TPoints near = SplinePoints(pts, true, false, 1);
  // The B-spline starts at (5 P0 + P1) / 6 and peaks below the middle point.
  EXPECT_EQ(near.front(), Point(2, 2));
  int top = 0;
  for (auto q : near) top = std::max(top, q.Y);
  EXPECT_LT(top, 10);
  TRecordingCanvas c;
  PolySpline(c, pts, true, false, 1);
  EXPECT_EQ(c.Calls()[0].Points, near);
}

TEST(FloatGeometry, IntersectsTestsAndRounds) {
  TFloatRect r;
  EXPECT_TRUE(IntersectFloatRect({0, 0, 10, 10}, {5, -5, 20, 8}, r));
  EXPECT_EQ(r, (TFloatRect{5, 0, 10, 8}));
  EXPECT_FALSE(IntersectFloatRect({0, 0, 5, 5}, {5, 0, 10, 5}, r));
  EXPECT_TRUE(PtInFloatRect({0, 0}, {0, 0, 1, 1}));
  EXPECT_FALSE(PtInFloatRect({1, 0.5}, {0, 0, 1, 1}));
  EXPECT_EQ(FloatPointToPoint(FloatPoint(2.5, -1.6)), Point(2, -2));
  EXPECT_EQ(NormalizeRect(Rect(10, 20, 0, 5)), Rect(0, 5, 10, 20));
}

TEST(TZPObjectRect, SettersCompareAndNotify) {
  TZPObjectRect r;
  int changes = 0;
  r.OnChange = [&](TZPCustomRect&) { ++changes; };
  r.SetRect(Rect(0, 0, 10, 10));
  r.SetLeft(0);  // equal: nothing
  r.SetValue(4, 20);
  EXPECT_EQ(r.Rect(), Rect(0, 0, 10, 20));
  r.SetValue(9, 5);
  EXPECT_EQ(r.Rect(), Rect(0, 0, 5, 20));
  r.MoveTo(0, 0);
  r.MoveTo(3, 4);
  EXPECT_EQ(r.Rect(), Rect(3, 4, 8, 24));
  r.Offset(0, 0);
  r.Offset(-3, 0);
  r.Inflate(3, 3);
  EXPECT_EQ(r.Rect(), Rect(-1, 3, 6, 25));
  EXPECT_EQ(changes, 6);
  EXPECT_EQ(r.GetValue(4), 22);
  EXPECT_EQ(r.GetValue(7), 7);
}

TEST(ApplyMargins, ShrinksByPixelsOrPercent) {
  TZPObjectRect m;
  m.SetRect(DefaultMargins());
  EXPECT_EQ(ApplyMargins(Rect(0, 0, 100, 50), m, true), Rect(3, 4, 97, 46));
  m.SetRect(Rect(10, 10, 5, 25));
  EXPECT_EQ(ApplyMargins(Rect(0, 0, 30, 50), m, false), Rect(3, 5, 28, 38));  // 1.5 -> 2, 12.5 -> 12
}
