// Points and rectangles in axis units (Double coordinates) and the integer
// rectangle helpers the chart shares. A float point is inside a float
// rectangle when Left <= X < Right and Top <= Y < Bottom.
#pragma once

#include "platform/Geometry.h"

namespace zp::chart {

struct TFloatPoint {
  double X = 0;
  double Y = 0;
  bool operator==(const TFloatPoint&) const = default;
};

struct TFloatRect {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  bool operator==(const TFloatRect&) const = default;
};

constexpr TFloatPoint FloatPoint(double X, double Y) { return {X, Y}; }

// Both coordinates rounded to nearest, halves to even.
TPoint FloatPointToPoint(const TFloatPoint& P);

// The overlap of A and B; false when it is empty (no positive width and height).
bool IntersectFloatRect(const TFloatRect& A, const TFloatRect& B, TFloatRect& Result);

bool PtInFloatRect(const TFloatPoint& P, const TFloatRect& R);

// R with Left <= Right and Top <= Bottom (corners swapped where needed).
TRect NormalizeRect(const TRect& R);

}  // namespace zp::chart
