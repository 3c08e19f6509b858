// TZPChartGradient: the panel's background gradient, by default left to right
// from yellow to white in one-pixel columns.
#pragma once

#include "chart/ZPChartGraphic.h"
#include "chart/ZPGradientFill.h"

namespace zp::chart {

class TZPChartGradient : public TZPChartGraphic {
 public:
  TZPChartGradient() = default;
  std::string ClassName() const override { return "TZPChartGradient"; }

  // Strip width in pixels; values below 1 become 1.
  int Coarseness() const { return coarseness_; }
  void SetCoarseness(int Value);
  TColor StartColor() const { return start_color_; }
  void SetStartColor(TColor Value);
  TColor EndColor() const { return end_color_; }
  void SetEndColor(TColor Value);
  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection Value);

  // From another gradient: Coarseness, EndColor, StartColor, Direction, then Visible.
  void Assign(const TPersistent& Source) override;

 protected:
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;

 private:
  int coarseness_ = 1;
  TColor end_color_ = clWhite;
  TColor start_color_ = clYellow;
  TGradientDirection direction_ = TGradientDirection::gdRight;
};

}  // namespace zp::chart
