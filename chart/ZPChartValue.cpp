#include "chart/ZPChartValue.h"

#include <algorithm>
#include <cmath>

#include "chart/NextAutoColor.h"

namespace zp::chart {

// ---- TZPChartValue ----

TZPChartValues* TZPChartValue::Values() const { return dynamic_cast<TZPChartValues*>(Collection()); }

void TZPChartValue::SetCaption(const std::string& Value) {
  if (Value == caption_) return;
  caption_ = Value;
  if (!Value.empty()) {
    if (TZPChartValues* list = Values()) list->has_captions_ = true;
  }
  Changed(false);
}

void TZPChartValue::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Changed(false);
}

void TZPChartValue::SetState(TZPChartValueState Value) {
  if (Value == state_) return;
  const TZPChartValueState old = state_;
  state_ = Value;
  TZPChartValues* list = Values();
  if (list) list->MarkChanged(Index());
  IZPChartValuesOwner* series = list ? list->Series() : nullptr;
  if (series && old.Contains(TZPChartValueStateFlag::vsVisible) != Visible()) series->ValueVisibleChanged(*this);
  if (series && old.Contains(TZPChartValueStateFlag::vsSelected) != Selected()) series->ValueSelectionChanged(*this);
  Changed(false);
}

void TZPChartValue::SetVisible(bool Value) {
  TZPChartValueState s = state_;
  Value ? s.Include(TZPChartValueStateFlag::vsVisible) : s.Exclude(TZPChartValueStateFlag::vsVisible);
  SetState(s);
}

void TZPChartValue::SetSelected(bool Value) {
  TZPChartValueState s = state_;
  Value ? s.Include(TZPChartValueStateFlag::vsSelected) : s.Exclude(TZPChartValueStateFlag::vsSelected);
  SetState(s);
}

void TZPChartValue::SetCoordinate(int Index, double V) {
  double& c = coordinates_[static_cast<size_t>(Index)];
  if (c == V) return;
  c = V;
  if (TZPChartValues* list = Values()) list->ValueChanged(*this, Index);
}

std::string TZPChartValue::FormatCoordinates(const std::string& Format, bool Parenthesize) const {
  std::string text;
  for (size_t i = 0; i < coordinates_.size(); ++i) {
    if (i > 0) text += ", ";
    text += FormatFloat(Format, coordinates_[i]);
  }
  return Parenthesize ? "(" + text + ")" : text;
}

std::string TZPChartValue::DisplayName() const {
  std::string text = FormatCoordinates("0.00", true);
  if (!caption_.empty()) text = caption_ + " " + text;
  return text.empty() ? TGCollectionItem::DisplayName() : text;
}

bool TZPChartValue::ModeAccepts(int Mode, bool IsSelected) {
  if (Mode == 0) return true;
  if (Mode == 2) return !IsSelected;
  return false;
}

bool TZPChartValue::HitTest(const TFloatRect& Area, int Mode) const {
  if (!PtInFloatRect(FloatPoint(Value(), Area.Top), Area)) return false;
  return ModeAccepts(Mode, Selected());
}

bool TZPChartValue::AreaHitTest(const TFloatRect& Area, const TFloatRect& Other, int Mode) const {
  TFloatRect overlap;
  if (!IntersectFloatRect(Area, Other, overlap)) return false;
  return ModeAccepts(Mode, Selected());
}

void TZPChartValue::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TZPChartValue*>(&Source);
  if (!src) {
    TGCollectionItem::Assign(Source);
    return;
  }
  caption_ = src->caption_;
  color_ = src->color_;
  // The dimensions belong to the list; copy what both sides have.
  const size_t n = std::min(coordinates_.size(), src->coordinates_.size());
  std::copy_n(src->coordinates_.begin(), n, coordinates_.begin());
  state_ = src->state_;
  tag_ = src->tag_;
  if (TZPChartValues* list = Values()) {
    list->MarkChanged(Index());
    if (!caption_.empty()) list->has_captions_ = true;
  }
  Changed(false);
}

// ---- TZPChartValues ----

TZPChartValues::TZPChartValues(TPersistent* Owner)
    : TZPChartValues(
          Owner, [] { return std::make_unique<TZPChartValue>(); }, 1) {}

TZPChartValues::TZPChartValues(TPersistent* Owner, ItemFactory Factory, int Dimensions)
    : TGCollection(Owner, std::move(Factory)), dimensions_(Dimensions) {
  minimum_.assign(static_cast<size_t>(dimensions_), 0.0);
  maximum_ = absolute_sum_ = minimum_;
}

IZPChartValuesOwner* TZPChartValues::Series() const { return dynamic_cast<IZPChartValuesOwner*>(Owner()); }

void TZPChartValues::SetLimit(int Value) {
  if (Value == limit_) return;
  limit_ = std::max(Value, 0);
  if (limit_ != 0 && limit_ < Count()) SetCount(limit_);
}

void TZPChartValues::SetSortByDimension(int Value) {
  if (Value == sort_by_dimension_) return;
  sort_by_dimension_ = std::clamp(Value, 0, dimensions_ - 1);
  if (sorted_) {
    // Sort() skips a sorted list; a list too short to sort stays sorted too.
    sorted_ = false;
    Sort();
    sorted_ = true;
  }
  Changed();
}

void TZPChartValues::SetDateTime(bool Value) { SetDateTimeFlags(Value ? (date_time_ | 1u) : (date_time_ & ~1u)); }

void TZPChartValues::SetDateTimeFlags(uint8_t Value) {
  if (Value == date_time_) return;
  date_time_ = Value;
  Changed();
}

double TZPChartValues::DimensionMinimum(int D) {
  if (needs_recalc_) Recalculate();
  return minimum_[static_cast<size_t>(D)];
}

double TZPChartValues::DimensionMaximum(int D) {
  if (needs_recalc_) Recalculate();
  return maximum_[static_cast<size_t>(D)];
}

double TZPChartValues::AbsoluteSum(int D) {
  if (needs_recalc_) Recalculate();
  return absolute_sum_[static_cast<size_t>(D)];
}

double TZPChartValues::AxisMaximum(int D) { return D < dimensions_ ? DimensionMaximum(D) : Count() - 1; }

double TZPChartValues::AxisMinimum(int D) { return D < dimensions_ ? DimensionMinimum(D) : 0; }

void TZPChartValues::Recalculate() {
  minimum_.assign(static_cast<size_t>(dimensions_), 0.0);
  maximum_ = absolute_sum_ = minimum_;
  needs_recalc_ = false;
  for (int i = 0; i < Count(); ++i) {
    const TZPChartValue& v = Items(i);
    for (size_t d = 0; d < minimum_.size() && d < v.coordinates_.size(); ++d) {
      const double c = v.coordinates_[d];
      if (i == 0) {
        minimum_[d] = maximum_[d] = c;
      } else if (c < minimum_[d]) {
        minimum_[d] = c;
      } else if (c > maximum_[d]) {
        maximum_[d] = c;
      }
      absolute_sum_[d] += std::fabs(c);
    }
  }
}

TZPChartValue& TZPChartValues::AddValues(const std::vector<double>& Coordinates, TColor Color,
                                         const std::string& Caption) {
  TUpdateGuard guard(*this);
  auto& item = static_cast<TZPChartValue&>(AddItem());
  item.coordinates_.resize(static_cast<size_t>(dimensions_), 0.0);
  const size_t n = std::min(item.coordinates_.size(), Coordinates.size());
  std::copy_n(Coordinates.begin(), n, item.coordinates_.begin());
  item.SetCaption(Caption);
  if (Color != kAutoValueColor) item.SetColor(Color);
  if (sorted_)
    ValueChanged(item, SortByDimension());
  else
    needs_recalc_ = true;
  return item;
}

TZPChartValue& TZPChartValues::AddNext() { return AddValues({static_cast<double>(Count())}, kAutoValueColor, ""); }

void TZPChartValues::SetCount(int N) {
  // With a limit the list never grows past it: adding would only push out
  // the oldest value and the loop would never end.
  if (limit_ > 0) N = std::min(N, limit_);
  N = std::max(N, 0);
  if (N == Count()) return;
  TUpdateGuard guard(*this);
  while (Count() < N) AddNext();
  while (Count() > N) Delete(Count() - 1);
}

void TZPChartValues::Sort() {
  if (sorted_ || Count() < 2) return;
  {
    TUpdateGuard guard(*this);
    // Plainly ascending, equal values in their old order: a comparison with
    // a tolerance is no ordering, and chains of near-equal values could be
    // left descending. Not-a-number sorts last.
    const int d = SortByDimension();
    MarkChanged(0);
    StableSortItems([d](const TCollectionItem& A, const TCollectionItem& B) {
      const double a = static_cast<const TZPChartValue&>(A).Coordinate(d);
      const double b = static_cast<const TZPChartValue&>(B).Coordinate(d);
      return !std::isnan(a) && (std::isnan(b) || a < b);
    });
  }
  sorted_ = true;
}

void TZPChartValues::ValueChanged(TZPChartValue& Value, int D) {
  needs_recalc_ = true;
  MarkChanged(Value.Index());
  if (D == SortByDimension() && sorted_ && Count() > 1) {
    const int i = Value.Index();
    const double v = Value.Coordinate(D);
    const bool ascending = sort_order_ == TSortOrder::soAscending;
    bool out_of_place = false;
    if (i > 0) {
      const double prev = Items(i - 1).Coordinate(D);
      out_of_place = ascending ? v < prev : v > prev;
    }
    if (!out_of_place && i < Count() - 1) {
      const double next = Items(i + 1).Coordinate(D);
      out_of_place = ascending ? v > next : v < next;
    }
    if (out_of_place) {
      if (Count() == 2)
        Value.SetIndex((i + 1) % 2);
      else
        Value.SetIndex(FindInsertPosition(Value));
    }
  }
  if (UpdateCount() == 0) Update(&Value);
}

int TZPChartValues::FindInsertPosition(TZPChartValue& Value) {
  const int d = SortByDimension();
  const double v = Value.Coordinate(d);
  const bool ascending = sort_order_ == TSortOrder::soAscending;
  moving_ = true;
  std::unique_ptr<TCollectionItem> detached = Extract(Value);
  int lo = 0;
  int hi = Count() - 1;
  int result = -1;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const double m = Items(mid).Coordinate(d);
    if (v == m) {
      result = mid;
      break;
    }
    if (ascending ? v > m : v < m)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  if (result < 0) result = lo;
  if (detached) InsertItem(std::move(detached));
  moving_ = false;
  return result;
}

void TZPChartValues::Notify(TCollectionItem& Item, TCollectionNotification Action) {
  MarkChanged(Item.Index());
  if (moving_) return;
  if (Action == TCollectionNotification::cnAdded) {
    static_cast<TZPChartValue&>(Item).color_ = NextAutoColor();
    if (limit_ > 0 && Count() > limit_) Delete(0);
  } else {
    needs_recalc_ = true;
  }
}

void TZPChartValues::Update(TCollectionItem* Item) {
  if (Item) MarkChanged(Item->Index());
  TGCollection::Update(Item);
  if (IZPChartValuesOwner* series = Series()) series->ValueChanged(static_cast<TZPChartValue*>(Item));
}

void TZPChartValues::ItemMoved(int From, int To) { MarkChanged(std::min(From, To)); }

int TZPChartValues::TakeChangedFrom() {
  const int from = std::min(changed_from_, Count());
  changed_from_ = Count();
  return from;
}

void TZPChartValues::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TZPChartValues*>(&Source);
  if (src && src != this) {
    date_time_ = src->date_time_;
    sorted_ = src->sorted_;
    limit_ = src->limit_;
    sort_order_ = src->sort_order_;
    needs_recalc_ = src->needs_recalc_;
    if (src->dimensions_ == dimensions_) {
      minimum_ = src->minimum_;
      maximum_ = src->maximum_;
      absolute_sum_ = src->absolute_sum_;
    } else {
      needs_recalc_ = true;
    }
  }
  TGCollection::Assign(Source);
}

}  // namespace zp::chart
