// TPen: a value-holding line attribute (colour, style, width) with an
// OnChange event fired after every real change (setters compare first). A
// canvas holds one; selecting a pen means canvas.Pen().Assign(pen).
#pragma once

#include "platform/Color.h"
#include "platform/GraphicsAttributes.h"

namespace zp {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

struct TPenData {
  TColor Color = clBlack;
  TPenStyle Style = TPenStyle::psSolid;
  int Width = 1;
  bool operator==(const TPenData&) const = default;
};

class TPen : public TGraphicsAttributes<TPen, TPenData> {
 public:
  TPen() = default;
  TPen(const TPen&) = default;
  std::string ClassName() const override { return "TPen"; }

  TColor Color() const { return data_.Color; }
  void SetColor(TColor Value) { Set(&TPenData::Color, Value); }
  TPenStyle Style() const { return data_.Style; }
  void SetStyle(TPenStyle Value) { Set(&TPenData::Style, Value); }
  // Width in pixels; values below 1 become 1.
  int Width() const { return data_.Width; }
  void SetWidth(int Value) { Set(&TPenData::Width, Value < 1 ? 1 : Value); }
};

}  // namespace zp
