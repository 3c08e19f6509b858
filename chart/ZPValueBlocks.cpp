#include "chart/ZPValueBlocks.h"

#include <algorithm>

namespace zp::chart {

// Folding in index order keeps the first of equal extremes.
void TZPValueBlocks::TExtremes::Fold(const TExtremes& Next) {
  if (Next.LoValue < LoValue) {
    LoValue = Next.LoValue;
    Lo = Next.Lo;
  }
  if (Next.HiValue > HiValue) {
    HiValue = Next.HiValue;
    Hi = Next.Hi;
  }
  Plain = Plain && Next.Plain;
}

TZPValueBlocks::TExtremes TZPValueBlocks::Single(int I) const {
  const double c = Across(I);
  return {c, c, I, I, plain_[static_cast<size_t>(I)] != 0};
}

void TZPValueBlocks::Refresh(TZPChartValues& Values, int Along, int Across) {
  int from = Values.TakeChangedFrom();
  if (&Values != list_ || Along != along_dimension_ || Across != across_dimension_) from = 0;
  list_ = &Values;
  along_dimension_ = Along;
  across_dimension_ = Across;
  const int count = Values.Count();
  from = std::min({from, count, Count()});
  along_.resize(static_cast<size_t>(count));
  across_.resize(static_cast<size_t>(count));
  plain_.resize(static_cast<size_t>(count));
  for (int i = from; i < count; ++i) {
    const TZPChartValue& v = Values.Items(i);
    along_[static_cast<size_t>(i)] = v.Coordinate(Along);
    across_[static_cast<size_t>(i)] = v.Coordinate(Across);
    plain_[static_cast<size_t>(i)] = v.Visible() && !v.Selected();
  }
  int below = count;  // values or blocks of the level below
  int size = 1;       // values per unit of the level below
  size_t k = 0;
  for (; below >= kFanOut; ++k) {
    size *= kFanOut;
    if (k == levels_.size()) levels_.emplace_back();
    std::vector<TExtremes>& level = levels_[k];
    const int full = below / kFanOut;
    level.resize(static_cast<size_t>(std::min({full, from / size, static_cast<int>(level.size())})));
    for (int b = static_cast<int>(level.size()); b < full; ++b) {
      auto part = [&](int j) { return k == 0 ? Single(b * kFanOut + j) : levels_[k - 1][size_t(b * kFanOut + j)]; };
      TExtremes e = part(0);
      for (int j = 1; j < kFanOut; ++j) e.Fold(part(j));
      level.push_back(e);
    }
    below = full;
  }
  levels_.resize(k);  // levels a shrunken list no longer fills
}

bool TZPValueBlocks::MinMax(int First, int Last, int& Lo, int& Hi) const {
  TExtremes range = Single(First);
  for (int i = First + 1; i <= Last && range.Plain;) {
    // The largest summarized block that starts at i and ends by Last.
    const TExtremes* block = nullptr;
    int size = 1;
    for (int k = 0, s = kFanOut; k < LevelCount() && i % s == 0 && i + s - 1 <= Last; ++k, s *= kFanOut) {
      const auto& level = levels_[static_cast<size_t>(k)];
      if (static_cast<size_t>(i / s) >= level.size()) break;
      block = &level[static_cast<size_t>(i / s)];
      size = s;
    }
    range.Fold(block ? *block : Single(i));
    i += size;
  }
  Lo = range.Lo;
  Hi = range.Hi;
  return range.Plain;
}

}  // namespace zp::chart
