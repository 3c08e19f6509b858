#include "platform/Brush.h"

namespace zp {

void TBrush::SetColor(TColor Value) {
  if (data_.Color == Value) return;
  data_.Color = Value;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (data_.Style == Value) return;
  data_.Style = Value;
  Changed();
}

void TBrush::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TBrush*>(&Source)) {
    if (data_ == src->data_) return;
    data_ = src->data_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace zp
