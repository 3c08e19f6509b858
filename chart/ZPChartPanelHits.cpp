// What lies under the mouse (legend lines, the nearest value) and the zoom
// steps beyond the drag gestures: the wheel's zoom and the way back.
#include <algorithm>
#include <cstdint>

#include "chart/ZPCustomChartPanel.h"

namespace zp::chart {

// ---- under the mouse ----

TZPCustomChart* TZPCustomChartPanel::LegendChartAt(int X, int Y) const {
  if (!legend_->Visible()) return nullptr;
  const int series = legend_->LineSeries(legend_->LineAt(X, Y));
  return series >= 0 && series < charts_.Count() ? charts_.Items(series) : nullptr;
}

TChartHit TZPCustomChartPanel::NearestValue(int X, int Y, int Radius) const {
  TChartHit best;
  int64_t best_distance = static_cast<int64_t>(Radius) * Radius;
  for (int k = 0; k < charts_.Count(); ++k) {
    TZPCustomChart* s = charts_.Items(k);
    if (!s->CanDraw()) continue;
    const TZPChartValues& values = s->Values();
    const TAxisMapping h = s->HorizAxisObject()->Mapping(), v = s->VertAxisObject()->Mapping();
    const int hd = s->HorizAxisObject()->Dimension(), vd = s->VertAxisObject()->Dimension();
    auto coordinate = [&](int i, int d) { return d < values.Dimensions() ? values.Items(i).Coordinate(d) : i; };
    // Pixel columns grow with the index along a sorted list, or shrink on an inverted axis.
    auto key = [&](int i) {
      const int x = ValueToPixel(h, plot_rect_, coordinate(i, hd));
      return h.Inverted ? -x : x;
    };
    const int lowest = h.Inverted ? -(X + Radius) : X - Radius;
    const int highest = h.Inverted ? -(X - Radius) : X + Radius;
    const int first = std::max(s->FirstIndex(), 0), last = std::min(s->LastIndex(), values.Count() - 1);
    int i = first;
    const bool sorted = values.Sorted() && values.SortByDimension() == hd && hd < values.Dimensions();
    if (sorted) {
      int lo = first, hi = last + 1;
      while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (key(mid) < lowest)
          lo = mid + 1;
        else
          hi = mid;
      }
      i = lo;
    }
    for (; i <= last; ++i) {
      if (sorted && key(i) > highest) break;
      if (!values.Items(i).Visible()) continue;
      const TPoint p = Point(ValueToPixel(h, plot_rect_, coordinate(i, hd)),
                             ValueToPixel(v, plot_rect_, coordinate(i, vd) + s->VerticalOffset()));
      const int64_t dx = p.X - X, dy = p.Y - Y;
      if (const int64_t d = dx * dx + dy * dy; d <= best_distance) {
        best_distance = d;
        best = {s, i, p};
      }
    }
  }
  return best;
}

std::string TZPCustomChartPanel::ValueReadout(const TChartHit& Hit) const {
  if (!Hit.Chart || Hit.Index < 0 || Hit.Index >= Hit.Chart->Values().Count()) return "";
  const TZPCustomChart& s = *Hit.Chart;
  const TZPChartValues& values = s.Values();
  auto line = [&](const TZPChartAxis* Axis, const char* Unnamed) {
    if (!Axis) return std::string();
    const int d = Axis->Dimension();
    const double value = d < values.Dimensions() ? values.Items(Hit.Index).Coordinate(d) : Hit.Index;
    const std::string title = Axis->Title().Text();
    return "\n" + (title.empty() ? std::string(Unnamed) : title) + ": " + Axis->FormatLabel(value);
  };
  const std::string caption = !s.Caption().empty() ? s.Caption() : !s.Name().empty() ? s.Name() : s.ClassName();
  return caption + line(s.HorizAxisObject(), "X") + line(s.VertAxisObject(), "Y");
}

// ---- zoom steps ----

TZoomState TZPCustomChartPanel::CaptureZoom() const {
  TZoomState state;
  const TZPChartAxis* axes[] = {bottom_axis_.get(), left_axis_.get(), top_axis_.get(), right_axis_.get()};
  for (size_t k = 0; k < 4; ++k) state.Axes[k] = {axes[k]->Zoomed(), axes[k]->ZoomMinimum(), axes[k]->ZoomMaximum()};
  return state;
}

void TZPCustomChartPanel::RememberZoom(const TZoomState& Before) {
  if (CaptureZoom() == Before) return;
  if (zoom_history_.size() >= static_cast<size_t>(kZoomHistoryLimit)) zoom_history_.erase(zoom_history_.begin());
  zoom_history_.push_back(Before);
}

bool TZPCustomChartPanel::ZoomBack() {
  if (zoom_history_.empty()) return false;
  const TZoomState state = zoom_history_.back();
  zoom_history_.pop_back();
  TZPChartAxis* axes[] = {bottom_axis_.get(), left_axis_.get(), top_axis_.get(), right_axis_.get()};
  for (size_t k = 0; k < 4; ++k) {
    const TZoomState::TAxisZoom& a = state.Axes[k];
    // An axis that showed its full range follows its data again.
    if (a.Zoomed)
      axes[k]->ZoomToValues({a.Minimum, a.Minimum, a.Maximum, a.Maximum});
    else
      axes[k]->ResetZoom();
  }
  if (OnZoom) OnZoom(*this);
  return true;
}

void TZPCustomChartPanel::ZoomAround(int X, double Factor) {
  TZPChartAxis& axis = *bottom_axis_;
  const double lo = axis.ZoomMinimum(), hi = axis.ZoomMaximum();
  const int width = plot_rect_.Width();
  if (!(Factor > 0) || !(hi > lo) || width <= 0) return;
  const double c = axis.PixelToValue(plot_rect_, std::clamp(X, plot_rect_.Left, plot_rect_.Right));
  const double new_lo = std::max(c - (c - lo) * Factor, axis.Minimum());
  const double new_hi = std::min(c + (hi - c) * Factor, axis.Maximum());
  // A window a few pixels across would leave nothing to see.
  if ((new_hi - new_lo) / (hi - lo) * width < kClickTolerance) return;
  const TZoomState before = CaptureZoom();
  if (new_lo <= axis.Minimum() && new_hi >= axis.Maximum())
    axis.ResetZoom();
  else
    axis.ZoomToValues({new_lo, 0, new_hi, 0});
  RememberZoom(before);
  if (OnZoom) OnZoom(*this);
}

}  // namespace zp::chart
