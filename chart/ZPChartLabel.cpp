#include "chart/ZPChartLabel.h"

#include "chart/ZPRotatedText.h"

namespace zp::chart {

TZPCustomChartLabel::TZPCustomChartLabel() {
  font_.SetColor(clBlack);
  font_.OnChange = [this](TFont& f) { ObjectChanged(f); };
}

void TZPCustomChartLabel::SetAngle(int Value) {
  if (Value == angle_) {
    if (angle_ != 0) SetFontAngle(font_, static_cast<float>(angle_));
    return;
  }
  angle_ = Value % 360;
  SetFontAngle(font_, static_cast<float>(angle_));
  DoChange();
}

void TZPCustomChartLabel::SetText(const std::string& Value) {
  if (text_ == Value) return;
  text_ = Value;
  DoChange();
}

void TZPCustomChartLabel::SetFont(const TFont& Value) {
  font_.Assign(Value);
  if (angle_ != 0) SetFontAngle(font_, static_cast<float>(angle_));
}

void TZPCustomChartLabel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  DoChange();
}

void TZPCustomChartLabel::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPCustomChartLabel*>(&Source)) {
    alignment_ = src->alignment_;
    angle_ = src->angle_;
    text_ = src->text_;
    font_.Assign(src->font_);
  }
  TZPChartGraphic::Assign(Source);
}

void TZPCustomChartLabel::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  Canvas.Font().Assign(font_);
  const std::string text = GetText();
  const TRotatedTextExtent e = RotatedTextExtent(Canvas, angle_, text);
  int x = Rect.Left, y = Rect.Top;
  switch (alignment_) {
    case TAlignment::taLeftJustify:
      break;
    case TAlignment::taRightJustify:
      x = Rect.Right - e.Size.cx;
      break;
    case TAlignment::taCenter:
      x = (Rect.Left + Rect.Right) / 2 - e.Size.cx / 2;
      y = (Rect.Top + Rect.Bottom) / 2 - e.Size.cy / 2;
      break;
  }
  Canvas.TextOut(x + e.Offset.X, y + e.Offset.Y, text);
}

}  // namespace zp::chart
