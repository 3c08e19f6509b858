#include "chart/ZPAxisGrid.h"

#include <algorithm>
#include <cmath>

#include "chart/ZPAxisMapping.h"

namespace zp::chart {

TZPAxisGrid::TZPAxisGrid(IZPGridAxis* Axis) : axis_(Axis) {
  minor_grid_pen_.SetColor(clInactiveBorder);
  grid_pen_.SetStyle(TPenStyle::psDot);
  ticks_pen_.SetColor(clGray);
  minor_grid_pen_.OnChange = [this](TPen& p) { ObjectChanged(p); };
  grid_pen_.OnChange = [this](TPen& p) { ObjectChanged(p); };
  ticks_pen_.OnChange = [this](TPen& p) { ObjectChanged(p); };
}

namespace {
void SetClamped(int& field, int Value, const std::function<void()>& notify) {
  if (Value < 0) Value = 0;
  if (field == Value) return;
  field = Value;
  notify();
}
}  // namespace

void TZPAxisGrid::SetInnerLength(int Value) {
  SetClamped(inner_length_, Value, [this] { DoChange(); });
}
void TZPAxisGrid::SetMinorTickCount(int Value) {
  SetClamped(minor_tick_count_, Value, [this] { DoChange(); });
}
void TZPAxisGrid::SetTickLength(int Value) {
  SetClamped(tick_length_, Value, [this] { DoChange(); });
}
void TZPAxisGrid::SetMinorTickLength(int Value) {
  SetClamped(minor_tick_length_, Value, [this] { DoChange(); });
}

void TZPAxisGrid::SetDrawOptions(TAxisDrawGridOptions Value) {
  if (draw_options_ == Value) return;
  draw_options_ = Value;
  DoChange();
}

void TZPAxisGrid::Changed() {
  if (axis_) axis_->SetShowGrid(Visible());
  TZPChartGraphic::Changed();
}

void TZPAxisGrid::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPAxisGrid*>(&Source)) {
    minor_tick_count_ = src->minor_tick_count_;
    draw_options_ = src->draw_options_;
    inner_length_ = src->inner_length_;
    tick_length_ = src->tick_length_;
    minor_tick_length_ = src->minor_tick_length_;
    grid_pen_.Assign(src->grid_pen_);
    minor_grid_pen_.Assign(src->minor_grid_pen_);
    ticks_pen_.Assign(src->ticks_pen_);
  }
  TZPChartGraphic::Assign(Source);
}

namespace {

struct TTickLengths {
  int Space, Major, Inner, Minor;
};

// Where the ticks of an axis on side Loc stand: the fixed coordinate of every
// tick's base point, the grid line's vector and each tick's ends from its base.
struct TTickGeometry {
  int Fixed = 0;
  TPoint GridVec, MajorFrom, MajorTo, MinorFrom, MinorTo;
};

TTickGeometry TickGeometry(TZPChartAxisLocation Loc, const TRect& Rect, TTickLengths L) {
  using enum TZPChartAxisLocation;
  TTickGeometry g;
  switch (Loc) {
    case caLeft:
      g.Fixed = Rect.Left + L.Space;
      g.MajorFrom = {-L.Major, 0}, g.MajorTo = {L.Inner, 0};
      g.MinorFrom = {-L.Minor, 0}, g.MinorTo = {0, 0};
      g.GridVec = {Rect.Right - g.Fixed, 0};
      break;
    case caRight:
      g.Fixed = Rect.Right - L.Space;
      g.MajorFrom = {L.Major, 0}, g.MajorTo = {-L.Inner, 0};
      g.MinorFrom = {0, 0}, g.MinorTo = {L.Minor, 0};
      g.GridVec = {Rect.Left - g.Fixed, 0};
      break;
    case caBottom:
      g.Fixed = Rect.Bottom - L.Space;
      g.MajorFrom = {0, L.Major}, g.MajorTo = {0, -L.Inner};
      g.MinorFrom = {0, 0}, g.MinorTo = {0, L.Minor};
      g.GridVec = {0, Rect.Top - g.Fixed};
      break;
    case caTop:
      g.Fixed = Rect.Top + L.Space;
      g.MajorFrom = {0, -L.Major}, g.MajorTo = {0, L.Inner};
      g.MinorFrom = {0, -L.Minor}, g.MinorTo = {0, 0};
      g.GridVec = {0, Rect.Bottom - g.Fixed};
      break;
  }
  return g;
}

}  // namespace

void TZPAxisGrid::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  using enum TAxisDrawGridOption;
  using enum TZPChartAxisLocation;
  if (!axis_) return;
  const IZPGridAxis& axis = *axis_;
  if (axis.ZoomMinimum() == axis.ZoomMaximum()) return;
  const bool ticks_on = draw_options_.Contains(goDrawTickMarks);
  const bool major_ticks = Visible() && (tick_length_ > 0 || inner_length_ > 0) && ticks_on;
  const bool minor_ticks = Visible() && minor_tick_length_ > 0 && minor_tick_count_ > 0 && ticks_on;
  // Grid lines come only with tick marks.
  if (draw_options_.Empty() || (!major_ticks && !minor_ticks)) return;
  if (axis.DecadeTicks()) return DrawDecades(Canvas, Rect, major_ticks, minor_ticks);
  const double step = step_;
  // A zero or negative step would never reach the bottom of the range.
  if (!(step > 0)) return;

  double v;
  if (!axis.SnapGrid()) {
    v = axis.Maximum();
    while (v > axis.ZoomMaximum()) v -= step;
  } else {
    v = first_tick_ + step;
  }
  if (axis.ZoomMaximum() < axis.Maximum()) v = std::min(v + step, axis.Maximum());
  const double minor_step = step / (minor_tick_count_ + 1);

  const TZPChartAxisLocation loc = axis.Location();
  const bool vertical = loc == caLeft || loc == caRight;
  const TTickGeometry g = TickGeometry(loc, Rect, {tick_space_, tick_length_, inner_length_, minor_tick_length_});
  const int fixed = g.Fixed;
  const TPoint grid_vec = g.GridVec, major_from = g.MajorFrom, major_to = g.MajorTo, minor_from = g.MinorFrom,
               minor_to = g.MinorTo;
  auto base = [&](double value) {
    const int p = axis.ValueToPixel(Rect, value);
    return vertical ? TPoint{fixed, p} : TPoint{p, fixed};
  };
  auto line = [&](const TPen& pen, TPoint b, TPoint from, TPoint to) {
    Canvas.Pen().Assign(pen);
    Canvas.MoveTo(b.X + from.X, b.Y + from.Y);
    Canvas.LineTo(b.X + to.X, b.Y + to.Y);
  };

  const double slack = TickSlack(step);
  while (v >= axis.ZoomMinimum() - slack) {
    const TPoint b = base(v);
    if (v <= axis.ZoomMaximum() + slack) {
      if (draw_options_.Contains(goDrawMajorGrid)) line(grid_pen_, b, {0, 0}, grid_vec);
      if (major_ticks) line(ticks_pen_, b, major_from, major_to);
    }
    if (minor_ticks || draw_options_.Contains(goDrawMinorGrid)) {
      for (int k = 1; k <= minor_tick_count_; ++k) {
        const TPoint m = base(v - k * minor_step);
        if (m.X < Rect.Left || m.X >= Rect.Right || m.Y < Rect.Top || m.Y >= Rect.Bottom) continue;
        if (draw_options_.Contains(goDrawMinorGrid)) line(minor_grid_pen_, m, {0, 0}, grid_vec);
        if (minor_ticks) line(ticks_pen_, m, minor_from, minor_to);
      }
    }
    v -= step;
  }
}

void TZPAxisGrid::DrawDecades(TCanvas& Canvas, const TRect& Rect, bool MajorTicks, bool MinorTicks) const {
  using enum TAxisDrawGridOption;
  using enum TZPChartAxisLocation;
  const IZPGridAxis& axis = *axis_;
  const double hi = axis.ZoomMaximum();
  const double low = DecadeLow(axis.ZoomMinimum(), hi);
  if (!(hi > low) || !std::isfinite(hi)) return;
  const TZPChartAxisLocation loc = axis.Location();
  const bool vertical = loc == caLeft || loc == caRight;
  const TTickGeometry g = TickGeometry(loc, Rect, {tick_space_, tick_length_, inner_length_, minor_tick_length_});
  auto base = [&](double value) {
    const int p = axis.ValueToPixel(Rect, value);
    return vertical ? TPoint{g.Fixed, p} : TPoint{p, g.Fixed};
  };
  auto line = [&](const TPen& pen, TPoint b, TPoint from, TPoint to) {
    Canvas.Pen().Assign(pen);
    Canvas.MoveTo(b.X + from.X, b.Y + from.Y);
    Canvas.LineTo(b.X + to.X, b.Y + to.Y);
  };
  for (const double d : PowersOfTen(low, hi)) {
    if (draw_options_.Contains(goDrawMajorGrid)) line(grid_pen_, base(d), {0, 0}, g.GridVec);
    if (MajorTicks) line(ticks_pen_, base(d), g.MajorFrom, g.MajorTo);
  }
  if (!MinorTicks && !draw_options_.Contains(goDrawMinorGrid)) return;
  // 2..9 times every power of ten from the one below the low end.
  for (const double d : PowersOfTen(std::pow(10.0, std::floor(std::log10(low))), hi)) {
    for (int k = 2; k <= 9; ++k) {
      const double v = k * d;
      if (v <= low || v >= hi) continue;
      const TPoint m = base(v);
      if (m.X < Rect.Left || m.X >= Rect.Right || m.Y < Rect.Top || m.Y >= Rect.Bottom) continue;
      if (draw_options_.Contains(goDrawMinorGrid)) line(minor_grid_pen_, m, {0, 0}, g.GridVec);
      if (MinorTicks) line(ticks_pen_, m, g.MinorFrom, g.MinorTo);
    }
  }
}

}  // namespace zp::chart
