// Pictures: TGraphic is an image that can report its size and be drawn by a
// canvas (unscaled or stretched, optionally transparent); TBitmapGraphic is
// a plain pixel buffer every canvas understands; TPicture is the owned holder
// of one graphic with a change event.
//
//   TPicture pic;
//   pic.SetGraphic(std::make_unique<TBitmapGraphic>(16, 16, clRed));
//   canvas.StretchDraw(Rect(0, 0, 32, 32), *pic.Graphic());
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Color.h"
#include "platform/Persistent.h"

namespace zp {

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  // Transparent raster images leave out the pixels of their bottom-left pixel's colour.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value) { transparent_ = Value; }
  // False for vector pictures and icons, whose transparency is their own.
  virtual bool SupportsTransparentSwitch() const { return true; }
  virtual std::unique_ptr<TGraphic> Clone() const = 0;

 protected:
  TGraphic() = default;
  TGraphic(const TGraphic&) = default;
  TGraphic& operator=(const TGraphic&) = default;

 private:
  bool transparent_ = false;
};

// A raster image of Width x Height colours, row by row from the top.
class TBitmapGraphic : public TGraphic {
 public:
  TBitmapGraphic(int Width, int Height, TColor Fill = clWhite);
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Pixel at (X, Y); outside the image gives clBlack and writes are ignored.
  TColor Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Color);
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmapGraphic>(*this); }

 private:
  int width_;
  int height_;
  std::vector<TColor> pixels_;
};

class TPicture : public TPersistent {
 public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;
  std::string ClassName() const override { return "TPicture"; }

  // The held graphic, nullptr when empty.
  TGraphic* Graphic() const { return graphic_.get(); }
  // Takes the graphic (nullptr empties the picture); OnChange.
  void SetGraphic(std::unique_ptr<TGraphic> Value);
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // From another picture: a copy of its graphic (or empty); OnChange.
  void Assign(const TPersistent& Source) override;

  std::function<void(TPicture& Sender)> OnChange;

 private:
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace zp
