#include "platform/Picture.h"

namespace zp {

TBitmapGraphic::TBitmapGraphic(int Width, int Height, TColor Fill)
    : width_(Width > 0 ? Width : 0),
      height_(Height > 0 ? Height : 0),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), Fill) {}

TColor TBitmapGraphic::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return clBlack;
  return pixels_[static_cast<size_t>(Y) * static_cast<size_t>(width_) + static_cast<size_t>(X)];
}

void TBitmapGraphic::SetPixel(int X, int Y, TColor Color) {
  if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return;
  pixels_[static_cast<size_t>(Y) * static_cast<size_t>(width_) + static_cast<size_t>(X)] = Color;
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> Value) {
  graphic_ = std::move(Value);
  if (OnChange) OnChange(*this);
}

void TPicture::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TPicture*>(&Source)) {
    if (src == this) return;
    SetGraphic(src->graphic_ ? src->graphic_->Clone() : nullptr);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace zp
