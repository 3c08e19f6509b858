// Enumerations shared by the chart's units: axis locations and options,
// series options and axis choice, line styles, text alignment and the
// legend's text styles. Sets are bit masks with bit n for ordinal n.
#pragma once

#include <array>
#include <string_view>

#include "platform/Set.h"

namespace zp::chart {

enum class TZPChartAxisLocation { caLeft, caRight, caBottom, caTop };

enum class TAxisOption {
  axAutomaticMinimum,
  axAutomaticMaximum,
  axShowLabels,
  axShowGrid,
  axShowTitle,
  axInverted,
  axLogarithmic
};
using TAxisOptions = Set<TAxisOption>;

enum class TChartOption { coColorEachPoint, coShowInLegend, coAllowSingleValue, coUseVerticalOffset, coLabelEachPoint };
using TChartOptions = Set<TChartOption>;

enum class TZPLegendTextStyle {
  ltsCaption,
  ltsValue,
  ltsValueNCaption,
  ltsCaptionNValue,
  ltsPercent,
  ltsPercentNCaption,
  ltsCaptionNPercent
};
inline constexpr std::array<std::string_view, 7> kLegendTextStyleNames{
    "ltsCaption", "ltsValue",           "ltsValueNCaption",  "ltsCaptionNValue",
    "ltsPercent", "ltsPercentNCaption", "ltsCaptionNPercent"};

// Which of the panel's axes a series is drawn against.
enum class THorizontalAxis { haBottomAxis, haTopAxis, haCustomAxis };
enum class TVerticalAxis { vaLeftAxis, vaRightAxis, vaCustomAxis };

// The shape of each segment of a line series.
enum class TLineChartStyle { lsStraight, lsStairStep, lsStairStepInverted, lsCurveInterpolation, lsCurveApproximation };
inline constexpr std::array<std::string_view, 5> kLineChartStyleNames{
    "lsStraight", "lsStairStep", "lsStairStepInverted", "lsCurveInterpolation", "lsCurveApproximation"};

// How a text sits in its box.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

}  // namespace zp::chart
