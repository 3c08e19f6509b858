#include "chart/ZPChartSeries.h"

#include <algorithm>

#include "chart/NextAutoColor.h"
#include "chart/ZPChartAxis.h"
#include "chart/ZPCustomChartPanel.h"
#include "chart/ZPNumberFormat.h"
#include "chart/ZPTextInRect.h"
#include "platform/Numbers.h"
#include "platform/ScopeGuard.h"

namespace zp::chart {

namespace {

using enum TChartOption;

}  // namespace

TZPCustomChart::TZPCustomChart(TComponent* Owner) : TComponent(Owner) {}

TZPCustomChart::~TZPCustomChart() {
  update_count_ = 1;  // no more notices
  SetParent(nullptr);
  // Axes bound by hand (custom axes) must not keep a pointer to this series.
  SetHorizAxisObject(nullptr);
  SetVertAxisObject(nullptr);
  // An axis that copied another's bound series holds this one too. Popped
  // before unbinding, so the loop ends even if an axis no longer lists it.
  while (!holding_axes_.empty()) {
    TZPChartAxis* axis = holding_axes_.back();
    holding_axes_.pop_back();
    axis->UnbindSeries(*this);
  }
  brush_.reset();
  font_.reset();
  pen_.reset();
  values_.reset();
}

void TZPCustomChart::Initialize() {
  InitializeDefaults();
  brush_->OnChange = [this](TBrush&) { StyleChanged(); };
  font_->OnChange = [this](TFont&) { StyleChanged(); };
  pen_->OnChange = [this](TPen&) { StyleChanged(); };
}

std::unique_ptr<TBrush> TZPCustomChart::CreateBrush() const { return std::make_unique<TBrush>(); }
std::unique_ptr<TFont> TZPCustomChart::CreateFont() const { return std::make_unique<TFont>(); }
std::unique_ptr<TPen> TZPCustomChart::CreatePen() const { return std::make_unique<TPen>(); }
std::unique_ptr<TZPChartValues> TZPCustomChart::CreateValues() { return std::make_unique<TZPChartValues>(this); }

void TZPCustomChart::InitializeDefaults() {
  parent_font_ = true;
  visible_ = true;
  brush_ = CreateBrush();
  font_ = CreateFont();
  pen_ = CreatePen();
  values_ = CreateValues();
  if (auto* panel = dynamic_cast<TZPCustomChartPanel*>(Owner())) {
    brush_->SetColor(panel->Color());
    font_->Assign(panel->Font());
    SetParent(panel);
  }
  SetColor(NextAutoColor());
  brush_->SetStyle(TBrushStyle::bsSolid);
  StoreOptions({coColorEachPoint, coShowInLegend, coAllowSingleValue, coLabelEachPoint});
  selection_color_ = kDefaultSelectionColor;
  parent_selection_color_ = true;
  hover_cursor_ = crSizeAll;
  value_label_format_ = "#,##0.###";
  value_label_style_ = TZPLegendTextStyle::ltsCaption;
  preview_ = false;  // never designing
}

// ---- setters ----

void TZPCustomChart::SetCaption(const std::string& Value) {
  if (Value == caption_) return;
  caption_ = Value;
  if (parent_) parent_->LegendNeedsRebuild(*this);
  Changed();
}

void TZPCustomChart::SetOptions(TChartOptions Value) {
  if (Value == options_) return;
  options_ = Value;
  if (parent_) parent_->LegendNeedsRebuild(*this);
  Changed();
}

void TZPCustomChart::SetVisible(bool Value) {
  if (Value == visible_) return;
  visible_ = Value;
  VisibilityChanged();
}

void TZPCustomChart::SetPreview(bool Value) {
  if (Value == preview_) return;
  preview_ = Value;
  if (preview_ && values_->Count() == 0) LoadPreviewData();
}

void TZPCustomChart::SetGroup(int Value) {
  Value = std::max(Value, 0);
  if (Value == group_) return;
  group_ = Value;
  if (vert_axis_object_) vert_axis_object_->InvalidateRange();
  Changed();
}

void TZPCustomChart::SetGroupStyle(TZPGroupStyle Value) {
  if (Value == group_style_) return;
  group_style_ = Value;
  SetOptions(Value == TZPGroupStyle::gsNone ? options_ - TChartOptions{coUseVerticalOffset}
                                            : options_ + TChartOptions{coUseVerticalOffset});
  // The whole group stacks alike; the setter's equality test ends the recursion.
  if (parent_) {
    for (int i = 0; i < parent_->Charts().Count(); ++i) {
      TZPCustomChart* s = parent_->Charts().Items(i);
      if (s->Group() == group_) s->SetGroupStyle(Value);
    }
  }
  if (vert_axis_object_) vert_axis_object_->InvalidateRange();
  Changed();
}

void TZPCustomChart::SetOffsetVertical(double Value) {
  if (Value == offset_vertical_) return;
  offset_vertical_ = Value;
  Changed();
}

double TZPCustomChart::VerticalOffset() const {
  return options_.Contains(coUseVerticalOffset) ? offset_vertical_ : 0.0;
}

void TZPCustomChart::SetHorizAxis(THorizontalAxis Value) {
  if (Value == horiz_axis_) return;
  horiz_axis_ = Value;
  if (parent_) {
    SetHorizAxisObject(Value == THorizontalAxis::haBottomAxis ? &parent_->BottomAxis()
                       : Value == THorizontalAxis::haTopAxis  ? &parent_->TopAxis()
                                                              : nullptr);
  }
  Changed();
}

void TZPCustomChart::SetVertAxis(TVerticalAxis Value) {
  if (Value == vert_axis_) return;
  vert_axis_ = Value;
  if (parent_) {
    SetVertAxisObject(Value == TVerticalAxis::vaLeftAxis    ? &parent_->LeftAxis()
                      : Value == TVerticalAxis::vaRightAxis ? &parent_->RightAxis()
                                                            : nullptr);
  }
  Changed();
}

void TZPCustomChart::SetParent(TZPCustomChartPanel* Value) {
  if (Value == parent_) return;
  if (TZPCustomChartPanel* old = parent_) {
    parent_ = nullptr;
    SetHorizAxisObject(nullptr);
    SetVertAxisObject(nullptr);
    old->Charts().Remove(*this);
    RemoveFreeNotification(*old);
  }
  parent_ = Value;
  if (parent_) {
    parent_->Charts().Add(*this);
    FreeNotification(*parent_);
    AttachToPanel();
  }
}

void TZPCustomChart::SetSelectionColor(TColor Value) {
  if (Value == selection_color_) return;
  selection_color_ = Value;
  parent_selection_color_ = false;
}

void TZPCustomChart::SetParentSelectionColor(bool Value) {
  if (Value == parent_selection_color_) return;
  parent_selection_color_ = Value;
  if (parent_selection_color_ && parent_) selection_color_ = parent_->SelectionColor();
}

void TZPCustomChart::SelectionColorChanged() {
  if (parent_selection_color_ && parent_) selection_color_ = parent_->SelectionColor();
}

void TZPCustomChart::SetValueLabelStyle(TZPLegendTextStyle Value) {
  if (Value == value_label_style_) return;
  value_label_style_ = Value;
  Changed();
}

void TZPCustomChart::SetValueLabelFormat(const std::string& Value) {
  if (Value == value_label_format_) return;
  value_label_format_ = Value;
  Changed();
}

// ---- axes ----

void TZPCustomChart::SetHorizAxisObject(TZPChartAxis* Axis) {
  if (Axis == horiz_axis_object_) return;
  if (horiz_axis_object_) horiz_axis_object_->UnbindSeries(*this);
  horiz_axis_object_ = Axis;
  if (Axis) Axis->BindSeries(*this);
  if (Axis && parent_) {
    horiz_axis_ = Axis == &parent_->BottomAxis() ? THorizontalAxis::haBottomAxis
                  : Axis == &parent_->TopAxis()  ? THorizontalAxis::haTopAxis
                                                 : THorizontalAxis::haCustomAxis;
  }
  AxisChanged(Axis);
}

void TZPCustomChart::SetVertAxisObject(TZPChartAxis* Axis) {
  if (Axis == vert_axis_object_) return;
  if (vert_axis_object_) vert_axis_object_->UnbindSeries(*this);
  vert_axis_object_ = Axis;
  if (Axis) Axis->BindSeries(*this);
  if (Axis && parent_) {
    vert_axis_ = Axis == &parent_->LeftAxis()    ? TVerticalAxis::vaLeftAxis
                 : Axis == &parent_->RightAxis() ? TVerticalAxis::vaRightAxis
                                                 : TVerticalAxis::vaCustomAxis;
  }
  AxisChanged(Axis);
}

void TZPCustomChart::AxisHolds(TZPChartAxis& Axis) {
  if (std::find(holding_axes_.begin(), holding_axes_.end(), &Axis) == holding_axes_.end())
    holding_axes_.push_back(&Axis);
}

void TZPCustomChart::AxisLetGo(TZPChartAxis& Axis) { std::erase(holding_axes_, &Axis); }

void TZPCustomChart::AxisChanged(TZPChartAxis* Axis) {
  if (Axis) {
    if (Axis == vert_axis_object_) {
      // Joining a stacked group on this axis takes the group's style.
      for (IZPAxisSeries* other : Axis->Charts())
        if (other != this && other->Group() == group_) group_style_ = other->GroupStyle();
    }
    Axis->InvalidateRange();
  }
  Changed();
}

void TZPCustomChart::AttachToPanel() {
  if (!parent_) return;
  SetHorizAxisObject(horiz_axis_ == THorizontalAxis::haBottomAxis ? &parent_->BottomAxis()
                     : horiz_axis_ == THorizontalAxis::haTopAxis  ? &parent_->TopAxis()
                                                                  : nullptr);
  SetVertAxisObject(vert_axis_ == TVerticalAxis::vaLeftAxis    ? &parent_->LeftAxis()
                    : vert_axis_ == TVerticalAxis::vaRightAxis ? &parent_->RightAxis()
                                                               : nullptr);
  if (!parent_) return;
  if (parent_font_) font_->Assign(parent_->Font());
  if (parent_selection_color_) selection_color_ = parent_->SelectionColor();
}

void TZPCustomChart::Notification(TComponent& AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // The panel is going away with its axes: forget them without touching them.
  if (Operation == TOperation::opRemove && &AComponent == static_cast<TComponent*>(parent_)) {
    parent_ = nullptr;
    horiz_axis_object_ = nullptr;
    vert_axis_object_ = nullptr;
  }
}

// ---- notices ----

void TZPCustomChart::BeginUpdate() { ++update_count_; }

void TZPCustomChart::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0) Changed();
}

void TZPCustomChart::InvalidateAxes() {
  if (horiz_axis_object_) horiz_axis_object_->InvalidateRange();
  if (vert_axis_object_) vert_axis_object_->InvalidateRange();
}

void TZPCustomChart::Changed() {
  if (!Live()) return;
  if (parent_) parent_->ChartChanged(*this);
  InvalidateAxes();
  if (horiz_axis_object_) CalculateVisibleRange(*horiz_axis_object_);
  if (OnChange) OnChange(*this);
}

void TZPCustomChart::StyleChanged() {
  // The legend boxes show the series' colour (the brush's, a line series'
  // pen's); pen, brush and font change seldom, so any of them rebuilds it.
  if (parent_) parent_->LegendNeedsRebuild(*this);
  if (Live() && parent_) parent_->ChartChanged(*this);
  Changed();
}

void TZPCustomChart::ValueChanged(TZPChartValue* Value) {
  if (!Live()) return;
  preview_ = false;
  if (parent_) parent_->ChartValueChanged(*this, Value);
  InvalidateAxes();
  if (horiz_axis_object_) CalculateVisibleRange(*horiz_axis_object_);
  if (OnValueChange) OnValueChange(*this, Value);
}

void TZPCustomChart::ValueSelectionChanged(TZPChartValue& Value) {
  if (!Live()) return;
  if (parent_) parent_->ChartValueSelectionChanged(*this, &Value);
  if (OnValueSelectionChange) OnValueSelectionChange(*this, &Value);
}

void TZPCustomChart::ValueVisibleChanged(TZPChartValue& Value) {
  if (!Live()) return;
  if (parent_) parent_->ChartValueVisibleChanged(*this, &Value);
  if (OnValueVisibleChange) OnValueVisibleChange(*this, &Value);
}

void TZPCustomChart::VisibilityChanged() {
  if (parent_) parent_->SeriesVisibilityChanged(*this);
  InvalidateAxes();
}

// ---- visible range ----

void TZPCustomChart::CalculateVisibleRange(TZPChartAxis& Axis) {
  if (&Axis != horiz_axis_object_) return;
  const int count = values_->Count();
  if (Axis.Zoomed()) {
    const int d = Axis.Dimension();
    first_index_ = -1;
    last_index_ = -1;
    for (int i = 0; i < count && last_index_ == -1; ++i) {
      const double c = d < values_->Dimensions() ? values_->Items(i).Coordinate(d) : i;
      if (first_index_ == -1 && c >= Axis.ZoomMinimum()) first_index_ = std::max(0, i - 1);
      if (last_index_ == -1 && c > Axis.ZoomMaximum()) last_index_ = i;
    }
    if (first_index_ == -1) first_index_ = 0;
    if (last_index_ == -1) last_index_ = count - 1;
  } else {
    first_index_ = 0;
    last_index_ = count - 1;
  }
  index_count_ = last_index_ - first_index_ + 1;
}

int TZPCustomChart::DrawFirst() const { return std::max(first_index_, 0); }
int TZPCustomChart::DrawLast() const { return std::min(last_index_, values_->Count() - 1); }

// ---- drawing ----

bool TZPCustomChart::CanDraw() const { return visible_ && horiz_axis_object_ && vert_axis_object_; }

void TZPCustomChart::Draw(TCanvas& Canvas, const TRect& Rect) {
  bool do_draw = true;
  if (OnDrawing) OnDrawing(*this, Canvas, Rect, do_draw);
  if (!do_draw) return;
  DrawChart(Canvas, Rect);
  if (OnDraw) OnDraw(*this, Canvas, Rect);
}

void TZPCustomChart::DrawChart(TCanvas& Canvas, const TRect& /*Rect*/) {
  Canvas.Font().Assign(*font_);
  Canvas.Brush().Assign(*brush_);
  Canvas.Pen().Assign(*pen_);
}

std::string TZPCustomChart::ValueLabelText(const TZPChartValue& Value, TZPLegendTextStyle Style) const {
  using enum TZPLegendTextStyle;
  const std::string pattern =
      vert_axis_object_ && !vert_axis_object_->Format().empty() ? vert_axis_object_->Format() : "0.0000";
  auto number = [&] { return FormatFloat(pattern, Value.Value()); };
  auto percent = [&] {
    // A share of the dimension Value reads (Y on a 2-D list). An all-zero
    // list has no shares: 0 % rather than a division by zero.
    const double sum = values_->AbsoluteSum(Value.ValueDimension());
    return FormatFixed(sum == 0 ? 0.0 : Value.Value() / sum * 100, 2) + " %";
  };
  switch (Style) {
    case ltsCaption:
      return caption_;
    case ltsValue:
      return number();
    case ltsValueNCaption:
      return number() + " " + caption_;
    case ltsCaptionNValue:
      return caption_ + " " + number();
    case ltsPercent:
      return percent();
    case ltsPercentNCaption:
      return percent() + " " + caption_;
    case ltsCaptionNPercent:
      return caption_ + " " + percent();
  }
  return caption_;
}

void TZPCustomChart::DrawLabel(TCanvas& Canvas, const std::string& Text, int Y, int X) {
  const int raise = Canvas.TextHeight("W") / 2;
  DrawTextInRect(Canvas, Text, DT_CENTER | DT_NOCLIP, Rect(X, Y - raise, X, Y - raise));
}

void TZPCustomChart::DrawValueLabel(TCanvas& Canvas, const TZPChartValue& Value, int Y, int X) {
  DrawLabel(Canvas, ValueLabelText(Value, value_label_style_), Y, X);
}

void TZPCustomChart::DrawLabelInRect(TCanvas& Canvas, const std::string& Text, const TRect& R) {
  constexpr TTextFormat kEndEllipsis = 0x8000;
  DrawTextInRect(Canvas, Text, DT_WORDBREAK | kEndEllipsis, R);
}

void TZPCustomChart::DrawValueLabelInRect(TCanvas& Canvas, const TZPChartValue& Value, const TRect& R) {
  DrawLabelInRect(Canvas, ValueLabelText(Value, value_label_style_), R);
}

// ---- hit tests ----

bool TZPCustomChart::ValueArea(const TRect& Rect, TFloatRect& Area) const {
  if (!parent_ || !horiz_axis_object_ || !vert_axis_object_) return false;
  Area = parent_->PixelRectToValueRect(Rect, *horiz_axis_object_, *vert_axis_object_);
  return true;
}

void TZPCustomChart::SelectValues(const TRect& Rect, int Mode) {
  TFloatRect area;
  if (!ValueArea(Rect, area)) return;
  for (int i = DrawFirst(); i <= DrawLast(); ++i) {
    TZPChartValue& v = values_->Items(i);
    if (v.Visible()) v.SetSelected(v.HitTest(area, Mode));
  }
}

void TZPCustomChart::SelectInRect(const TRect& Rect, int Mode) { SelectValues(Rect, Mode); }

bool TZPCustomChart::HasValueIn(const TRect& Rect) const {
  TFloatRect area;
  if (!ValueArea(Rect, area)) return false;
  for (int i = DrawFirst(); i <= DrawLast(); ++i) {
    const TZPChartValue& v = values_->Items(i);
    if (v.Visible() && v.HitTest(area, 0)) return true;
  }
  return false;
}

void TZPCustomChart::MouseOver(const TRect& Rect) {
  if (parent_ && HasValueIn(Rect)) parent_->SetScreenCursor(hover_cursor_);
}

// ---- assignment ----

void TZPCustomChart::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TZPCustomChart*>(&Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  TScopeExit end_update([this] { EndUpdate(); });
  SetCaption(src->caption_);
  hover_cursor_ = src->hover_cursor_;
  parent_font_ = src->parent_font_;
  SetVisible(src->visible_);
  brush_->Assign(*src->brush_);
  SetOptions(src->options_);
  SetOffsetVertical(src->offset_vertical_);
  SetHorizAxis(src->horiz_axis_);
  SetVertAxis(src->vert_axis_);
  SetGroup(src->group_);
  SetGroupStyle(src->group_style_);
  font_->Assign(*src->font_);
  pen_->Assign(*src->pen_);
  values_->Assign(*src->values_);
  SetPreview(src->preview_);
  SetValueLabelFormat(src->value_label_format_);
  SetValueLabelStyle(src->value_label_style_);
}

}  // namespace zp::chart
