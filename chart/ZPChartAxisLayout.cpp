// The axis' layout pass, shared by measuring and drawing: title, tick labels
// (step, first tick, one label at a time), axis line and grid.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/ZPChartAxis.h"
#include "chart/ZPChartValue.h"
#include "chart/ZPRotatedText.h"
#include "platform/ScopeGuard.h"

namespace zp::chart {

using enum TAxisOption;
using enum TZPChartAxisLocation;

struct TZPChartAxis::TLabelPass {
  TLabelPass(TCanvas& C, bool IsVertical, const TRect& R, int MinSeparationPct, int LabelWidth)
      : Canvas(C),
        Vertical(IsVertical),
        Near(IsVertical ? R.Top : R.Left),
        Far(IsVertical ? R.Bottom : R.Right),
        Sep((Far - Near) * MinSeparationPct / 100.0),
        PrevLabelWidth(LabelWidth) {}

  TCanvas& Canvas;
  const bool Vertical;
  // The plot extent along the axis, in pixels, and the least gap between labels.
  const int Near;
  const int Far;
  const double Sep;
  // The right axis anchors its labels by the widest label of the measuring pass.
  const int PrevLabelWidth;
  int TextHeightA = 0;
  int Widest = 0;
  // The tick every K-th label counts from: 0, or the top tick when it is the
  // window's maximum, so that the maximum keeps its label.
  long long Anchor = 0;
  // The labels of the drawing pass, top value first: the tick's index
  // (value ÷ step), the box it takes and where its text starts.
  struct TPlaced {
    long long Tick;
    TRect Box;
    TPoint At;
    std::string Text;
    bool End = false;  // an end of a decade axis, drawn only where it keeps apart from the others
  };
  std::vector<TPlaced> Placed;

  // A label's size along the axis.
  int Measure(const std::string& Text) const {
    const TSize size = Canvas.TextExtent(Text);
    return Vertical ? size.cy : size.cx;
  }
};

namespace {

// The free room between two label boxes along the axis; negative when they overlap.
int GapAlong(bool Vertical, const TRect& A, const TRect& B) {
  return Vertical ? std::max(A.Top - B.Bottom, B.Top - A.Bottom) : std::max(A.Left - B.Right, B.Left - A.Right);
}

TRect LabelBox(TAlignment Alignment, int X, int Y, int CX, int CY) {
  switch (Alignment) {
    case TAlignment::taLeftJustify:
      return Rect(X - CX, Y - CY, X, Y);
    case TAlignment::taRightJustify:
      return Rect(X, Y, X + CX, Y + CY);
    case TAlignment::taCenter:
      break;
  }
  return Rect(X - CX / 2, Y - CY / 2, X + CX / 2, Y + CY / 2);
}

// The caption for the tick at V: the cursor K walks down the list (kept
// between ticks) past items whose coordinate lies above V.
std::string CaptionAt(const TZPChartValues& Values, int Dimension, int& K, double V) {
  auto coordinate = [&](int i) {
    return Values.Dimensions() > 1 ? Values.Items(i).Coordinate(std::min(Dimension, Values.Dimensions() - 1))
                                   : static_cast<double>(i);
  };
  while (K > 0 && coordinate(K) > V) --K;
  return K >= 0 && K < Values.Count() ? Values.Items(K).Caption() : std::string();
}

}  // namespace

double TZPChartAxis::FitStep(const TLabelPass& Pass, double PixelStep, double Step) const {
  if (label_increment_ != 0) return label_increment_;
  // Without any distance between labels the walk below would never advance;
  // an empty or inverted extent (a tiny picture) has no room for labels, and
  // its negative separation would make every label "too wide" forever.
  if (PixelStep + Pass.Sep <= 0 || Pass.Far <= Pass.Near || !std::isfinite(Step)) return Step;
  double pos = Pass.Far - PixelStep;
  double v = maximum_ - Step;
  do {
    const int size = Pass.Measure(FormatLabel(v));
    if (size > PixelStep + Pass.Sep) return FitStep(Pass, size, 2 * Step);
    v -= Step;
    pos -= PixelStep + Pass.Sep;
  } while (Pass.Near < pos);
  return Step;
}

double TZPChartAxis::ChooseStep(const TLabelPass& Pass, const TRect& R) {
  // The next nice value above a tenth of the window, widened until labels fit.
  double step = NextNiceStep(std::pow(10.0, std::log10(std::fabs(zoom_maximum_ - zoom_minimum_)) - 1));
  const double pixel_step = std::abs(ValueToPixel(R, zoom_maximum_) - ValueToPixel(R, zoom_maximum_ - step));
  step = FitStep(Pass, pixel_step, step);
  step = std::max(step, min_step_increment_);
  const float single_step = static_cast<float>(step);  // the grid keeps single precision
  grid_.SetStep(single_step);
  return single_step;
}

double TZPChartAxis::FirstTick(double Step) {
  // The step is single precision (0.2 is a little more than 0.2): a top end
  // that is a whole number of steps stays a tick within this much.
  const double slack = TickSlack(Step);
  double first;
  if (snap_grid_) {
    first = std::trunc((zoom_maximum_ + slack) / Step) * Step;
    grid_.SetFirstTick(first);
  } else {
    grid_.SetFirstTick(zoom_maximum_);
    first = maximum_;
  }
  while (first > zoom_maximum_ + slack) {
    const double next = first - Step;
    if (next == first) break;
    first = next;
  }
  return first;
}

void TZPChartAxis::PlaceLabel(TLabelPass& Pass, const TRect& R, double V, long long Tick,
                              const std::string& Text) const {
  const TSize extent = Pass.Canvas.TextExtent(Text);
  Pass.Widest = std::max(Pass.Widest, extent.cx);
  if (!drawing_) return;
  const int p = ValueToPixel(R, V);
  TPoint anchor;
  switch (location_) {
    case caLeft:
      anchor = Point(R.Left, p);
      break;
    case caRight:
      anchor = Point(R.Right - Pass.PrevLabelWidth, p);
      break;
    case caBottom:
      anchor = Point(p, R.Bottom - Pass.TextHeightA);
      break;
    case caTop:
      anchor = Point(p, R.Top);
      break;
  }
  const TRect box = LabelBox(labels_.Alignment(), anchor.X, anchor.Y, extent.cx, extent.cy);
  // The text starts at the box's corner across the axis, centred only along it.
  const TRect text = Pass.Vertical ? LabelBox(labels_.Alignment(), anchor.X, anchor.Y, 0, extent.cy)
                                   : LabelBox(labels_.Alignment(), anchor.X, anchor.Y, extent.cx, 0);
  Pass.Placed.push_back({Tick, box, Point(text.Left, text.Top), Text});
}

void TZPChartAxis::DrawPlacedLabels(TLabelPass& Pass) const {
  // Labels that merely do not overlap still read as one number ("40,00045,000"):
  // each drawn label keeps the separation the step was fitted with from the
  // last one. Every K-th tick is labelled (multiples of K steps, so the labels
  // stay evenly spaced), K as small as keeps them apart; counted from the
  // maximum when that is a tick (the 1 of a 0 .. 1 axis), else from 0.
  using TPlaced = TLabelPass::TPlaced;
  const auto& placed = Pass.Placed;
  auto keeps_apart = [&](long long K) {
    const TRect* last = nullptr;
    for (const auto& l : placed) {
      if (l.End || (l.Tick - Pass.Anchor) % K != 0) continue;
      if (last && GapAlong(Pass.Vertical, l.Box, *last) < Pass.Sep) return false;
      last = &l.Box;
    }
    return last != nullptr;
  };
  long long k = 1;
  const auto count = static_cast<long long>(placed.size());
  while (k < count && !keeps_apart(k)) ++k;
  std::vector<const TPlaced*> drawn;
  if (keeps_apart(k)) {
    for (const auto& l : placed)
      if (!l.End && (l.Tick - Pass.Anchor) % k == 0) drawn.push_back(&l);
  } else {
    // No multiple of the step lies in the window: the first label alone.
    const auto first = std::find_if(placed.begin(), placed.end(), [](const TPlaced& l) { return !l.End; });
    if (first != placed.end()) drawn.push_back(&*first);
  }
  // The ends of a decade axis come after the powers of ten, where they keep
  // half that separation: an end is worth a closer label.
  for (const auto& l : placed) {
    if (!l.End) continue;
    if (std::all_of(drawn.begin(), drawn.end(),
                    [&](const TPlaced* d) { return GapAlong(Pass.Vertical, l.Box, d->Box) >= Pass.Sep / 2; }))
      drawn.push_back(&l);
  }
  for (const TPlaced* l : drawn) Pass.Canvas.TextOut(l->At.X, l->At.Y, l->Text);
}

void TZPChartAxis::PlaceDecadeLabels(TLabelPass& Pass, const TRect& R) const {
  const double hi = zoom_maximum_;
  const double low = DecadeLow(zoom_minimum_, hi);
  if (!(hi > low) || !std::isfinite(hi)) return;
  const std::vector<double> powers = PowersOfTen(low, hi);
  const bool ends = std::log10(hi) - std::log10(low) < 3;
  auto is_power = [&](double V) {
    return std::any_of(powers.begin(), powers.end(), [V](double p) { return std::fabs(V - p) <= p * 1e-9; });
  };
  auto place_end = [&](double V) {
    if (!ends || is_power(V)) return;
    PlaceLabel(Pass, R, V, 0, FormatLabel(V));
    if (drawing_) Pass.Placed.back().End = true;
  };
  // Top value first, as on a linear axis.
  place_end(hi);
  for (auto p = powers.rbegin(); p != powers.rend(); ++p)
    PlaceLabel(Pass, R, *p, std::lround(std::log10(*p)), FormatLabel(*p));
  place_end(low);
}

void TZPChartAxis::DrawLabels(TCanvas& Canvas, const TRect& R, TRect& Remaining) {
  Remaining = R;
  IZPAxisSeries* series = FirstVisibleSeries();
  if (zoom_maximum_ == zoom_minimum_ || !series) return;
  Canvas.Font().Assign(labels_.Font());
  TLabelPass pass(Canvas, IsVerticalLocation(location_), R, min_separation_pct_, label_width_);
  if (DecadeTicks()) {
    pass.TextHeightA = Canvas.TextHeight("A");
    PlaceDecadeLabels(pass, R);
  } else {
    const TAxisLabelStyle style = EffectiveLabelStyle();
    const double step = ChooseStep(pass, R);
    if (step == 0) return;
    const double first = FirstTick(step);

    const double slack = TickSlack(step);
    if (std::fabs(first - zoom_maximum_) <= slack) pass.Anchor = std::llround(first / step);
    const TZPChartValues& values = series->Values();
    int k = values.Count() - 1;
    pass.TextHeightA = Canvas.TextHeight("A");
    for (double v = first; v >= zoom_minimum_ - slack && v <= zoom_maximum_ + slack;) {
      PlaceLabel(pass, R, v, std::llround(v / step),
                 style == TAxisLabelStyle::alsCaption ? CaptionAt(values, dimension_, k, v) : FormatLabel(v));
      const double next = v - step;
      if (next == v) break;
      v = next;
    }
  }
  if (drawing_) DrawPlacedLabels(pass);
  label_width_ = pass.Widest;
  switch (location_) {
    case caLeft:
      Remaining.Left += label_width_;
      break;
    case caRight:
      Remaining.Right -= label_width_ + 1;
      break;
    case caBottom:
      Remaining.Bottom -= pass.TextHeightA;
      break;
    case caTop:
      Remaining.Top += pass.TextHeightA;
      break;
  }
}

void TZPChartAxis::DrawTitle(TCanvas& Canvas, const TRect& R, TRect& Remaining) {
  Canvas.Font().Assign(title_.Font());
  const TSize size = RotatedTextExtent(Canvas, title_.Angle(), title_.Text()).Size;
  const int w = size.cx, h = size.cy;
  Remaining = R;
  TRect box = R;
  switch (location_) {
    case caLeft:
      Remaining.Left += w + title_margin_;
      box.Right = R.Left + w;
      break;
    case caRight:
      Remaining.Right -= w + title_margin_;
      box.Left = R.Right - w;
      break;
    case caBottom:
      Remaining.Bottom -= h + 2 * title_margin_;
      box.Top = R.Bottom - h - title_margin_;
      break;
    case caTop:
      Remaining.Top += h + title_margin_;
      box.Bottom = R.Top + h;
      break;
  }
  const TAlignment a = title_.Alignment();
  const bool at_bottom = (location_ == caLeft && a == TAlignment::taLeftJustify) ||
                         (location_ == caRight && a == TAlignment::taRightJustify);
  const bool at_top = (location_ == caLeft && a == TAlignment::taRightJustify) ||
                      (location_ == caRight && a == TAlignment::taLeftJustify);
  if (at_bottom) box.Top = box.Bottom - h;
  if (at_top) box.Bottom = box.Top + h;
  if (drawing_) title_.Draw(Canvas, box);
}

void TZPChartAxis::DrawAxisLine(TCanvas& Canvas, const TRect& R, TRect& Remaining) {
  Canvas.Pen().Assign(Pen());
  const bool ticks = grid_.Visible() && (grid_.TickLength() > 0 || grid_.InnerLength() > 0) &&
                     grid_.DrawOptions().Contains(TAxisDrawGridOption::goDrawTickMarks);
  const int tick = ticks ? grid_.TickLength() : 0;
  grid_.SetTickSpace(tick);
  Remaining = R;
  TPoint from, to;
  switch (location_) {
    case caLeft:
      Remaining.Left = R.Left + tick;
      from = Point(Remaining.Left, R.Top), to = Point(Remaining.Left, R.Bottom);
      break;
    case caRight:
      Remaining.Right = R.Right - tick;
      from = Point(Remaining.Right, R.Top), to = Point(Remaining.Right, R.Bottom);
      break;
    case caBottom:
      Remaining.Bottom = R.Bottom - tick;
      from = Point(R.Left, Remaining.Bottom), to = Point(R.Right, Remaining.Bottom);
      break;
    case caTop:
      Remaining.Top = R.Top + tick;
      from = Point(R.Left, Remaining.Top), to = Point(R.Right, Remaining.Top);
      break;
  }
  if (drawing_) {
    Canvas.MoveTo(from.X, from.Y);
    Canvas.LineTo(to.X, to.Y);
  }
}

void TZPChartAxis::LayoutPass(TCanvas& Canvas, TRect R) {
  if (needs_range_) CalculateRange();
  used_height_ = R.Height();
  used_width_ = R.Width();
  if (inward_position_ != 0) {
    const int extent = IsVerticalLocation(location_) ? R.Width() : R.Height();
    const int shift = static_cast<int>(std::trunc(extent * inward_position_ / 100.0));
    switch (location_) {
      case caLeft:
        R.Left += shift;
        break;
      case caRight:
        R.Right -= shift;
        break;
      case caBottom:
        R.Bottom -= shift;
        break;
      case caTop:
        R.Top += shift;
        break;
    }
  }
  TRect remaining;
  if (options_.Contains(axShowTitle)) {
    DrawTitle(Canvas, R, remaining);
    R = remaining;
  }
  if (options_.Contains(axShowLabels)) {
    DrawLabels(Canvas, R, remaining);
    R = remaining;
  }
  const TRect grid_rect = R;
  DrawAxisLine(Canvas, R, remaining);
  R = remaining;
  // Only the drawing pass paints the grid; measuring leaves the canvas alone.
  if (drawing_ && grid_.Visible()) grid_.Draw(Canvas, grid_rect);
  if (!drawing_) {
    used_height_ -= R.Height();
    used_width_ -= R.Width();
  }
}

void TZPChartAxis::Measure(TCanvas& Canvas, const TRect& R) {
  drawing_ = false;
  LayoutPass(Canvas, R);
}

void TZPChartAxis::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  TZPChartGraphicArea::DrawGraphic(Canvas, Rect);
  drawing_ = true;
  TScopeExit reset([this] { drawing_ = false; });
  LayoutPass(Canvas, Rect);
}

}  // namespace zp::chart
