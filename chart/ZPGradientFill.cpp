#include "chart/ZPGradientFill.h"

#include <algorithm>
#include <utility>

#include "chart/ZPFloatGeometry.h"
#include "platform/Numbers.h"

namespace zp::chart {

int ClampByte(double X) {
  const double r = RoundHalfEven(X);
  if (r >= 256) return 255;
  if (r < 0) return 0;
  return static_cast<int>(r);
}

std::array<uint8_t, 3> ColorToBytes(TColor Color) { return {GetRValue(Color), GetGValue(Color), GetBValue(Color)}; }

namespace {

void LinearGradient(TCanvas& Canvas, const TRect& Rect, const std::vector<TColor>& Colors, int Coarseness,
                    bool Vertical) {
  const int n = static_cast<int>(Colors.size());
  if (Rect.Right == 0 || Rect.Bottom == 0 || n < 1) return;
  if (Coarseness < 1) Coarseness = 1;
  const TRect r = NormalizeRect(Rect);
  const int start = Vertical ? r.Top : r.Left;
  const int end = Vertical ? r.Bottom : r.Right;
  const int band = std::max(1, n >= 2 ? (end - start) / (n - 1) : end - start);

  auto c1 = ColorToBytes(Colors[0]);
  auto c2 = ColorToBytes(n > 1 ? Colors[1] : Colors[0]);
  int index = n > 1 ? 1 : 0;
  int boundary = band;
  double rgb[3] = {static_cast<double>(c1[0]), static_cast<double>(c1[1]), static_cast<double>(c1[2])};

  const TColor saved = Canvas.Brush().Color();
  for (int pos = start; pos <= end;) {
    Canvas.Brush().SetColor(RGB(static_cast<uint8_t>(ClampByte(rgb[0])), static_cast<uint8_t>(ClampByte(rgb[1])),
                                static_cast<uint8_t>(ClampByte(rgb[2]))));
    Canvas.FillRect(Vertical ? TRect{r.Left, pos, r.Right, pos + Coarseness}
                             : TRect{pos, r.Top, pos + Coarseness, r.Bottom});
    pos += Coarseness;
    // Step along the current band before looking at its end, so that the strip
    // at a band boundary gets that boundary's colour exactly (the last strip
    // the last colour); turning the slope first would stop every band one
    // step short of its colour. The running colour carries over boundaries.
    for (int k = 0; k < 3; ++k) rgb[k] += (static_cast<double>(c2[k]) - c1[k]) / band * Coarseness;
    if (pos - start >= boundary) {
      boundary += band;
      index = std::min(index + 1, n - 1);
      c1 = c2;
      c2 = ColorToBytes(Colors[static_cast<size_t>(index)]);
    }
  }
  Canvas.Brush().SetColor(saved);
}

TTriVertex Vertex(int X, int Y, TColor C) {
  return {X,
          Y,
          static_cast<uint16_t>(GetRValue(C) << 8),
          static_cast<uint16_t>(GetGValue(C) << 8),
          static_cast<uint16_t>(GetBValue(C) << 8),
          0};
}

void DiagonalGradient(TCanvas& Canvas, const TRect& Rect, TColor First, TColor Second, int StartCorner, int EndCorner) {
  std::vector<TTriVertex> v{Vertex(Rect.Left, Rect.Top, 0), Vertex(Rect.Right, Rect.Top, 0),
                            Vertex(Rect.Right, Rect.Bottom, 0), Vertex(Rect.Left, Rect.Bottom, 0)};
  const TTriVertex a = Vertex(0, 0, First), b = Vertex(0, 0, Second);
  const TTriVertex mid{0,
                       0,
                       static_cast<uint16_t>((a.Red + b.Red) / 2),
                       static_cast<uint16_t>((a.Green + b.Green) / 2),
                       static_cast<uint16_t>((a.Blue + b.Blue) / 2),
                       0};
  for (int i = 0; i < 4; ++i) {
    const TTriVertex& c = i == StartCorner ? a : i == EndCorner ? b : mid;
    v[static_cast<size_t>(i)].Red = c.Red;
    v[static_cast<size_t>(i)].Green = c.Green;
    v[static_cast<size_t>(i)].Blue = c.Blue;
  }
  Canvas.GradientFillTriangles(v, {{0, 1, 3}, {1, 2, 3}});
}

}  // namespace

void GradientFill(TCanvas& Canvas, const TRect& Rect, const std::vector<TColor>& Colors, int Coarseness,
                  TGradientDirection Direction) {
  if (Rect.Right == 0 || Rect.Bottom == 0 || Colors.empty()) return;
  using enum TGradientDirection;
  const TColor first = Colors[0];
  const TColor second = Colors.size() > 1 ? Colors[1] : Colors[0];
  switch (Direction) {
    case gdDown:
      LinearGradient(Canvas, Rect, Colors, Coarseness, true);
      break;
    case gdRight:
      LinearGradient(Canvas, Rect, Colors, Coarseness, false);
      break;
    case gdUp:
      LinearGradient(Canvas, Rect, {Colors.rbegin(), Colors.rend()}, Coarseness, true);
      break;
    case gdLeft:
      LinearGradient(Canvas, Rect, {Colors.rbegin(), Colors.rend()}, Coarseness, false);
      break;
    // Corners: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
    case gdDownRight:
      DiagonalGradient(Canvas, Rect, first, second, 0, 2);
      break;
    case gdDownLeft:
      DiagonalGradient(Canvas, Rect, first, second, 1, 3);
      break;
    case gdUpRight:
      DiagonalGradient(Canvas, Rect, first, second, 3, 1);
      break;
    case gdUpLeft:
      DiagonalGradient(Canvas, Rect, first, second, 2, 0);
      break;
  }
}

}  // namespace zp::chart
