#include "chart/ZPChartLegend.h"

#include <algorithm>
#include <cstdint>

#include "chart/ZPShapes.h"
#include "platform/Numbers.h"

namespace zp::chart {

TZPChartLegend::TZPChartLegend(IZPLegendPanel* Panel) : panel_(Panel) {
  SetAlignment(TAlignment::taLeftJustify);
  brush_.SetColor(clWhite);
  brush_.SetStyle(TBrushStyle::bsSolid);
  margins_.SetRect(DefaultMargins());
  if (panel_) {
    Font().Assign(panel_->Font());
    Font().ComputeDeltas(&panel_->Font());
  }
  brush_.OnChange = [this](TBrush& b) { ObjectChanged(b); };
  pen_.OnChange = [this](TPen& p) { ObjectChanged(p); };
  margins_.OnChange = [this](TZPCustomRect& r) { ObjectChanged(r); };
  shadow_.OnChange = [this](TZPChartGraphic& s) { ObjectChanged(s); };
}

void TZPChartLegend::SetMaxRows(int Value) {
  if (Value < 1) Value = 1;
  if (max_rows_ == Value) return;
  max_rows_ = Value;
  DoChange();
}

void TZPChartLegend::SetBoxSize(int Value) {
  if (Value <= 3) Value = 4;
  if (box_size_ == Value) return;
  box_size_ = Value;
  DoChange();
}

void TZPChartLegend::SetFirstIndex(int Value) {
  if (Value < 0) Value = 0;
  if (first_index_ == Value) return;
  first_index_ = Value;
  DoChange();
}

void TZPChartLegend::SetLegendStyle(TZPLegendStyle Value) {
  if (legend_style_ == Value) return;
  legend_style_ = Value;
  dirty_ = true;
  DoChange();
}

void TZPChartLegend::SetTextStyle(TZPLegendTextStyle Value) {
  if (text_style_ == Value) return;
  text_style_ = Value;
  dirty_ = true;
  DoChange();
}

void TZPChartLegend::SetAlign(TZPLegendAlignment Value) {
  if (align_ == Value) return;
  align_ = Value;
  DoChange();
}

void TZPChartLegend::SetFixed(bool Value) {
  if (fixed_ == Value) return;
  fixed_ = Value;
  if (!fixed_) dirty_ = true;
  DoChange();
}

void TZPChartLegend::SetOverlay(bool Value) {
  if (overlay_ == Value) return;
  overlay_ = Value;
  DoChange();
}

void TZPChartLegend::SetRectStyle(TZPLegendRectStyle Value) {
  if (rect_style_ == Value) return;
  rect_style_ = Value;
  shadow_.SetShape(Value == TZPLegendRectStyle::rsRectangle ? kShapeRectangle : kShapeRoundRect);
  DoChange();
}

void TZPChartLegend::SetMaxWidthPct(int Value) {
  Value = std::clamp(Value, 1, 100);
  if (max_width_pct_ == Value) return;
  max_width_pct_ = Value;
  DoChange();
}

void TZPChartLegend::SetListHiddenSeries(bool Value) {
  if (list_hidden_series_ == Value) return;
  list_hidden_series_ = Value;
  dirty_ = true;
  DoChange();
}

void TZPChartLegend::SetFont(const TFont& Value) {
  TZPChartLabelMetaData::SetFont(Value);
  if (panel_) Font().ComputeDeltas(&panel_->Font());
}

TStrings& TZPChartLegend::Lines() {
  if (!fixed_ && dirty_) RebuildLines();
  return lines_;
}

TColor TZPChartLegend::LineColor(const TStrings& Lines, int Index) {
  return static_cast<TColor>(reinterpret_cast<uintptr_t>(Lines.Objects(Index)));
}

void* TZPChartLegend::ColorObject(TColor Color) { return reinterpret_cast<void*>(static_cast<uintptr_t>(Color)); }

bool TZPChartLegend::ListsSeriesNames() const {
  switch (legend_style_) {
    case TZPLegendStyle::lsChartNames:
    case TZPLegendStyle::lsChartNameAndLastValue:
      return true;
    case TZPLegendStyle::lsAutomatic:
      return panel_ && (list_hidden_series_ ? panel_->SeriesCount() : panel_->VisibleCount()) > 1;
    case TZPLegendStyle::lsValues:
      return false;
  }
  return false;
}

void TZPChartLegend::RebuildLines() {
  lines_.Clear();
  line_series_.clear();
  if (!panel_) return;
  panel_->GetLegendStrings(lines_);
  line_series_.assign(static_cast<size_t>(lines_.Count()), -1);
  if (ListsSeriesNames()) {
    for (int i = first_index_; lines_.Count() < max_rows_ && i < panel_->SeriesCount(); ++i) {
      const IZPLegendSeries& s = panel_->Series(i);
      if ((!s.Visible() && !list_hidden_series_) || !s.Options().Contains(TChartOption::coShowInLegend)) continue;
      std::string text = !s.Caption().empty() ? s.Caption() : !s.Name().empty() ? s.Name() : s.ClassName();
      // A series without values has no last value: its name stands alone.
      if (legend_style_ == TZPLegendStyle::lsChartNameAndLastValue && s.ValueCount() > 0)
        text.append(" ").append(s.ValueLabelText(s.ValueCount() - 1, text_style_));
      const TColor color = s.Options().Contains(TChartOption::coColorEachPoint) ? 0 : s.Color();
      lines_.Add(text, ColorObject(color));
      line_series_.push_back(i);
    }
  } else if (const IZPLegendSeries* s = panel_->FirstVisible()) {
    for (int i = first_index_; lines_.Count() < max_rows_ - 1 && i < s->ValueCount(); ++i)
      if (s->ValueVisible(i)) lines_.Add(s->ValueLabelText(i, text_style_), ColorObject(s->ValueColor(i)));
  }
  dirty_ = false;
}

int TZPChartLegend::LineSeries(int Line) const {
  if (Line < 0 || static_cast<size_t>(Line) >= line_series_.size() || Line >= lines_.Count()) return -1;
  const int series = line_series_[static_cast<size_t>(Line)];
  return panel_ && series < panel_->SeriesCount() ? series : -1;
}

bool TZPChartLegend::LineHidden(int Line) const {
  const int series = LineSeries(Line);
  return series >= 0 && !panel_->Series(series).Visible();
}

namespace {
bool Holds(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }
}  // namespace

int TZPChartLegend::LineAt(int X, int Y) const {
  for (size_t i = 0; i < item_rects_.size(); ++i)
    if (Holds(item_rects_[i], X, Y)) return static_cast<int>(i);
  return -1;
}

bool TZPChartLegend::BoxHolds(int X, int Y) const { return Holds(drawn_box_, X, Y); }

TSize TZPChartLegend::CalcSize(TCanvas& Canvas, const TRect& Area, int& ItemWidth) {
  TStrings& lines = Lines();
  const int cap = static_cast<int>(RoundHalfEven(static_cast<double>(Area.Width()) * max_width_pct_ / 100.0));
  ItemWidth = 0;
  for (int i = 0; i < lines.Count(); ++i)
    ItemWidth = std::max(ItemWidth, std::min(Canvas.TextWidth(lines.Strings(i)), cap));
  const int line_height = Canvas.TextHeight("A");
  const int s = shadow_.Visible() ? shadow_.Size() : 0;
  const TRect m = margins_.Rect();
  const int item = ItemWidth + 2 * box_size_;
  if (align_ == TZPLegendAlignment::laLeft || align_ == TZPLegendAlignment::laRight)
    return {m.Left + item + m.Right + s, s + m.Top + lines.Count() * line_height + m.Bottom};
  const int columns = std::max(1, item > 0 ? Area.Width() / item : 1);
  const int rows = std::min(max_rows_, (lines.Count() + columns - 1) / columns);
  return {m.Left + columns * item + m.Right + s, s + m.Top + rows * line_height + m.Bottom};
}

TRect TZPChartLegend::CalcRect(TCanvas& Canvas, const TRect& Area, int& ItemWidth) {
  const TSize size = CalcSize(Canvas, Area, ItemWidth);
  const int w = size.cx, h = size.cy;
  const TRect m = margins_.Rect();
  const int cx = (Area.Left + Area.Right) / 2;
  switch (align_) {
    case TZPLegendAlignment::laLeft:
      return {Area.Left, Area.Top, Area.Left + m.Left + w + m.Right, Area.Top + m.Top + h + m.Bottom};
    case TZPLegendAlignment::laRight:
      return {Area.Right - (m.Left + w + m.Right), Area.Top, Area.Right, Area.Top + m.Top + h + m.Bottom};
    case TZPLegendAlignment::laBottom:
      return {cx - w / 2, Area.Bottom - (m.Top + h + m.Bottom), cx + w / 2, Area.Bottom};
    case TZPLegendAlignment::laTop:
      return {cx - w / 2, Area.Top, cx + w / 2, Area.Top + m.Top + h + m.Bottom};
  }
  return Area;
}

void TZPChartLegend::DrawGraphic(TCanvas& Canvas, const TRect& Area) {
  Canvas.Font().Assign(Font());
  int item_width = 0;
  const TRect outer = CalcRect(Canvas, Area, item_width);
  TRect box = ApplyMargins(outer, margins_, true);
  if (shadow_.Visible()) {
    shadow_.Draw(Canvas, box);
    box = shadow_.BoxPart(box);
  }
  Canvas.Brush().Assign(brush_);
  Canvas.Pen().Assign(pen_);
  drawn_box_ = box;
  if (rect_style_ == TZPLegendRectStyle::rsRectangle)
    Canvas.Rectangle(box);
  else
    Canvas.RoundRect(box, box.Width() / 5, box.Height() / 5);

  const TRect m = margins_.Rect();
  const int left = box.Left + m.Left, right = box.Right - m.Right, bottom = box.Bottom - m.Bottom;
  int x = left, y = box.Top + m.Top, row = 0;
  const bool clip = panel_ && panel_->Canvas() == &Canvas;
  if (clip) Canvas.SetClipRect({x, y, right, bottom});
  const int line_height = Canvas.TextHeight("A");
  const TStrings& lines = Lines();
  item_rects_.clear();
  for (int i = 0; i < lines.Count(); ++i) {
    DrawItem(Canvas, x, y, i, item_width, line_height);
    item_rects_.push_back({x, y, std::min(x + 2 * box_size_ + item_width, right), std::min(y + line_height, bottom)});
    x += 2 * box_size_ + item_width;
    if (x >= right) {
      ++row;
      y += line_height;
      x = left;
      if (row == max_rows_ - 1) break;
    }
    if (y >= bottom) break;
  }
  if (clip) Canvas.RemoveClip();
}

void TZPChartLegend::DrawItem(TCanvas& Canvas, int X, int Y, int Index, int ItemWidth, int LineHeight) {
  const TColor color = LineColor(lines_, Index);
  // A hidden series: an empty box in its colour and grey text.
  const bool hidden = LineHidden(Index);
  const TColor saved_font = Canvas.Font().Color();
  if (hidden) Canvas.Font().SetColor(clGray);
  if (color != 0) {
    const TColor saved = Canvas.Brush().Color();
    const TBrushStyle saved_style = Canvas.Brush().Style();
    const TColor saved_pen = Canvas.Pen().Color();
    if (hidden) {
      Canvas.Brush().SetStyle(TBrushStyle::bsClear);
      Canvas.Pen().SetColor(color);
    } else {
      Canvas.Brush().SetColor(color);
    }
    Canvas.Rectangle({X, Y + 1, X + box_size_, Y + LineHeight - 2});
    Canvas.Brush().SetColor(saved);
    Canvas.Brush().SetStyle(saved_style);
    Canvas.Pen().SetColor(saved_pen);
    X += 2 * box_size_;
  }
  const std::string& text = lines_.Strings(Index);
  switch (Alignment()) {
    case TAlignment::taLeftJustify:
      break;
    case TAlignment::taRightJustify:
      X += ItemWidth - Canvas.TextWidth(text);
      break;
    case TAlignment::taCenter:
      X += (ItemWidth - Canvas.TextWidth(text)) / 2;
      break;
  }
  Canvas.TextOut(X, Y, text);
  if (hidden) Canvas.Font().SetColor(saved_font);
}

void TZPChartLegend::ObjectChanged(TPersistent& Sender) {
  if (&Sender == &margins_) {
    const TRect r = margins_.Rect();
    const TRect clamped{std::max(r.Left, 0), std::max(r.Top, 0), std::max(r.Right, 0), std::max(r.Bottom, 0)};
    if (clamped != r) margins_.SetRect(clamped);
  }
  TZPChartLabelMetaData::ObjectChanged(Sender);
}

void TZPChartLegend::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartLegend*>(&Source)) {
    brush_.Assign(src->brush_);
    pen_.Assign(src->pen_);
    max_rows_ = src->max_rows_;
    box_size_ = src->box_size_;
    first_index_ = src->first_index_;
    legend_style_ = src->legend_style_;
    rect_style_ = src->rect_style_;
    text_style_ = src->text_style_;
    align_ = src->align_;
    lines_.Assign(src->lines_);
    line_series_ = src->line_series_;
    list_hidden_series_ = src->list_hidden_series_;
    fixed_ = src->fixed_;
    dirty_ = src->dirty_;
    margins_.Assign(src->margins_);
    shadow_.Assign(src->shadow_);
  }
  TZPChartLabelMetaData::Assign(Source);
}

}  // namespace zp::chart
