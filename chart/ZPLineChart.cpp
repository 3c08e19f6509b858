#include "chart/ZPLineChart.h"

#include <algorithm>
#include <cstdint>

#include "chart/ZPChartAxis.h"
#include "chart/ZPSplines.h"
#include "platform/Collection.h"
#include "platform/ScopeGuard.h"

namespace zp::chart {

namespace {
using enum TLineChartStyle;
using enum TChartOption;
using enum TLineOption;
}  // namespace

void TZPCustomLineChart::InitializeDefaults() {
  TZPChart::InitializeDefaults();
  Pen().SetWidth(2);
  StoreOptions(Options() - TChartOptions{coAllowSingleValue});
  Points().SetSortByDimension(0);
  Points().SetSorted(true);
}

void TZPLineChart::InitializeDefaults() {
  TZPCustomLineChart::InitializeDefaults();
  SetLineOptions({DrawLines});
}

void TZPCustomLineChart::SetOptions(TChartOptions Value) {
  TZPChart::SetOptions(Value - TChartOptions{coAllowSingleValue});
}

void TZPCustomLineChart::SetLineOptions(TLineOptions Value) {
  if (Value == line_options_) return;
  line_options_ = Value;
  Changed();
}

void TZPCustomLineChart::SetLineStyle(TLineChartStyle Value) {
  if (Value == line_style_) return;
  line_style_ = Value;
  Changed();
}

void TZPCustomLineChart::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPCustomLineChart*>(&Source)) {
    line_style_ = src->line_style_;
    line_options_ = src->line_options_;
  }
  TZPChart::Assign(Source);
}

TPoint TZPCustomLineChart::PointAt(int Index, const TRect& R) const {
  const TZP2DChartValue& v = Points().Items(Index);
  return Point(HorizAxisObject()->ValueToPixel(R, v.X()), VertAxisObject()->ValueToPixel(R, v.Y() + VerticalOffset()));
}

TPoints TZPCustomLineChart::SegmentPoints(const TPoint& From, const TPoint& To, const TRect& R) const {
  const bool fill = line_options_.Contains(FillArea);
  TPoints points;
  points.reserve(5);
  if (fill) points.push_back(Point(From.X, R.Bottom));
  points.push_back(From);
  if (line_style_ == lsStairStep)
    points.push_back(Point(To.X, From.Y));
  else if (line_style_ == lsStairStepInverted)
    points.push_back(Point(From.X, To.Y));
  points.push_back(To);
  if (fill) points.push_back(Point(To.X, R.Bottom));
  return points;
}

void TZPCustomLineChart::SelectValueColor(TColor& Target, const TZPChartValue& Value) const {
  if (Value.Selected())
    Target = SelectionColor();
  else if (Options().Contains(coColorEachPoint))
    Target = Value.Color();
}

void TZPCustomLineChart::LabelAbove(TCanvas& Canvas, const TZPChartValue& Value, const TPoint& P) {
  DrawValueLabel(Canvas, Value, P.Y - Canvas.TextHeight("W"), P.X);
}

void TZPCustomLineChart::DrawChart(TCanvas& Canvas, const TRect& Rect) {
  if (Points().Count() < 2 || !HorizAxisObject() || !VertAxisObject()) return;
  TZPChart::DrawChart(Canvas, Rect);
  const int first = DrawFirst(), last = DrawLast();
  if (first > last) return;
  if (Decimates(first, last, Rect)) {
    const TPoints points = DecimatedPoints(first, last, Rect);
    if (!points.empty()) {
      // Segment by segment, as the full line is drawn: a wide pen caps each
      // segment's ends, and one long polyline would join them instead.
      for (size_t i = 1; i < points.size(); ++i) Canvas.Polyline({points[i - 1], points[i]});
      Canvas.MoveTo(points.back().X, points.back().Y);
      return;
    }
  }
  TPoint p = PointAt(first, Rect);
  Canvas.MoveTo(p.X, p.Y);
  if (line_options_.Contains(DrawLines) &&
      (line_style_ == lsCurveInterpolation || line_style_ == lsCurveApproximation)) {
    DrawCurve(Canvas, Rect);
    return;
  }
  // One segment at a time: nothing outside the zoom window is converted.
  for (int i = first + 1; i <= last; ++i) {
    const TPoint q = PointAt(i, Rect);
    if (line_options_.Contains(DrawLines) || line_options_.Contains(FillArea)) {
      DrawSegment(Canvas, i, p, q, Rect);
      Canvas.MoveTo(q.X, q.Y);
    }
    p = q;
  }
}

bool TZPCustomLineChart::Decimates(int First, int Last, const TRect& R) const {
  return line_style_ == lsStraight && line_options_ == TLineOptions{DrawLines} &&
         !Options().Contains(coColorEachPoint) && !Options().Contains(coLabelEachPoint) && Points().Sorted() &&
         static_cast<int64_t>(Last) - First + 1 > static_cast<int64_t>(kDecimateAbove) * std::max(R.Width(), 1);
}

TPoints TZPCustomLineChart::DecimatedPoints(int First, int Last, const TRect& R) {
  blocks_.Refresh(Points(), 0, 1);
  const TAxisMapping h = HorizAxisObject()->Mapping(), v = VertAxisObject()->Mapping();
  const double offset = VerticalOffset();
  auto column = [&](int i) { return ValueToPixel(h, R, blocks_.Along(i)); };
  TPoints points;
  points.reserve(4 * static_cast<size_t>(std::max(R.Width(), 1)) + 8);
  auto add = [&](int i, int x) {
    const TPoint p = Point(x, ValueToPixel(v, R, blocks_.Across(i) + offset));
    if (points.empty() || points.back() != p) points.push_back(p);
  };
  // The values are sorted along X, so each pixel column holds one run of
  // indexes: its end is found by galloping, then halving. Most columns hold
  // about as many values as the one before, so the search starts there.
  for (int i = First, run = 1; i <= Last;) {
    const int x = column(i);
    // column(lo) is x; hi is past the run, or Last + 1, once the search halves.
    int lo = i, hi = i + 1;
    bool bounded = false;
    if (const int guess = std::min(i + run - 1, Last); guess > i) {
      if (column(guess) == x) {
        lo = guess;
        hi = guess + 1;
      } else {
        hi = guess;
        bounded = true;
      }
    }
    for (int step = 1; !bounded && hi <= Last && column(hi) == x; step *= 2) {
      lo = hi;
      hi = std::min(lo + step, Last + 1);
    }
    while (hi - lo > 1) {
      const int mid = lo + (hi - lo) / 2;
      (column(mid) == x ? lo : hi) = mid;
    }
    int low = 0, high = 0;
    if (!blocks_.MinMax(i, lo, low, high)) return {};
    add(i, x);
    add(std::min(low, high), x);
    add(std::max(low, high), x);
    add(lo, x);
    run = lo - i + 1;
    i = lo + 1;
  }
  return points;
}

void TZPCustomLineChart::DrawSegment(TCanvas& Canvas, int Index, const TPoint& From, const TPoint& To, const TRect& R) {
  const TZP2DChartValue& v = Points().Items(Index);
  if (line_options_.Contains(FillArea)) {
    TColor color = Canvas.Brush().Color();
    SelectValueColor(color, v);
    Canvas.Brush().SetColor(color);
    if (v.Visible()) Canvas.Polygon(SegmentPoints(From, To, R));
  } else {
    TColor color = Canvas.Pen().Color();
    SelectValueColor(color, v);
    Canvas.Pen().SetColor(color);
    if (v.Visible()) Canvas.Polyline(SegmentPoints(From, To, R));
  }
  if (Options().Contains(coLabelEachPoint)) LabelAbove(Canvas, v, To);
}

void TZPCustomLineChart::DrawCurve(TCanvas& Canvas, const TRect& R) {
  const int count = Points().Count();
  int first = DrawFirst(), last = DrawLast();
  const int label_first = first, label_last = last;
  // Too few points for a curve: one more on each side where there is one.
  if (last - first < 2) {
    first = std::max(0, first - 1);
    last = std::min(count - 1, last + 1);
  }
  TPoints points;
  points.reserve(static_cast<size_t>(last - first + 1));
  for (int i = first; i <= last; ++i) points.push_back(PointAt(i, R));

  const bool approximate = line_style_ == lsCurveApproximation;
  if (approximate || !Options().Contains(coColorEachPoint)) {
    PolySpline(Canvas, points, approximate, false, 1);
    if (Options().Contains(coLabelEachPoint))
      for (int i = label_first; i <= label_last; ++i) LabelAbove(Canvas, Points().Items(i), PointAt(i, R));
    return;
  }
  // Per-point colours: the dense curve is cut at each data point and every
  // piece drawn in the colour of the value it ends at.
  const TPoints curve = SplinePoints(points, false, false, 1);
  size_t start = 0;
  for (int i = first; i <= last; ++i) {
    const TZP2DChartValue& v = Points().Items(i);
    const TPoint target = points[static_cast<size_t>(i - first)];
    TColor color = Canvas.Pen().Color();
    SelectValueColor(color, v);
    Canvas.Pen().SetColor(color);
    size_t end = start;
    while (end < curve.size() && curve[end] != target) ++end;
    if (end < curve.size()) {
      if (v.Visible())
        Canvas.Polyline(TPoints(curve.begin() + static_cast<std::ptrdiff_t>(start),
                                curve.begin() + static_cast<std::ptrdiff_t>(end) + 1));
      start = end;
    }
    if (Options().Contains(coLabelEachPoint)) LabelAbove(Canvas, v, target);
  }
}

void TZPCustomLineChart::LoadPreviewData() {
  struct TSample {
    const char* Caption;
    double X, Y;
  };
  static constexpr TSample kSamples[] = {{"Research", 5, 13},
                                         {"Purchases", 15, 75},
                                         {"Manufacturing", 100, 200},
                                         {"Marketing", 300, 100},
                                         {"Development", 400, 500}};
  // Preview goes on after the bracket's notice (which turns it off), also when adding fails.
  TScopeExit preview_on([this] { StorePreview(true); });
  TUpdateGuard bracket(Points());
  for (const TSample& s : kSamples) Points().AddPoint(s.X, s.Y, s.Caption, kAutoValueColor);
}

}  // namespace zp::chart
