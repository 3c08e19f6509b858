#include "chart/ZPChartList.h"

#include <algorithm>

#include "chart/ZPChartSeries.h"
#include "chart/ZPCustomChartPanel.h"

namespace zp::chart {

int TZPChartList::IndexOf(const TZPCustomChart* Series) const {
  auto it = std::find(items_.begin(), items_.end(), Series);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TZPChartList::Add(TZPCustomChart& Series) {
  const int index = IndexOf(&Series);
  if (index >= 0) return index;
  items_.push_back(&Series);
  Notify(Series, TListNotification::lnAdded);
  return Count() - 1;
}

void TZPChartList::Remove(TZPCustomChart& Series) {
  const int index = IndexOf(&Series);
  if (index < 0) return;
  items_.erase(items_.begin() + index);
  Notify(Series, TListNotification::lnDeleted);
}

int TZPChartList::VisibleCount() const {
  if (panel_) return visible_count_;
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](auto* s) { return s->Visible(); }));
}

TZPCustomChart* TZPChartList::FirstVisible() const {
  if (panel_) return first_visible_;
  auto it = std::find_if(items_.begin(), items_.end(), [](auto* s) { return s->Visible(); });
  return it == items_.end() ? nullptr : *it;
}

void TZPChartList::VisibilityChanged(TZPCustomChart& Series) {
  visible_count_ += Series.Visible() ? 1 : -1;
  FindFirstVisible();
}

void TZPChartList::Forget(const void* Series) {
  auto it = std::find_if(items_.begin(), items_.end(), [Series](auto* s) { return s == Series; });
  if (it == items_.end()) return;
  items_.erase(it);
  // The gone series cannot say whether it was visible: count the others again.
  visible_count_ = static_cast<int>(std::count_if(items_.begin(), items_.end(), [](auto* s) { return s->Visible(); }));
  FindFirstVisible();
  if (panel_) panel_->SeriesListChanged();
}

void TZPChartList::Notify(TZPCustomChart& Series, TListNotification Action) {
  const bool added = Action == TListNotification::lnAdded;
  if (panel_ && Series.Visible()) {
    visible_count_ += added ? 1 : -1;
    FindFirstVisible();
  }
  // Listed and parented go together, whichever side changed first; the
  // series' own setter finds itself already (or no longer) listed.
  if (panel_) {
    if (added && Series.Parent() != panel_)
      Series.SetParent(panel_);
    else if (!added && Series.Parent() == panel_)
      Series.SetParent(nullptr);
  }
  if (panel_) panel_->SeriesListChanged();
  if (OnChange) OnChange(*this, Series, Action);
}

void TZPChartList::FindFirstVisible() {
  auto it = std::find_if(items_.begin(), items_.end(), [](auto* s) { return s->Visible(); });
  first_visible_ = it == items_.end() ? nullptr : *it;
}

}  // namespace zp::chart
