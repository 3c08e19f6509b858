// The chart panel: defaults, the layout (margins, border, header and footer
// strips, legend cut, axis room, plot rectangle), the paint order and its
// events, change and font propagation, and the mouse gestures.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ChartTestSupport.h"

using namespace zp;
using namespace zp::chart;
using namespace zp::chart::testing;
using enum TShiftStateFlag;

namespace {

// Records the rectangle each element was handed and the order of drawing.
struct TDrawLog {
  std::vector<std::string> order;
  std::map<std::string, TRect> rects;
  void Watch(TZPChartGraphic& Element, const std::string& Name) {
    Element.OnDraw = [this, Name](TZPChartGraphic&, TCanvas&, TRect r) {
      order.push_back(Name);
      rects[Name] = r;
    };
  }
  void WatchPanel(TZPChartPanel& P) {
    Watch(P.Background(), "Background");
    Watch(P.Gradient(), "Gradient");
    Watch(P.Header(), "Header");
    Watch(P.Footer(), "Footer");
    Watch(P.BottomAxis(), "BottomAxis");
    Watch(P.TopAxis(), "TopAxis");
    Watch(P.LeftAxis(), "LeftAxis");
    Watch(P.RightAxis(), "RightAxis");
    Watch(P.Legend(), "Legend");
    Watch(P.Foreground(), "Foreground");
    P.OnDrawCharts = [this](TZPCustomChartPanel&, TCanvas&, TRect r) {
      order.push_back("Charts");
      rects["Charts"] = r;
    };
  }
};

// The five series of the workbench's graph, with a few points each.
void AddFiveSeries(TLinePanel& P) {
  const char* captions[] = {"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist"};
  const TColor pens[] = {0x00FF00, 0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF};
  for (int i = 0; i < 5; ++i) {
    TZPLineChart& s = P.Add({{1, 1.0 + i}, {5, 5.0 + i / 2.0}});
    s.SetCaption(captions[i]);
    s.Pen().SetColor(pens[i]);
  }
}

}  // namespace

TEST(TZPChartPanel, Defaults) {
  TZPChartPanel p;
  EXPECT_EQ(p.Width(), 400);
  EXPECT_EQ(p.Height(), 300);
  EXPECT_EQ(p.Margins().Rect(), Rect(3, 4, 3, 4));
  EXPECT_EQ(p.EdgeWidth(), 1);  // a raised outer bevel one pixel wide
  EXPECT_EQ(p.Header().Text(), "Chart");
  EXPECT_EQ(p.Header().Font().Color(), clBlue);
  EXPECT_EQ(p.Footer().Text(), "Footer");
  EXPECT_EQ(p.Footer().Font().Color(), clRed);
  EXPECT_EQ(p.LeftAxis().Title().Angle(), 90);
  EXPECT_EQ(p.RightAxis().Title().Angle(), 270);
  EXPECT_EQ(p.LeftAxis().Location(), TZPChartAxisLocation::caLeft);
  EXPECT_EQ(p.TopAxis().Location(), TZPChartAxisLocation::caTop);
  EXPECT_TRUE(p.Background().Visible());
  EXPECT_FALSE(p.Foreground().Visible());
  EXPECT_EQ(p.Background().Brush().Color(), clBtnFace);
  EXPECT_EQ(p.ChartShadow().Size(), 2);
  EXPECT_EQ(p.UserActions(), (TChartUserActions{TChartUserAction::cuaZoom, TChartUserAction::cuaPan}));
  EXPECT_EQ(p.UserZoom(), TShiftState{ssLeft});
  EXPECT_EQ(p.UserPan(), (TShiftState{ssAlt, ssLeft}));
  EXPECT_EQ(p.UserSelect(), (TShiftState{ssCtrl, ssLeft}));
  EXPECT_EQ(p.SelectionColor(), clActiveBorder);
  EXPECT_EQ(p.Charts().Count(), 0);
}

TEST(TZPChartPanel, LayoutOfHeaderFooterAndTenPixelAxisRoom) {
  TZPChartPanel p;
  for (TZPChartAxis* a : {&p.BottomAxis(), &p.TopAxis(), &p.LeftAxis(), &p.RightAxis()}) a->SetVisible(false);
  TDrawLog log;
  log.WatchPanel(p);
  TRecordingCanvas c;
  p.Draw(c, Rect(0, 0, 400, 300));
  // Margins 3, 4, 3, 4 and the one-pixel bevel leave (4, 5, 396, 295).
  EXPECT_EQ(log.rects["Background"], Rect(4, 5, 396, 295));
  EXPECT_EQ(log.rects["Gradient"], Rect(4, 5, 396, 295));
  // The header's rectangle starts at the canvas origin; its strip is 24 high.
  EXPECT_EQ(log.rects["Header"], Rect(0, 0, 396, 5 + 24));
  EXPECT_EQ(log.rects["Footer"], Rect(0, 295 - 24, 396, 295));
  const auto strips = c.CallsOf("TextRect");
  ASSERT_EQ(strips.size(), 2u);
  EXPECT_EQ(strips[0].Text, "Chart");
  EXPECT_EQ(strips[0].Rect, Rect(0, 0, 396, 24));
  EXPECT_EQ(strips[1].Text, "Footer");
  EXPECT_EQ(strips[1].Rect, Rect(0, 271, 396, 295));
  // No legend lines: no legend. Invisible axes leave 10 pixels each.
  EXPECT_EQ(log.rects.count("Legend"), 0u);
  EXPECT_EQ(p.PlotRect(), Rect(14, 39, 386, 261));
  EXPECT_EQ(log.rects["Charts"], Rect(14, 39, 386, 261));

  // An axis moved inwards does not reserve its room but is drawn.
  p.LeftAxis().SetVisible(true);
  p.LeftAxis().SetInwardPosition(20);
  p.Draw(c, Rect(0, 0, 400, 300));
  EXPECT_EQ(p.PlotRect(), Rect(14, 39, 386, 261));
  EXPECT_EQ(log.rects["LeftAxis"], Rect(4, 39, 386, 261));
}

TEST(TZPChartPanel, VisibleAxesReserveWhatTheyMeasured) {
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  p.Legend().SetVisible(false);
  p.TopAxis().SetVisible(false);
  p.RightAxis().SetVisible(false);
  lp.Add({{0, 0}, {10, 10}});
  TDrawLog log;
  log.WatchPanel(p);
  TRecordingCanvas c;
  p.Draw(c, Rect(0, 0, 400, 300));
  const TRect inner{4, 29, 396, 271};
  TRecordingCanvas m;
  p.LeftAxis().Measure(m, inner);
  const int left = p.LeftAxis().UsedWidth();
  p.BottomAxis().Measure(m, inner);
  const int bottom = p.BottomAxis().UsedHeight();
  EXPECT_GT(left, 10);
  EXPECT_GT(bottom, 10);
  EXPECT_EQ(p.PlotRect(), Rect(inner.Left + left, inner.Top + 10, inner.Right - 10, inner.Bottom - bottom));
  EXPECT_EQ(log.rects["BottomAxis"], Rect(inner.Left + left, inner.Top + 10, inner.Right - 10, inner.Bottom));
  EXPECT_EQ(log.rects["LeftAxis"], Rect(inner.Left, inner.Top + 10, inner.Right - 10, inner.Bottom - bottom));
  // The axis titles are drawn.
  p.LeftAxis().Title().SetText("Fitness");
  p.BottomAxis().Title().SetText("Generation");
  c.Clear();
  p.Draw(c, Rect(0, 0, 400, 300));
  std::vector<std::string> texts;
  for (const TCanvasCall& call : c.Calls())
    if (call.Op == "TextOut" || call.Op == "TextRect" || call.Op == "DrawText") texts.push_back(call.Text);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Fitness"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Generation"), texts.end());
}

TEST(TZPChartPanel, TheLegendListsFiveSeriesAndCutsThePlot) {
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  p.TopAxis().SetVisible(false);
  p.RightAxis().SetVisible(false);
  AddFiveSeries(lp);
  const TStrings& lines = p.Legend().Lines();
  ASSERT_EQ(lines.Count(), 5);
  EXPECT_EQ(lines.Strings(0), "Roulette");
  EXPECT_EQ(lines.Strings(3), "Stochastic Tournament");
  EXPECT_EQ(TZPChartLegend::LineColor(lines, 0), 0x00FF00u);
  EXPECT_EQ(TZPChartLegend::LineColor(lines, 3), 0xFF0000u);
  EXPECT_EQ(TZPChartLegend::LineColor(lines, 4), 0xFF00FFu);

  TDrawLog log;
  log.WatchPanel(p);
  TRecordingCanvas c;
  p.Paint(c);
  const TRect area{4, 29, 396, 271};
  TRecordingCanvas m;
  m.Font().Assign(p.Legend().Font());
  int item_width = 0;
  const TRect l = p.Legend().CalcRect(m, area, item_width);
  EXPECT_EQ(l.Right, 396);
  EXPECT_EQ(log.rects["Legend"], area);  // drawn over the area before the cut
  EXPECT_EQ(p.PlotRect().Right, l.Left - 10);
  EXPECT_EQ(p.PlotRect().Top, l.Top + 10);
  // Five captions, the last texts drawn.
  std::vector<std::string> captions;
  for (const TCanvasCall& call : c.CallsOf("TextOut")) captions.push_back(call.Text);
  ASSERT_GE(captions.size(), 5u);
  captions.erase(captions.begin(), captions.end() - 5);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist"}));
  const auto order = log.order;
  EXPECT_LT(std::find(order.begin(), order.end(), "Charts"), std::find(order.begin(), order.end(), "Legend"));
}

TEST(TZPChartPanel, OverlaidLegendLeavesThePlotWhole) {
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  for (TZPChartAxis* a : {&p.BottomAxis(), &p.TopAxis(), &p.LeftAxis(), &p.RightAxis()}) a->SetVisible(false);
  AddFiveSeries(lp);
  for (TZPChartAxis* a : {&p.BottomAxis(), &p.TopAxis(), &p.LeftAxis(), &p.RightAxis()}) a->SetVisible(false);
  p.Legend().SetOverlay(true);
  TDrawLog log;
  log.WatchPanel(p);
  TRecordingCanvas c;
  p.Draw(c, Rect(0, 0, 400, 300));
  EXPECT_EQ(p.PlotRect(), Rect(14, 39, 386, 261));
  EXPECT_EQ(log.order.back(), "Legend");
}

TEST(TZPChartPanel, PaintOrderAndClipping) {
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  AddFiveSeries(lp);
  p.Foreground().SetVisible(true);
  TDrawLog log;
  log.WatchPanel(p);
  TRecordingCanvas c;
  p.Paint(c);
  EXPECT_EQ(log.order, (std::vector<std::string>{"Background", "Gradient", "Header", "Footer", "BottomAxis", "TopAxis",
                                                 "LeftAxis", "RightAxis", "Charts", "Legend", "Foreground"}));
  // On its own canvas the series are clipped to the plot rectangle.
  const auto clips = c.CallsOf("SetClipRect");
  ASSERT_FALSE(clips.empty());
  EXPECT_EQ(clips[0].Rect, p.PlotRect());
  const auto lines = c.CallsOf("Polyline");
  const auto series_line =
      std::find_if(lines.begin(), lines.end(), [](const TCanvasCall& k) { return k.Pen.Width == 2; });
  ASSERT_NE(series_line, lines.end());
  EXPECT_EQ(series_line->Clip, p.PlotRect());
  // Another canvas gets everything, unclipped.
  TRecordingCanvas other;
  p.Draw(other, Rect(0, 0, 400, 300));
  EXPECT_TRUE(other.CallsOf("SetClipRect").empty());
  EXPECT_EQ(other.CallsOf("Polyline").size(), c.CallsOf("Polyline").size() - 2);  // the bevel's two
}

TEST(TZPChartPanel, DrawingEventsCanSuppressTheirPart) {
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  AddFiveSeries(lp);
  bool drawn = false;
  p.OnDraw = [&](TZPCustomChartPanel&, TCanvas&, TRect) { drawn = true; };
  p.OnDrawing = [](TZPCustomChartPanel&, TCanvas&, TRect, bool& DoDraw) { DoDraw = false; };
  TRecordingCanvas c;
  p.Draw(c, Rect(0, 0, 400, 300));
  EXPECT_TRUE(c.Calls().empty());
  EXPECT_FALSE(drawn);
  p.OnDrawing = nullptr;
  int series_drawn = 0;
  for (auto& s : lp.series) s->OnDraw = [&](TZPCustomChart&, TCanvas&, TRect) { ++series_drawn; };
  p.OnDrawingCharts = [](TZPCustomChartPanel&, TCanvas&, TRect, bool& DoDraw) { DoDraw = false; };
  p.Draw(c, Rect(0, 0, 400, 300));
  EXPECT_EQ(series_drawn, 0);
  EXPECT_TRUE(drawn);
  p.OnDrawingCharts = nullptr;
  lp.series[1]->SetVisible(false);
  p.Draw(c, Rect(0, 0, 400, 300));
  EXPECT_EQ(series_drawn, 4);
}

TEST(TZPChartPanel, ChangesInvalidateAndNotify) {
  int changes = 0, chart_changes = 0;  // outlive the panel, whose last changes still count
  TRecordingHost host;
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  p.SetHost(&host);
  p.OnChange = [&](TZPCustomChartPanel&) { ++changes; };
  p.OnChartChange = [&](TZPCustomChartPanel&, TZPCustomChart&) { ++chart_changes; };
  TZPLineChart& s = lp.Add();
  lp.Add();
  (void)p.Legend().Lines();
  ASSERT_FALSE(p.Legend().Dirty());
  host.invalidates = 0;
  s.Values().AddPoint(1, 1);
  EXPECT_GT(host.invalidates, 0);
  EXPECT_GT(changes, 0);
  EXPECT_GT(chart_changes, 0);
  EXPECT_FALSE(p.Legend().Dirty());  // series names do not depend on values
  s.SetCaption("New");
  EXPECT_TRUE(p.Legend().Dirty());
  EXPECT_EQ(p.Legend().Lines().Strings(0), "New");
  host.invalidates = 0;
  p.Header().SetText("Title");
  EXPECT_EQ(host.invalidates, 1);
}

TEST(TZPChartPanel, ThePanelFontReachesElementsExceptTheirDeltas) {
  TZPChartPanel p;
  p.Font().SetStyle({TFontStyle::fsBold});
  EXPECT_TRUE(p.Header().Font().Style().Contains(TFontStyle::fsBold));
  EXPECT_EQ(p.Header().Font().Color(), clBlue);
  EXPECT_EQ(p.Footer().Font().Color(), clRed);
  EXPECT_TRUE(p.Legend().Font().Style().Contains(TFontStyle::fsBold));
  EXPECT_TRUE(p.LeftAxis().Title().Font().Style().Contains(TFontStyle::fsBold));
  EXPECT_TRUE(p.BottomAxis().Labels().Font().Style().Contains(TFontStyle::fsBold));
  p.Font().SetColor(clGreen);
  p.Font().SetSize(12);
  EXPECT_EQ(p.Header().Font().Color(), clBlue);
  EXPECT_EQ(p.Header().Font().Size(), 12);
  EXPECT_EQ(p.Legend().Font().Color(), clGreen);
  EXPECT_EQ(p.RightAxis().Labels().Font().Color(), clGreen);
}

TEST(TZPChartPanel, SelectionColourReachesSeriesThatFollowThePanel) {
  TZPChartPanel p;
  TZPChart a, b;
  a.SetParent(&p);
  b.SetParent(&p);
  b.SetSelectionColor(clAqua);
  p.SetSelectionColor(clRed);
  EXPECT_EQ(a.SelectionColor(), clRed);
  EXPECT_EQ(b.SelectionColor(), clAqua);
}

// ---- mouse ----

namespace {

struct TMouseFixture : ::testing::Test {
  TRecordingHost host;
  TLinePanel lp;
  TZPChartPanel& p = lp.panel;
  TZPLineChart* s = nullptr;
  int zooms = 0, unzooms = 0, pans = 0;
  void SetUp() override {
    s = &lp.Add({{0, 0}, {2, 2}, {5, 5}, {8, 8}, {10, 10}});
    p.SetHost(&host);
    p.OnZoom = [this](TZPCustomChartPanel&) { ++zooms; };
    p.OnUnzoom = [this](TZPCustomChartPanel&) { ++unzooms; };
    p.OnPan = [this](TZPCustomChartPanel&) { ++pans; };
    TRecordingCanvas c;
    p.Paint(c);
  }
  TPoint At(double X, double Y) const {
    return Point(p.BottomAxis().ValueToPixel(p.PlotRect(), X), p.LeftAxis().ValueToPixel(p.PlotRect(), Y));
  }
  void Drag(TShiftState Shift, TPoint From, TPoint To) {
    p.MouseDown(TMouseButton::mbLeft, Shift, From.X, From.Y);
    p.MouseMove(Shift, To.X, To.Y);
    p.MouseUp(TMouseButton::mbLeft, Shift, To.X, To.Y);
  }
};

}  // namespace

TEST_F(TMouseFixture, ALeftDragZoomsWithInvertedFeedback) {
  const TPoint a = At(2, 8), b = At(6, 4);
  p.MouseDown(TMouseButton::mbLeft, {ssLeft}, a.X, a.Y);
  EXPECT_EQ(p.DragState(), TDragState::dsZoom);
  p.MouseMove({ssLeft}, b.X, b.Y);
  p.MouseUp(TMouseButton::mbLeft, {ssLeft}, b.X, b.Y);
  EXPECT_EQ(p.DragState(), TDragState::dsNone);
  // Draw at the press, erase and redraw at the move, erase at the release.
  EXPECT_EQ(
      host.focus_rects,
      (std::vector<TRect>{{a.X, a.Y, a.X, a.Y}, {a.X, a.Y, a.X, a.Y}, {a.X, a.Y, b.X, b.Y}, {a.X, a.Y, b.X, b.Y}}));
  EXPECT_EQ(zooms, 1);
  EXPECT_TRUE(p.BottomAxis().Zoomed());
  EXPECT_TRUE(p.LeftAxis().Zoomed());
  EXPECT_NEAR(p.BottomAxis().ZoomMinimum(), 2, 0.1);
  EXPECT_NEAR(p.BottomAxis().ZoomMaximum(), 6, 0.1);
  EXPECT_NEAR(p.LeftAxis().ZoomMinimum(), 4, 0.1);
  EXPECT_NEAR(p.LeftAxis().ZoomMaximum(), 8, 0.1);
  EXPECT_EQ(s->FirstIndex(), 0);  // X = 0, one before the window
  EXPECT_EQ(s->LastIndex(), 3);   // X = 8, one after

  // Dragging leftwards unzooms both axes.
  Drag({ssLeft}, b, a);
  EXPECT_EQ(unzooms, 1);
  EXPECT_FALSE(p.BottomAxis().Zoomed());
  EXPECT_FALSE(p.LeftAxis().Zoomed());
}

TEST_F(TMouseFixture, AClickOrANarrowDragLeavesTheZoomAlone) {
  const TPoint a = At(5, 5);
  Drag({ssLeft}, a, a);                    // a click
  Drag({ssLeft}, a, {a.X + 3, a.Y - 2});   // a shaky click
  Drag({ssLeft}, a, {a.X - 3, a.Y + 3});   // leftwards, still a click: no unzoom
  Drag({ssLeft}, a, {a.X + 2, a.Y + 40});  // a window two pixels wide
  Drag({ssLeft}, a, {a.X + 40, a.Y + 1});  // one pixel high
  EXPECT_EQ(zooms + unzooms, 0);
  EXPECT_FALSE(p.BottomAxis().Zoomed());
  EXPECT_FALSE(p.LeftAxis().Zoomed());
  // The chart still draws its labels and lines.
  TRecordingCanvas c;
  p.Paint(c);
  EXPECT_FALSE(c.CallsOf("Polyline").empty());

  // Zoomed in, a click keeps the window; a drag just past the limit zooms.
  Drag({ssLeft}, At(2, 8), At(6, 4));
  const double lo = p.BottomAxis().ZoomMinimum(), hi = p.BottomAxis().ZoomMaximum();
  Drag({ssLeft}, a, a);
  EXPECT_EQ(p.BottomAxis().ZoomMinimum(), lo);
  EXPECT_EQ(p.BottomAxis().ZoomMaximum(), hi);
  Drag({ssLeft}, a, {a.X + 4, a.Y + 4});
  EXPECT_EQ(zooms, 2);
}

TEST_F(TMouseFixture, ShiftStatesMustMatchExactly) {
  Drag({ssShift, ssLeft}, At(2, 8), At(6, 4));  // no gesture has Shift
  Drag({ssCtrl, ssLeft}, At(2, 8), At(6, 4));   // selection is not enabled
  Drag({ssAlt, ssLeft}, At(2, 8), At(6, 4));    // nothing is zoomed: no pan
  Drag({ssLeft, ssRight}, At(2, 8), At(6, 4));  // more than the zoom set
  EXPECT_EQ(zooms + unzooms + pans, 0);
  EXPECT_TRUE(host.focus_rects.empty());
  EXPECT_TRUE(std::find(host.cursors.begin(), host.cursors.end(), crHandPoint) == host.cursors.end());
  EXPECT_FALSE(p.BottomAxis().Zoomed());
}

TEST_F(TMouseFixture, CtrlDragSelectsWhenSelectionIsEnabled) {
  p.SetUserActions(p.UserActions() + TChartUserActions{TChartUserAction::cuaSelection});
  const TPoint a = At(6, 6), b = At(1, 1);  // dragged up-left: the rectangle is normalised
  p.MouseDown(TMouseButton::mbLeft, {ssCtrl, ssLeft}, a.X, a.Y);
  EXPECT_EQ(p.DragState(), TDragState::dsSelect);
  p.MouseMove({ssCtrl, ssLeft}, b.X, b.Y);
  EXPECT_EQ(host.focus_rects.back(), (TRect{b.X, a.Y, a.X, b.Y}));
  p.MouseUp(TMouseButton::mbLeft, {ssCtrl, ssLeft}, b.X, b.Y);
  EXPECT_FALSE(s->Values().Items(0).Selected());
  EXPECT_TRUE(s->Values().Items(1).Selected());
  EXPECT_TRUE(s->Values().Items(2).Selected());
  EXPECT_FALSE(s->Values().Items(3).Selected());
  EXPECT_EQ(zooms, 0);
}

TEST_F(TMouseFixture, AltDragPansAZoomedChartStepByStep) {
  p.ZoomValues({2, 2, 6, 6}, true, true);
  ASSERT_TRUE(p.BottomAxis().Zoomed());
  const int unit = At(1, 0).X - At(0, 0).X;  // pixels per X unit in the zoomed window
  ASSERT_GT(unit, 4);
  const TPoint start = At(4, 4);
  p.MouseDown(TMouseButton::mbLeft, {ssAlt, ssLeft}, start.X, start.Y);
  EXPECT_EQ(p.DragState(), TDragState::dsPan);
  EXPECT_EQ(host.cursors.back(), crHandPoint);
  // Dragging right by one unit moves the window one unit left.
  p.MouseMove({ssAlt, ssLeft}, start.X + unit, start.Y);
  EXPECT_NEAR(p.BottomAxis().ZoomMinimum(), 1, 0.05);
  p.MouseMove({ssAlt, ssLeft}, start.X + unit, start.Y);  // no further movement: no further pan
  EXPECT_NEAR(p.BottomAxis().ZoomMinimum(), 1, 0.05);
  EXPECT_EQ(pans, 2);
  p.MouseUp(TMouseButton::mbLeft, {ssAlt, ssLeft}, start.X + unit, start.Y);
  EXPECT_EQ(host.cursors.back(), crDefault);

  // An inverted bottom axis reverses the horizontal direction.
  p.BottomAxis().SetOptions(p.BottomAxis().Options() + TAxisOptions{TAxisOption::axInverted});
  const double before = p.BottomAxis().ZoomMinimum();
  p.MouseDown(TMouseButton::mbLeft, {ssAlt, ssLeft}, start.X, start.Y);
  p.MouseMove({ssAlt, ssLeft}, start.X + unit, start.Y);
  EXPECT_NEAR(p.BottomAxis().ZoomMinimum(), before + 1, 0.05);
}

TEST_F(TMouseFixture, HoveringOverAValueShowsTheSeriesCursor) {
  const TPoint v = At(5, 5);
  p.MouseMove({}, v.X, v.Y);
  EXPECT_EQ(host.cursors, (std::vector<TCursor>{crDefault}));  // selection off: no hover test
  p.SetUserActions({TChartUserAction::cuaSelection});
  host.cursors.clear();
  p.MouseMove({}, v.X + 1, v.Y);
  EXPECT_EQ(host.cursors, (std::vector<TCursor>{crDefault, crSizeAll}));
}

TEST(TZPChartPanel, TheHostHearsOfThePanelsEnd) {
  TRecordingHost host;
  auto p = std::make_unique<TZPChartPanel>();
  p->SetHost(&host);
  p.reset();
  EXPECT_TRUE(host.panel_gone);
}

TEST(TZPChartPanel, ACopiedAxisLetsGoOfSeriesThatAreFreed) {
  TZPChartPanel source, copy;
  auto s = std::make_unique<TZPLineChart>();
  s->SetParent(&source);
  s->Values().AddPoint(1, 5);
  copy.SetLeftAxis(source.LeftAxis());
  ASSERT_EQ(copy.LeftAxis().Charts().size(), 1u);  // the bound series come along
  s.reset();
  EXPECT_TRUE(copy.LeftAxis().Charts().empty());
  EXPECT_FALSE(copy.LeftAxis().Visible());
  TRecordingCanvas canvas;
  copy.Paint(canvas);  // reads only live series
}

TEST(TZPChartPanel, AnAxisCopiedAgainLetsGoOfTheSeriesItHeldBefore) {
  TZPChartPanel first, second;
  auto a = std::make_unique<TZPLineChart>(&first);
  auto b = std::make_unique<TZPLineChart>(&second);
  {
    TZPChartPanel copy;
    copy.SetLeftAxis(first.LeftAxis());
    copy.SetLeftAxis(second.LeftAxis());
    ASSERT_EQ(copy.LeftAxis().Charts(), (std::vector<IZPAxisSeries*>{b.get()}));
  }
  // Neither series may reach back into the freed copy.
  a.reset();
  b.reset();
  EXPECT_TRUE(first.LeftAxis().Charts().empty());
  EXPECT_TRUE(second.LeftAxis().Charts().empty());
}
