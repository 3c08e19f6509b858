// TZP2DChartValue / TZP2DChartValues: (X, Y) points, the data of line
// series. The list can keep itself sorted by X (or Y) as points arrive and
// says which of its dimensions hold date-times.
//
//   TZP2DChartValues points(&series);
//   points.SetSorted(true);
//   points.AddPoint(5, 12.5);            // lands between X = 3 and X = 7
#pragma once

#include "chart/ZPChartValue.h"
#include "chart/ZPValueAxisConsts.h"

namespace zp::chart {

class TZP2DChartValue : public TZPChartValue {
 public:
  TZP2DChartValue();
  std::string ClassName() const override { return "TZP2DChartValue"; }

  double X() const { return Coordinate(0); }
  void SetX(double V) { SetCoordinate(0, V); }
  double Y() const { return Coordinate(1); }
  void SetY(double V) { SetCoordinate(1, V); }
  TDateTime XAsDateTime() const { return Coordinate(0); }
  void SetXAsDateTime(TDateTime V) { SetCoordinate(0, V); }
  TDateTime YAsDateTime() const { return Coordinate(1); }
  void SetYAsDateTime(TDateTime V) { SetCoordinate(1, V); }

  // Y.
  int ValueDimension() const override { return 1; }
  // The point (X, Y) in Area, by the modes of the base.
  bool HitTest(const TFloatRect& Area, int Mode) const override;
};

class TZP2DChartValues : public TZPChartValues {
 public:
  explicit TZP2DChartValues(TPersistent* Owner = nullptr);
  std::string ClassName() const override { return "TZP2DChartValues"; }

  TZP2DChartValue& Items(int Index) const { return static_cast<TZP2DChartValue&>(Item(Index)); }

  // A point (X, Y); Color kAutoValueColor keeps the palette colour.
  TZP2DChartValue& AddPoint(double X, double Y, const std::string& Caption = "", TColor Color = kAutoValueColor);

  // Which dimensions hold date-times; a change notifies the series.
  TXYSet DateTimeAxes() const { return TXYSet::FromMask(DateTimeFlags() & 3u); }
  void SetDateTimeAxes(TXYSet Value);
};

}  // namespace zp::chart
