// Gradient fills of a canvas rectangle: linear (in strips of Coarseness
// pixels, colours running across several bands) and diagonal (two triangles
// shaded by the canvas). Colours are plain red-green-blue values; system
// colours are not resolved here.
//
//   GradientFill(canvas, Rect(0, 0, 100, 20), {clYellow, clWhite}, 1, TGradientDirection::gdRight);
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/Canvas.h"

namespace zp::chart {

enum class TGradientDirection { gdDownRight, gdDown, gdDownLeft, gdRight, gdLeft, gdUpRight, gdUp, gdUpLeft };

// X rounded to nearest (halves to even), then clamped to 0..255.
int ClampByte(double X);

// Red, green and blue bytes of a colour (low byte red).
std::array<uint8_t, 3> ColorToBytes(TColor Color);

// Fills Rect from Colors[0] onwards in Direction. Nothing when Rect.Right or
// Rect.Bottom is 0 or Colors is empty. Linear fills paint strips starting at
// each edge up to and including the far edge (so the last strip reaches up to
// Coarseness pixels past it) and restore the brush colour; diagonal fills use
// only the first two colours.
void GradientFill(TCanvas& Canvas, const TRect& Rect, const std::vector<TColor>& Colors, int Coarseness,
                  TGradientDirection Direction);

}  // namespace zp::chart
