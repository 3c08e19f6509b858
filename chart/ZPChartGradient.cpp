#include "chart/ZPChartGradient.h"

namespace zp::chart {

void TZPChartGradient::SetCoarseness(int Value) {
  if (Value < 1) Value = 1;
  if (coarseness_ == Value) return;
  coarseness_ = Value;
  DoChange();
}

void TZPChartGradient::SetStartColor(TColor Value) {
  if (start_color_ == Value) return;
  start_color_ = Value;
  DoChange();
}

void TZPChartGradient::SetEndColor(TColor Value) {
  if (end_color_ == Value) return;
  end_color_ = Value;
  DoChange();
}

void TZPChartGradient::SetDirection(TGradientDirection Value) {
  if (direction_ == Value) return;
  direction_ = Value;
  DoChange();
}

void TZPChartGradient::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  GradientFill(Canvas, Rect, {start_color_, end_color_}, coarseness_, direction_);
}

void TZPChartGradient::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartGradient*>(&Source)) {
    coarseness_ = src->coarseness_;
    end_color_ = src->end_color_;
    start_color_ = src->start_color_;
    direction_ = src->direction_;
  }
  TZPChartGraphic::Assign(Source);
}

}  // namespace zp::chart
