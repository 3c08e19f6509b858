// What the legend needs of the chart panel and of each series. The panel and
// the series implement these; the legend holds the panel by a plain pointer.
#pragma once

#include <string>

#include "chart/ZPChartConsts.h"
#include "platform/Canvas.h"
#include "platform/Strings.h"

namespace zp::chart {

class IZPLegendSeries {
 public:
  virtual bool Visible() const = 0;
  virtual TChartOptions Options() const = 0;
  virtual std::string Caption() const = 0;
  // The component name, shown when the caption is empty.
  virtual std::string Name() const = 0;
  // The class name, shown when caption and name are empty.
  virtual std::string ClassName() const = 0;
  // The series colour (a line series: its pen colour).
  virtual TColor Color() const = 0;
  virtual int ValueCount() const = 0;
  virtual bool ValueVisible(int Index) const = 0;
  virtual TColor ValueColor(int Index) const = 0;
  // The value label of value Index in Style.
  virtual std::string ValueLabelText(int Index, TZPLegendTextStyle Style) const = 0;

 protected:
  virtual ~IZPLegendSeries() = default;
};

class IZPLegendPanel {
 public:
  // The font the legend follows.
  virtual const TFont& Font() const = 0;
  // The panel's own canvas; the legend clips its items only there. May be nullptr.
  virtual const TCanvas* Canvas() const = 0;
  // Lets the application put its own lines first.
  virtual void GetLegendStrings(TStrings& Lines) = 0;
  virtual int SeriesCount() const = 0;
  virtual IZPLegendSeries& Series(int Index) const = 0;
  virtual int VisibleCount() const = 0;
  // nullptr when no series is visible.
  virtual IZPLegendSeries* FirstVisible() const = 0;

 protected:
  virtual ~IZPLegendPanel() = default;
};

}  // namespace zp::chart
