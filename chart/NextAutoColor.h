// NextAutoColor: the program-wide rotating palette of ten colours that new
// values and series take their colour from. One index serves every caller.
//
//   TColor first = NextAutoColor();   // red on the first call of the program
#pragma once

#include <array>

#include "platform/Color.h"

namespace zp::chart {

// Red, green, yellow, blue, purple, maroon, lime, teal, fuchsia, aqua.
inline constexpr std::array<TColor, 10> kAutoColors{0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0x800080,
                                                    0x000080, 0x00FF00, 0x808000, 0xFF00FF, 0xFFFF00};

// The palette entry at the index; the index then moves on (modulo 10).
TColor NextAutoColor();
// The index the next call uses, 0..9 (0 at program start).
int AutoColorIndex();

}  // namespace zp::chart
