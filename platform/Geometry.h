// Integer points, sizes and rectangles of the drawing canvas. Rectangles are
// right- and bottom-exclusive: (0, 0, 10, 5) covers columns 0..9 and rows 0..4.
#pragma once

#include <vector>

namespace zp {

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

using TPoints = std::vector<TPoint>;

struct TSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const TSize&) const = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  // True when the rectangle covers no pixel (also when inverted).
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

constexpr TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect{Left, Top, Right, Bottom}; }
constexpr TPoint Point(int X, int Y) { return TPoint{X, Y}; }

}  // namespace zp
