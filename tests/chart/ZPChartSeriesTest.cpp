// The series base: defaults, attaching to a panel and its axes, the notices
// and their update bracket, stacking groups, the visible index range, value
// label texts, hit tests and assignment.
#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/NextAutoColor.h"
#include "platform/Exceptions.h"

using namespace zp;
using namespace zp::chart;
using namespace zp::chart::testing;
using enum TChartOption;

TEST(TZPChart, DefaultsOfABareSeries) {
  TZPChart s;
  EXPECT_EQ(s.Options(), (TChartOptions{coColorEachPoint, coShowInLegend, coAllowSingleValue, coLabelEachPoint}));
  EXPECT_TRUE(s.Visible());
  EXPECT_TRUE(s.ParentFont());
  EXPECT_EQ(s.Brush().Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(s.Color(), s.Brush().Color());
  EXPECT_EQ(s.SelectionColor(), clActiveBorder);
  EXPECT_EQ(s.HoverCursor(), crSizeAll);
  EXPECT_EQ(s.ValueLabelFormat(), "#,##0.###");
  EXPECT_EQ(s.ValueLabelStyle(), TZPLegendTextStyle::ltsCaption);
  EXPECT_EQ(s.HorizAxis(), THorizontalAxis::haBottomAxis);
  EXPECT_EQ(s.VertAxis(), TVerticalAxis::vaLeftAxis);
  EXPECT_FALSE(s.Preview());
  EXPECT_EQ(s.Parent(), nullptr);
  EXPECT_FALSE(s.CanDraw());
}

TEST(TZPChart, SeriesTakeTheNextPaletteColours) {
  const int start = AutoColorIndex();
  TZPChart a, b;
  EXPECT_EQ(a.Color(), kAutoColors[static_cast<size_t>(start)]);
  EXPECT_EQ(b.Color(), kAutoColors[static_cast<size_t>((start + 1) % 10)]);
}

TEST(TZPChart, AttachingBindsTheBottomAndLeftAxesAndMakesThemVisible) {
  TZPChartPanel panel;
  panel.SetSelectionColor(clRed);
  TZPChart s;
  s.SetParent(&panel);
  EXPECT_EQ(panel.Charts().Count(), 1);
  EXPECT_EQ(panel.Charts().FirstVisible(), &s);
  EXPECT_EQ(panel.Charts().VisibleCount(), 1);
  EXPECT_EQ(s.HorizAxisObject(), &panel.BottomAxis());
  EXPECT_EQ(s.VertAxisObject(), &panel.LeftAxis());
  EXPECT_TRUE(panel.BottomAxis().Visible());
  EXPECT_TRUE(panel.LeftAxis().Visible());
  EXPECT_EQ(s.SelectionColor(), clRed);  // taken from the panel
  EXPECT_TRUE(s.CanDraw());

  s.SetVertAxis(TVerticalAxis::vaRightAxis);
  EXPECT_EQ(s.VertAxisObject(), &panel.RightAxis());
  EXPECT_TRUE(panel.LeftAxis().Charts().empty());
  EXPECT_FALSE(panel.LeftAxis().Visible());  // no visible series left on it
  s.SetHorizAxis(THorizontalAxis::haCustomAxis);
  EXPECT_EQ(s.HorizAxisObject(), nullptr);
  EXPECT_FALSE(s.CanDraw());  // never drawn without a horizontal axis

  s.SetParent(nullptr);
  EXPECT_EQ(panel.Charts().Count(), 0);
  EXPECT_EQ(panel.Charts().VisibleCount(), 0);
  EXPECT_TRUE(panel.RightAxis().Charts().empty());
}

TEST(TZPChart, AnOwnerPanelBecomesTheParent) {
  TZPChartPanel panel;
  TZPChart s(&panel);
  EXPECT_EQ(s.Parent(), &panel);
  EXPECT_EQ(panel.Charts().IndexOf(&s), 0);
}

TEST(TZPChart, EitherSideMayGoFirst) {
  auto panel = std::make_unique<TZPChartPanel>();
  auto a = std::make_unique<TZPChart>();
  auto b = std::make_unique<TZPChart>();
  a->SetParent(panel.get());
  b->SetParent(panel.get());
  a.reset();  // the series goes: it leaves the list and the axes
  EXPECT_EQ(panel->Charts().Count(), 1);
  EXPECT_EQ(panel->LeftAxis().Charts().size(), 1u);
  panel.reset();  // the panel goes: the remaining series lets go of it
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_EQ(b->HorizAxisObject(), nullptr);
}

TEST(TZPChart, ValueNoticesReachPanelAxesAndEvents) {
  TRecordingHost host;
  TZPChartPanel panel;
  panel.SetHost(&host);
  int panel_value_changes = 0, value_changes = 0;
  panel.OnChartValueChange = [&](TZPCustomChartPanel&, TZPCustomChart&, TZPChartValue*) { ++panel_value_changes; };
  TZPLineChart s;
  s.SetParent(&panel);
  s.OnValueChange = [&](TZPCustomChart&, TZPChartValue*) { ++value_changes; };
  const int before = host.invalidates;
  s.Values().AddPoint(1, 2);
  EXPECT_EQ(panel_value_changes, 1);
  EXPECT_EQ(value_changes, 1);
  EXPECT_GT(host.invalidates, before);
  EXPECT_TRUE(panel.LeftAxis().NeedsRange());
  EXPECT_EQ(s.LastIndex(), 0);

  // An invisible series stays silent.
  s.SetVisible(false);
  s.Values().AddPoint(2, 3);
  EXPECT_EQ(panel_value_changes, 1);
  EXPECT_EQ(value_changes, 1);
  EXPECT_EQ(panel.Charts().VisibleCount(), 0);
  EXPECT_EQ(panel.Charts().FirstVisible(), nullptr);
}

TEST(TZPChart, AnUpdateBracketSendsOneChangeAndNoValueNotices) {
  TZPChartPanel panel;
  TZPLineChart s;
  s.SetParent(&panel);
  int changes = 0, value_changes = 0;
  s.OnChange = [&](TZPCustomChart&) { ++changes; };
  s.OnValueChange = [&](TZPCustomChart&, TZPChartValue*) { ++value_changes; };
  s.BeginUpdate();
  for (int i = 0; i < 100; ++i) s.Values().AddPoint(i, i);
  EXPECT_EQ(changes, 0);
  s.EndUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(value_changes, 0);
  EXPECT_EQ(s.FirstIndex(), 0);
  EXPECT_EQ(s.LastIndex(), 99);
}

TEST(TZPChart, AGroupStyleReachesTheWholeGroup) {
  TZPChartPanel panel;
  TZPChart a, b, c;
  for (TZPChart* s : {&a, &b, &c}) s->SetParent(&panel);
  a.SetGroup(1);
  b.SetGroup(1);
  b.SetGroupStyle(TZPGroupStyle::gsStacked);
  EXPECT_EQ(a.GroupStyle(), TZPGroupStyle::gsStacked);
  EXPECT_TRUE(a.Options().Contains(coUseVerticalOffset));
  EXPECT_TRUE(b.Options().Contains(coUseVerticalOffset));
  EXPECT_EQ(c.GroupStyle(), TZPGroupStyle::gsNone);
  a.SetGroupStyle(TZPGroupStyle::gsNone);
  EXPECT_FALSE(b.Options().Contains(coUseVerticalOffset));
  a.SetGroup(-4);
  EXPECT_EQ(a.Group(), 0);
}

TEST(TZPChart, AZoomWindowKeepsOneValueBeyondEachEdge) {
  TLinePanel p;
  TZPLineChart& s = p.Add({{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}});
  FixRange(p.panel.BottomAxis(), 1, 8);
  p.panel.BottomAxis().ZoomToValues({3, 0, 5, 0});
  EXPECT_TRUE(p.panel.BottomAxis().Zoomed());
  EXPECT_EQ(s.FirstIndex(), 1);  // X = 2
  EXPECT_EQ(s.LastIndex(), 5);   // X = 6
  EXPECT_EQ(s.IndexCount(), 5);
  p.panel.BottomAxis().ResetZoom();
  EXPECT_EQ(s.FirstIndex(), 0);
  EXPECT_EQ(s.LastIndex(), 7);
}

TEST(TZPChart, ValueLabelTextInEveryStyle) {
  TZPChart s;
  s.SetCaption("Cap");
  TZPChartValue& v = s.Values().AddValues({25}, kAutoValueColor, "");
  s.Values().AddValues({-75}, kAutoValueColor, "");
  using enum TZPLegendTextStyle;
  // No vertical axis: four decimals.
  EXPECT_EQ(s.ValueLabelText(v, ltsValue), "25.0000");
  EXPECT_EQ(s.ValueLabelText(v, ltsCaption), "Cap");
  EXPECT_EQ(s.ValueLabelText(v, ltsValueNCaption), "25.0000 Cap");
  EXPECT_EQ(s.ValueLabelText(v, ltsCaptionNValue), "Cap 25.0000");
  EXPECT_EQ(s.ValueLabelText(v, ltsPercent), "25.00 %");
  EXPECT_EQ(s.ValueLabelText(v, ltsPercentNCaption), "25.00 % Cap");
  EXPECT_EQ(s.ValueLabelText(v, ltsCaptionNPercent), "Cap 25.00 %");

  // With a vertical axis its Format decides.
  TZPChartPanel panel;
  s.SetParent(&panel);
  panel.LeftAxis().SetFormat("0.0");
  EXPECT_EQ(s.ValueLabelText(v, ltsValue), "25.0");
  panel.LeftAxis().SetFormat("");
  EXPECT_EQ(s.ValueLabelText(v, ltsValue), "25.0000");
}

TEST(TZPChart, PercentOfAPointIsItsShareOfTheYSum) {
  TZPLineChart s;
  TZPChartValue& first = s.Values().AddPoint(100, 25);
  s.Values().AddPoint(300, -75);
  EXPECT_EQ(s.ValueLabelText(first, TZPLegendTextStyle::ltsPercent), "25.00 %");
}

TEST(TZPChart, PercentOfAnAllZeroListIsZero) {
  TZPChart s;
  TZPChartValue& v = s.Values().AddValues({0}, kAutoValueColor, "");
  EXPECT_EQ(s.ValueLabelText(v, TZPLegendTextStyle::ltsPercent), "0.00 %");
}

TEST(TZPChart, ValueLabelsStandCentredAboveThePoint) {
  TZPChart s;
  TZPChartValue& v = s.Values().AddValues({3}, kAutoValueColor, "");
  TRecordingCanvas c;
  s.DrawValueLabel(c, v, 50, 20);
  const auto texts = c.CallsOf("DrawText");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "");                    // ltsCaption of an uncaptioned series
  EXPECT_EQ(texts[0].Rect, Rect(20, 45, 20, 45));  // raised by half the height of "W" (11 / 2)
  EXPECT_EQ(texts[0].Ints[0] & (DT_CENTER | DT_NOCLIP), DT_CENTER | DT_NOCLIP);
}

TEST(TZPChart, SelectionAndHitTestsWorkInPixels) {
  TRecordingHost host;  // outlives the panel, which still invalidates as its series leave
  TLinePanel p;
  TZPLineChart& s = p.Add({{2, 2}, {5, 5}, {8, 8}});
  TRecordingCanvas c;
  p.panel.Draw(c, Rect(0, 0, 400, 300));
  const TRect plot = p.panel.PlotRect();
  auto at = [&](double x, double y) {
    return Point(p.panel.BottomAxis().ValueToPixel(plot, x), p.panel.LeftAxis().ValueToPixel(plot, y));
  };
  const TPoint mid = at(5, 5);
  const TRect around{mid.X - 3, mid.Y - 3, mid.X + 3, mid.Y + 3};
  EXPECT_TRUE(s.HasValueIn(around));
  EXPECT_FALSE(s.HasValueIn(Rect(plot.Left, plot.Top, plot.Left + 5, plot.Top + 5)));

  s.SelectValues(around, 2);
  EXPECT_FALSE(s.Values().Items(0).Selected());
  EXPECT_TRUE(s.Values().Items(1).Selected());
  EXPECT_FALSE(s.Values().Items(2).Selected());

  p.panel.SetHost(&host);
  s.MouseOver(around);
  ASSERT_FALSE(host.cursors.empty());
  EXPECT_EQ(host.cursors.back(), crSizeAll);
}

TEST(TZPChart, AssignCopiesLookDataAndAxes) {
  TZPChartPanel panel;
  TZPLineChart a, b;
  a.SetParent(&panel);
  b.SetParent(&panel);
  a.SetCaption("A");
  a.SetColor(clTeal);
  a.SetVertAxis(TVerticalAxis::vaRightAxis);
  a.SetLineStyle(TLineChartStyle::lsStairStep);
  a.SetValueLabelStyle(TZPLegendTextStyle::ltsValue);
  a.Values().AddPoint(1, 2);
  a.Values().AddPoint(3, 4);
  int changes = 0;
  b.OnChange = [&](TZPCustomChart&) { ++changes; };
  b.Assign(a);
  EXPECT_EQ(changes, 1);  // one bracket
  EXPECT_EQ(b.Caption(), "A");
  EXPECT_EQ(b.Color(), clTeal);
  EXPECT_EQ(b.VertAxisObject(), &panel.RightAxis());
  EXPECT_EQ(b.LineStyle(), TLineChartStyle::lsStairStep);
  EXPECT_EQ(b.ValueLabelStyle(), TZPLegendTextStyle::ltsValue);
  ASSERT_EQ(b.Values().Count(), 2);
  EXPECT_EQ(b.Values().Items(1).X(), 3);
  TZPChartPanel other;
  EXPECT_THROW(b.Assign(other), EConvertError);
}

TEST(TZPChartList, WithoutAPanelCountsWhenAsked) {
  TZPChartList list;
  TZPChart a, b;
  list.Add(a);
  list.Add(b);
  list.Add(a);  // already there
  EXPECT_EQ(list.Count(), 2);
  a.SetVisible(false);
  EXPECT_EQ(list.VisibleCount(), 1);
  EXPECT_EQ(list.FirstVisible(), &b);
  int notices = 0;
  list.OnChange = [&](TZPChartList&, TZPCustomChart& s, TListNotification n) {
    ++notices;
    EXPECT_EQ(&s, &b);
    EXPECT_EQ(n, TListNotification::lnDeleted);
  };
  list.Remove(b);
  list.Remove(b);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(list.IndexOf(&b), -1);
}

// Listed and parented go together, whichever side is changed; a panel with
// series added through its list ends (this test has a ctest timeout: a
// regression loops forever in the panel's destructor).
TEST(TZPChartList, APanelsListKeepsParentInStep) {
  auto panel = std::make_unique<TZPChartPanel>();
  TZPChart added, removed;
  panel->Charts().Add(added);
  EXPECT_EQ(added.Parent(), panel.get());
  EXPECT_EQ(added.HorizAxisObject(), &panel->BottomAxis());
  EXPECT_EQ(panel->Charts().VisibleCount(), 1);
  EXPECT_TRUE(added.CanDraw());

  removed.SetParent(panel.get());
  panel->Charts().Remove(removed);
  EXPECT_EQ(removed.Parent(), nullptr);
  EXPECT_EQ(removed.VertAxisObject(), nullptr);
  EXPECT_EQ(panel->LeftAxis().Charts().size(), 1u);
  EXPECT_EQ(panel->Charts().VisibleCount(), 1);

  // Moving a series to another panel through that panel's list.
  TZPChartPanel other;
  other.Charts().Add(added);
  EXPECT_EQ(added.Parent(), &other);
  EXPECT_EQ(panel->Charts().Count(), 0);
  EXPECT_EQ(panel->Charts().FirstVisible(), nullptr);
  other.Charts().Remove(added);
  panel->Charts().Add(added);
  panel.reset();
  EXPECT_EQ(added.Parent(), nullptr);
}

TEST(TZPChartList, AFreedSeriesLeavesNoEntry) {
  TZPChartPanel panel;
  auto a = std::make_unique<TZPChart>();
  TZPChart b;
  panel.Charts().Add(*a);
  panel.Charts().Add(b);
  a.reset();
  ASSERT_EQ(panel.Charts().Count(), 1);
  EXPECT_EQ(panel.Charts().Items(0), &b);
  EXPECT_EQ(panel.Charts().FirstVisible(), &b);
  // A series the panel owns is dropped as well.
  auto* owned = new TZPChart(&panel);
  EXPECT_EQ(panel.Charts().Count(), 2);
  delete owned;
  EXPECT_EQ(panel.Charts().Count(), 1);
  TRecordingCanvas canvas;
  panel.Paint(canvas, Rect(0, 0, 400, 300));  // nothing dangling is drawn
}
