#include "chart/ZPShapes.h"

#include <algorithm>

namespace zp::chart {

void DrawShape(TCanvas& Canvas, const TRect& R, const TGraphic* Graphic, bool Stretch, uint8_t Shape) {
  const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
  const int s = std::min(R.Width(), R.Height());
  const int sl = R.Left + (R.Width() - s) / 2, st = R.Top + (R.Height() - s) / 2;
  const TRect square{sl, st, sl + s, st + s};
  switch (Shape) {
    case 0:
      Canvas.Rectangle(R);
      break;
    case 1:
      Canvas.Ellipse(R);
      break;
    case 2:
      if (!Graphic) break;
      if (Stretch)
        Canvas.StretchDraw(R, *Graphic);
      else
        Canvas.Draw(R.Left, R.Top, *Graphic);
      break;
    case 3:
      Canvas.Polygon({{R.Left, cy}, {cx, R.Top}, {R.Right, cy}, {cx, R.Bottom}});
      break;
    case 4:
      Canvas.Polygon({{R.Left, cy}, {R.Right, R.Top}, {R.Right, R.Bottom}});
      break;
    case 5:
      Canvas.Polygon({{R.Left, R.Top}, {R.Right, cy}, {R.Left, R.Bottom}});
      break;
    case 6:
      Canvas.Polygon({{cx, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}});
      break;
    case 7:
      Canvas.Polygon({{R.Left, R.Top}, {R.Right, R.Top}, {cx, R.Bottom}});
      break;
    case 8:
      Canvas.RoundRect(R, s / 4, s / 4);
      break;
    case 9:
      Canvas.Rectangle(square);
      break;
    case 10:
      Canvas.Ellipse(square);
      break;
    case 11:
      Canvas.RoundRect(square, s / 4, s / 4);
      break;
    default:
      break;
  }
}

}  // namespace zp::chart
