// TBrush: a value-holding fill attribute (colour, style) with an OnChange
// event fired after every real change. A canvas holds one; selecting a brush
// means canvas.Brush().Assign(brush). A clear brush fills nothing and makes
// text transparent.
#pragma once

#include <functional>

#include "platform/Color.h"
#include "platform/Persistent.h"

namespace zp {

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TBrushData {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  bool operator==(const TBrushData&) const = default;
};

class TBrush : public TPersistent {
 public:
  TBrush() = default;
  TBrush(const TBrush& o) : TPersistent(), data_(o.data_) {}
  TBrush& operator=(const TBrush&) = delete;
  std::string ClassName() const override { return "TBrush"; }

  TColor Color() const { return data_.Color; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return data_.Style; }
  void SetStyle(TBrushStyle Value);
  const TBrushData& Data() const { return data_; }

  void Assign(const TPersistent& Source) override;

  std::function<void(TBrush& Sender)> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(*this);
  }
  TBrushData data_;
};

}  // namespace zp
