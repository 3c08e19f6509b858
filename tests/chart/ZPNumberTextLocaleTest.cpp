// The chart's number text under a decimal-comma locale: number patterns, axis
// labels (as drawn), and value labels keep "." and "," as everywhere else.
#include <gtest/gtest.h>

#include <algorithm>

#include "ChartTestSupport.h"
#include "CommaLocale.h"
#include "chart/ZPNumberFormat.h"

using namespace zp;
using namespace zp::chart;
using namespace zp::chart::testing;

TEST(ChartNumberText, PatternsKeepPointAndCommaUnderADecimalCommaLocale) {
  ZP_ENTER_COMMA_LOCALE();
  EXPECT_EQ(FormatFloat("#,##0.###", 30000), "30,000");
  EXPECT_EQ(FormatFloat("#,##0.###", 1234.5678), "1,234.568");
  EXPECT_EQ(FormatFloat("#,##0.###", -0.25), "-0.25");
  EXPECT_EQ(FormatFloat("0.00", 1.5), "1.50");
  EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
  EXPECT_EQ(FormatFloat("0", 2.5), "2");  // halves to even, as in every locale
}

TEST(ChartNumberText, AxisAndValueLabelsKeepThePointUnderADecimalCommaLocale) {
  ZP_ENTER_COMMA_LOCALE();
  TLinePanel p;
  FixRange(p.panel.LeftAxis(), 0, 30000);
  FixRange(p.panel.BottomAxis(), 0, 1);
  p.Add({{0, 0}, {1, 30000}});
  TRecordingCanvas canvas;
  p.panel.Paint(canvas);
  std::vector<std::string> texts;
  for (const TCanvasCall& c : canvas.CallsOf("TextOut")) texts.push_back(c.Text);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "30,000"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "0.8"), texts.end());  // the bottom axis steps by 0.2
  p.panel.LeftAxis().SetFormat("");
  EXPECT_EQ(p.panel.LeftAxis().FormatLabel(2.5), "2.5000");

  TZPChart s;
  TZPChartValue& v = s.Values().AddValues({25}, kAutoValueColor, "");
  s.Values().AddValues({-75}, kAutoValueColor, "");
  EXPECT_EQ(s.ValueLabelText(v, TZPLegendTextStyle::ltsValue), "25.0000");
  EXPECT_EQ(s.ValueLabelText(v, TZPLegendTextStyle::ltsPercent), "25.00 %");
}
