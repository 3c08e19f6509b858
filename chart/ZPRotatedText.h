// Rotated text: the box a text needs when drawn at an angle, where in that
// box the text origin lies, and giving a font its rotation.
//
//   auto e = RotatedTextExtent(canvas, 90, "Fitness");
//   canvas.TextOut(box.Left + e.Offset.X, box.Top + e.Offset.Y, "Fitness");
#pragma once

#include <string>

#include "platform/Canvas.h"

namespace zp::chart {

struct TRotatedTextExtent {
  TSize Size;     // the box
  TPoint Offset;  // the text origin inside the box
};

// For angle 0 the plain text extent and offset (0, 0); otherwise a box of
// |round(cos a * W)| + 2H by |round(sin a * W)| + 2H for a (W, H) text.
TRotatedTextExtent RotatedTextExtent(TCanvas& Canvas, double Angle, const std::string& Text);

// Installs a logical font rotated by Angle degrees (tenths rounded): the
// font's height, weight, style, character set and pitch; face "Default"
// becomes the framework's default face, and a face that cannot be rotated
// (not TrueType) becomes "Arial".
void SetFontAngle(TFont& Font, float Angle);

}  // namespace zp::chart
