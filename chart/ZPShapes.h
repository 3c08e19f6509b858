// DrawShape: one of twelve simple shapes drawn into a rectangle with the
// canvas's current pen and brush (codes below); the shadow uses 0 and 8.
#pragma once

#include <cstdint>

#include "platform/Canvas.h"

namespace zp::chart {

// Shape codes: 0 rectangle, 1 ellipse, 2 the graphic (stretched into R, or
// unscaled at R's top-left; nothing without one), 3 diamond, 4-7 triangles
// pointing left, right, up, down, 8 rounded rectangle, 9 centred square,
// 10 centred circle, 11 centred rounded square. Other codes draw nothing.
constexpr uint8_t kShapeRectangle = 0;
constexpr uint8_t kShapeGraphic = 2;
constexpr uint8_t kShapeRoundRect = 8;

void DrawShape(TCanvas& Canvas, const TRect& R, const TGraphic* Graphic, bool Stretch, uint8_t Shape);

}  // namespace zp::chart
