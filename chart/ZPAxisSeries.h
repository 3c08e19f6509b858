// IZPAxisSeries and IZPAxisPanel: what an axis needs of the series bound to
// it and of the panel that owns it. Series and panel implement these; the
// axis never sees more of them.
#pragma once

#include "chart/ZPChartConsts.h"
#include "chart/ZPValueAxisConsts.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

namespace zp::chart {

class TZPChartAxis;
class TZPChartValues;

class IZPAxisSeries {
 public:
  virtual bool Visible() const = 0;
  // The series' value list: statistics for the range, captions and
  // date-time flags for the labels.
  virtual TZPChartValues& Values() const = 0;
  virtual TChartOptions Options() const = 0;
  virtual void SetOptions(TChartOptions Value) = 0;
  // Added to every Y when coUseVerticalOffset is set; stacking writes it.
  virtual double OffsetVertical() const = 0;
  virtual void SetOffsetVertical(double Value) = 0;
  // Stacking group number and style.
  virtual int Group() const = 0;
  virtual TZPGroupStyle GroupStyle() const = 0;
  // Recomputes which values fall inside Axis' zoom window (ignored unless
  // Axis is the series' horizontal axis).
  virtual void CalculateVisibleRange(TZPChartAxis& Axis) = 0;
  // Axis took this series into its list of bound series, or let it go. The
  // series keeps the axes that hold it and leaves each of them when it goes
  // away; an axis copied with Assign holds its source's series this way too.
  virtual void AxisHolds(TZPChartAxis& Axis) = 0;
  virtual void AxisLetGo(TZPChartAxis& Axis) = 0;

 protected:
  virtual ~IZPAxisSeries() = default;
};

class IZPAxisPanel {
 public:
  // The plot rectangle of the last layout, for pixel zoom and pan.
  virtual TRect PlotRect() const = 0;
  // The font the axis' title and labels start from.
  virtual const TFont& Font() const = 0;

 protected:
  virtual ~IZPAxisPanel() = default;
};

}  // namespace zp::chart
