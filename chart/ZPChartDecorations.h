// Umbrella header of the chart's decorations and text elements: the element
// base, areas, shadow, layers, gradient, axis grid, labels, header and legend.
#pragma once

#include "chart/ZPAxisGrid.h"
#include "chart/ZPChartGradient.h"
#include "chart/ZPChartGraphic.h"
#include "chart/ZPChartGraphicArea.h"
#include "chart/ZPChartHeader.h"
#include "chart/ZPChartLabel.h"
#include "chart/ZPChartLayer.h"
#include "chart/ZPChartLegend.h"
#include "chart/ZPChartShadow.h"
