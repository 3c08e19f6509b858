#include "chart/ZPChartShadow.h"

#include "chart/ZPShapes.h"

namespace zp::chart {

TZPChartShadow::TZPChartShadow() {
  Brush().SetColor(clBlack);
  Brush().SetStyle(TBrushStyle::bsSolid);
}

void TZPChartShadow::SetSize(int Value) {
  if (size_ == Value) return;
  size_ = Value;
  DoChange();
}

void TZPChartShadow::SetDirection(TZPShadowDirection Value) {
  if (direction_ == Value) return;
  direction_ = Value;
  DoChange();
}

void TZPChartShadow::SetShape(uint8_t Value) {
  if (Value == kShapeGraphic) Value = kShapeRectangle;
  if (shape_ == Value) return;
  shape_ = Value;
  DoChange();
}

TRect TZPChartShadow::ShadowPart(const TRect& R) const {
  const int s = size_;
  switch (direction_) {
    case TZPShadowDirection::sdBottomRight:
      return {R.Left + s, R.Top + s, R.Right, R.Bottom};
    case TZPShadowDirection::sdBottomLeft:
      return {R.Left, R.Top + s, R.Right - s, R.Bottom};
    case TZPShadowDirection::sdTopRight:
      return {R.Left + s, R.Top, R.Right, R.Bottom - s};
    case TZPShadowDirection::sdTopLeft:
      return {R.Left, R.Top, R.Right - s, R.Bottom - s};
  }
  return R;
}

TRect TZPChartShadow::BoxPart(const TRect& R) const {
  const TRect p = ShadowPart(R);
  const int s = size_;
  int dx = 0, dy = 0;
  switch (direction_) {
    case TZPShadowDirection::sdBottomRight:
      dx = -s, dy = -s;
      break;
    case TZPShadowDirection::sdBottomLeft:
      dx = s, dy = -s;
      break;
    case TZPShadowDirection::sdTopRight:
      dx = -s, dy = s;
      break;
    case TZPShadowDirection::sdTopLeft:
      dx = s, dy = s;
      break;
  }
  return {p.Left + dx, p.Top + dy, p.Right + dx, p.Bottom + dy};
}

void TZPChartShadow::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  TZPChartGraphicArea::DrawGraphic(Canvas, Rect);
  DrawShape(Canvas, ShadowPart(Rect), nullptr, false, shape_);
}

void TZPChartShadow::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartShadow*>(&Source)) {
    size_ = src->size_;
    direction_ = src->direction_;
  }
  TZPChartGraphicArea::Assign(Source);
}

}  // namespace zp::chart
