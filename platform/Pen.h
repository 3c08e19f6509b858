// TPen: a value-holding line attribute (colour, style, width) with an
// OnChange event fired after every real change (setters compare first). A
// canvas holds one; selecting a pen means canvas.Pen().Assign(pen).
#pragma once

#include <functional>

#include "platform/Color.h"
#include "platform/Persistent.h"

namespace zp {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

struct TPenData {
  TColor Color = clBlack;
  TPenStyle Style = TPenStyle::psSolid;
  int Width = 1;
  bool operator==(const TPenData&) const = default;
};

class TPen : public TPersistent {
 public:
  TPen() = default;
  // Copies the attributes, not the OnChange handler.
  TPen(const TPen& o) : TPersistent(), data_(o.data_) {}
  TPen& operator=(const TPen&) = delete;
  std::string ClassName() const override { return "TPen"; }

  TColor Color() const { return data_.Color; }
  void SetColor(TColor Value);
  TPenStyle Style() const { return data_.Style; }
  void SetStyle(TPenStyle Value);
  // Width in pixels; values below 1 become 1.
  int Width() const { return data_.Width; }
  void SetWidth(int Value);
  const TPenData& Data() const { return data_; }

  // From another pen: all attributes, one OnChange when anything differed.
  void Assign(const TPersistent& Source) override;

  std::function<void(TPen& Sender)> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(*this);
  }
  TPenData data_;
};

}  // namespace zp
