#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chart/ZP2DChartValues.h"
#include "chart/ZPChartAxis.h"
#include "platform/EnumNames.h"
#include "platform/RecordingCanvas.h"

using namespace zp;
using namespace zp::chart;
using enum TZPChartAxisLocation;
using enum TAxisOption;

namespace {

// A series as the axis sees it: points, visibility, stacking.
struct TFakeSeries : IZPAxisSeries {
  mutable TZP2DChartValues values;
  bool visible = true;
  TChartOptions options;
  double offset = 0;
  int group = 0;
  TZPGroupStyle group_style = TZPGroupStyle::gsNone;
  int visible_range_calls = 0;

  bool Visible() const override { return visible; }
  TZPChartValues& Values() const override { return values; }
  TChartOptions Options() const override { return options; }
  void SetOptions(TChartOptions Value) override { options = Value; }
  double OffsetVertical() const override { return offset; }
  void SetOffsetVertical(double Value) override { offset = Value; }
  int Group() const override { return group; }
  TZPGroupStyle GroupStyle() const override { return group_style; }
  void CalculateVisibleRange(TZPChartAxis&) override { ++visible_range_calls; }
  // The axes here outlive nothing they hold: no list to keep.
  void AxisHolds(TZPChartAxis&) override {}
  void AxisLetGo(TZPChartAxis&) override {}
};

struct TFakePanel : IZPAxisPanel {
  TRect plot = Rect(0, 0, 400, 100);
  TFont font;
  TRect PlotRect() const override { return plot; }
  const TFont& Font() const override { return font; }
};

// A bottom axis over one series spanning X From..To.
struct TBottomAxis {
  TFakeSeries series;
  TZPChartAxis axis;
  TBottomAxis(double From, double To) {
    axis.SetLocation(caBottom);
    series.values.AddPoint(From, 0);
    series.values.AddPoint(To, 0);
    axis.BindSeries(series);
  }
};

std::vector<std::string> DrawnLabels(TZPChartAxis& Axis, const TRect& R) {
  TRecordingCanvas c;
  Axis.Draw(c, R);
  std::vector<std::string> texts;
  for (const TCanvasCall& call : c.CallsOf("TextOut"))
    if (!call.Text.empty()) texts.push_back(call.Text);
  return texts;
}

}  // namespace

TEST(NextNiceStep, GivesTheNextOfOneTwoFiveTenTwentyFiveAboveX) {
  EXPECT_EQ(NextNiceStep(10), 25);
  EXPECT_EQ(NextNiceStep(3.6), 5);
  EXPECT_DOUBLE_EQ(NextNiceStep(0.1), 0.2);
  EXPECT_EQ(NextNiceStep(1), 2);
  EXPECT_EQ(NextNiceStep(0.5), 1);
  EXPECT_EQ(NextNiceStep(25), 50);
  EXPECT_EQ(NextNiceStep(260), 500);
  EXPECT_EQ(NextNiceStep(0), 0);
}

TEST(TZPChartAxis, AutomaticRangeLabelsAQuarterStepFromZeroToHundred) {
  TBottomAxis b(0, 100);
  EXPECT_EQ(DrawnLabels(b.axis, Rect(0, 0, 400, 100)), (std::vector<std::string>{"100", "75", "50", "25", "0"}));
  EXPECT_EQ(b.axis.Minimum(), 0);
  EXPECT_EQ(b.axis.Maximum(), 100);  // the exact data range, no margin
  EXPECT_EQ(b.axis.Grid().Step(), 25.0f);
}

TEST(TZPChartAxis, SnappedLabelsSitAtMultiplesOfTheStep) {
  TBottomAxis b(1, 37);
  EXPECT_EQ(DrawnLabels(b.axis, Rect(0, 0, 400, 100)),
            (std::vector<std::string>{"35", "30", "25", "20", "15", "10", "5"}));
  EXPECT_EQ(b.axis.Grid().Step(), 5.0f);
  EXPECT_EQ(b.axis.Grid().FirstTick(), 35);
}

TEST(TZPChartAxis, UnitRangeStepsByTwoTenthsAndKeepsBothEnds) {
  TBottomAxis b(0, 1);
  // Five single-precision steps of 0.2 overshoot 1 a little: still the top tick.
  EXPECT_EQ(DrawnLabels(b.axis, Rect(0, 0, 400, 100)),
            (std::vector<std::string>{"1", "0.8", "0.6", "0.4", "0.2", "0"}));
  EXPECT_EQ(b.axis.Grid().Step(), 0.2f);
  // The grid line of the top tick is drawn too: six lines, at 0 and 1 included.
  TRecordingCanvas c;
  b.axis.Draw(c, Rect(0, 0, 400, 100));
  std::vector<int> xs;
  for (const TCanvasCall& call : c.CallsOf("LineTo"))
    if (call.Points.size() == 2 && call.Points[0].X == call.Points[1].X && call.Points[0].Y != call.Points[1].Y &&
        std::abs(call.Points[1].Y - call.Points[0].Y) > 10)
      xs.push_back(call.Points[0].X);
  EXPECT_EQ(xs.size(), 6u);
  EXPECT_EQ(xs.front(), 400);
  EXPECT_EQ(xs.back(), 0);
}

// Drawn labels keep the step fitting's separation between their boxes, so two
// numbers never read as one ("40,00045,000"), at any size and zoom.
TEST(TZPChartAxis, DrawnLabelsKeepTheirSeparation) {
  struct TCase {
    double lo, hi, zoom_lo, zoom_hi;
    int width;
    bool vertical;
  };
  for (const TCase& t :
       {TCase{0, 100000, 55000, 100000, 600, false}, TCase{0, 100000, 0, 100000, 300, false},
        TCase{1, 100, 1, 100, 260, false}, TCase{0, 100, 0, 100, 120, true}, TCase{0, 496, 0, 496, 200, true}}) {
    SCOPED_TRACE(t.width);
    TFakeSeries series;
    TZPChartAxis axis;
    axis.SetLocation(t.vertical ? caLeft : caBottom);
    axis.SetFormat("#,##0");
    series.values.AddPoint(t.lo, t.lo);
    series.values.AddPoint(t.hi, t.hi);
    axis.BindSeries(series);
    axis.CalculateRange();
    if (t.zoom_lo != t.lo || t.zoom_hi != t.hi) axis.ZoomToValues({t.zoom_lo, t.zoom_lo, t.zoom_hi, t.zoom_hi});
    const TRect r = t.vertical ? Rect(0, 0, 100, t.width) : Rect(0, 0, t.width, 100);
    TRecordingCanvas c;
    axis.Draw(c, r);
    const double sep = t.width * axis.MinSeparationPct() / 100.0;
    std::vector<std::pair<int, int>> spans;  // along the axis
    for (const TCanvasCall& call : c.CallsOf("TextOut")) {
      if (call.Text.empty()) continue;
      const TSize size = c.TextExtent(call.Text);
      const int at = t.vertical ? call.Points[0].Y : call.Points[0].X;
      spans.emplace_back(at, at + (t.vertical ? size.cy : size.cx));
    }
    ASSERT_GE(spans.size(), 2u);
    for (size_t i = 1; i < spans.size(); ++i) {
      const int gap = std::max(spans[i].first - spans[i - 1].second, spans[i - 1].first - spans[i].second);
      EXPECT_GE(gap, sep) << "label " << i;
    }
  }
}

TEST(TZPChartAxis, WideLabelsDoubleTheStepAndOverlappingOnesAreSkipped) {
  TBottomAxis b(0, 100);
  b.axis.SetFormat("0.000");
  b.axis.Labels().Font().SetHeight(-20);  // 10 pixels a character: "75.000" is 60 wide
  // 25 apart is 25 pixels plus 10 separation: too narrow, so 50 is tried and fits.
  const auto labels = DrawnLabels(b.axis, Rect(0, 0, 100, 100));
  EXPECT_EQ(b.axis.Grid().Step(), 50.0f);
  // "50.000" centred at 50 would overlap "100.000" centred at 100.
  EXPECT_EQ(labels, (std::vector<std::string>{"100.000", "0.000"}));
}

TEST(TZPChartAxis, MinStepIncrementLiftsTheStep) {
  TBottomAxis b(0, 20);
  b.axis.SetMinStepIncrement(10);
  EXPECT_EQ(DrawnLabels(b.axis, Rect(0, 0, 400, 100)), (std::vector<std::string>{"20", "10", "0"}));
  EXPECT_EQ(b.axis.Grid().Step(), 10.0f);
  b.axis.SetMinStepIncrement(-3);
  EXPECT_EQ(b.axis.MinStepIncrement(), 0);
}

TEST(TZPChartAxis, VerticalLinearMappingBothWays) {
  TZPChartAxis a;
  a.SetLocation(caLeft);
  a.SetMaximum(10);
  const TRect r = Rect(0, 0, 100, 300);
  EXPECT_EQ(a.ValueToPixel(r, 0), 300);
  EXPECT_EQ(a.ValueToPixel(r, 10), 0);
  EXPECT_EQ(a.ValueToPixel(r, 5), 150);
  EXPECT_EQ(a.ValueToPixel(r, 20), -300);  // not clamped
  EXPECT_EQ(a.PixelToValue(r, 150), 5);
  EXPECT_EQ(a.PixelToValue(r, -5), 10);  // above the extent: the window's top
  a.SetOptions(a.Options() + TAxisOptions{axInverted});
  EXPECT_EQ(a.ValueToPixel(r, 0), 0);
  EXPECT_EQ(a.PixelToValue(r, 60), 2);
  // Start and end positions cut the extent: 10 % .. 60 % of 300 pixels.
  a.SetStartPosition(10);
  a.SetEndPosition(60);
  EXPECT_EQ(a.ValueToPixel(r, 0), 30);
  a.SetEndPosition(5);
  EXPECT_EQ(a.StartPosition(), 5);
}

TEST(TZPChartAxis, LogarithmicMappingsAndTheirInverses) {
  TZPChartAxis a;
  a.SetLocation(caBottom);
  a.SetMaximum(10);
  a.SetOptions(a.Options() + TAxisOptions{axLogarithmic});
  const TRect r = Rect(0, 0, 1000, 10);
  // log(1 + 10 * 1/10) / log(11) = log 2 / log 11 = 0.28906...
  EXPECT_EQ(a.ValueToPixel(r, 0), 0);
  EXPECT_EQ(a.ValueToPixel(r, 1), 289);
  EXPECT_EQ(a.ValueToPixel(r, 10), 1000);
  EXPECT_NEAR(a.PixelToValue(r, 289), 1, 0.01);
  a.SetLogBase(2);  // the ratio of logarithms is the same in every base
  EXPECT_EQ(a.ValueToPixel(r, 1), 289);

  a.SetLogarithmicType(TZPLogarithmicType::ltCompressLeft);
  EXPECT_EQ(a.ValueToPixel(r, 9), 1000 - 289);
  EXPECT_NEAR(a.PixelToValue(r, 711), 9, 0.01);

  // Fish-eye: each half compresses towards the middle, 5.
  a.SetLogarithmicType(TZPLogarithmicType::ltFishEye);
  EXPECT_EQ(a.ValueToPixel(r, 0), 0);
  EXPECT_EQ(a.ValueToPixel(r, 5), 500);
  EXPECT_EQ(a.ValueToPixel(r, 10), 1000);
  EXPECT_EQ(a.ValueToPixel(r, 6), 729);  // 500 + 500 * log 3 / log 11
  EXPECT_NEAR(a.PixelToValue(r, 729), 6, 0.02);
  EXPECT_NEAR(a.PixelToValue(r, 271), 4, 0.02);

  // A vertical logarithmic axis maps back to the value it mapped from.
  TZPChartAxis v;
  v.SetLocation(caLeft);
  v.SetMaximum(10);
  v.SetOptions(v.Options() + TAxisOptions{axLogarithmic});
  const TRect tall = Rect(0, 0, 10, 1000);
  EXPECT_EQ(v.ValueToPixel(tall, 1), 711);
  EXPECT_NEAR(v.PixelToValue(tall, 711), 1, 0.01);
}

TEST(TZPChartAxis, ZoomToPixelsResetAndPan) {
  TFakePanel panel;
  TZPChartAxis a(&panel);
  a.SetLocation(caBottom);
  a.SetMaximum(40);
  a.ZoomToPixels(Rect(100, 0, 200, 0));
  EXPECT_EQ(a.ZoomMinimum(), 10);
  EXPECT_EQ(a.ZoomMaximum(), 20);
  EXPECT_TRUE(a.Zoomed());
  a.PanByPixels(-100);  // a quarter of the plot is a quarter of the 10-unit window
  EXPECT_EQ(a.ZoomMinimum(), 7.5);
  EXPECT_EQ(a.ZoomMaximum(), 17.5);
  a.ResetZoom();
  EXPECT_EQ(a.ZoomMinimum(), 0);
  EXPECT_EQ(a.ZoomMaximum(), 40);
  EXPECT_FALSE(a.Zoomed());
  a.ZoomToPixels(Rect(300, 0, 400, 0));
  a.PanBy(5);  // already at the end of the range
  EXPECT_EQ(a.ZoomMinimum(), 30);
  EXPECT_EQ(a.ZoomMaximum(), 40);
  a.PanBy(-45);  // clamped at the start
  EXPECT_EQ(a.ZoomMinimum(), 0);
  EXPECT_EQ(a.ZoomMaximum(), 10);
}

TEST(TZPChartAxis, ZeroWidthZoomUsesTheUnscaledDifferenceAndDrawsNoLabels) {
  TFakePanel panel;
  TBottomAxis b(0, 40);
  TZPChartAxis a(&panel);
  a.SetLocation(caBottom);
  a.BindSeries(b.series);
  TRecordingCanvas c;
  a.Measure(c, panel.plot);  // computes the automatic range 0..40
  a.ZoomToPixels(Rect(100, 0, 100, 0));
  EXPECT_EQ(a.ZoomMinimum(), 10);
  EXPECT_EQ(a.ZoomMaximum(), 10);
  EXPECT_TRUE(a.Zoomed());
  EXPECT_EQ(a.ValueToPixel(panel.plot, 11), 400);
  a.SetOptions(a.Options() - TAxisOptions{axShowTitle});
  EXPECT_TRUE(DrawnLabels(a, panel.plot).empty());
}

TEST(TZPChartAxis, HandSetEndsSwitchTheAutomaticOptionsOff) {
  TZPChartAxis a;
  a.SetMinimum(10);
  EXPECT_EQ(a.Maximum(), 10);  // pulled up with the minimum
  a.SetMaximum(5);
  EXPECT_EQ(a.Minimum(), 5);
  EXPECT_EQ(a.Maximum(), 5);
  EXPECT_FALSE(a.Options().Contains(axAutomaticMinimum));
  EXPECT_FALSE(a.Options().Contains(axAutomaticMaximum));
}

TEST(TZPChartAxis, AnEndSetToTheValueItHoldsStaysFixed) {
  TBottomAxis b(0, 40);
  b.axis.CalculateRange();
  ASSERT_EQ(b.axis.Maximum(), 40);
  b.axis.SetMaximum(40);
  b.axis.SetMinimum(0);
  EXPECT_FALSE(b.axis.Options().Contains(axAutomaticMaximum));
  EXPECT_FALSE(b.axis.Options().Contains(axAutomaticMinimum));
  b.series.values.AddPoint(-20, 0);
  b.series.values.AddPoint(80, 0);
  b.axis.CalculateRange();
  EXPECT_EQ(b.axis.Minimum(), 0);
  EXPECT_EQ(b.axis.Maximum(), 40);
}

TEST(TZPChartAxis, RangeFromVisibleSeriesWithStacking) {
  TFakeSeries s1, s2, hidden;  // outlive the axis that holds them
  TZPChartAxis a;
  for (double y : {1.0, 5.0}) s1.values.AddPoint(0, y);
  for (double y : {2.0, 3.0}) s2.values.AddPoint(0, y);
  hidden.values.AddPoint(0, 100);
  hidden.visible = false;
  a.BindSeries(hidden);
  EXPECT_FALSE(a.Visible());  // only invisible series bound
  a.BindSeries(s1);
  a.BindSeries(s2);
  EXPECT_TRUE(a.Visible());
  EXPECT_TRUE(a.NeedsRange());
  a.CalculateRange();
  EXPECT_EQ(a.Minimum(), 1);
  EXPECT_EQ(a.Maximum(), 5);
  EXPECT_FALSE(a.NeedsRange());
  EXPECT_GT(s1.visible_range_calls, 0);

  s1.group = s2.group = 1;
  s1.group_style = s2.group_style = TZPGroupStyle::gsStacked;
  a.CalculateRange();
  // s2 sits on top of s1's maximum.
  EXPECT_TRUE(s2.options.Contains(TChartOption::coUseVerticalOffset));
  EXPECT_EQ(s2.offset, 5);
  EXPECT_EQ(a.Minimum(), 1);
  EXPECT_EQ(a.Maximum(), 8);

  // A hand-set maximum stays; the minimum is still automatic.
  a.SetMaximum(50);
  a.InvalidateRange();
  a.CalculateRange();
  EXPECT_EQ(a.Maximum(), 50);
  EXPECT_EQ(a.Minimum(), 1);
}

TEST(TZPChartAxis, LabelTextsByFormatDateTimeAndCaptions) {
  TBottomAxis b(45000, 45000.5);
  EXPECT_EQ(b.axis.FormatLabel(1234.5678), "1,234.568");
  b.axis.SetFormat("");
  EXPECT_EQ(b.axis.FormatLabel(2.5), "2.5000");
  b.series.values.SetDateTimeAxes({TXY::xyX});
  EXPECT_TRUE(b.axis.IsDateTimeAxis());
  EXPECT_EQ(b.axis.FormatLabel(45000), "2023-03-15");
  EXPECT_EQ(b.axis.FormatLabel(45000.5), "2023-03-15 12:00:00");
  b.axis.SetDateTimeFormat("dd.mm.yyyy hh:nn");
  EXPECT_EQ(b.axis.FormatLabel(45000.75), "15.03.2023 18:00");

  EXPECT_EQ(b.axis.EffectiveLabelStyle(), TAxisLabelStyle::alsValue);
  b.series.values.Items(0).SetCaption("first");
  EXPECT_EQ(b.axis.EffectiveLabelStyle(), TAxisLabelStyle::alsCaption);
  b.axis.SetLabelStyle(TAxisLabelStyle::alsValue);
  EXPECT_EQ(b.axis.EffectiveLabelStyle(), TAxisLabelStyle::alsValue);
}

TEST(TZPChartAxis, CaptionLabelsTakeTheCaptionAtOrBelowEachTick) {
  TBottomAxis b(0, 100);
  b.series.values.Items(0).SetCaption("low");
  b.series.values.AddPoint(50, 0, "mid");
  b.series.values.Items(1).SetCaption("high");  // X = 100
  b.series.values.Sort();                       // the caption walk expects X order
  b.axis.SetOptions(b.axis.Options() - TAxisOptions{axShowTitle});
  EXPECT_EQ(DrawnLabels(b.axis, Rect(0, 0, 400, 100)), (std::vector<std::string>{"high", "mid", "mid", "low", "low"}));
}

TEST(TZPChartAxis, MeasuringReportsTitleLabelsAndTicksAndDrawsNothing) {
  TFakeSeries s;
  for (double v : {0.0, 100.0}) s.values.AddPoint(v, v);
  TZPChartAxis a;
  a.SetLocation(caLeft);
  a.BindSeries(s);
  a.Title().SetText("T");
  TRecordingCanvas c;
  a.Measure(c, Rect(0, 0, 200, 300));
  EXPECT_TRUE(c.CallsOf("TextOut").empty());
  EXPECT_TRUE(c.CallsOf("LineTo").empty());
  // Title 5 + margin 3, widest label "100" 16, tick 4.
  EXPECT_EQ(a.UsedWidth(), 28);
  EXPECT_EQ(a.LabelWidth(), 16);

  TZPChartAxis bottom;
  bottom.SetLocation(caBottom);
  bottom.BindSeries(s);
  bottom.Title().SetText("G");
  bottom.Measure(c, Rect(0, 0, 200, 300));
  // Title line 11 + 2 x 3, a label line 11, tick 4.
  EXPECT_EQ(bottom.UsedHeight(), 32);

  // Drawing puts the axis line right of title, labels and ticks.
  a.Draw(c, Rect(0, 0, 200, 300));
  const auto lines = c.CallsOf("LineTo");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].Points, (TPoints{Point(28, 0), Point(28, 300)}));
}

TEST(TZPChartAxis, OptionsDriveTitleLabelsAndGridVisibility) {
  TZPChartAxis a;
  int changes = 0;
  a.OnChange = [&](TZPChartGraphic&) { ++changes; };
  a.SetOptions(TAxisOptions{axShowLabels});
  EXPECT_FALSE(a.Title().Visible());
  EXPECT_FALSE(a.Grid().Visible());
  EXPECT_TRUE(a.Labels().Visible());
  EXPECT_GT(changes, 0);
  a.Title().SetVisible(true);
  EXPECT_TRUE(a.Options().Contains(axShowTitle));
  a.Grid().SetVisible(true);
  EXPECT_TRUE(a.Options().Contains(axShowGrid));
  a.SetLocation(caBottom);
  EXPECT_EQ(a.Dimension(), 0);
}

// ---- the decade axis (ltDecades) ----

namespace {

// A bottom decade axis over one series spanning X From..To.
struct TDecadeAxis : TBottomAxis {
  TDecadeAxis(double From, double To) : TBottomAxis(From, To) {
    axis.SetFormat("#,##0.###");
    axis.SetLogarithmicType(TZPLogarithmicType::ltDecades);
    axis.SetOptions(axis.Options() + TAxisOptions{axLogarithmic});
  }
};

struct TDrawnLabel {
  std::string Text;
  int Centre;  // along the axis
  int From, To;
};

std::vector<TDrawnLabel> DrawnBottomLabels(TZPChartAxis& Axis, const TRect& R) {
  TRecordingCanvas c;
  Axis.Draw(c, R);
  std::vector<TDrawnLabel> labels;
  for (const TCanvasCall& call : c.CallsOf("TextOut")) {
    if (call.Text.empty()) continue;
    const int w = c.TextExtent(call.Text).cx;
    labels.push_back({call.Text, call.Points[0].X + w / 2, call.Points[0].X, call.Points[0].X + w});
  }
  return labels;
}

std::vector<std::string> Texts(const std::vector<TDrawnLabel>& Labels) {
  std::vector<std::string> texts;
  for (const TDrawnLabel& l : Labels) texts.push_back(l.Text);
  return texts;
}

// The short ticks below the axis line of a bottom axis drawn in R: their x.
std::vector<int> TicksOfLength(const TRecordingCanvas& C, int Length) {
  std::vector<int> xs;
  for (const TCanvasCall& call : C.CallsOf("LineTo"))
    if (call.Points.size() == 2 && call.Points[0].X == call.Points[1].X &&
        std::abs(call.Points[1].Y - call.Points[0].Y) == Length)
      xs.push_back(call.Points[0].X);
  return xs;
}

}  // namespace

TEST(TZPLogarithmicType, TheOlderNamesKeepTheirPlacesAndTheDecadeAxisIsNamed) {
  EXPECT_EQ(kLogarithmicTypeNames.size(), 4u);
  EXPECT_EQ(EnumFromName<TZPLogarithmicType>(kLogarithmicTypeNames, "ltCompressRight"),
            TZPLogarithmicType::ltCompressRight);
  EXPECT_EQ(EnumFromName<TZPLogarithmicType>(kLogarithmicTypeNames, "ltCompressLeft"),
            TZPLogarithmicType::ltCompressLeft);
  EXPECT_EQ(EnumFromName<TZPLogarithmicType>(kLogarithmicTypeNames, "ltFishEye"), TZPLogarithmicType::ltFishEye);
  EXPECT_EQ(EnumFromName<TZPLogarithmicType>(kLogarithmicTypeNames, "ltDecades"), TZPLogarithmicType::ltDecades);
  EXPECT_EQ(static_cast<int>(TZPLogarithmicType::ltFishEye), 2);
  EXPECT_EQ(EnumName(kLogarithmicTypeNames, TZPLogarithmicType::ltDecades), "ltDecades");
  // A new axis keeps the chart's own default.
  EXPECT_EQ(TZPChartAxis().LogarithmicType(), TZPLogarithmicType::ltCompressRight);
}

TEST(TZPChartAxis, DecadeAxisMapsLog10AndBack) {
  TZPChartAxis a;
  a.SetLocation(caBottom);
  a.SetMaximum(1200);
  a.SetMinimum(1);
  a.SetLogarithmicType(TZPLogarithmicType::ltDecades);
  a.SetOptions(a.Options() + TAxisOptions{axLogarithmic});
  EXPECT_TRUE(a.DecadeTicks());
  const TRect r = Rect(0, 0, 1000, 10);
  // log10(10) / log10(1200) = 0.32476: each decade takes 324.8 pixels.
  EXPECT_EQ(a.ValueToPixel(r, 1), 0);
  EXPECT_EQ(a.ValueToPixel(r, 10), 325);
  EXPECT_EQ(a.ValueToPixel(r, 100), 650);
  EXPECT_EQ(a.ValueToPixel(r, 1000), 974);
  EXPECT_EQ(a.ValueToPixel(r, 1200), 1000);
  EXPECT_EQ(a.ValueToPixel(r, 0), 0);  // generation 0: the axis start
  EXPECT_NEAR(a.PixelToValue(r, 325), 10, 0.1);
  EXPECT_NEAR(a.PixelToValue(r, 650), 100, 1);
  EXPECT_EQ(a.PixelToValue(r, -5), 1);
  EXPECT_EQ(a.PixelToValue(r, 1005), 1200);

  // From 0 the axis starts at 1; vertical axes grow upwards.
  TZPChartAxis v;
  v.SetLocation(caLeft);
  v.SetMaximum(100);
  v.SetLogarithmicType(TZPLogarithmicType::ltDecades);
  v.SetOptions(v.Options() + TAxisOptions{axLogarithmic});
  const TRect tall = Rect(0, 0, 10, 1000);
  EXPECT_EQ(v.ValueToPixel(tall, 0), 1000);
  EXPECT_EQ(v.ValueToPixel(tall, 1), 1000);
  EXPECT_EQ(v.ValueToPixel(tall, 10), 500);
  EXPECT_EQ(v.ValueToPixel(tall, 100), 0);
  EXPECT_NEAR(v.PixelToValue(tall, 500), 10, 0.01);
}

TEST(TZPChartAxis, DecadeLabelsSitAtThePowersOfTenFromOneTo1200) {
  TDecadeAxis b(1, 1200);
  const TRect r = Rect(0, 0, 1000, 100);
  const auto labels = DrawnBottomLabels(b.axis, r);
  // Three decades and more: the powers of ten alone, thousands grouped.
  EXPECT_EQ(Texts(labels), (std::vector<std::string>{"1,000", "100", "10", "1"}));
  for (const TDrawnLabel& l : labels) {
    std::string digits = l.Text;
    std::erase(digits, ',');
    EXPECT_NEAR(l.Centre, b.axis.ValueToPixel(r, std::stod(digits)), 1) << l.Text;
  }
  EXPECT_NEAR(labels[1].Centre, 650, 1);
  EXPECT_NEAR(labels[2].Centre, 325, 1);
  EXPECT_NEAR(labels[3].Centre, 0, 1);

  // Ticks: a long one at each power of ten, short ones at 2..9 times each.
  TRecordingCanvas c;
  b.axis.Draw(c, r);
  const std::vector<int> major = TicksOfLength(c, b.axis.Grid().TickLength());
  EXPECT_EQ(major, (std::vector<int>{0, 325, 650, 974}));
  const std::vector<int> minor = TicksOfLength(c, b.axis.Grid().MinorTickLength());
  ASSERT_EQ(minor.size(), 24u);  // 2..9, 20..90, 200..900; 2,000 is past 1,200
  EXPECT_EQ(minor[0], b.axis.ValueToPixel(r, 2));
  EXPECT_EQ(minor[7], b.axis.ValueToPixel(r, 9));
  EXPECT_EQ(minor[8], b.axis.ValueToPixel(r, 20));
  EXPECT_EQ(minor.back(), b.axis.ValueToPixel(r, 900));
}

TEST(TZPChartAxis, DecadeLabelsFromOneToAMillionStayApart) {
  TDecadeAxis b(1, 1e6);
  // Wide: every power of ten.
  const TRect wide = Rect(0, 0, 1200, 100);
  const auto all = DrawnBottomLabels(b.axis, wide);
  EXPECT_EQ(Texts(all), (std::vector<std::string>{"1,000,000", "100,000", "10,000", "1,000", "100", "10", "1"}));
  for (size_t i = 0; i < all.size(); ++i) EXPECT_NEAR(all[i].Centre, 1200 - 200 * static_cast<int>(i), 1);
  // 330 pixels (a 400 x 250 picture's plot): every second power, apart by the separation.
  const TRect narrow = Rect(0, 0, 330, 100);
  const auto some = DrawnBottomLabels(b.axis, narrow);
  ASSERT_GE(some.size(), 3u);
  EXPECT_EQ(some.back().Text, "1");
  for (size_t i = 1; i < some.size(); ++i) EXPECT_GE(some[i - 1].From - some[i].To, 33) << some[i].Text;
  EXPECT_EQ(Texts(some), (std::vector<std::string>{"1,000,000", "10,000", "100", "1"}));
}

TEST(TZPChartAxis, DecadeAxesOfFewerThanThreeDecadesLabelTheirEnds) {
  // From 0: the axis starts at 1, 200 is labelled at the end.
  TDecadeAxis g(0, 200);
  const TRect r = Rect(0, 0, 600, 100);
  const auto labels = DrawnBottomLabels(g.axis, r);
  EXPECT_EQ(Texts(labels), (std::vector<std::string>{"100", "10", "1", "200"}));
  EXPECT_NEAR(labels.back().Centre, 600, 1);
  // A zoom window without a power of ten at either end.
  TDecadeAxis z(1, 1000);
  z.axis.ZoomToValues({3.2, 3.2, 150, 150});
  EXPECT_EQ(Texts(DrawnBottomLabels(z.axis, r)), (std::vector<std::string>{"100", "10", "150", "3.2"}));
  // Not even one power of ten: the ends alone.
  z.axis.ZoomToValues({2, 2, 8, 8});
  EXPECT_EQ(Texts(DrawnBottomLabels(z.axis, r)), (std::vector<std::string>{"8", "2"}));
  // An end that would crowd a power of ten stays out.
  TDecadeAxis c(1, 110);
  EXPECT_EQ(Texts(DrawnBottomLabels(c.axis, r)), (std::vector<std::string>{"100", "10", "1"}));
}

TEST(TZPChartAxis, ALinearAxisLabelsItsMaximumWhenItIsATick) {
  // 0 .. 1 on 150 pixels upright: 0.2 steps, every second one labelled, counted from the 1.
  TFakeSeries s;
  s.values.AddPoint(0, 0);
  s.values.AddPoint(1, 1);
  TZPChartAxis a;
  a.SetLocation(caLeft);
  a.BindSeries(s);
  const auto labels = DrawnLabels(a, Rect(0, 0, 100, 75));
  ASSERT_FALSE(labels.empty());
  EXPECT_EQ(labels.front(), "1");
  EXPECT_LT(labels.size(), 6u);
  // A maximum between ticks leaves the multiples of the step as they were.
  TBottomAxis b(1, 37);
  EXPECT_EQ(DrawnLabels(b.axis, Rect(0, 0, 400, 100)),
            (std::vector<std::string>{"35", "30", "25", "20", "15", "10", "5"}));
}
