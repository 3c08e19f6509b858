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

// The first three compress the range by log(1 + 10x) / log 11;
// ltDecades maps log10, each power of ten taking equal room, labels at the
// powers of ten and minor ticks at 2..9 times each; a value at or below the
// axis' low end (0 included) sits at the axis start. Names are stored by text,
// so the older three keep their names and places.
enum class TZPLogarithmicType { ltCompressRight, ltCompressLeft, ltFishEye, ltDecades };
inline constexpr std::array<std::string_view, 4> kLogarithmicTypeNames{"ltCompressRight", "ltCompressLeft", "ltFishEye",
                                                                       "ltDecades"};

enum class TZPGroupStyle { gsNone, gsStacked, gsStacked100 };
inline constexpr std::array<std::string_view, 3> kGroupStyleNames{"gsNone", "gsStacked", "gsStacked100"};

}  // namespace zp::chart
