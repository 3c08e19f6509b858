// Umbrella header of the chart's drawing helpers: colour bytes and gradient
// fills, shapes, rotated and wrapped text, splines, float geometry and the
// rectangle object used for margins.
#pragma once

#include "chart/ZPFloatGeometry.h"
#include "chart/ZPGradientFill.h"
#include "chart/ZPObjectRect.h"
#include "chart/ZPRotatedText.h"
#include "chart/ZPShapes.h"
#include "chart/ZPSplines.h"
#include "chart/ZPTextInRect.h"
