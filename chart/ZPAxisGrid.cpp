#include "chart/ZPAxisGrid.h"

#include <algorithm>

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
  // The fixed coordinate of every tick's base point and the grid line's vector.
  int fixed = 0;
  TPoint grid_vec, major_from, major_to, minor_from, minor_to;
  switch (loc) {
    case caLeft:
      fixed = Rect.Left + tick_space_;
      major_from = {-tick_length_, 0}, major_to = {inner_length_, 0};
      minor_from = {-minor_tick_length_, 0}, minor_to = {0, 0};
      grid_vec = {Rect.Right - fixed, 0};
      break;
    case caRight:
      fixed = Rect.Right - tick_space_;
      major_from = {tick_length_, 0}, major_to = {-inner_length_, 0};
      minor_from = {0, 0}, minor_to = {minor_tick_length_, 0};
      grid_vec = {Rect.Left - fixed, 0};
      break;
    case caBottom:
      fixed = Rect.Bottom - tick_space_;
      major_from = {0, tick_length_}, major_to = {0, -inner_length_};
      minor_from = {0, 0}, minor_to = {0, minor_tick_length_};
      grid_vec = {0, Rect.Top - fixed};
      break;
    case caTop:
      fixed = Rect.Top + tick_space_;
      major_from = {0, -tick_length_}, major_to = {0, inner_length_};
      minor_from = {0, -minor_tick_length_}, minor_to = {0, 0};
      grid_vec = {0, Rect.Bottom - fixed};
      break;
  }
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

}  // namespace zp::chart
