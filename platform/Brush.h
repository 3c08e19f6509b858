// TBrush: a value-holding fill attribute (colour, style) with an OnChange
// event fired after every real change. A canvas holds one; selecting a brush
// means canvas.Brush().Assign(brush). A clear brush fills nothing and makes
// text transparent.
#pragma once

#include "platform/Color.h"
#include "platform/GraphicsAttributes.h"

namespace zp {

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TBrushData {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  bool operator==(const TBrushData&) const = default;
};

class TBrush : public TGraphicsAttributes<TBrush, TBrushData> {
 public:
  TBrush() = default;
  TBrush(const TBrush&) = default;
  std::string ClassName() const override { return "TBrush"; }

  TColor Color() const { return data_.Color; }
  void SetColor(TColor Value) { Set(&TBrushData::Color, Value); }
  TBrushStyle Style() const { return data_.Style; }
  void SetStyle(TBrushStyle Value) { Set(&TBrushData::Style, Value); }
};

}  // namespace zp
