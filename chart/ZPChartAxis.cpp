#include "chart/ZPChartAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "chart/ZPChartValue.h"
#include "chart/ZPNumberFormat.h"
#include "chart/ZPRotatedText.h"

namespace zp::chart {

using enum TAxisOption;
using enum TZPChartAxisLocation;

namespace {

bool SameWithin(double A, double B) {
  const double tolerance = std::max(std::min(std::fabs(A), std::fabs(B)) * 1e-12, 1e-12);
  return std::fabs(A - B) <= tolerance;
}

bool Intersects(const TRect& A, const TRect& B) {
  return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) && std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
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

}  // namespace

TZPChartAxis::TZPChartAxis(IZPAxisPanel* Panel) : panel_(Panel), grid_(this) {
  Brush().SetStyle(TBrushStyle::bsClear);
  if (panel_) {
    title_.SetFont(panel_->Font());
    labels_.SetFont(panel_->Font());
  }
  needs_range_ = true;
  title_.OnChange = [this](TZPChartGraphic&) { LabelVisibilityChanged(); };
  labels_.OnChange = [this](TZPChartGraphic&) { LabelVisibilityChanged(); };
  grid_.OnChange = [this](TZPChartGraphic&) { Changed(); };
}

TZPChartAxis::~TZPChartAxis() {
  // The series still bound must not unbind themselves from a freed axis later.
  for (IZPAxisSeries* s : charts_) s->AxisLetGo(*this);
  // The owned children must not call back into a half-destroyed axis.
  title_.OnChange = nullptr;
  labels_.OnChange = nullptr;
  grid_.OnChange = nullptr;
}

// ---- setters ----

void TZPChartAxis::SetFormat(const std::string& Value) { Store(format_, Value); }
void TZPChartAxis::SetDateTimeFormat(const std::string& Value) { Store(date_time_format_, Value); }
void TZPChartAxis::SetLabelStyle(TAxisLabelStyle Value) { Store(label_style_, Value); }
void TZPChartAxis::SetLogBase(int Value) { Store(log_base_, Value); }
void TZPChartAxis::SetLogarithmicType(TZPLogarithmicType Value) { Store(logarithmic_type_, Value); }
void TZPChartAxis::SetInwardPosition(int Value) { Store(inward_position_, Value); }
void TZPChartAxis::SetSnapGrid(bool Value) { Store(snap_grid_, Value); }
void TZPChartAxis::SetTitleMargin(int Value) { Store(title_margin_, Value); }
void TZPChartAxis::SetLabelIncrement(double Value) { Store(label_increment_, Value); }

void TZPChartAxis::SetStartPosition(int Value) {
  if (Value == start_position_) return;
  start_position_ = Value;
  if (end_position_ < Value) end_position_ = Value;
  Changed();
}

void TZPChartAxis::SetEndPosition(int Value) {
  if (Value == end_position_) return;
  end_position_ = Value;
  if (start_position_ > Value) start_position_ = Value;
  Changed();
}

void TZPChartAxis::SetMinSeparationPct(int Value) {
  Value = std::max(Value, 0);
  if (Value == min_separation_pct_) return;
  min_separation_pct_ = Value;
  Changed();
}

void TZPChartAxis::SetMinStepIncrement(double Value) {
  Value = std::max(Value, 0.0);
  if (Value == min_step_increment_) return;
  min_step_increment_ = Value;
  Changed();
}

void TZPChartAxis::SetOptions(TAxisOptions Value) {
  if (Value == options_) return;
  options_ = Value;
  title_.SetVisible(options_.Contains(axShowTitle));
  labels_.SetVisible(options_.Contains(axShowLabels));
  grid_.SetVisible(options_.Contains(axShowGrid));
  if (options_.Contains(axAutomaticMinimum) || options_.Contains(axAutomaticMaximum)) needs_range_ = true;
  Changed();
}

void TZPChartAxis::SetLocation(TZPChartAxisLocation Value) {
  if (Value == location_) return;
  location_ = Value;
  dimension_ = IsVerticalLocation(Value) ? 1 : 0;
  Changed();
}

void TZPChartAxis::SetShowGrid(bool Value) {
  // The grid reports its visibility here; store without another notice.
  if (Value)
    options_.Include(axShowGrid);
  else
    options_.Exclude(axShowGrid);
}

void TZPChartAxis::LabelVisibilityChanged() {
  if (title_.Visible() != options_.Contains(axShowTitle)) {
    title_.Visible() ? options_.Include(axShowTitle) : options_.Exclude(axShowTitle);
  }
  if (labels_.Visible() != options_.Contains(axShowLabels)) {
    labels_.Visible() ? options_.Include(axShowLabels) : options_.Exclude(axShowLabels);
  }
  Changed();
}

// ---- range and zoom ----

void TZPChartAxis::SetMaximum(double Value) {
  if (Value == maximum_) return;
  maximum_ = Value;
  if (Value < minimum_) SetMinimum(Value);
  if (maximum_ < zoom_maximum_ || !zoomed_) zoom_maximum_ = maximum_;
  SetOptions(options_ - TAxisOptions{axAutomaticMaximum});
  UpdateZoomed();
  Changed();
}

void TZPChartAxis::SetMinimum(double Value) {
  if (Value == minimum_) return;
  minimum_ = Value;
  if (Value > maximum_) SetMaximum(Value);
  if (minimum_ > zoom_minimum_ || !zoomed_) zoom_minimum_ = minimum_;
  SetOptions(options_ - TAxisOptions{axAutomaticMinimum});
  UpdateZoomed();
  Changed();
}

void TZPChartAxis::SetZoomMaximum(double Value) {
  if (Value == zoom_maximum_) {
    UpdateZoomed();
    return;
  }
  zoom_maximum_ = std::min(Value, maximum_);
  if (zoom_minimum_ > zoom_maximum_) zoom_minimum_ = Value;
  UpdateZoomed();
  Changed();
}

void TZPChartAxis::SetZoomMinimum(double Value) {
  if (Value == zoom_minimum_) {
    UpdateZoomed();
    return;
  }
  zoom_minimum_ = std::max(Value, minimum_);
  if (zoom_minimum_ > zoom_maximum_) zoom_maximum_ = Value;
  UpdateZoomed();
  Changed();
}

void TZPChartAxis::UpdateZoomed() {
  zoomed_ = !(SameWithin(zoom_maximum_, maximum_) && SameWithin(zoom_minimum_, minimum_));
}

TRect TZPChartAxis::PanelRect() const { return panel_ ? panel_->PlotRect() : Rect(0, 0, 100, 100); }

void TZPChartAxis::ZoomToPixels(const TRect& Pixels) {
  const TRect plot = PanelRect();
  const bool vertical = IsVerticalLocation(location_);
  const double a = PixelToValue(plot, vertical ? Pixels.Top : Pixels.Right);
  const double b = PixelToValue(plot, vertical ? Pixels.Bottom : Pixels.Left);
  zoom_maximum_ = std::max(a, b);
  SetZoomMinimum(std::min(a, b));
  Changed();
}

void TZPChartAxis::ZoomToValues(const TFloatRect& Values) {
  const bool vertical = IsVerticalLocation(location_);
  const double a = vertical ? Values.Top : Values.Left;
  const double b = vertical ? Values.Bottom : Values.Right;
  zoom_maximum_ = std::max(a, b);
  SetZoomMinimum(std::min(a, b));
  Changed();
}

void TZPChartAxis::ResetZoom() {
  zoom_maximum_ = maximum_;
  SetZoomMinimum(minimum_);
  Changed();
}

void TZPChartAxis::PanBy(double Delta) {
  if (zoom_minimum_ + Delta < minimum_)
    Delta = minimum_ - zoom_minimum_;
  else if (zoom_maximum_ + Delta > maximum_)
    Delta = maximum_ - zoom_maximum_;
  const double new_max = zoom_maximum_ + Delta;
  SetZoomMinimum(zoom_minimum_ + Delta);
  SetZoomMaximum(new_max);
  Changed();
}

void TZPChartAxis::PanByPixels(int D) { PanBy(PixelDeltaToValue(D, PanelRect())); }

void TZPChartAxis::InvalidateRange() {
  if (options_.Contains(axAutomaticMinimum) || options_.Contains(axAutomaticMaximum)) needs_range_ = true;
}

void TZPChartAxis::CalculateRange() {
  const bool auto_min = options_.Contains(axAutomaticMinimum);
  const bool auto_max = options_.Contains(axAutomaticMaximum);
  if (auto_min) minimum_ = 0;
  if (auto_max) maximum_ = 0;
  struct TGroupEntry {
    TZPGroupStyle Style;
    IZPAxisSeries* Last;
  };
  std::map<int, TGroupEntry> groups;  // stacking groups met in this pass
  bool first = true;
  for (IZPAxisSeries* s : charts_) {
    if (!s->Visible()) continue;
    if (dimension_ == 1) {
      auto it = groups.find(s->Group());
      if (it == groups.end()) {
        groups.emplace(s->Group(), TGroupEntry{s->GroupStyle(), s});
      } else if (it->second.Style != TZPGroupStyle::gsNone) {
        IZPAxisSeries* prev = it->second.Last;
        s->SetOptions(s->Options() + TChartOptions{TChartOption::coUseVerticalOffset});
        s->SetOffsetVertical(prev->OffsetVertical() + prev->Values().AxisMaximum(dimension_));
        it->second.Last = s;
      }
    }
    const double offset =
        dimension_ == 1 && s->Options().Contains(TChartOption::coUseVerticalOffset) ? s->OffsetVertical() : 0;
    const double lo = s->Values().AxisMinimum(dimension_) + offset;
    const double hi = s->Values().AxisMaximum(dimension_) + offset;
    if (auto_min) minimum_ = first ? lo : std::min(minimum_, lo);
    if (auto_max) maximum_ = first ? hi : std::max(maximum_, hi);
    first = false;
  }
  if (zoomed_) {
    zoom_minimum_ = std::max(zoom_minimum_, minimum_);
    zoom_maximum_ = std::min(zoom_maximum_, maximum_);
  } else {
    zoom_minimum_ = minimum_;
    zoom_maximum_ = maximum_;
  }
  UpdateZoomed();
  needs_range_ = false;
  RecalculateVisibleRanges();
}

// ---- bound series ----

void TZPChartAxis::BindSeries(IZPAxisSeries& Series) {
  if (std::find(charts_.begin(), charts_.end(), &Series) != charts_.end()) return;
  charts_.push_back(&Series);
  Series.AxisHolds(*this);
  ChartListChanged();
}

void TZPChartAxis::UnbindSeries(IZPAxisSeries& Series) {
  auto it = std::find(charts_.begin(), charts_.end(), &Series);
  if (it == charts_.end()) return;
  charts_.erase(it);
  Series.AxisLetGo(*this);
  ChartListChanged();
}

void TZPChartAxis::ChartListChanged() {
  SetVisible(std::any_of(charts_.begin(), charts_.end(), [](IZPAxisSeries* s) { return s->Visible(); }));
  InvalidateRange();
}

void TZPChartAxis::RecalculateVisibleRanges() {
  for (IZPAxisSeries* s : charts_) s->CalculateVisibleRange(*this);
}

void TZPChartAxis::Changed() {
  TZPChartGraphicArea::Changed();
  RecalculateVisibleRanges();
}

// ---- mapping ----

TAxisMapping TZPChartAxis::Mapping() const {
  TAxisMapping m;
  m.Location = location_;
  m.Inverted = options_.Contains(axInverted);
  m.Logarithmic = options_.Contains(axLogarithmic);
  m.LogarithmicType = logarithmic_type_;
  m.LogBase = log_base_;
  m.StartPosition = start_position_;
  m.EndPosition = end_position_;
  m.ZoomMinimum = zoom_minimum_;
  m.ZoomMaximum = zoom_maximum_;
  return m;
}

int TZPChartAxis::ValueToPixel(const TRect& R, double V) const { return chart::ValueToPixel(Mapping(), R, V); }

double TZPChartAxis::PixelToValue(const TRect& R, int P) const { return chart::PixelToValue(Mapping(), R, P); }

double TZPChartAxis::PixelDeltaToValue(int D, const TRect& R) const {
  return chart::PixelDeltaToValue(Mapping(), R, D);
}

// ---- labels ----

namespace {
IZPAxisSeries* FirstVisible(const std::vector<IZPAxisSeries*>& Charts) {
  auto it = std::find_if(Charts.begin(), Charts.end(), [](IZPAxisSeries* s) { return s->Visible(); });
  return it == Charts.end() ? nullptr : *it;
}
}  // namespace

bool TZPChartAxis::IsDateTimeAxis() const {
  IZPAxisSeries* s = FirstVisible(charts_);
  if (!s || dimension_ > 7) return false;
  return (s->Values().DateTimeFlags() >> dimension_) & 1u;
}

std::string TZPChartAxis::FormatLabel(double V) const {
  if (IsDateTimeAxis()) return FormatDateTime(date_time_format_, V);
  if (format_.empty()) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.4f", V);
    return buf;
  }
  return FormatFloat(format_, V);
}

TAxisLabelStyle TZPChartAxis::EffectiveLabelStyle() const {
  if (label_style_ != TAxisLabelStyle::alsAutomatic) return label_style_;
  IZPAxisSeries* s = FirstVisible(charts_);
  if (s && s->Values().SortByDimension() == dimension_ && s->Values().Count() > 0 && s->Values().HasCaptions())
    return TAxisLabelStyle::alsCaption;
  return TAxisLabelStyle::alsValue;
}

int TZPChartAxis::MeasureText(const std::string& Text) {
  const TSize size = pass_canvas_->TextExtent(Text);
  return IsVerticalLocation(location_) ? size.cy : size.cx;
}

double TZPChartAxis::FitStep(double PixelStep, double Step) {
  if (label_increment_ != 0) return label_increment_;
  // Without any distance between labels the walk below would never advance;
  // an empty or inverted extent (a tiny picture) has no room for labels, and
  // its negative separation would make every label "too wide" forever.
  if (PixelStep + pass_sep_ <= 0 || pass_far_ <= pass_near_ || !std::isfinite(Step)) return Step;
  double pos = pass_far_ - PixelStep;
  double v = maximum_ - Step;
  do {
    const int size = MeasureText(FormatLabel(v));
    if (size > PixelStep + pass_sep_) return FitStep(size, 2 * Step);
    v -= Step;
    pos -= PixelStep + pass_sep_;
  } while (pass_near_ < pos);
  return Step;
}

void TZPChartAxis::DrawLabels(TCanvas& Canvas, const TRect& R, TRect& Remaining) {
  Remaining = R;
  IZPAxisSeries* series = FirstVisible(charts_);
  if (zoom_maximum_ == zoom_minimum_ || !series) return;
  Canvas.Font().Assign(labels_.Font());
  const bool vertical = IsVerticalLocation(location_);
  pass_canvas_ = &Canvas;
  pass_near_ = vertical ? R.Top : R.Left;
  pass_far_ = vertical ? R.Bottom : R.Right;
  pass_sep_ = (pass_far_ - pass_near_) * min_separation_pct_ / 100.0;
  const TAxisLabelStyle style = EffectiveLabelStyle();

  double step = NextNiceStep(std::pow(10.0, std::log10(std::fabs(zoom_maximum_ - zoom_minimum_)) - 1));
  const double pixel_step = std::abs(ValueToPixel(R, zoom_maximum_) - ValueToPixel(R, zoom_maximum_ - step));
  step = FitStep(pixel_step, step);
  step = std::max(step, min_step_increment_);
  const float single_step = static_cast<float>(step);  // the grid keeps single precision
  step = single_step;
  grid_.SetStep(single_step);
  pass_canvas_ = nullptr;
  if (step == 0) return;

  double first;
  if (snap_grid_) {
    first = std::trunc(zoom_maximum_ / step) * step;
    grid_.SetFirstTick(first);
  } else {
    grid_.SetFirstTick(zoom_maximum_);
    first = maximum_;
  }
  while (first > zoom_maximum_) {
    const double next = first - step;
    if (next == first) break;
    first = next;
  }

  // A single-precision step drifts; ends within a millionth of it still count.
  const double slack = step * 1e-6;
  TZPChartValues& values = series->Values();
  int k = values.Count() - 1;
  const int text_height_a = Canvas.TextHeight("A");
  const int prev_label_width = label_width_;
  int widest = 0;
  bool first_label = true;
  TRect last_box;
  for (double v = first; v >= zoom_minimum_ - slack && v <= zoom_maximum_ + slack;) {
    std::string text;
    if (style == TAxisLabelStyle::alsCaption) {
      auto coordinate = [&](int i) {
        return values.Dimensions() > 1 ? values.Items(i).Coordinate(std::min(dimension_, values.Dimensions() - 1))
                                       : static_cast<double>(i);
      };
      while (k > 0 && coordinate(k) > v) --k;
      if (k >= 0 && k < values.Count()) text = values.Items(k).Caption();
    } else {
      text = FormatLabel(v);
    }
    const TSize extent = Canvas.TextExtent(text);
    widest = std::max(widest, extent.cx);
    if (drawing_) {
      const int p = ValueToPixel(R, v);
      TPoint anchor;
      switch (location_) {
        case caLeft:
          anchor = Point(R.Left, p);
          break;
        case caRight:
          anchor = Point(R.Right - prev_label_width, p);
          break;
        case caBottom:
          anchor = Point(p, R.Bottom - text_height_a);
          break;
        case caTop:
          anchor = Point(p, R.Top);
          break;
      }
      TRect box = LabelBox(labels_.Alignment(), anchor.X, anchor.Y, extent.cx, extent.cy);
      if (first_label || !Intersects(box, last_box)) {
        last_box = box;
        box = vertical ? LabelBox(labels_.Alignment(), anchor.X, anchor.Y, 0, extent.cy)
                       : LabelBox(labels_.Alignment(), anchor.X, anchor.Y, extent.cx, 0);
        Canvas.TextOut(box.Left, box.Top, text);
        first_label = false;
      }
    }
    const double next = v - step;
    if (next == v) break;
    v = next;
  }
  label_width_ = widest;
  switch (location_) {
    case caLeft:
      Remaining.Left += label_width_;
      break;
    case caRight:
      Remaining.Right -= label_width_ + 1;
      break;
    case caBottom:
      Remaining.Bottom -= text_height_a;
      break;
    case caTop:
      Remaining.Top += text_height_a;
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
  struct TDrawingReset {
    bool& flag;
    ~TDrawingReset() { flag = false; }
  } reset{drawing_};
  LayoutPass(Canvas, Rect);
}

void TZPChartAxis::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartAxis*>(&Source)) {
    min_separation_pct_ = src->min_separation_pct_;
    title_margin_ = src->title_margin_;
    min_step_increment_ = src->min_step_increment_;
    label_style_ = src->label_style_;
    log_base_ = src->log_base_;
    format_ = src->format_;
    date_time_format_ = src->date_time_format_;
    options_ = src->options_;
    minimum_ = src->minimum_;
    maximum_ = src->maximum_;
    zoom_minimum_ = src->zoom_minimum_;
    zoom_maximum_ = src->zoom_maximum_;
    zoomed_ = src->zoomed_;
    end_position_ = src->end_position_;
    start_position_ = src->start_position_;
    inward_position_ = src->inward_position_;
    if (src != this) {
      for (IZPAxisSeries* s : charts_) s->AxisLetGo(*this);
      charts_ = src->charts_;
      for (IZPAxisSeries* s : charts_) s->AxisHolds(*this);
    }
    title_.Assign(src->title_);
    labels_.Assign(src->labels_);
  }
  TZPChartGraphicArea::Assign(Source);
}

}  // namespace zp::chart
