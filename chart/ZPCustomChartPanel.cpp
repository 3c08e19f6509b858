#include "chart/ZPCustomChartPanel.h"

#include <algorithm>

#include "platform/ScopeGuard.h"

namespace zp::chart {

namespace {

using enum TZPChartAxisLocation;

constexpr TColor clBtnHighlight = 0xFF000014;

}  // namespace

TZPCustomChartPanel::TZPCustomChartPanel(TComponent* Owner) : TComponent(Owner), charts_(this) {
  // Axes in the order bottom, left, right, top.
  bottom_axis_ = CreateAxis(caBottom);
  left_axis_ = CreateAxis(caLeft);
  left_axis_->Title().SetAngle(90);
  right_axis_ = CreateAxis(caRight);
  right_axis_->Title().SetAngle(270);
  top_axis_ = CreateAxis(caTop);
  background_ = CreateLayer(false);
  foreground_ = CreateLayer(true);
  footer_ = std::make_unique<TZPChartHeader>(&font_, false);
  footer_->SetText("Footer");
  Hook(*footer_);
  header_ = std::make_unique<TZPChartHeader>(&font_, true);
  header_->SetText("Chart");
  Hook(*header_);
  margins_ = std::make_unique<TZPObjectRect>();
  margins_->SetRect(DefaultMargins());
  margins_->OnChange = [this](TZPCustomRect& r) { ObjectChanged(r); };
  legend_ = std::make_unique<TZPChartLegend>(this);
  Hook(*legend_);
  chart_shadow_ = std::make_unique<TZPChartShadow>();
  chart_shadow_->SetSize(2);
  Hook(*chart_shadow_);
  gradient_ = std::make_unique<TZPChartGradient>();
  Hook(*gradient_);
  font_.OnChange = [this](TFont& f) { ObjectChanged(f); };
}

TZPCustomChartPanel::~TZPCustomChartPanel() {
  // No handler runs during teardown.
  OnChange = nullptr;
  OnChartChange = nullptr;
  OnChartValueChange = nullptr;
  OnChartValueVisibleChange = nullptr;
  OnChartValueSelectionChange = nullptr;
  OnGetLegendStrings = nullptr;
  OnDrawing = nullptr;
  OnDraw = nullptr;
  for (TZPChartGraphic* e : std::initializer_list<TZPChartGraphic*>{
           bottom_axis_.get(), left_axis_.get(), right_axis_.get(), top_axis_.get(), background_.get(),
           foreground_.get(), header_.get(), footer_.get(), legend_.get(), chart_shadow_.get(), gradient_.get()}) {
    e->OnDraw = nullptr;
    e->OnDrawing = nullptr;
    e->OnChange = nullptr;
  }
  margins_->OnChange = nullptr;
  font_.OnChange = nullptr;
  if (IZPChartHost* host = host_) {
    host_ = nullptr;
    host->PanelDestroyed();
  }
  // Series outlive the panel or not; either way they let go of it now. The
  // list drops each one as its Parent changes.
  while (charts_.Count() > 0) charts_.Remove(*charts_.Items(charts_.Count() - 1));
  gradient_.reset();
  bottom_axis_.reset();
  left_axis_.reset();
  right_axis_.reset();
  top_axis_.reset();
  background_.reset();
  foreground_.reset();
  footer_.reset();
  header_.reset();
  margins_.reset();
  legend_.reset();
  chart_shadow_.reset();
}

void TZPCustomChartPanel::Hook(TZPChartGraphic& Element) {
  Element.OnChange = [this](TZPChartGraphic& e) { ObjectChanged(e); };
}

std::unique_ptr<TZPChartAxis> TZPCustomChartPanel::CreateAxis(TZPChartAxisLocation Location) {
  auto axis = std::make_unique<TZPChartAxis>(this);
  axis->SetLocation(Location);
  Hook(*axis);
  return axis;
}

std::unique_ptr<TZPChartLayer> TZPCustomChartPanel::CreateLayer(bool IsForeground) {
  auto layer = std::make_unique<TZPChartLayer>();
  layer->SetVisible(!IsForeground);
  layer->Brush().SetColor(color_);
  Hook(*layer);
  return layer;
}

// ---- host and framework panel ----

void TZPCustomChartPanel::SetHost(IZPChartHost* Value) {
  if (Value == host_) return;
  host_ = Value;
  Invalidate();
}

TRect TZPCustomChartPanel::ClientRect() const { return host_ ? host_->ClientRect() : Rect(0, 0, width_, height_); }

void TZPCustomChartPanel::SetBounds(int Width, int Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == width_ && Height == height_) return;
  width_ = Width;
  height_ = Height;
  Invalidate();
}

void TZPCustomChartPanel::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Invalidate();
}

void TZPCustomChartPanel::SetBevelOuter(TBevelCut Value) {
  if (Value == bevel_outer_) return;
  bevel_outer_ = Value;
  Invalidate();
}

void TZPCustomChartPanel::SetBevelInner(TBevelCut Value) {
  if (Value == bevel_inner_) return;
  bevel_inner_ = Value;
  Invalidate();
}

void TZPCustomChartPanel::SetBevelWidth(int Value) {
  Value = std::max(Value, 1);
  if (Value == bevel_width_) return;
  bevel_width_ = Value;
  Invalidate();
}

void TZPCustomChartPanel::SetBorderWidth(int Value) {
  Value = std::max(Value, 0);
  if (Value == border_width_) return;
  border_width_ = Value;
  Invalidate();
}

void TZPCustomChartPanel::SetBorderStyle(TBorderStyle Value) {
  if (Value == border_style_) return;
  border_style_ = Value;
  Invalidate();
}

int TZPCustomChartPanel::EdgeWidth() const {
  return (bevel_outer_ != TBevelCut::bvNone ? bevel_width_ : 0) +
         (bevel_inner_ != TBevelCut::bvNone ? bevel_width_ : 0) +
         (border_style_ != TBorderStyle::bsNone ? border_width_ : 0);
}

void TZPCustomChartPanel::Invalidate() {
  if (host_) host_->Invalidate();
}

void TZPCustomChartPanel::Paint(TCanvas& Canvas) { Paint(Canvas, ClientRect()); }

void TZPCustomChartPanel::Paint(TCanvas& Canvas, const TRect& Client) {
  // The canvas of a paint in progress is the panel's own until the paint ends.
  TCanvas* const saved_canvas = canvas_;
  canvas_ = &Canvas;
  TScopeExit restore_canvas([this, saved_canvas] { canvas_ = saved_canvas; });
  PaintFrame(Canvas, Client);
  Draw(Canvas, Client);
}

void TZPCustomChartPanel::PaintFrame(TCanvas& Canvas, const TRect& Client) {
  Canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  Canvas.Brush().SetColor(color_);
  Canvas.FillRect(Client);
  // Bevels: light on the top and left edges of a raised cut, dark on the others.
  TRect r = Client;
  auto bevel = [&](TBevelCut cut) {
    if (cut == TBevelCut::bvNone) return;
    const TColor light = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor dark = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
    for (int i = 0; i < bevel_width_; ++i) {
      if (cut != TBevelCut::bvSpace) {
        Canvas.Pen().SetColor(light);
        Canvas.Pen().SetWidth(1);
        Canvas.Pen().SetStyle(TPenStyle::psSolid);
        Canvas.Polyline({Point(r.Left, r.Bottom - 1), Point(r.Left, r.Top), Point(r.Right, r.Top)});
        Canvas.Pen().SetColor(dark);
        Canvas.Polyline({Point(r.Right - 1, r.Top), Point(r.Right - 1, r.Bottom - 1), Point(r.Left - 1, r.Bottom - 1)});
      }
      r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
  };
  bevel(bevel_outer_);
  if (border_style_ != TBorderStyle::bsNone)
    r = Rect(r.Left + border_width_, r.Top + border_width_, r.Right - border_width_, r.Bottom - border_width_);
  bevel(bevel_inner_);
}

// ---- drawing ----

bool TZPCustomChartPanel::DoDrawing(TCanvas& Canvas, const TRect& Rect) {
  bool do_draw = true;
  if (OnDrawing) OnDrawing(*this, Canvas, Rect, do_draw);
  return do_draw;
}

void TZPCustomChartPanel::DoDraw(TCanvas& Canvas, const TRect& Rect) {
  if (OnDraw) OnDraw(*this, Canvas, Rect);
}

void TZPCustomChartPanel::Draw(TCanvas& Canvas, const TRect& Rect) {
  if (!DoDrawing(Canvas, Rect)) return;
  DrawPanel(Canvas, Rect);
  DoDraw(Canvas, Rect);
}

void TZPCustomChartPanel::DrawPanel(TCanvas& Canvas, const TRect& Rect) {
  const TRect m = margins_->Rect();
  TRect plot{Rect.Left + m.Left, Rect.Top + m.Top, Rect.Right - m.Right, Rect.Bottom - m.Bottom};
  if (const int n = EdgeWidth(); n > 0) plot = {plot.Left + n, plot.Top + n, plot.Right - n, plot.Bottom - n};
  const TRect inner = plot;
  if (background_->Visible()) background_->Draw(Canvas, inner);
  if (gradient_->Visible()) gradient_->Draw(Canvas, inner);
  if (header_->Visible()) {
    plot.Top += header_->Height();
    // The header's rectangle starts at the canvas origin, not at the margins.
    header_->Draw(Canvas, {0, 0, plot.Right, plot.Top});
  }
  if (footer_->Visible()) {
    plot.Bottom -= footer_->Height();
    footer_->Draw(Canvas, {0, plot.Bottom, inner.Right, inner.Bottom});
  }
  const TRect legend_area = plot;
  if (legend_->Visible() && legend_->Lines().Count() > 0 && !legend_->Overlay()) {
    Canvas.Font().Assign(legend_->Font());
    int item_width = 0;
    const TRect l = legend_->CalcRect(Canvas, plot, item_width);
    switch (legend_->Align()) {
      case TZPLegendAlignment::laLeft:
        plot = {l.Right, l.Top, plot.Right, plot.Bottom};
        break;
      case TZPLegendAlignment::laRight:
        plot = {plot.Left, l.Top, l.Left, plot.Bottom};
        break;
      case TZPLegendAlignment::laBottom:
        plot = {l.Left, plot.Top, l.Right, l.Top};
        break;
      case TZPLegendAlignment::laTop:
        plot = {l.Left, l.Bottom, l.Right, plot.Bottom};
        break;
    }
  }
  // Every axis is measured before any is drawn: each one's room depends on the others.
  TRect room{10, 10, 10, 10};
  auto measure = [&](TZPChartAxis& axis, int& side, bool vertical) {
    axis.Measure(Canvas, plot);
    if (axis.Visible() && axis.InwardPosition() == 0) side = vertical ? axis.UsedWidth() : axis.UsedHeight();
  };
  measure(*left_axis_, room.Left, true);
  measure(*top_axis_, room.Top, false);
  measure(*right_axis_, room.Right, true);
  measure(*bottom_axis_, room.Bottom, false);
  if (bottom_axis_->Visible())
    bottom_axis_->Draw(Canvas, {plot.Left + room.Left, plot.Top + room.Top, plot.Right - room.Right, plot.Bottom});
  if (top_axis_->Visible())
    top_axis_->Draw(Canvas, {plot.Left + room.Left, plot.Top, plot.Right - room.Right, plot.Bottom - room.Bottom});
  if (left_axis_->Visible())
    left_axis_->Draw(Canvas, {plot.Left, plot.Top + room.Top, plot.Right - room.Right, plot.Bottom - room.Bottom});
  if (right_axis_->Visible())
    right_axis_->Draw(Canvas, {plot.Left + room.Left, plot.Top + room.Top, plot.Right, plot.Bottom - room.Bottom});
  plot_rect_ = {plot.Left + room.Left, plot.Top + room.Top, plot.Right - room.Right, plot.Bottom - room.Bottom};
  DrawCharts(Canvas, plot_rect_);
  if (legend_->Visible() && legend_->Lines().Count() > 0) legend_->Draw(Canvas, legend_area);
  if (foreground_->Visible()) foreground_->Draw(Canvas, inner);
}

void TZPCustomChartPanel::DrawCharts(TCanvas& Canvas, const TRect& Rect) {
  bool do_draw = true;
  if (OnDrawingCharts) OnDrawingCharts(*this, Canvas, Rect, do_draw);
  if (!do_draw) return;
  const bool clip = &Canvas == canvas_;
  if (clip) Canvas.SetClipRect(Rect);
  for (int i = 0; i < charts_.Count(); ++i)
    if (TZPCustomChart* s = charts_.Items(i); s->CanDraw()) s->Draw(Canvas, Rect);
  if (clip) Canvas.RemoveClip();
  if (OnDrawCharts) OnDrawCharts(*this, Canvas, Rect);
}

// ---- change propagation ----

void TZPCustomChartPanel::DoChange() {
  if (OnChange) OnChange(*this);
}

void TZPCustomChartPanel::ObjectChanged(TPersistent& Sender) {
  if (&Sender == &font_) {
    header_->Font().ApplyOriginal(&font_);
    footer_->Font().ApplyOriginal(&font_);
    legend_->Font().ApplyOriginal(&font_);
    for (TZPChartAxis* axis : {bottom_axis_.get(), top_axis_.get(), left_axis_.get(), right_axis_.get()}) {
      axis->Labels().Font().ApplyOriginal(&font_);
      axis->Title().Font().ApplyOriginal(&font_);
    }
  }
  Invalidate();
  DoChange();
}

void TZPCustomChartPanel::ChartChanged(TZPCustomChart& Chart) {
  if (OnChartChange) OnChartChange(*this, Chart);
  if (legend_->Dirty() || (!legend_->ListsSeriesNames() && &Chart == charts_.FirstVisible())) legend_->MarkDirty();
  Invalidate();
  DoChange();
}

void TZPCustomChartPanel::ChartValueChanged(TZPCustomChart& Chart, TZPChartValue* Value) {
  if (OnChartValueChange) OnChartValueChange(*this, Chart, Value);
  // A names legend shows no values unless it shows each series' last one;
  // otherwise adding points leaves it alone, which keeps them cheap.
  if (legend_->LegendStyle() == TZPLegendStyle::lsChartNameAndLastValue) LegendNeedsRebuild(Chart);
  ChartChanged(Chart);
}

void TZPCustomChartPanel::ChartValueSelectionChanged(TZPCustomChart& Chart, TZPChartValue* Value) {
  if (OnChartValueSelectionChange) OnChartValueSelectionChange(*this, Chart, Value);
}

void TZPCustomChartPanel::ChartValueVisibleChanged(TZPCustomChart& Chart, TZPChartValue* Value) {
  if (OnChartValueVisibleChange) OnChartValueVisibleChange(*this, Chart, Value);
}

void TZPCustomChartPanel::SeriesVisibilityChanged(TZPCustomChart& Chart) {
  charts_.VisibilityChanged(Chart);
  // Any visibility change may move the legend between names and values.
  legend_->MarkDirty();
  if (Chart.UpdateCount() == 0) ChartChanged(Chart);
}

bool TZPCustomChartPanel::LegendNeedsRebuild(TZPCustomChart& Chart) {
  // Whatever a listed series shows of itself (caption, colour, options) may be
  // a legend line, whether the legend lists names or that series' values.
  if (charts_.IndexOf(&Chart) >= 0) legend_->MarkDirty();
  return legend_->Dirty();
}

void TZPCustomChartPanel::SeriesListChanged() {
  legend_->MarkDirty();
  Invalidate();
}

void TZPCustomChartPanel::SetSelectionColor(TColor Value) {
  if (Value == selection_color_) return;
  selection_color_ = Value;
  SelectionColorChanged();
}

void TZPCustomChartPanel::SelectionColorChanged() {
  for (int i = 0; i < charts_.Count(); ++i) charts_.Items(i)->SelectionColorChanged();
}

void TZPCustomChartPanel::Notification(TComponent& AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // Only the address is compared: the component may be half destroyed.
  for (int i = 0; i < charts_.Count(); ++i)
    if (static_cast<TComponent*>(charts_.Items(i)) == &AComponent) {
      if (Operation == TOperation::opRemove) charts_.Forget(charts_.Items(i));
      Invalidate();
      break;
    }
}

// ---- legend ----

void TZPCustomChartPanel::GetLegendStrings(TStrings& Lines) {
  if (OnGetLegendStrings) OnGetLegendStrings(*this, Lines);
}

IZPLegendSeries& TZPCustomChartPanel::Series(int Index) const { return *charts_.Items(Index); }

IZPLegendSeries* TZPCustomChartPanel::FirstVisible() const { return charts_.FirstVisible(); }

}  // namespace zp::chart
