// TZPChartShadow: a drop shadow of Size pixels towards Direction. An owner
// reserves Size extra pixels, draws the shadow into the whole rectangle and
// itself into BoxPart of it.
//
//   shadow.Draw(canvas, Rect(0, 0, 100, 50));          // fills (3, 3, 100, 50)
//   TRect box = shadow.BoxPart(Rect(0, 0, 100, 50));   // (0, 0, 97, 47)
#pragma once

#include <cstdint>

#include "chart/ZPChartGraphicArea.h"

namespace zp::chart {

enum class TZPShadowDirection { sdBottomRight, sdBottomLeft, sdTopRight, sdTopLeft };

class TZPChartShadow : public TZPChartGraphicArea {
 public:
  TZPChartShadow();
  std::string ClassName() const override { return "TZPChartShadow"; }

  // Pixels, default 3.
  int Size() const { return size_; }
  void SetSize(int Value);
  TZPShadowDirection Direction() const { return direction_; }
  void SetDirection(TZPShadowDirection Value);
  // Shape code: 0 rectangle (default), 8 rounded rectangle; 2 (a picture) is stored as 0.
  uint8_t Shape() const { return shape_; }
  void SetShape(uint8_t Value);

  // The part of R the shadow covers.
  TRect ShadowPart(const TRect& R) const;
  // The part of R left for the object casting the shadow.
  TRect BoxPart(const TRect& R) const;

  // From another shadow: Size, Direction, then the area's fields.
  void Assign(const TPersistent& Source) override;

 protected:
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;

 private:
  int size_ = 3;
  TZPShadowDirection direction_ = TZPShadowDirection::sdBottomRight;
  uint8_t shape_ = 0;
};

}  // namespace zp::chart
