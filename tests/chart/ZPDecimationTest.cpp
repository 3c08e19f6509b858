// Dense lines: the block summaries agree with a plain search after every
// kind of change to the list, and a straight line with more than four
// points per pixel column draws each column's first, lowest, highest and
// last point, while every other style, and a line with a hidden or selected
// value, is drawn segment by segment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ChartTestSupport.h"
#include "chart/ZPValueBlocks.h"

using namespace zp;
using namespace zp::chart;
using namespace zp::chart::testing;
using enum TChartOption;

namespace {

// A small deterministic noise source for test data.
struct TNoise {
  uint32_t state = 12345;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 24);
  }
};

void ExpectSameExtremes(TZPValueBlocks& Blocks, TZP2DChartValues& Values) {
  Blocks.Refresh(Values, 0, 1);
  ASSERT_EQ(Blocks.Count(), Values.Count());
  const int n = Values.Count();
  for (int first = 0; first < n; first += 1 + first / 3) {
    for (int last = first; last < n; last += 1 + (last - first) / 2) {
      int lo = first, hi = first;
      bool plain = true;
      for (int i = first; i <= last; ++i) {
        const TZP2DChartValue& v = Values.Items(i);
        plain = plain && v.Visible() && !v.Selected();
        if (v.Y() < Values.Items(lo).Y()) lo = i;
        if (v.Y() > Values.Items(hi).Y()) hi = i;
      }
      int got_lo = -1, got_hi = -1;
      const bool got_plain = Blocks.MinMax(first, last, got_lo, got_hi);
      ASSERT_EQ(got_plain, plain) << first << ".." << last;
      if (plain) {
        ASSERT_EQ(got_lo, lo) << first << ".." << last;
        ASSERT_EQ(got_hi, hi) << first << ".." << last;
      }
    }
  }
}

// The segments of a line joined again (each starts where the last ended).
TPoints Joined(const std::vector<TPoints>& Segments) {
  TPoints all;
  for (const TPoints& p : Segments) all.insert(all.end(), p.begin() + (all.empty() ? 0 : 1), p.end());
  return all;
}

// The M4 points by a plain walk: the values' columns over (0, 0, 10, 10) with
// both axes spanning 0..10 are x rounded half to even.
TPoints PlainM4(const TZP2DChartValues& V) {
  TPoints out;
  auto add = [&](TPoint p) {
    if (out.empty() || out.back() != p) out.push_back(p);
  };
  auto pixel = [](double c) { return static_cast<int>(std::nearbyint(c)); };
  for (int i = 0; i < V.Count();) {
    int j = i, lo = i, hi = i;
    while (j + 1 < V.Count() && pixel(V.Items(j + 1).X()) == pixel(V.Items(i).X())) ++j;
    for (int k = i; k <= j; ++k) {
      if (V.Items(k).Y() < V.Items(lo).Y()) lo = k;
      if (V.Items(k).Y() > V.Items(hi).Y()) hi = k;
    }
    const int x = pixel(V.Items(i).X());
    for (int k : {i, std::min(lo, hi), std::max(lo, hi), j}) add(Point(x, 10 - pixel(V.Items(k).Y())));
    i = j + 1;
  }
  return out;
}

// Count points over x 0..10 with noisy y in 0..10: evenly spread, or
// crowding ever more towards the right end.
TZPLineChart& AddNoisy(TLinePanel& P, int Count, bool Crowded = false) {
  TZPLineChart& s = P.Add();
  TNoise noise;
  s.Values().BeginUpdate();
  for (int i = 0; i < Count; ++i) {
    const double t = static_cast<double>(i) / (Count - 1);
    s.Values().AddPoint(10.0 * (Crowded ? std::sqrt(t) : t), 10 * noise.Next());
  }
  s.Values().EndUpdate();
  return s;
}

std::vector<TPoints> DrawAlone(TZPLineChart& S) {
  TRecordingCanvas c;
  S.Draw(c, Rect(0, 0, 10, 10));
  return Polylines(c);
}

}  // namespace

TEST(TZPValueBlocks, ExtremesMatchAPlainSearchAfterEveryKindOfChange) {
  TZP2DChartValues values;
  values.SetSorted(true);
  TZPValueBlocks blocks;
  TNoise noise;
  for (int i = 0; i < 700; ++i) values.AddPoint(i, std::floor(20 * noise.Next()));  // ties too
  ExpectSameExtremes(blocks, values);
  for (int i = 700; i < 1100; ++i) values.AddPoint(i, 20 * noise.Next());  // appended
  ExpectSameExtremes(blocks, values);
  values.Items(130).SetY(-5);  // changed in place
  values.Items(1000).SetY(99);
  ExpectSameExtremes(blocks, values);
  values.Items(40).SetX(900.5);  // moves to its place
  values.AddPoint(3.5, 50);      // inserted amid the others
  ExpectSameExtremes(blocks, values);
  values.Delete(7);
  values.Items(600).SetIndex(20);  // moved by hand
  ExpectSameExtremes(blocks, values);
  values.Items(333).SetVisible(false);
  values.Items(900).SetSelected(true);
  ExpectSameExtremes(blocks, values);
  values.SetCount(60);  // shrunk below two levels
  ExpectSameExtremes(blocks, values);
  EXPECT_EQ(blocks.LevelCount(), 1);
  values.Clear();
  blocks.Refresh(values, 0, 1);
  EXPECT_EQ(blocks.Count(), 0);
  EXPECT_EQ(blocks.LevelCount(), 0);
}

TEST(TZPLineChart, UpToFourPointsPerColumnAreDrawnSegmentBySegment) {
  TLinePanel p;
  TZPLineChart& s = AddNoisy(p, 40);  // 4 per column of a 10-pixel plot
  EXPECT_FALSE(s.Decimates(0, 39, Rect(0, 0, 10, 10)));
  EXPECT_EQ(DrawAlone(s).size(), 39u);
}

TEST(TZPLineChart, MoreThanFourPointsPerColumnDrawEachColumnsFirstLowestHighestAndLast) {
  TLinePanel p;
  TZPLineChart& crowded = AddNoisy(p, 3001, true);  // columns of very different sizes
  EXPECT_EQ(Joined(DrawAlone(crowded)), PlainM4(crowded.Values()));
  TZPLineChart& s = AddNoisy(p, 2001);
  EXPECT_TRUE(s.Decimates(0, 2000, Rect(0, 0, 10, 10)));
  const std::vector<TPoints> segments = DrawAlone(s);
  ASSERT_GE(segments.size(), 2u);
  for (size_t i = 1; i < segments.size(); ++i) EXPECT_EQ(segments[i].front(), segments[i - 1].back());
  const TPoints expected = PlainM4(s.Values());
  EXPECT_EQ(Joined(segments), expected);
  EXPECT_LE(expected.size(), 4u * 11);  // 11 columns: 0..10
}

TEST(TZPLineChart, OnlyPlainStraightLinesAreDecimated) {
  const TRect r = Rect(0, 0, 10, 10);
  auto segments = [&](auto&& Change) {
    TLinePanel p;
    TZPLineChart& s = AddNoisy(p, 101);
    Change(s);
    TRecordingCanvas c;
    s.Draw(c, r);
    return c.CallsOf("Polyline").size() + c.CallsOf("Polygon").size();
  };
  EXPECT_LT(segments([](TZPLineChart&) {}), 45u);
  EXPECT_EQ(segments([](TZPLineChart& s) { s.SetLineStyle(TLineChartStyle::lsStairStep); }), 100u);
  EXPECT_EQ(segments([](TZPLineChart& s) { s.SetLineOptions({TLineOption::FillArea}); }), 100u);
  EXPECT_EQ(segments([](TZPLineChart& s) { s.SetOptions({coShowInLegend, coColorEachPoint}); }), 100u);
  EXPECT_EQ(segments([](TZPLineChart& s) { s.Values().Items(50).SetVisible(false); }), 99u);
  EXPECT_EQ(segments([](TZPLineChart& s) { s.Values().Items(50).SetSelected(true); }), 100u);
  // The hidden value shown again: decimated once more.
  EXPECT_LT(segments([](TZPLineChart& s) {
              s.Values().Items(50).SetVisible(false);
              TRecordingCanvas c;
              s.Draw(c, Rect(0, 0, 10, 10));
              s.Values().Items(50).SetVisible(true);
            }),
            45u);
}

TEST(TZPLineChart, AZoomedLineIsDecimatedOnlyWhenItsZoomWindowIsDense) {
  TLinePanel p;
  TZPLineChart& s = AddNoisy(p, 2001);
  p.panel.BottomAxis().ZoomToValues({4, 0, 4.1, 10});  // about 21 points over 10 columns
  EXPECT_FALSE(s.Decimates(s.FirstIndex(), s.LastIndex(), Rect(0, 0, 10, 10)));
  p.panel.BottomAxis().ZoomToValues({4, 0, 6, 10});
  EXPECT_TRUE(s.Decimates(s.FirstIndex(), s.LastIndex(), Rect(0, 0, 10, 10)));
}
