// Enumerations shared by value lists, series and axes: the date-time
// dimensions of a 2-D list, an axis's label style and logarithmic mapping,
// and a series' stacking style.
#pragma once

#include <array>
#include <string_view>

#include "platform/Set.h"

namespace zp::chart {

// A dimension of a 2-D value list.
enum class TXY { xyX, xyY };
using TXYSet = Set<TXY>;

enum class TAxisLabelStyle { alsAutomatic, alsValue, alsCaption };
inline constexpr std::array<std::string_view, 3> kAxisLabelStyleNames{"alsAutomatic", "alsValue", "alsCaption"};

enum class TZPLogarithmicType { ltCompressRight, ltCompressLeft, ltFishEye };
inline constexpr std::array<std::string_view, 3> kLogarithmicTypeNames{"ltCompressRight", "ltCompressLeft",
                                                                       "ltFishEye"};

enum class TZPGroupStyle { gsNone, gsStacked, gsStacked100 };
inline constexpr std::array<std::string_view, 3> kGroupStyleNames{"gsNone", "gsStacked", "gsStacked100"};

}  // namespace zp::chart
