// Splines through (Catmull-Rom) or near (uniform cubic B-spline) a list of
// points, sampled at about Resolution pixels of chord length per step.
//
//   TPoints curve = SplinePoints(points, false, false, 1);
//   PolySpline(canvas, points, false, false, 1);   // the same, as a polyline
#pragma once

#include "platform/Canvas.h"

namespace zp::chart {

// Fewer than two points give none. The first and last points are doubled so
// the curve runs from the first point to the last; each segment is sampled
// at t = 0, dt, 2dt, ... <= 1 with dt = Resolution / chord length (chord 1
// when the points coincide), so segment ends may appear twice. Closed joins
// the last point back to the first, wrapping the neighbours around.
TPoints SplinePoints(const TPoints& Points, bool Approximate, bool Closed, int Resolution);

// SplinePoints drawn as one polyline with the canvas pen.
void PolySpline(TCanvas& Canvas, const TPoints& Points, bool Approximate, bool Closed, int Resolution);

}  // namespace zp::chart
