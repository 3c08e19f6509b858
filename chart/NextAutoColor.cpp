#include "chart/NextAutoColor.h"

#include <atomic>
#include <cstddef>

namespace zp::chart {

namespace {
// Shared by every list and series so that consecutive additions anywhere
// walk the palette in order. Atomic, because charts may be built on several
// threads at once; each call still takes one entry and moves on by one.
std::atomic<int> g_auto_color_index{0};
}  // namespace

TColor NextAutoColor() {
  constexpr int kCount = static_cast<int>(kAutoColors.size());
  int index = g_auto_color_index.load(std::memory_order_relaxed);
  while (!g_auto_color_index.compare_exchange_weak(index, (index + 1) % kCount, std::memory_order_relaxed)) {
  }
  return kAutoColors[static_cast<std::size_t>(index)];
}

int AutoColorIndex() { return g_auto_color_index.load(std::memory_order_relaxed); }

}  // namespace zp::chart
