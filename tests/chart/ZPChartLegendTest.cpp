#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/ZPChartDecorations.h"
#include "chart/ZPChartPanel.h"
#include "chart/ZPCharts.h"
#include "platform/RecordingCanvas.h"

using namespace zp;
using namespace zp::chart;

namespace {

struct TFakeSeries final : IZPLegendSeries {
  std::string caption, name;
  bool visible = true;
  TChartOptions options{TChartOption::coShowInLegend};
  TColor color = clRed;
  std::vector<double> values;
  std::vector<bool> value_visible;
  bool Visible() const override { return visible; }
  TChartOptions Options() const override { return options; }
  std::string Caption() const override { return caption; }
  std::string Name() const override { return name; }
  std::string ClassName() const override { return "TZPLineChart"; }
  TColor Color() const override { return color; }
  int ValueCount() const override { return static_cast<int>(values.size()); }
  bool ValueVisible(int i) const override { return value_visible.empty() || value_visible[static_cast<size_t>(i)]; }
  TColor ValueColor(int i) const override { return static_cast<TColor>(0x10 * (i + 1)); }
  std::string ValueLabelText(int i, TZPLegendTextStyle) const override {
    return std::to_string(static_cast<int>(values[static_cast<size_t>(i)]));
  }
};

struct TFakePanel : IZPLegendPanel {
  TFont font;
  const TCanvas* canvas = nullptr;
  std::vector<std::unique_ptr<TFakeSeries>> series;
  std::vector<std::string> own_lines;
  const TFont& Font() const override { return font; }
  const TCanvas* Canvas() const override { return canvas; }
  void GetLegendStrings(TStrings& Lines) override {
    for (const auto& l : own_lines) Lines.Add(l);
  }
  int SeriesCount() const override { return static_cast<int>(series.size()); }
  IZPLegendSeries& Series(int i) const override { return *series[static_cast<size_t>(i)]; }
  int VisibleCount() const override {
    int n = 0;
    for (const auto& s : series) n += s->visible;
    return n;
  }
  IZPLegendSeries* FirstVisible() const override {
    for (const auto& s : series)
      if (s->visible) return s.get();
    return nullptr;
  }
  TFakeSeries& Add(const std::string& caption, TColor color) {
    series.push_back(std::make_unique<TFakeSeries>());
    series.back()->caption = caption;
    series.back()->color = color;
    return *series.back();
  }
};

// The workbench's five methods: default 8-point font, 5.5 pixels per character.
TFakePanel FivePanel() {
  TFakePanel p;
  p.Add("Roulette", clRed);
  p.Add("Random", clBlue);
  p.Add("Tournament", clGreen);
  p.Add("Stochastic Tournament", clPurple);  // 115 pixels, capped to 100
  p.Add("Elitist", clTeal);
  return p;
}

const TRect kArea = Rect(0, 24, 400, 300);

}  // namespace

TEST(TZPChartLegend, ListsTheVisibleSeriesCaptionsWithColourBoxes) {
  TFakePanel p = FivePanel();
  TZPChartLegend legend(&p);
  ASSERT_TRUE(legend.ListsSeriesNames());
  const TStrings& lines = legend.Lines();
  EXPECT_EQ(lines.Lines(),
            (std::vector<std::string>{"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist"}));
  EXPECT_EQ(TZPChartLegend::LineColor(lines, 2), clGreen);
  EXPECT_FALSE(legend.Dirty());
}

TEST(TZPChartLegend, RightAlignedBoxItemsAndShadowGeometry) {
  TFakePanel p = FivePanel();
  TZPChartLegend legend(&p);
  TRecordingCanvas c;
  p.canvas = &c;
  int item_width = 0;
  c.Font().Assign(legend.Font());
  EXPECT_EQ(legend.CalcSize(c, kArea, item_width), (TSize{129, 66}));
  EXPECT_EQ(item_width, 100);
  EXPECT_EQ(legend.CalcRect(c, kArea, item_width), Rect(265, 24, 400, 98));

  legend.Draw(c, kArea);
  const auto rects = c.CallsOf("Rectangle");
  ASSERT_EQ(rects.size(), 1u + 1u + 5u);  // shadow, box, five colour boxes
  EXPECT_EQ(rects[0].Rect, Rect(271, 31, 397, 94));
  EXPECT_EQ(rects[0].Brush.Color, clBlack);
  EXPECT_EQ(rects[1].Rect, Rect(268, 28, 394, 91));
  EXPECT_EQ(rects[1].Brush.Color, clWhite);
  EXPECT_EQ(rects[2].Rect, Rect(271, 33, 281, 41));
  EXPECT_EQ(rects[2].Brush.Color, clRed);
  EXPECT_EQ(rects[3].Rect, Rect(271, 44, 281, 52));
  const auto texts = c.CallsOf("TextOut");
  ASSERT_EQ(texts.size(), 5u);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(texts[i].Points[0], Point(291, 32 + 11 * static_cast<int>(i)));
  EXPECT_EQ(texts[4].Brush.Color, clWhite);  // the box colour was restored
  // Clipped to the box's inside on the panel's own canvas.
  EXPECT_EQ(c.CallsOf("SetClipRect")[0].Rect, Rect(271, 32, 391, 87));
  EXPECT_EQ(texts[0].Clip, Rect(271, 32, 391, 87));
  EXPECT_EQ(c.Calls().back().Op, "RemoveClip");
}

TEST(TZPChartLegend, RectangleForEachAlignment) {
  TFakePanel p = FivePanel();
  TZPChartLegend legend(&p);
  TRecordingCanvas c;
  int w = 0;
  legend.SetAlign(TZPLegendAlignment::laLeft);
  EXPECT_EQ(legend.CalcRect(c, kArea, w), Rect(0, 24, 135, 98));
  legend.SetAlign(TZPLegendAlignment::laBottom);
  // Three columns of 120: 3 + 360 + 3 + 3 wide, two rows.
  EXPECT_EQ(legend.CalcSize(c, kArea, w), (TSize{369, 33}));
  EXPECT_EQ(legend.CalcRect(c, kArea, w), Rect(16, 259, 384, 300));
  legend.SetAlign(TZPLegendAlignment::laTop);
  EXPECT_EQ(legend.CalcRect(c, kArea, w), Rect(16, 24, 384, 65));

  // Items flow left to right, then to the next row.
  legend.Draw(c, kArea);
  const auto texts = c.CallsOf("TextOut");
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0].Points[0], Point(42, 32));  // box (19, 28, ...), items from x = 22
  EXPECT_EQ(texts[1].Points[0], Point(162, 32));
  EXPECT_EQ(texts[3].Points[0], Point(42, 43));
  EXPECT_TRUE(c.CallsOf("SetClipRect").empty());  // not the panel's canvas
}

TEST(TZPChartLegend, ItemsWithoutColourStartWhereTheBoxWouldBe) {
  TFakePanel p = FivePanel();
  for (auto& s : p.series) s->options.Include(TChartOption::coColorEachPoint);
  p.series[0]->options.Exclude(TChartOption::coColorEachPoint);
  p.series[0]->color = clBlack;  // black means no box too
  TZPChartLegend legend(&p);
  TRecordingCanvas c;
  legend.Draw(c, kArea);
  EXPECT_EQ(c.CallsOf("Rectangle").size(), 2u);
  EXPECT_EQ(c.CallsOf("TextOut")[0].Points[0], Point(271, 32));
  legend.SetAlignment(TAlignment::taRightJustify);
  c.Clear();
  legend.Draw(c, kArea);
  EXPECT_EQ(c.CallsOf("TextOut")[1].Points[0], Point(271 + 100 - 33, 43));  // "Random"
}

TEST(TZPChartLegend, SkipsHiddenAndUnlistedSeriesWithoutCountingThem) {
  TFakePanel p = FivePanel();
  p.series[1]->visible = false;
  p.series[2]->options = {};
  p.series[3]->caption.clear();
  p.series[3]->name = "Series4";
  p.series[4]->caption.clear();
  p.own_lines = {"Methods"};
  TZPChartLegend legend(&p);
  legend.SetMaxRows(3);
  EXPECT_EQ(legend.Lines().Lines(), (std::vector<std::string>{"Methods", "Roulette", "Series4"}));
  legend.SetMaxRows(10);
  legend.MarkDirty();
  EXPECT_EQ(legend.Lines().Count(), 4);
  EXPECT_EQ(legend.Lines().Strings(3), "TZPLineChart");
  legend.SetFirstIndex(4);
  legend.SetLegendStyle(TZPLegendStyle::lsChartNameAndLastValue);
  p.series[4]->values = {1, 2, 42};
  EXPECT_EQ(legend.Lines().Lines(), (std::vector<std::string>{"Methods", "TZPLineChart 42"}));
}

TEST(TZPChartLegend, OneVisibleSeriesListsItsVisibleValues) {
  TFakePanel p;
  auto& s = p.Add("Only", clRed);
  for (int i = 0; i < 12; ++i) s.values.push_back(i * 10);
  s.value_visible.assign(12, true);
  s.value_visible[1] = false;
  TZPChartLegend legend(&p);
  EXPECT_FALSE(legend.ListsSeriesNames());
  const TStrings& lines = legend.Lines();
  ASSERT_EQ(lines.Count(), 9);  // MaxRows - 1
  EXPECT_EQ(lines.Strings(0), "0");
  EXPECT_EQ(lines.Strings(1), "20");
  EXPECT_EQ(TZPChartLegend::LineColor(lines, 1), 0x30u);
}

TEST(TZPChartLegend, TenLinesSizeTheBoxForTenButDrawNine) {
  TFakePanel p;
  TZPChartLegend legend(&p);
  legend.SetFixed(true);
  TStrings ten;
  for (int i = 0; i < 10; ++i) ten.Add("L" + std::to_string(i));
  legend.SetLines(ten);
  TRecordingCanvas c;
  int w = 0;
  EXPECT_EQ(legend.CalcSize(c, kArea, w).cy, 3 + 4 + 10 * 11 + 4);
  legend.Draw(c, kArea);
  EXPECT_EQ(c.CallsOf("TextOut").size(), 9u);
  legend.SetMaxRows(1);  // only the bottom limit remains
  c.Clear();
  legend.Draw(c, kArea);
  EXPECT_EQ(c.CallsOf("TextOut").size(), 10u);
}

TEST(TZPChartLegend, SettersClampAndMarginsStayNonNegative) {
  TZPChartLegend legend(nullptr);
  int changes = 0;
  legend.OnChange = [&](TZPChartGraphic&) { ++changes; };
  legend.SetBoxSize(2);
  EXPECT_EQ(legend.BoxSize(), 4);
  legend.SetMaxRows(0);
  EXPECT_EQ(legend.MaxRows(), 1);
  legend.SetMaxWidthPct(0);
  EXPECT_EQ(legend.MaxWidthPct(), 1);
  legend.SetMaxWidthPct(150);
  EXPECT_EQ(legend.MaxWidthPct(), 100);
  legend.SetFirstIndex(-5);
  EXPECT_EQ(legend.FirstIndex(), 0);
  EXPECT_EQ(changes, 4);  // FirstIndex was already 0
  legend.Margins().SetLeft(-7);
  EXPECT_EQ(legend.Margins().Rect(), Rect(0, 4, 3, 4));
  legend.SetRectStyle(TZPLegendRectStyle::rsRoundedRect);
  EXPECT_EQ(legend.Shadow().Shape(), 8);
  legend.Shadow().SetSize(5);
  EXPECT_GT(changes, 6);
  EXPECT_TRUE(legend.Lines().Count() == 0);
}

TEST(TZPChartLegend, RoundedBoxUsesAFifthOfItsSize) {
  TFakePanel p = FivePanel();
  TZPChartLegend legend(&p);
  legend.SetRectStyle(TZPLegendRectStyle::rsRoundedRect);
  legend.Shadow().SetVisible(false);
  TRecordingCanvas c;
  legend.Draw(c, kArea);
  const auto rr = c.CallsOf("RoundRect");
  ASSERT_EQ(rr.size(), 1u);
  EXPECT_EQ(rr[0].Rect, Rect(271, 28, 397, 91));
  EXPECT_EQ(rr[0].Ints, (std::vector<int>{126 / 5, 63 / 5}));
}

TEST(TZPChartHeader, HeaderHangsAndFooterStandsInTheirStrips) {
  TFont panel_font;
  TZPChartHeader header(&panel_font, true), footer(&panel_font, false);
  EXPECT_EQ(header.Text(), "Chart");
  EXPECT_EQ(footer.Text(), "Footer");
  EXPECT_EQ(header.Height(), 24);
  EXPECT_EQ(header.Font().Color(), clBlue);
  EXPECT_EQ(footer.Font().Color(), clRed);
  EXPECT_EQ(header.Font().Deltas(), TDeltaAttributes{TDeltaAttribute::daColor});
  TRecordingCanvas c;
  header.Draw(c, Rect(0, 0, 400, 300));
  footer.SetAlignment(TAlignment::taLeftJustify);
  footer.Draw(c, Rect(0, 0, 400, 300));
  const auto t = c.CallsOf("TextRect");
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].Rect, Rect(0, 0, 400, 24));
  EXPECT_EQ(t[0].Points[0], Point(200 - 27 / 2, 12 - 11 / 2));
  EXPECT_EQ(t[0].Font.Color, clBlue);
  EXPECT_EQ(t[0].Brush.Style, TBrushStyle::bsClear);
  EXPECT_EQ(t[1].Rect, Rect(0, 276, 400, 300));
  EXPECT_EQ(t[1].Points[0], Point(0, 276));
}

TEST(TZPChartHeader, VerticalAnglesBottomAlignLeftJustifiedText) {
  TZPChartHeader header(nullptr, true);
  header.SetAlignment(TAlignment::taLeftJustify);
  header.SetAngle(90);
  EXPECT_EQ(header.Font().Orientation(), 900);
  TRecordingCanvas c;
  header.Draw(c, Rect(0, 0, 400, 300));
  EXPECT_EQ(c.CallsOf("TextRect")[0].Points[0], Point(0, 24 - 11));
  header.SetAngle(-90);
  EXPECT_EQ(header.Angle(), -90);
  c.Clear();
  header.Draw(c, Rect(0, 0, 400, 300));
  EXPECT_EQ(c.CallsOf("TextRect")[0].Points[0], Point(0, 0));
  header.SetAngle(450);
  EXPECT_EQ(header.Angle(), 90);
}

TEST(TZPChartHeader, ImageOptionsStayConsistentAndHeightKeepsTheFontHeight) {
  using enum TImageOption;
  TZPChartHeader header(nullptr, true);
  EXPECT_EQ(header.ImageOptions(), TImageOptions{ioStretch});
  header.SetImageOptions({ioStretch, ioCenter});
  EXPECT_EQ(header.ImageOptions(), TImageOptions{ioCenter});
  header.SetImageOptions({ioCenter, ioTiled});
  EXPECT_EQ(header.ImageOptions(), TImageOptions{ioTiled});
  header.SetImageOptions({ioTiled, ioProportional, ioStretch});
  EXPECT_EQ(header.ImageOptions(), TImageOptions{ioStretch});
  header.SetImageOptions({ioStretch, ioProportional});
  EXPECT_EQ(header.ImageOptions(), TImageOptions{ioProportional});
  header.SetHeight(-50);
  EXPECT_EQ(header.Height(), -11);
}

TEST(TZPChartHeader, PanelFontChangesReachEveryTextButTheirOwnColours) {
  TFont panel_font;
  TFakePanel p;
  TZPChartHeader header(&panel_font, true), footer(&panel_font, false);
  TZPChartLegend legend(&p);
  panel_font.SetStyle({TFontStyle::fsBold});
  header.Font().ApplyOriginal(&panel_font);
  footer.Font().ApplyOriginal(&panel_font);
  legend.Font().ApplyOriginal(&panel_font);
  EXPECT_TRUE(header.Font().Style().Contains(TFontStyle::fsBold));
  EXPECT_TRUE(legend.Font().Style().Contains(TFontStyle::fsBold));
  EXPECT_EQ(header.Font().Color(), clBlue);
  EXPECT_EQ(footer.Font().Color(), clRed);
  EXPECT_EQ(legend.Font().Color(), panel_font.Color());
  // A font given to the legend records its differences from the panel's.
  TFont big;
  big.SetSize(20);
  legend.SetFont(big);
  EXPECT_EQ(legend.Font().Deltas(), TDeltaAttributes{TDeltaAttribute::daSize});
}

TEST(TZPChartLabel, AngleIsKeptModulo360AndTheTextCentredByItsRotatedBox) {
  TZPChartLabel label;
  int changes = 0;
  label.OnChange = [&](TZPChartGraphic&) { ++changes; };
  label.SetAngle(450);
  EXPECT_EQ(label.Angle(), 90);
  label.SetAngle(-90);
  EXPECT_EQ(label.Angle(), -90);
  EXPECT_EQ(label.Font().Orientation(), -900);
  label.SetAngle(90);
  label.SetText("ABCDEFGH");
  label.Font().SetHeight(-10);
  EXPECT_EQ(label.Font().Color(), clBlack);
  TRecordingCanvas c;
  label.Draw(c, Rect(0, 0, 100, 100));
  // Box (20, 60) centred: (40, 20); origin offset (10, 45).
  EXPECT_EQ(c.CallsOf("TextOut")[0].Points[0], Point(50, 65));
  EXPECT_EQ(c.CallsOf("TextOut")[0].Font.Orientation, 900);
  label.SetAlignment(TAlignment::taRightJustify);
  c.Clear();
  label.Draw(c, Rect(0, 0, 100, 100));
  EXPECT_EQ(c.CallsOf("TextOut")[0].Points[0], Point(90, 45));
  const int before = changes;
  TZPChartLabel copy;
  copy.Assign(label);
  EXPECT_EQ(copy.Text(), "ABCDEFGH");
  EXPECT_EQ(copy.Angle(), 90);
  EXPECT_EQ(changes, before);
}

// ---- the legend on a real panel stays current ----

namespace {

// Two captioned line series on a panel; Lines() has been read once, so the
// cache is clean before each change.
struct TLegendCurrency : ::testing::Test {
  TZPChartPanel panel;
  std::vector<std::unique_ptr<TZPLineChart>> series;
  TZPLineChart& Add(const std::string& caption, TColor pen) {
    series.push_back(std::make_unique<TZPLineChart>());
    TZPLineChart& s = *series.back();
    s.SetParent(&panel);
    s.SetOptions({TChartOption::coShowInLegend});
    s.SetCaption(caption);
    s.Pen().SetColor(pen);
    s.Values().AddPoint(1, 2);
    s.Values().AddPoint(2, 3);
    return s;
  }
  void SetUp() override {
    Add("A", clRed);
    Add("B", clBlue);
    ReadLines();
  }
  std::vector<std::string> ReadLines() { return panel.Legend().Lines().Lines(); }
};

}  // namespace

TEST_F(TLegendCurrency, HidingOneOfTwoSeries) {
  series[1]->SetVisible(false);
  // One visible series: the legend lists its values now.
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"2", "3"}));
}

TEST_F(TLegendCurrency, AttachingAndDetachingASeries) {
  TZPLineChart& c = Add("C", clGreen);
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"A", "B", "C"}));
  c.SetParent(nullptr);
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"A", "B"}));
  panel.Charts().Remove(*series[0]);
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"2", "3"}));
}

TEST_F(TLegendCurrency, ACaptionChange) {
  series[1]->SetCaption("Bee");
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"A", "Bee"}));
}

TEST_F(TLegendCurrency, AColourChange) {
  series[1]->SetColor(clGreen);
  ReadLines();
  EXPECT_EQ(TZPChartLegend::LineColor(panel.Legend().Lines(), 1), clGreen);
}

TEST_F(TLegendCurrency, TheShowInLegendOption) {
  series[0]->SetOptions({});
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"B"}));
}

TEST_F(TLegendCurrency, ALastValueUnderNameAndLastValue) {
  panel.Legend().SetLegendStyle(TZPLegendStyle::lsChartNameAndLastValue);
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"A 3", "B 3"}));
  series[1]->Values().AddPoint(3, 7);
  EXPECT_EQ(ReadLines(), (std::vector<std::string>{"A 3", "B 7"}));
}

TEST_F(TLegendCurrency, ValueChangesLeaveANamesLegendClean) {
  series[1]->Values().AddPoint(3, 7);
  EXPECT_FALSE(panel.Legend().Dirty());
}
