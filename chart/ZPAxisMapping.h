// The arithmetic of an axis: where its extent lies in a plot rectangle, how
// values map to pixels and back (linear, or logarithmic compressed right,
// compressed left, fish-eye or by decades), and the nice label steps.
//
//   TAxisMapping m;  m.Location = TZPChartAxisLocation::caLeft;  m.ZoomMaximum = 10;
//   ValueToPixel(m, Rect(0, 0, 100, 300), 5);   // 150: screen y grows downwards
#pragma once

#include <vector>

#include "chart/ZPChartConsts.h"
#include "chart/ZPValueAxisConsts.h"
#include "platform/Geometry.h"

namespace zp::chart {

// What the mapping reads of an axis.
struct TAxisMapping {
  TZPChartAxisLocation Location = TZPChartAxisLocation::caBottom;
  bool Inverted = false;
  bool Logarithmic = false;
  TZPLogarithmicType LogarithmicType = TZPLogarithmicType::ltCompressRight;
  int LogBase = 10;
  int StartPosition = 0;  // percent of the extent
  int EndPosition = 100;
  double ZoomMinimum = 0;
  double ZoomMaximum = 0;
};

bool IsVerticalLocation(TZPChartAxisLocation Location);

// Start and end pixel of the axis in R: R's left..right for horizontal axes,
// top..bottom for vertical ones, cut at StartPosition and EndPosition percent.
void AxisExtent(const TAxisMapping& M, const TRect& R, int& Start, int& End);

// Pixel of V; values outside the zoom window give pixels outside the extent.
int ValueToPixel(const TAxisMapping& M, const TRect& R, double V);
// Value at pixel P; pixels before or past the extent give the window's ends.
double PixelToValue(const TAxisMapping& M, const TRect& R, int P);
// The value distance D pixels cover (no sign change for orientation); 0 for
// an empty extent.
double PixelDeltaToValue(const TAxisMapping& M, const TRect& R, int D);

// True for a logarithmic axis of type ltDecades.
bool IsDecadeAxis(const TAxisMapping& M);
// The value a decade axis over Lo..Hi starts at: Lo when positive, else 1 (a
// tenth of Hi when Hi is at most 1). Values at or below it map to the start.
double DecadeLow(double Lo, double Hi);
// The powers of ten from Low to Hi (both within a relative 1e-9), ascending.
std::vector<double> PowersOfTen(double Low, double Hi);

// The next step of 1, 2, 5, 10, 25 times a power of ten strictly above X
// (X > 0): 10 -> 25, 3.6 -> 5, 0.1 -> 0.2. Non-positive X gives 0.
double NextNiceStep(double X);

}  // namespace zp::chart
