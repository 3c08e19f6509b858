// TZPAxisGrid: the grid lines and tick marks of an axis. The grid reads a
// few things from its axis through IZPGridAxis (the axis implements it) and
// draws from the axis's largest value downwards.
//
//   grid.SetStep(5);  grid.SetTickSpace(grid.TickLength());
//   grid.Draw(canvas, plotRectWithAxisEdge);
#pragma once

#include "chart/ZPChartConsts.h"
#include "chart/ZPChartGraphic.h"
#include "platform/Set.h"

namespace zp::chart {

// Ticks walk down by a single-precision step and drift from its exact
// multiples; a value within this much beyond an end of the window still counts
// as inside it (so the "1" of a 0..1 axis stays).
inline double TickSlack(double Step) { return Step * 1e-6; }

// What the grid needs of its axis.
class IZPGridAxis {
 public:
  virtual double Maximum() const = 0;
  virtual double ZoomMinimum() const = 0;
  virtual double ZoomMaximum() const = 0;
  // Ticks sit at multiples of the step.
  virtual bool SnapGrid() const = 0;
  virtual TZPChartAxisLocation Location() const = 0;
  // The pixel of value V along the axis within plot rectangle R.
  virtual int ValueToPixel(const TRect& R, double V) const = 0;
  // Keeps the axis option axShowGrid equal to the grid's visibility.
  virtual void SetShowGrid(bool Value) = 0;
  // True for a decade axis: ticks and grid lines at the powers of ten, minor
  // ticks at 2..9 times each, whatever the step.
  virtual bool DecadeTicks() const { return false; }

 protected:
  virtual ~IZPGridAxis() = default;
};

enum class TAxisDrawGridOption { goDrawMajorGrid, goDrawMinorGrid, goDrawTickMarks };
using TAxisDrawGridOptions = Set<TAxisDrawGridOption>;

class TZPAxisGrid : public TZPChartGraphic {
 public:
  // Axis may be nullptr (nothing is drawn then); not owned.
  explicit TZPAxisGrid(IZPGridAxis* Axis);
  std::string ClassName() const override { return "TZPAxisGrid"; }

  IZPGridAxis* Axis() const { return axis_; }

  // Pixels into the plot; negative values become 0.
  int InnerLength() const { return inner_length_; }
  void SetInnerLength(int Value);
  TPen& MinorGridPen() { return minor_grid_pen_; }
  void SetMinorGridPen(const TPen& Value) { minor_grid_pen_.Assign(Value); }
  TPen& GridPen() { return grid_pen_; }
  void SetGridPen(const TPen& Value) { grid_pen_.Assign(Value); }
  TPen& TicksPen() { return ticks_pen_; }
  void SetTicksPen(const TPen& Value) { ticks_pen_.Assign(Value); }
  int MinorTickCount() const { return minor_tick_count_; }
  void SetMinorTickCount(int Value);
  int TickLength() const { return tick_length_; }
  void SetTickLength(int Value);
  int MinorTickLength() const { return minor_tick_length_; }
  void SetMinorTickLength(int Value);
  TAxisDrawGridOptions DrawOptions() const { return draw_options_; }
  void SetDrawOptions(TAxisDrawGridOptions Value);

  // Set by the axis before drawing, without notification.
  float Step() const { return step_; }
  void SetStep(float Value) { step_ = Value; }
  int TickSpace() const { return tick_space_; }
  void SetTickSpace(int Value) { tick_space_ = Value; }
  double FirstTick() const { return first_tick_; }
  void SetFirstTick(double Value) { first_tick_ = Value; }

  // Also keeps the axis's axShowGrid equal to Visible.
  void Changed() override;

  // From another grid: MinorTickCount, DrawOptions, InnerLength, TickLength,
  // MinorTickLength, the three pens, then Visible.
  void Assign(const TPersistent& Source) override;

 protected:
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;

 private:
  void DrawDecades(TCanvas& Canvas, const TRect& Rect, bool MajorTicks, bool MinorTicks) const;

  int inner_length_ = 0;
  TPen minor_grid_pen_;
  TPen grid_pen_;
  int minor_tick_count_ = 3;
  IZPGridAxis* axis_;  // not owned
  int tick_length_ = 4;
  int minor_tick_length_ = 2;
  float step_ = 0;
  int tick_space_ = 0;
  TAxisDrawGridOptions draw_options_{TAxisDrawGridOption::goDrawMajorGrid, TAxisDrawGridOption::goDrawTickMarks};
  TPen ticks_pen_;
  double first_tick_ = 0;
};

}  // namespace zp::chart
