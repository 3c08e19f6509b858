// TZPCustomRect / TZPObjectRect: a rectangle with a change notification, used
// for margins. Sides are read and written by index: 0 Left, 1 Top, 2 Right,
// 3 Bottom, 4 height, anything else width. Plus the margin helpers.
//
//   TZPObjectRect m;  m.SetRect(DefaultMargins());
//   TRect inner = ApplyMargins(outer, m, true);
#pragma once

#include <functional>

#include "platform/Geometry.h"
#include "platform/Persistent.h"

namespace zp::chart {

class TZPCustomRect : public TPersistent {
 public:
  TZPCustomRect() = default;
  TZPCustomRect(const TZPCustomRect&) = delete;
  TZPCustomRect& operator=(const TZPCustomRect&) = delete;
  std::string ClassName() const override { return "TZPCustomRect"; }

  TRect Rect() const { return rect_; }

  // 0 Left, 1 Top, 2 Right, 3 Bottom, 4 height, other indexes width.
  virtual int GetValue(int Index) const;
  // Nothing when equal; 4 moves Bottom, other indexes above 3 move Right; Changed.
  virtual void SetValue(int Index, int Value);
  // All four sides; Changed even when equal.
  virtual void SetRect(const TRect& R);
  // Keeps the size; nothing when already at (X, Y).
  virtual void MoveTo(int X, int Y);
  // Changed only when DX or DY is not 0.
  virtual void Offset(int DX, int DY);
  // Grows by half of DX and DY on each side (GrowRect); Changed always.
  virtual void Inflate(int DX, int DY);

  // From another rectangle: the four sides, then Changed.
  void Assign(const TPersistent& Source) override;

  // Set by the owner; Sender is the rectangle.
  std::function<void(TZPCustomRect& Sender)> OnChange;

 protected:
  virtual void Changed();

 private:
  TRect rect_;
};

class TZPObjectRect : public TZPCustomRect {
 public:
  using TZPCustomRect::TZPCustomRect;
  std::string ClassName() const override { return "TZPObjectRect"; }
  int Left() const { return GetValue(0); }
  void SetLeft(int Value) { SetValue(0, Value); }
  int Top() const { return GetValue(1); }
  void SetTop(int Value) { SetValue(1, Value); }
  int Right() const { return GetValue(2); }
  void SetRight(int Value) { SetValue(2, Value); }
  int Bottom() const { return GetValue(3); }
  void SetBottom(int Value) { SetValue(3, Value); }
};

// The chart's margins: 3, 4, 3, 4 (left, top, right, bottom).
constexpr TRect DefaultMargins() { return {3, 4, 3, 4}; }

// R shrunk by the margins, in pixels or (InPixels false) in percent of R's
// width and height, rounded to nearest.
TRect ApplyMargins(const TRect& R, const TZPCustomRect& Margins, bool InPixels);

}  // namespace zp::chart
