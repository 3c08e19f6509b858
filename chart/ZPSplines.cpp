#include "chart/ZPSplines.h"

#include <cmath>

#include "platform/Numbers.h"

namespace zp::chart {

namespace {

void Weights(bool Approximate, double t, double w[4]) {
  if (Approximate) {
    w[0] = (1 - t) * (1 - t) * (1 - t) / 6;
    w[1] = t * t * (t / 2 - 1) + 2.0 / 3.0;
    w[2] = t * (t * (1 - t) + 1) / 2 + 1.0 / 6.0;
    w[3] = t * t * t / 6;
  } else {
    w[0] = -t * (1 - t) * (1 - t) / 2;
    w[1] = t * t * (3 * t - 5) / 2 + 1;
    w[2] = t * (t * (4 - 3 * t) + 1) / 2;
    w[3] = -t * t * (1 - t) / 2;
  }
}

// Samples the segment Q[i] -> Q[i+1] with neighbours Q[i-1] and Q[i+2].
void Segment(const TPoints& Q, size_t i, bool Approximate, int Resolution, TPoints& Out) {
  const double dx = Q[i + 1].X - Q[i].X, dy = Q[i + 1].Y - Q[i].Y;
  double d = std::sqrt(dx * dx + dy * dy);
  if (d == 0) d = 1;
  const double dt = Resolution / d;
  if (!(dt > 0)) return;  // a non-positive resolution would never advance
  for (int k = 0;; ++k) {
    const double t = k * dt;
    if (t > 1) break;
    double w[4];
    Weights(Approximate, t, w);
    double x = 0, y = 0;
    for (size_t j = 0; j < 4; ++j) {
      x += w[j] * Q[i - 1 + j].X;
      y += w[j] * Q[i - 1 + j].Y;
    }
    Out.push_back({static_cast<int>(RoundHalfEven(x)), static_cast<int>(RoundHalfEven(y))});
  }
}

}  // namespace

TPoints SplinePoints(const TPoints& Points, bool Approximate, bool Closed, int Resolution) {
  TPoints out;
  const size_t n = Points.size();
  if (n < 2) return out;
  TPoints q;
  q.reserve(n + 3);
  if (Closed) {
    q.push_back(Points[n - 1]);
    q.insert(q.end(), Points.begin(), Points.end());
    q.push_back(Points[0]);
    q.push_back(Points[1]);
    for (size_t i = 1; i <= n; ++i) Segment(q, i, Approximate, Resolution, out);
  } else {
    q.push_back(Points[0]);
    q.insert(q.end(), Points.begin(), Points.end());
    q.push_back(Points[n - 1]);
    for (size_t i = 1; i + 1 <= n; ++i) Segment(q, i, Approximate, Resolution, out);
  }
  return out;
}

void PolySpline(TCanvas& Canvas, const TPoints& Points, bool Approximate, bool Closed, int Resolution) {
  Canvas.Polyline(SplinePoints(Points, Approximate, Closed, Resolution));
}

}  // namespace zp::chart
