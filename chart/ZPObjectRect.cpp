#include "chart/ZPObjectRect.h"

#include "platform/Numbers.h"
#include "structures/GrowRect.h"

namespace zp::chart {

int TZPCustomRect::GetValue(int Index) const {
  switch (Index) {
    case 0:
      return rect_.Left;
    case 1:
      return rect_.Top;
    case 2:
      return rect_.Right;
    case 3:
      return rect_.Bottom;
    case 4:
      return rect_.Height();
    default:
      return rect_.Width();
  }
}

void TZPCustomRect::SetValue(int Index, int Value) {
  if (GetValue(Index) == Value) return;
  switch (Index) {
    case 0:
      rect_.Left = Value;
      break;
    case 1:
      rect_.Top = Value;
      break;
    case 2:
      rect_.Right = Value;
      break;
    case 3:
      rect_.Bottom = Value;
      break;
    case 4:
      rect_.Bottom = rect_.Top + Value;
      break;
    default:
      rect_.Right = rect_.Left + Value;
      break;
  }
  Changed();
}

void TZPCustomRect::SetRect(const TRect& R) {
  rect_ = R;
  Changed();
}

void TZPCustomRect::MoveTo(int X, int Y) {
  if (X == rect_.Left && Y == rect_.Top) return;
  rect_ = {X, Y, X + rect_.Width(), Y + rect_.Height()};
  Changed();
}

void TZPCustomRect::Offset(int DX, int DY) {
  if (DX != 0) {
    rect_.Left += DX;
    rect_.Right += DX;
  }
  if (DY != 0) {
    rect_.Top += DY;
    rect_.Bottom += DY;
  }
  if (DX != 0 || DY != 0) Changed();
}

void TZPCustomRect::Inflate(int DX, int DY) {
  rect_ = GrowRect(rect_, DX, DY);
  Changed();
}

void TZPCustomRect::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPCustomRect*>(&Source)) {
    rect_ = src->rect_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TZPCustomRect::Changed() {
  if (OnChange) OnChange(*this);
}

TRect ApplyMargins(const TRect& R, const TZPCustomRect& Margins, bool InPixels) {
  const TRect m = Margins.Rect();
  if (InPixels) return {R.Left + m.Left, R.Top + m.Top, R.Right - m.Right, R.Bottom - m.Bottom};
  const int w = R.Width(), h = R.Height();
  auto pct = [](int extent, int percent) {
    return static_cast<int>(RoundHalfEven(static_cast<double>(extent * percent) / 100.0));
  };
  return {R.Left + pct(w, m.Left), R.Top + pct(h, m.Top), R.Right - pct(w, m.Right), R.Bottom - pct(h, m.Bottom)};
}

}  // namespace zp::chart
