#include "chart/ZPFloatGeometry.h"

#include <utility>

#include "platform/Numbers.h"

namespace zp::chart {

TPoint FloatPointToPoint(const TFloatPoint& P) {
  return {static_cast<int>(RoundHalfEven(P.X)), static_cast<int>(RoundHalfEven(P.Y))};
}

bool IntersectFloatRect(const TFloatRect& A, const TFloatRect& B, TFloatRect& Result) {
  Result.Left = A.Left > B.Left ? A.Left : B.Left;
  Result.Top = A.Top > B.Top ? A.Top : B.Top;
  Result.Right = A.Right >= B.Right ? B.Right : A.Right;
  Result.Bottom = A.Bottom >= B.Bottom ? B.Bottom : A.Bottom;
  return Result.Left < Result.Right && Result.Top < Result.Bottom;
}

bool PtInFloatRect(const TFloatPoint& P, const TFloatRect& R) {
  return R.Left <= P.X && P.X < R.Right && R.Top <= P.Y && P.Y < R.Bottom;
}

TRect NormalizeRect(const TRect& R) {
  TRect out = R;
  if (out.Left > out.Right) std::swap(out.Left, out.Right);
  if (out.Top > out.Bottom) std::swap(out.Top, out.Bottom);
  return out;
}

}  // namespace zp::chart
