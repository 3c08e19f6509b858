#include "chart/NextAutoColor.h"

#include <cstddef>

namespace zp::chart {

namespace {
// Shared by every list and series so that consecutive additions anywhere
// walk the palette in order.
int g_auto_color_index = 0;
}  // namespace

TColor NextAutoColor() {
  const TColor c = kAutoColors[static_cast<std::size_t>(g_auto_color_index)];
  g_auto_color_index = (g_auto_color_index + 1) % static_cast<int>(kAutoColors.size());
  return c;
}

int AutoColorIndex() { return g_auto_color_index; }

}  // namespace zp::chart
