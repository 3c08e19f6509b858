// TZPChartHeader: the header strip hanging from the top of the chart ("Chart",
// blue) or the footer strip standing on its bottom ("Footer", red): a text
// with angle and alignment over an optional picture, clipped to the strip.
//
//   TZPChartHeader header(&panelFont, true);
//   header.Draw(canvas, chartRect);   // strip (L, T, R, T + Height)
#pragma once

#include <string>

#include "chart/ZPChartConsts.h"
#include "chart/ZPChartGraphicArea.h"
#include "chart/ZPDeltaFont.h"

namespace zp::chart {

class TZPChartHeader : public TZPChartImageArea {
 public:
  // PanelFont (may be nullptr: a default font) is copied, coloured blue for
  // the header or red for the footer, and becomes the original of the deltas.
  TZPChartHeader(const TFont* PanelFont, bool IsHeader);
  std::string ClassName() const override { return "TZPChartHeader"; }

  bool IsHeader() const { return is_header_; }
  // Degrees, stored mod 360 (remainder with the sign of the value).
  int Angle() const { return angle_; }
  void SetAngle(int Value);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TZPDeltaFont& Font() { return font_; }
  const TZPDeltaFont& Font() const { return font_; }
  // Copies Font (always), then re-applies a non-zero angle.
  void SetFont(const TFont& Value);
  // Strip height in pixels; values below the font's Height are raised to it.
  int Height() const { return height_; }
  void SetHeight(int Value);
  // Stored and copied, used by neither layout nor drawing.
  int Width() const { return width_; }
  void SetWidth(int Value);

  // Adding ioCenter drops ioStretch and ioTiled; adding ioTiled drops ioCenter
  // and ioStretch; adding ioStretch drops ioCenter, ioProportional and ioTiled;
  // adding ioProportional drops ioStretch (applied in this order).
  void SetImageOptions(TImageOptions Value) override;

  // From another header: Angle, Text, Alignment, Height, Width, Font, then the
  // image area's fields and Visible.
  void Assign(const TPersistent& Source) override;

 protected:
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;

 private:
  int angle_ = 0;
  std::string text_;
  TAlignment alignment_ = TAlignment::taCenter;
  TZPDeltaFont font_;
  int height_;
  int width_ = 0;
  bool is_header_;
};

}  // namespace zp::chart
