#include "platform/Pen.h"

namespace zp {

void TPen::SetColor(TColor Value) {
  if (data_.Color == Value) return;
  data_.Color = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (data_.Style == Value) return;
  data_.Style = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 1) Value = 1;
  if (data_.Width == Value) return;
  data_.Width = Value;
  Changed();
}

void TPen::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TPen*>(&Source)) {
    if (data_ == src->data_) return;
    data_ = src->data_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace zp
