// TZPChartList: the series a panel draws, in the order they were given the
// panel as parent. It holds the series without owning them and, when it
// belongs to a panel, keeps each listed series' Parent equal to that panel,
// the number of visible series and the first of them up to date.
//
//   panel.Charts().Add(series);   // series.Parent() == &panel, VisibleCount() == 1
//   panel.Charts().Remove(series);   // series.Parent() == nullptr
#pragma once

#include <functional>
#include <vector>

namespace zp::chart {

class TZPCustomChart;
class TZPCustomChartPanel;

enum class TListNotification { lnAdded, lnDeleted };

class TZPChartList {
 public:
  // Panel may be nullptr: the counts are then computed when asked.
  explicit TZPChartList(TZPCustomChartPanel* Panel = nullptr) : panel_(Panel) {}
  TZPChartList(const TZPChartList&) = delete;
  TZPChartList& operator=(const TZPChartList&) = delete;

  TZPCustomChartPanel* Panel() const { return panel_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Index must lie in 0..Count()-1.
  TZPCustomChart* Items(int Index) const { return items_[static_cast<size_t>(Index)]; }
  // -1 when absent.
  [[nodiscard]] int IndexOf(const TZPCustomChart* Series) const;
  // Adds Series when it is not in the list yet; returns its index. A panel's
  // list makes the panel the series' Parent.
  int Add(TZPCustomChart& Series);
  // Nothing when absent. A panel's list sets the series' Parent to nullptr.
  void Remove(TZPCustomChart& Series);
  // Drops the entry of a series that is being destroyed, without calling it
  // (its parts may be gone already). Nothing when absent.
  void Forget(const void* Series);

  int VisibleCount() const;
  // nullptr when no series is visible.
  TZPCustomChart* FirstVisible() const;
  // A series of the list turned visible or invisible.
  void VisibilityChanged(TZPCustomChart& Series);

  // After every insertion or removal.
  std::function<void(TZPChartList& Sender, TZPCustomChart& Series, TListNotification Action)> OnChange;

 private:
  void Notify(TZPCustomChart& Series, TListNotification Action);
  void FindFirstVisible();

  TZPCustomChartPanel* panel_;          // not owned
  std::vector<TZPCustomChart*> items_;  // not owned
  int visible_count_ = 0;
  TZPCustomChart* first_visible_ = nullptr;  // not owned
};

}  // namespace zp::chart
