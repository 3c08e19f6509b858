#include "chart/ZPRotatedText.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/Numbers.h"

namespace zp::chart {

TRotatedTextExtent RotatedTextExtent(TCanvas& Canvas, double Angle, const std::string& Text) {
  const TSize ext = Canvas.TextExtent(Text);
  if (Angle == 0) return {ext, {0, 0}};
  const int w = ext.cx, h = ext.cy;
  const double a = Angle * std::numbers::pi / 180.0;
  const int cx = static_cast<int>(RoundHalfEven(std::cos(a) * w));
  const int sy = static_cast<int>(RoundHalfEven(std::sin(a) * w));
  TRotatedTextExtent out;
  out.Size = {std::abs(cx) + 2 * h, std::abs(sy) + 2 * h};
  out.Offset.X = cx < 0 ? out.Size.cx - h : h;
  out.Offset.Y = sy < 0 ? h : cx < 0 ? out.Size.cy - h : out.Size.cy - h - h / 2;
  return out;
}

void SetFontAngle(TFont& Font, float Angle) {
  TLogFont lf;
  lf.Height = Font.Height();
  lf.Width = 0;
  lf.Escapement = lf.Orientation = static_cast<int>(RoundHalfEven(10.0 * static_cast<double>(Angle)));
  lf.Weight = Font.Style().Contains(TFontStyle::fsBold) ? 700 : 400;
  lf.Italic = Font.Style().Contains(TFontStyle::fsItalic);
  lf.Underline = Font.Style().Contains(TFontStyle::fsUnderline);
  lf.StrikeOut = Font.Style().Contains(TFontStyle::fsStrikeOut);
  lf.CharSet = Font.Charset();
  lf.PitchAndFamily = Font.Pitch() == TFontPitch::fpVariable ? kVariablePitch
                      : Font.Pitch() == TFontPitch::fpFixed  ? kFixedPitch
                                                             : kDefaultPitch;
  lf.FaceName = SameText(Font.Name(), "Default") ? std::string(kDefaultFaceName) : Font.Name().substr(0, kLFFaceSize);
  // Only outline fonts can be drawn at an angle.
  if (!IsTrueTypeFace(lf.FaceName)) lf.FaceName = "Arial";
  Font.SetHandle(lf);
}

}  // namespace zp::chart
