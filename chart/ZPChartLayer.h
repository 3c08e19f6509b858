// TZPChartLayer: a background or foreground layer: a brush fill and an
// optional picture placed by ImageMode (left/top/tile placement is relative
// to the canvas origin, not the rectangle).
#pragma once

#include "chart/ZPChartGraphic.h"

namespace zp::chart {

enum class TImageMode { imCenter, imLeft, imRight, imTop, imBottom, imStretch, imTile };

class TZPChartLayer : public TZPChartGraphic {
 public:
  TZPChartLayer();
  std::string ClassName() const override { return "TZPChartLayer"; }

  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  void SetBrush(const TBrush& Value) { brush_.Assign(Value); }
  // Kept and copied, but not used for drawing.
  TPen& Pen() { return pen_; }
  const TPen& Pen() const { return pen_; }
  void SetPen(const TPen& Value) { pen_.Assign(Value); }
  TPicture& Image() { return image_; }
  const TPicture& Image() const { return image_; }
  void SetImage(const TPicture& Value) { image_.Assign(Value); }
  TImageMode ImageMode() const { return image_mode_; }
  void SetImageMode(TImageMode Value);

  // From another layer: Brush, ImageMode, Pen, Image, then Visible.
  void Assign(const TPersistent& Source) override;

 protected:
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;

 private:
  TBrush brush_;
  TImageMode image_mode_ = TImageMode::imCenter;
  TPen pen_;
  TPicture image_;
};

}  // namespace zp::chart
