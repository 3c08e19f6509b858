// TZPValueBlocks: a flat copy of two coordinates of a value list, with the
// least and greatest second coordinate of every block of 8, 64, 512, ...
// values, kept up to date from the list's lowest changed index. The
// extremes of any index range then cost a few dozen reads however many
// values it spans. A dense line series draws from it (X along, Y across).
//
//   blocks.Refresh(values, 0, 1);               // after any change, before reading
//   int lo, hi;
//   if (blocks.MinMax(1000, 250000, lo, hi)) ...   // indexes of least and greatest Y
#pragma once

#include <cstdint>
#include <vector>

#include "chart/ZPChartValue.h"

namespace zp::chart {

class TZPValueBlocks {
 public:
  // Blocks of a level hold this many blocks (or values) of the level below.
  static constexpr int kFanOut = 8;

  // Copies the values from the list's lowest changed index on (all of them
  // for other dimensions or another list) and rebuilds the blocks over them.
  void Refresh(TZPChartValues& Values, int Along, int Across);
  int Count() const { return static_cast<int>(along_.size()); }
  // Coordinates of value I as of the last Refresh; I in 0..Count()-1.
  double Along(int I) const { return along_[static_cast<size_t>(I)]; }
  double Across(int I) const { return across_[static_cast<size_t>(I)]; }
  // Indexes of the least and greatest Across in First..Last (the first one
  // of equal values); false when a value there is hidden or selected, which
  // a summary cannot draw. 0 <= First <= Last < Count().
  bool MinMax(int First, int Last, int& Lo, int& Hi) const;
  // Levels summarized (a list of fewer than kFanOut values has none).
  int LevelCount() const { return static_cast<int>(levels_.size()); }

 private:
  // The extremes of a block, or of the range read so far.
  struct TExtremes {
    double LoValue, HiValue;
    int Lo, Hi;
    bool Plain;  // every value visible and not selected
    void Fold(const TExtremes& Next);
  };
  TExtremes Single(int I) const;

  std::vector<double> along_, across_;
  std::vector<uint8_t> plain_;
  // levels_[k][b] covers the values from b * kFanOut^(k+1) on; full blocks only.
  std::vector<std::vector<TExtremes>> levels_;
  const TZPChartValues* list_ = nullptr;  // not owned: only compared
  int along_dimension_ = -1, across_dimension_ = -1;
};

}  // namespace zp::chart
