// Chart labels: a text with a font (a delta font), an angle and an
// alignment, drawn rotated inside a rectangle. TZPChartLabelMetaData is the
// style of an axis's value labels; TZPChartLabel adds its own text (an axis
// title).
//
//   TZPChartLabel title;  title.SetText("Fitness");  title.SetAngle(90);
//   title.Draw(canvas, box);
#pragma once

#include <string>

#include "chart/ZPChartConsts.h"
#include "chart/ZPChartGraphic.h"
#include "chart/ZPDeltaFont.h"

namespace zp::chart {

class TZPCustomChartLabel : public TZPChartGraphic {
 public:
  TZPCustomChartLabel();
  std::string ClassName() const override { return "TZPCustomChartLabel"; }

  // Degrees, kept in -359..359 (remainder with the sign of the value).
  int Angle() const { return angle_; }
  // Stores Value mod 360 and rotates the font; the same non-zero angle again
  // only re-applies the rotation.
  virtual void SetAngle(int Value);
  std::string Text() const { return GetText(); }
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& Value);
  TZPDeltaFont& Font() { return font_; }
  const TZPDeltaFont& Font() const { return font_; }
  // Copies Font (always), then re-applies a non-zero angle.
  virtual void SetFont(const TFont& Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);

  // From another label: Alignment, Angle, Text, Font, then Visible.
  void Assign(const TPersistent& Source) override;

 protected:
  // The rotated text placed by Alignment in Rect, not clipped.
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;

 private:
  int angle_ = 0;
  std::string text_;
  TZPDeltaFont font_;
  TAlignment alignment_ = TAlignment::taCenter;
};

class TZPChartLabelMetaData : public TZPCustomChartLabel {
 public:
  using TZPCustomChartLabel::TZPCustomChartLabel;
  std::string ClassName() const override { return "TZPChartLabelMetaData"; }
};

class TZPChartLabel : public TZPCustomChartLabel {
 public:
  using TZPCustomChartLabel::TZPCustomChartLabel;
  std::string ClassName() const override { return "TZPChartLabel"; }
};

}  // namespace zp::chart
