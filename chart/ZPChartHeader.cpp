#include "chart/ZPChartHeader.h"

#include "chart/ZPRotatedText.h"

namespace zp::chart {

TZPChartHeader::TZPChartHeader(const TFont* PanelFont, bool IsHeader)
    : text_(IsHeader ? "Chart" : "Footer"), height_(3 * TFont().Size()), is_header_(IsHeader) {
  StoreImageOptions({TImageOption::ioStretch});
  Brush().SetStyle(TBrushStyle::bsClear);
  if (PanelFont) font_.Assign(*PanelFont);
  font_.SetColor(IsHeader ? clBlue : clRed);
  font_.ComputeDeltas(PanelFont);
  font_.OnChange = [this](TFont& f) { ObjectChanged(f); };
}

void TZPChartHeader::SetAngle(int Value) {
  if (Value == angle_) return;
  angle_ = Value % 360;
  SetFontAngle(font_, static_cast<float>(angle_));
  DoChange();
}

void TZPChartHeader::SetText(const std::string& Value) {
  if (text_ == Value) return;
  text_ = Value;
  DoChange();
}

void TZPChartHeader::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  DoChange();
}

void TZPChartHeader::SetFont(const TFont& Value) {
  font_.Assign(Value);
  if (angle_ != 0) SetFontAngle(font_, static_cast<float>(angle_));
}

void TZPChartHeader::SetHeight(int Value) {
  if (Value < font_.Height()) Value = font_.Height();
  if (height_ == Value) return;
  height_ = Value;
  DoChange();
}

void TZPChartHeader::SetWidth(int Value) {
  if (width_ == Value) return;
  width_ = Value;
  DoChange();
}

void TZPChartHeader::SetImageOptions(TImageOptions Value) {
  using enum TImageOption;
  const TImageOptions old = ImageOptions();
  if (old == Value) return;
  auto added = [&](TImageOption o) { return Value.Contains(o) && !old.Contains(o); };
  if (added(ioCenter)) Value.Exclude(ioStretch).Exclude(ioTiled);
  if (added(ioTiled)) Value.Exclude(ioCenter).Exclude(ioStretch);
  if (added(ioStretch)) Value.Exclude(ioCenter).Exclude(ioProportional).Exclude(ioTiled);
  if (added(ioProportional)) Value.Exclude(ioStretch);
  StoreImageOptions(Value);
  DoChange();
}

void TZPChartHeader::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartHeader*>(&Source)) {
    angle_ = src->angle_;
    text_ = src->text_;
    alignment_ = src->alignment_;
    height_ = src->height_;
    width_ = src->width_;
    font_.Assign(src->font_);
  }
  TZPChartImageArea::Assign(Source);
}

void TZPChartHeader::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  TRect strip = Rect;
  if (is_header_)
    strip.Bottom = strip.Top + height_;
  else
    strip.Top = strip.Bottom - height_;
  TZPChartImageArea::DrawGraphic(Canvas, strip);
  const int a = angle_ % 180;
  const bool vertical = 45 < a && a < 135;
  Canvas.Font().Assign(font_);
  const TSize ext = Canvas.TextExtent(text_);
  int x = 0, y = 0;
  switch (alignment_) {
    case TAlignment::taLeftJustify:
      x = strip.Left;
      y = vertical ? strip.Bottom - ext.cy : strip.Top;
      break;
    case TAlignment::taRightJustify:
      x = strip.Right - ext.cx;
      y = strip.Top;
      break;
    case TAlignment::taCenter:
      x = (strip.Left + strip.Right) / 2 - ext.cx / 2;
      y = (strip.Top + strip.Bottom) / 2 - ext.cy / 2;
      break;
  }
  Canvas.TextRect(strip, x, y, text_);
}

}  // namespace zp::chart
