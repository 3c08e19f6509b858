// TZPChartValue / TZPChartValues: the one-dimensional data of a series. A
// value holds one coordinate per dimension of its list plus a caption, a
// colour and visible/selected flags; the list keeps per-dimension
// statistics for the axes, can stay sorted as values arrive, can cap its
// length (a sliding window) and forwards every change to its series.
//
//   TZPChartValues values(&series);          // series implements IZPChartValuesOwner
//   values.SetLimit(100);                    // keeps the newest 100
//   values.AddValues({3.5}, kAutoValueColor, "");
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/ZPFloatGeometry.h"
#include "chart/ZPNumberFormat.h"
#include "platform/Color.h"
#include "platform/Set.h"
#include "structures/GCollection.h"
#include "structures/SortOrder.h"

namespace zp::chart {

class TZPChartValue;
class TZPChartValues;

// What a value list tells its owning series (the series implements it).
class IZPChartValuesOwner {
 public:
  // Value changed; nullptr when the list changed as a whole (adds, removals,
  // the end of an update bracket).
  virtual void ValueChanged(TZPChartValue* Value) = 0;
  // A value's Visible flag changed.
  virtual void ValueVisibleChanged(TZPChartValue& /*Value*/) {}
  // A value's Selected flag changed.
  virtual void ValueSelectionChanged(TZPChartValue& /*Value*/) {}

 protected:
  virtual ~IZPChartValuesOwner() = default;
};

// Passed as a colour to AddValues: keep the palette colour the value got.
inline constexpr TColor kAutoValueColor = 0xFFFFFFFFu;

enum class TZPChartValueStateFlag { vsVisible, vsSelected };
using TZPChartValueState = Set<TZPChartValueStateFlag>;

class TZPChartValue : public TGCollectionItem {
 public:
  // One coordinate (two for a 2-D value) until a list gives its dimensions.
  TZPChartValue() : TZPChartValue(1) {}
  std::string ClassName() const override { return "TZPChartValue"; }

  // The list holding the value, or nullptr.
  TZPChartValues* Values() const;

  const std::string& Caption() const { return caption_; }
  // Marks the list as having captions when Value is non-empty.
  void SetCaption(const std::string& Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  int Tag() const { return tag_; }
  void SetTag(int Value) { tag_ = Value; }
  TZPChartValueState State() const { return state_; }
  // Tells the list about a changed Visible or Selected flag, then notifies.
  void SetState(TZPChartValueState Value);
  bool Visible() const { return state_.Contains(TZPChartValueStateFlag::vsVisible); }
  void SetVisible(bool Value);
  bool Selected() const { return state_.Contains(TZPChartValueStateFlag::vsSelected); }
  void SetSelected(bool Value);

  int CoordinateCount() const { return static_cast<int>(coordinates_.size()); }
  // Index must lie in 0..CoordinateCount()-1.
  double Coordinate(int Index) const { return coordinates_[static_cast<size_t>(Index)]; }
  // Stores a different number and tells the list (which may move the value).
  void SetCoordinate(int Index, double V);

  // Coordinate 0 here; Y on a 2-D value.
  virtual double Value() const { return Coordinate(ValueDimension()); }
  virtual void SetValue(double V) { SetCoordinate(ValueDimension(), V); }
  // The coordinate that Value reads: 0 here, 1 (Y) on a 2-D value.
  virtual int ValueDimension() const { return 0; }
  TDateTime AsDateTime() const { return Coordinate(0); }
  void SetAsDateTime(TDateTime V) { SetCoordinate(0, V); }

  // Every coordinate by Format, joined with ", ", optionally in parentheses.
  std::string FormatCoordinates(const std::string& Format, bool Parenthesize) const;
  // Caption, a blank and the coordinates as "(0.00, ...)"; the class name when empty.
  std::string DisplayName() const override;

  // The value's point in Area (Value, Area.Top here; X, Y on 2-D values).
  // Outside: false. Mode 0: true; mode 2: true unless selected; others false.
  virtual bool HitTest(const TFloatRect& Area, int Mode) const;
  // The same modes for the overlap of two value-space rectangles.
  virtual bool AreaHitTest(const TFloatRect& Area, const TFloatRect& Other, int Mode) const;

  // From another value: Caption, Color, the coordinates both have, State, Tag.
  void Assign(const TPersistent& Source) override;

 protected:
  explicit TZPChartValue(int Dimensions) : coordinates_(static_cast<size_t>(Dimensions), 0.0) {}
  static bool ModeAccepts(int Mode, bool Selected);

 private:
  friend class TZPChartValues;
  std::string caption_;
  TColor color_ = 0;
  TZPChartValueState state_{TZPChartValueStateFlag::vsVisible};
  int tag_ = 0;
  std::vector<double> coordinates_;
};

class TZPChartValues : public TGCollection {
 public:
  // Owner is the series (may be nullptr); it hears changes when it
  // implements IZPChartValuesOwner.
  explicit TZPChartValues(TPersistent* Owner = nullptr);
  std::string ClassName() const override { return "TZPChartValues"; }

  TZPChartValue& Items(int Index) const { return static_cast<TZPChartValue&>(Item(Index)); }
  int Dimensions() const { return dimensions_; }

  // Values kept at most; 0 = unlimited, negatives become 0. Lowering it
  // below Count drops the newest values.
  int Limit() const { return limit_; }
  void SetLimit(int Value);
  // Stored only; the list is not reordered.
  TSortOrder SortOrder() const { return sort_order_; }
  void SetSortOrder(TSortOrder Value) { sort_order_ = Value; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value) { sorted_ = Value; }
  virtual int SortByDimension() const { return sort_by_dimension_; }
  // Clamped to 0..Dimensions-1; re-sorts a sorted list.
  virtual void SetSortByDimension(int Value);

  // Dimension 0 holds date-times.
  virtual bool DateTime() const { return (date_time_ & 1u) != 0; }
  virtual void SetDateTime(bool Value);
  // Bit d set: dimension d holds date-times (dimensions 0..7).
  uint8_t DateTimeFlags() const { return date_time_; }

  bool NeedsRecalc() const { return needs_recalc_; }
  // Some value got a non-empty caption (never turns off).
  bool HasCaptions() const { return has_captions_; }

  // Statistics over every value (visible or not), recalculated when stale.
  double DimensionMinimum(int D);
  double DimensionMaximum(int D);
  double AbsoluteSum(int D);
  // DimensionMaximum of D, or Count-1 for a dimension the list lacks (the index).
  double AxisMaximum(int D);
  // DimensionMinimum of D, or 0 for a dimension the list lacks.
  double AxisMinimum(int D);
  virtual void Recalculate();

  // Appends a value with the first Dimensions of Coordinates, Caption and
  // Color (kAutoValueColor keeps its palette colour); one notice to the series.
  TZPChartValue& AddValues(const std::vector<double>& Coordinates, TColor Color, const std::string& Caption);
  // A value whose coordinate is the current Count.
  TZPChartValue& AddNext();
  // Adds (AddNext) or deletes from the end until Count is N (at most Limit).
  void SetCount(int N);

  // Ascending by SortByDimension, equal values keeping their order, then
  // Sorted on. Nothing when already sorted or fewer than two values.
  virtual void Sort();

  // A coordinate D of Value changed: statistics go stale, a sorted list moves
  // the value into place, and (outside an update bracket) the series hears of it.
  virtual void ValueChanged(TZPChartValue& Value, int D);
  // The place Value belongs at among the other values by binary search; the
  // value ends up last meanwhile.
  int FindInsertPosition(TZPChartValue& Value);

  // From another value list: flags, Sorted, Limit, SortOrder, statistics, items.
  void Assign(const TPersistent& Source) override;

  // The lowest index whose value changed (coordinates, state, place, added
  // or removed) since the last call, Count() when none; then forgets it.
  // One reader: the series' drawing summaries (a new list reports 0).
  int TakeChangedFrom();

 protected:
  TZPChartValues(TPersistent* Owner, ItemFactory Factory, int Dimensions);
  void Notify(TCollectionItem& Item, TCollectionNotification Action) override;
  void Update(TCollectionItem* Item) override;
  void ItemMoved(int From, int To) override;
  void SetDateTimeFlags(uint8_t Value);

 private:
  friend class TZPChartValue;
  IZPChartValuesOwner* Series() const;
  void MarkChanged(int Index) { changed_from_ = std::min(changed_from_, std::max(Index, 0)); }

  int limit_ = 0;
  TSortOrder sort_order_ = TSortOrder::soAscending;
  int sort_by_dimension_ = 0;
  int dimensions_ = 1;
  bool needs_recalc_ = true;
  bool moving_ = false;
  bool has_captions_ = false;
  bool sorted_ = false;
  uint8_t date_time_ = 0;
  std::vector<double> minimum_, maximum_, absolute_sum_;
  int changed_from_ = 0;
};

}  // namespace zp::chart
