// GrowRect: a rectangle grown by half of DX on the left and right and half
// of DY on the top and bottom (halves truncated toward zero, so an odd
// amount loses one pixel and a negative one shrinks).
//
//   GrowRect(Rect(10, 10, 20, 20), 5, -3) == Rect(8, 11, 22, 19)
#pragma once

#include "platform/Geometry.h"

namespace zp {

constexpr TRect GrowRect(const TRect& R, int DX, int DY) {
  return {R.Left - DX / 2, R.Top - DY / 2, R.Right + DX / 2, R.Bottom + DY / 2};
}

}  // namespace zp
