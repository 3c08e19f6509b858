#include "chart/ZPChartAxis.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "chart/ZPChartValue.h"
#include "chart/ZPNumberFormat.h"
#include "platform/Numbers.h"

namespace zp::chart {

using enum TAxisOption;
using enum TZPChartAxisLocation;

namespace {

bool SameWithin(double A, double B) {
  const double tolerance = std::max(std::min(std::fabs(A), std::fabs(B)) * 1e-12, 1e-12);
  return std::fabs(A - B) <= tolerance;
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
  // A bound set by hand stays put even when it equals the one the data gave.
  if (Value == maximum_) return SetOptions(options_ - TAxisOptions{axAutomaticMaximum});
  maximum_ = Value;
  if (Value < minimum_) SetMinimum(Value);
  if (maximum_ < zoom_maximum_ || !zoomed_) zoom_maximum_ = maximum_;
  SetOptions(options_ - TAxisOptions{axAutomaticMaximum});
  UpdateZoomed();
  Changed();
}

void TZPChartAxis::SetMinimum(double Value) {
  // A bound set by hand stays put even when it equals the one the data gave.
  if (Value == minimum_) return SetOptions(options_ - TAxisOptions{axAutomaticMinimum});
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

bool TZPChartAxis::DecadeTicks() const {
  return options_.Contains(axLogarithmic) && logarithmic_type_ == TZPLogarithmicType::ltDecades;
}

int TZPChartAxis::ValueToPixel(const TRect& R, double V) const { return chart::ValueToPixel(Mapping(), R, V); }

double TZPChartAxis::PixelToValue(const TRect& R, int P) const { return chart::PixelToValue(Mapping(), R, P); }

double TZPChartAxis::PixelDeltaToValue(int D, const TRect& R) const {
  return chart::PixelDeltaToValue(Mapping(), R, D);
}

// ---- labels ----

IZPAxisSeries* TZPChartAxis::FirstVisibleSeries() const {
  auto it = std::find_if(charts_.begin(), charts_.end(), [](IZPAxisSeries* s) { return s->Visible(); });
  return it == charts_.end() ? nullptr : *it;
}

bool TZPChartAxis::IsDateTimeAxis() const {
  IZPAxisSeries* s = FirstVisibleSeries();
  if (!s || dimension_ > 7) return false;
  return (s->Values().DateTimeFlags() >> dimension_) & 1u;
}

std::string TZPChartAxis::FormatLabel(double V) const {
  if (IsDateTimeAxis()) return FormatDateTime(date_time_format_, V);
  if (format_.empty()) return FormatFixed(V, 4);
  return FormatFloat(format_, V);
}

TAxisLabelStyle TZPChartAxis::EffectiveLabelStyle() const {
  if (label_style_ != TAxisLabelStyle::alsAutomatic) return label_style_;
  IZPAxisSeries* s = FirstVisibleSeries();
  if (s && s->Values().SortByDimension() == dimension_ && s->Values().Count() > 0 && s->Values().HasCaptions())
    return TAxisLabelStyle::alsCaption;
  return TAxisLabelStyle::alsValue;
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
