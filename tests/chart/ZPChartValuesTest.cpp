#include <gtest/gtest.h>

#include <vector>

#include "chart/NextAutoColor.h"
#include "chart/ZP2DChartValues.h"
#include "platform/Strings.h"

using namespace zp;
using namespace zp::chart;

namespace {

// Stands in for the series that owns a value list and hears its notices.
struct TFakeSeries : TPersistent, IZPChartValuesOwner {
  std::vector<TZPChartValue*> changed;
  int visible_changes = 0;
  int selection_changes = 0;
  void ValueChanged(TZPChartValue* Value) override { changed.push_back(Value); }
  void ValueVisibleChanged(TZPChartValue&) override { ++visible_changes; }
  void ValueSelectionChanged(TZPChartValue&) override { ++selection_changes; }
};

std::vector<double> Xs(const TZP2DChartValues& v) {
  std::vector<double> xs;
  for (int i = 0; i < v.Count(); ++i) xs.push_back(v.Items(i).X());
  return xs;
}

}  // namespace

TEST(TZP2DChartValues, SortedListPlacesArrivingPointsByBinarySearch) {
  TFakeSeries series;
  TZP2DChartValues v(&series);
  v.SetSorted(true);
  for (double x : {1.0, 3.0, 7.0}) v.AddPoint(x, 0);
  EXPECT_EQ(v.AddPoint(5, 0).Index(), 2);
  // An exactly equal X lands at the index of the equal value found.
  TZP2DChartValue& twin = v.AddPoint(3, 1);
  EXPECT_EQ(twin.Index(), 1);
  EXPECT_EQ(Xs(v), (std::vector<double>{1, 3, 3, 5, 7}));
  // Each addition reached the series as one whole-list notice.
  EXPECT_EQ(series.changed, std::vector<TZPChartValue*>(5, nullptr));
}

TEST(TZP2DChartValues, CoordinateChangesMoveOnlyOnTheSortDimension) {
  TZP2DChartValues v;
  v.SetSorted(true);
  for (double x : {1.0, 3.0, 5.0, 7.0}) v.AddPoint(x, x);
  TZP2DChartValue& first = v.Items(0);
  first.SetY(100);  // not the sort dimension: stays
  EXPECT_EQ(first.Index(), 0);
  first.SetX(6);  // binary search among 3, 5, 7 gives 2
  EXPECT_EQ(first.Index(), 2);
  EXPECT_EQ(Xs(v), (std::vector<double>{3, 5, 6, 7}));
  EXPECT_EQ(v.FindInsertPosition(v.Items(0)), 0);
  EXPECT_EQ(Xs(v), (std::vector<double>{5, 6, 7, 3}));  // left last by the search
}

TEST(TZP2DChartValues, DescendingOrderSwapsPairsAndSearchesReversed) {
  TZP2DChartValues v;
  v.SetSorted(true);
  v.SetSortOrder(TSortOrder::soDescending);
  v.AddPoint(1, 0);
  EXPECT_EQ(v.AddPoint(5, 0).Index(), 0);  // two values: swapped
  EXPECT_EQ(v.AddPoint(3, 0).Index(), 1);
  EXPECT_EQ(Xs(v), (std::vector<double>{5, 3, 1}));
}

TEST(TZP2DChartValues, SortIsAscendingWhateverTheOrderAndTurnsSortedOn) {
  TZP2DChartValues v;
  for (double x : {5.0, 1.0, 4.0, 2.0, 3.0, 0.5}) v.AddPoint(x, -x);
  v.SetSortOrder(TSortOrder::soDescending);
  v.Sort();
  EXPECT_TRUE(v.Sorted());
  EXPECT_EQ(Xs(v), (std::vector<double>{0.5, 1, 2, 3, 4, 5}));
  // A new sort dimension re-sorts a sorted list: Y = -X reverses it.
  v.SetSortByDimension(7);
  EXPECT_EQ(v.SortByDimension(), 1);
  EXPECT_EQ(Xs(v), (std::vector<double>{5, 4, 3, 2, 1, 0.5}));
  v.SetSortByDimension(-2);
  EXPECT_EQ(v.SortByDimension(), 0);
}

TEST(TZP2DChartValues, NewSortDimensionKeepsAShortListSorted) {
  // Too few values to sort: the list must still keep the order as points arrive.
  TZP2DChartValues v;
  v.SetSorted(true);
  v.SetSortByDimension(1);
  EXPECT_TRUE(v.Sorted());
  for (double y : {3.0, 1.0, 2.0}) v.AddPoint(0, y);
  EXPECT_EQ(v.Items(0).Y(), 1);
  EXPECT_EQ(v.Items(1).Y(), 2);
  EXPECT_EQ(v.Items(2).Y(), 3);
}

TEST(TZP2DChartValues, SortIsStrictlyAscendingThroughNearEqualChainsAndStableForTies) {
  TZP2DChartValues v;
  // Neighbours 0.00006 apart: each pair is "equal" within 0.0001, the ends are not.
  for (double x : {1.00018, 1.0, 1.00012, 1.00006, 1.00024, 1.0, 0.99994}) v.AddPoint(x, 0);
  for (int i = 0; i < v.Count(); ++i) v.Items(i).SetTag(i);
  v.Sort();
  EXPECT_EQ(Xs(v), (std::vector<double>{0.99994, 1.0, 1.0, 1.00006, 1.00012, 1.00018, 1.00024}));
  EXPECT_EQ(v.Items(1).Tag(), 1);  // the two exact 1.0 keep their order
  EXPECT_EQ(v.Items(2).Tag(), 5);
  for (int i = 0; i < v.Count(); ++i) EXPECT_EQ(v.Items(i).Index(), i);
}

TEST(TZPChartValues, LimitKeepsASlidingWindow) {
  TZPChartValues v;
  v.SetLimit(3);
  for (double x : {1.0, 2.0, 3.0, 4.0}) v.AddValues({x}, kAutoValueColor, "");
  ASSERT_EQ(v.Count(), 3);
  EXPECT_EQ(v.Items(0).Value(), 2);  // the oldest is gone
  EXPECT_EQ(v.Items(2).Value(), 4);
  // Growing a limited list stops at the limit instead of cycling forever.
  v.SetCount(10);
  EXPECT_EQ(v.Count(), 3);
  v.SetLimit(-4);
  EXPECT_EQ(v.Limit(), 0);
}

TEST(TZPChartValues, LoweringTheLimitDropsTheNewest) {
  TZPChartValues v;
  v.SetCount(5);  // AddNext: coordinates 0..4
  EXPECT_EQ(v.Items(4).Value(), 4);
  v.SetLimit(2);
  ASSERT_EQ(v.Count(), 2);
  EXPECT_EQ(v.Items(0).Value(), 0);
  EXPECT_EQ(v.Items(1).Value(), 1);
}

TEST(TZPChartValues, EveryAddedValueTakesOnePaletteEntry) {
  TZPChartValues v;
  const int start = AutoColorIndex();
  EXPECT_EQ(v.AddNext().Color(), kAutoColors[static_cast<size_t>(start)]);
  EXPECT_EQ(v.AddValues({1}, clBlack, "").Color(), clBlack);  // explicit colour, entry still used
  EXPECT_EQ(AutoColorIndex(), (start + 2) % 10);
  for (int i = 0; i < 10; ++i) NextAutoColor();
  EXPECT_EQ(AutoColorIndex(), (start + 2) % 10);  // the palette wraps after ten
}

TEST(NextAutoColor, GivesTheTenColoursInOrderThenStartsOver) {
  // Written out as 0x00BBGGRR values, not read from the table under test.
  const TColor expected[] = {
      0x0000FF,  // red
      0x008000,  // green
      0x00FFFF,  // yellow
      0xFF0000,  // blue
      0x800080,  // purple
      0x000080,  // maroon
      0x00FF00,  // lime
      0x808000,  // teal
      0xFF00FF,  // fuchsia
      0xFFFF00,  // aqua
  };
  while (AutoColorIndex() != 0) NextAutoColor();
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 10; ++i) EXPECT_EQ(NextAutoColor(), expected[i]) << "entry " << i;
}

TEST(TZP2DChartValues, StatisticsCoverEveryValueAndGoStaleOnChange) {
  TZP2DChartValues v;
  v.Recalculate();
  EXPECT_EQ(v.DimensionMinimum(0), 0);
  EXPECT_EQ(v.DimensionMaximum(1), 0);
  EXPECT_EQ(v.AbsoluteSum(1), 0);
  v.AddPoint(1, -5);
  v.AddPoint(3, 2).SetVisible(false);  // hidden values count too
  v.AddPoint(-2, 4);
  EXPECT_TRUE(v.NeedsRecalc());
  EXPECT_EQ(v.DimensionMinimum(0), -2);
  EXPECT_FALSE(v.NeedsRecalc());
  EXPECT_EQ(v.DimensionMaximum(0), 3);
  EXPECT_EQ(v.AbsoluteSum(0), 6);
  EXPECT_EQ(v.DimensionMinimum(1), -5);
  EXPECT_EQ(v.DimensionMaximum(1), 4);
  EXPECT_EQ(v.AbsoluteSum(1), 11);
  v.Items(0).SetY(9);
  EXPECT_TRUE(v.NeedsRecalc());
  EXPECT_EQ(v.AxisMaximum(1), 9);
  EXPECT_EQ(v.AxisMinimum(1), 2);
}

TEST(TZPChartValues, AxisRangeOfAMissingDimensionIsTheIndex) {
  TZPChartValues v;
  v.SetCount(4);
  EXPECT_EQ(v.AxisMaximum(1), 3);
  EXPECT_EQ(v.AxisMinimum(1), 0);
}

TEST(TZPChartValues, DisplayNamesAndStringListCopy) {
  TZP2DChartValues points;
  TZP2DChartValue& a = points.AddPoint(3, 45.5, "A");
  EXPECT_EQ(a.DisplayName(), "A (3.00, 45.50)");
  EXPECT_TRUE(points.HasCaptions());
  TZPChartValues v;
  v.AddValues({2.5}, kAutoValueColor, "");
  v.AddValues({-1234.5}, kAutoValueColor, "");
  EXPECT_EQ(v.Items(0).DisplayName(), "(2.50)");
  EXPECT_FALSE(v.HasCaptions());
  TStrings s{"old"};
  s.Assign(v);
  EXPECT_EQ(s.Lines(), (std::vector<std::string>{"(2.50)", "(-1234.50)"}));
  EXPECT_EQ(s.Objects(1), static_cast<TCollectionItem*>(&v.Items(1)));
  EXPECT_EQ(v.Items(1).FormatCoordinates("#,##0.###", false), "-1,234.5");
}

TEST(TZP2DChartValue, HitTestByModeAndSelection) {
  TFakeSeries series;
  TZP2DChartValues v(&series);
  TZP2DChartValue& p = v.AddPoint(3, 4);
  const TFloatRect area{0, 0, 5, 5};
  EXPECT_TRUE(p.HitTest(area, 0));
  EXPECT_TRUE(p.HitTest(area, 2));
  EXPECT_FALSE(p.HitTest(area, 1));
  EXPECT_FALSE(p.HitTest({0, 0, 3, 5}, 0));  // right edge is outside
  p.SetSelected(true);
  EXPECT_FALSE(p.HitTest(area, 2));
  EXPECT_EQ(series.selection_changes, 1);
  p.SetSelected(true);
  p.SetVisible(false);
  EXPECT_EQ(series.selection_changes, 1);
  EXPECT_EQ(series.visible_changes, 1);
  // The 1-D value's point is (Value, Area.Top).
  TZPChartValues one;
  TZPChartValue& q = one.AddValues({2}, kAutoValueColor, "");
  EXPECT_TRUE(q.HitTest({1, 7, 3, 8}, 0));
  EXPECT_FALSE(q.HitTest({1, 7, 2, 8}, 0));
}

TEST(TZP2DChartValues, AssignCopiesSettingsAndPoints) {
  TZP2DChartValues a;
  a.SetDateTimeAxes({TXY::xyX});
  a.SetLimit(5);
  a.AddPoint(1, 2, "p", clRed);
  TZP2DChartValues b;
  b.Assign(a);
  EXPECT_EQ(b.DateTimeAxes(), TXYSet{TXY::xyX});
  EXPECT_EQ(b.Limit(), 5);
  ASSERT_EQ(b.Count(), 1);
  EXPECT_EQ(b.Items(0).Y(), 2);
  EXPECT_EQ(b.Items(0).Caption(), "p");
  EXPECT_EQ(b.Items(0).Color(), clRed);
}
