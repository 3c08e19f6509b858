// Umbrella header of the chart's series: the series base and the line series.
#pragma once

#include "chart/ZPChartSeries.h"
#include "chart/ZPLineChart.h"
