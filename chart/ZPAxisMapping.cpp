#include "chart/ZPAxisMapping.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Numbers.h"

namespace zp::chart {

namespace {

// Rounds half to even and keeps far-off values inside int range, so a value
// way outside the zoom window still gives a (far-off) pixel.
int RoundPixel(double V) {
  if (std::isnan(V)) return 0;
  return static_cast<int>(RoundHalfEven(std::clamp(V, -1e9, 1e9)));
}

// The part of the extent a fish-eye half covers. Horizontal axes split R at
// its horizontal middle; vertical axes at its vertical middle, the upper
// half taking the values above the middle.
TRect FishEyeHalf(const TAxisMapping& M, const TRect& R, bool Upper) {
  TRect h = R;
  if (IsVerticalLocation(M.Location)) {
    const int mid = R.Top + (R.Bottom - R.Top) / 2;
    if (Upper != M.Inverted)
      h.Bottom = mid;
    else
      h.Top = mid;
  } else {
    const int mid = R.Left + (R.Right - R.Left) / 2;
    if (Upper != M.Inverted)
      h.Left = mid;
    else
      h.Right = mid;
  }
  return h;
}

int MapLog(const TAxisMapping& M, TZPLogarithmicType Type, double Lo, double Hi, double V, const TRect& R) {
  int s = 0, e = 0;
  AxisExtent(M, R, s, e);
  if (Lo == Hi) return e;
  const bool left = Type == TZPLogarithmicType::ltCompressLeft;
  if (left) V = Lo + Hi - V;
  // Below the range the logarithm has no value; such points sit at the start.
  if (V < Lo) V = Lo;
  const double r = std::log(1 + 10 * (V - Lo) / (Hi - Lo)) / std::log(11.0);
  int p = RoundPixel(s + r * (e - s));
  if (left) p = s + e - p;
  if (IsVerticalLocation(M.Location)) p = s + e - p;
  if (M.Inverted) p = s + e - p;
  return p;
}

double UnmapLog(const TAxisMapping& M, TZPLogarithmicType Type, double Lo, double Hi, int P, const TRect& R) {
  int s = 0, e = 0;
  AxisExtent(M, R, s, e);
  const bool left = Type == TZPLogarithmicType::ltCompressLeft;
  if (left) P = s + e - P;
  if (M.Inverted) P = s + e - P;
  // The screen flip of vertical axes is undone on the pixel, as the mapping
  // applied it there: a flip in value space would not invert a logarithm.
  if (IsVerticalLocation(M.Location)) P = s + e - P;
  double v;
  if (P < s || e == s)
    v = Lo;
  else if (P > e)
    v = Hi;
  else {
    const double u = std::pow(11.0, static_cast<double>(P - s) / (e - s));
    v = Lo + (u - 1) / 10 * (Hi - Lo);
  }
  if (left) v = Hi - (v - Lo);
  return v;
}

// log10 over DecadeLow(Lo, Hi) .. Hi; flipped like the linear mapping.
int MapDecades(const TAxisMapping& M, double Lo, double Hi, double V, const TRect& R) {
  int s = 0, e = 0;
  AxisExtent(M, R, s, e);
  const double low = DecadeLow(Lo, Hi);
  if (!(Hi > low)) return e;
  const double span = std::log10(Hi) - std::log10(low);
  const double r = V > low ? (std::log10(V) - std::log10(low)) / span : 0;
  int p = RoundPixel(s + r * (e - s));
  if (IsVerticalLocation(M.Location)) p = s + e - p;
  if (M.Inverted) p = s + e - p;
  return p;
}

double UnmapDecades(const TAxisMapping& M, double Lo, double Hi, int P, const TRect& R) {
  int s = 0, e = 0;
  AxisExtent(M, R, s, e);
  if (M.Inverted) P = s + e - P;
  if (IsVerticalLocation(M.Location)) P = s + e - P;
  const double low = DecadeLow(Lo, Hi);
  if (P < s || e == s || !(Hi > low)) return Lo;
  if (P > e) return Hi;
  const double span = std::log10(Hi) - std::log10(low);
  return std::pow(10.0, std::log10(low) + span * (P - s) / (e - s));
}

}  // namespace

bool IsDecadeAxis(const TAxisMapping& M) { return M.Logarithmic && M.LogarithmicType == TZPLogarithmicType::ltDecades; }

double DecadeLow(double Lo, double Hi) {
  if (Lo > 0) return Lo;
  if (Hi > 1) return 1;
  return Hi > 0 ? Hi / 10 : 1;
}

std::vector<double> PowersOfTen(double Low, double Hi) {
  std::vector<double> powers;
  if (!(Low > 0) || !(Hi >= Low) || !std::isfinite(Hi)) return powers;
  const auto first = static_cast<int>(std::ceil(std::log10(Low) - 1e-9));
  const auto last = static_cast<int>(std::floor(std::log10(Hi) + 1e-9));
  for (int k = first; k <= last; ++k) powers.push_back(std::pow(10.0, k));
  return powers;
}

bool IsVerticalLocation(TZPChartAxisLocation Location) {
  return Location == TZPChartAxisLocation::caLeft || Location == TZPChartAxisLocation::caRight;
}

void AxisExtent(const TAxisMapping& M, const TRect& R, int& Start, int& End) {
  const bool vertical = IsVerticalLocation(M.Location);
  const int near_ = vertical ? R.Top : R.Left;
  const int far_ = vertical ? R.Bottom : R.Right;
  const double extent = far_ - near_;
  Start = near_ + RoundPixel(extent * M.StartPosition / 100.0);
  End = near_ + RoundPixel(extent * M.EndPosition / 100.0);
}

int ValueToPixel(const TAxisMapping& M, const TRect& R, double V) {
  const double zmin = M.ZoomMinimum, zmax = M.ZoomMaximum;
  if (M.Logarithmic) {
    using enum TZPLogarithmicType;
    if (M.LogarithmicType == ltDecades) return MapDecades(M, zmin, zmax, V, R);
    if (M.LogarithmicType != ltFishEye) return MapLog(M, M.LogarithmicType, zmin, zmax, V, R);
    const double mid = zmin + (zmax - zmin) / 2;
    if (V > mid) return MapLog(M, ltCompressRight, mid, zmax, V, FishEyeHalf(M, R, true));
    return MapLog(M, ltCompressLeft, zmin, mid, V, FishEyeHalf(M, R, false));
  }
  int s = 0, e = 0;
  AxisExtent(M, R, s, e);
  int p = zmax == zmin ? RoundPixel(s + (V - zmin) * (e - s)) : RoundPixel(s + (V - zmin) / (zmax - zmin) * (e - s));
  if (IsVerticalLocation(M.Location)) p = s + e - p;
  if (M.Inverted) p = s + e - p;
  return p;
}

double PixelToValue(const TAxisMapping& M, const TRect& R, int P) {
  const double zmin = M.ZoomMinimum, zmax = M.ZoomMaximum;
  if (M.Logarithmic) {
    using enum TZPLogarithmicType;
    if (M.LogarithmicType == ltDecades) return UnmapDecades(M, zmin, zmax, P, R);
    if (M.LogarithmicType != ltFishEye) return UnmapLog(M, M.LogarithmicType, zmin, zmax, P, R);
    const double mid = zmin + (zmax - zmin) / 2;
    const TRect upper = FishEyeHalf(M, R, true);
    const bool vertical = IsVerticalLocation(M.Location);
    const int upper_lo = vertical ? upper.Top : upper.Left;
    const int upper_hi = vertical ? upper.Bottom : upper.Right;
    // Pixels beyond R belong to the half on their side.
    const bool in_upper = upper_lo == (vertical ? R.Top : R.Left) ? P < upper_hi : P >= upper_lo;
    if (in_upper) return UnmapLog(M, ltCompressRight, mid, zmax, P, upper);
    return UnmapLog(M, ltCompressLeft, zmin, mid, P, FishEyeHalf(M, R, false));
  }
  int s = 0, e = 0;
  AxisExtent(M, R, s, e);
  if (M.Inverted) P = s + e - P;
  double v;
  if (P < s || e == s)
    v = zmin;
  else if (P > e)
    v = zmax;
  else
    v = zmin + (zmax - zmin) * (P - s) / (e - s);
  if (IsVerticalLocation(M.Location)) v = zmax - (v - zmin);
  return v;
}

double PixelDeltaToValue(const TAxisMapping& M, const TRect& R, int D) {
  int s = 0, e = 0;
  AxisExtent(M, R, s, e);
  if (e == s) return 0;
  return static_cast<double>(D) / (e - s) * (M.ZoomMaximum - M.ZoomMinimum);
}

double NextNiceStep(double X) {
  if (!(X > 0) || !std::isfinite(X)) return 0;
  if (X < 1) return NextNiceStep(10 * X) * 0.1;
  if (X < 2) return 2;
  if (X < 5) return 5;
  if (X < 10) return 10;
  if (X < 25) return 25;
  return NextNiceStep(0.1 * X) * 10;
}

}  // namespace zp::chart
