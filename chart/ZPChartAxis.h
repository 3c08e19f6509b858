// TZPChartAxis: one of a panel's four axes. It keeps the value range of one
// coordinate (full range and zoom window), computes that range from the
// series bound to it, maps values to pixels and back, chooses the label
// step, draws title, labels and axis line, hands the step to its grid and
// reports how much room it used.
//
//   TZPChartAxis left(&panel);  left.SetLocation(TZPChartAxisLocation::caLeft);
//   left.BindSeries(series);                  // automatic range from its values
//   left.Measure(canvas, plot);  left.UsedWidth();
//   left.Draw(canvas, axisRect);
#pragma once

#include <string>
#include <vector>

#include "chart/ZPAxisGrid.h"
#include "chart/ZPAxisMapping.h"
#include "chart/ZPAxisSeries.h"
#include "chart/ZPChartGraphicArea.h"
#include "chart/ZPChartLabel.h"
#include "chart/ZPFloatGeometry.h"

namespace zp::chart {

class TZPChartAxis : public TZPChartGraphicArea, public IZPGridAxis {
 public:
  // Panel may be nullptr (not owned); title and labels take its font.
  explicit TZPChartAxis(IZPAxisPanel* Panel = nullptr);
  ~TZPChartAxis() override;
  std::string ClassName() const override { return "TZPChartAxis"; }

  IZPAxisPanel* Panel() const { return panel_; }

  // ---- settings ----
  const std::string& Format() const { return format_; }
  void SetFormat(const std::string& Value);
  const std::string& DateTimeFormat() const { return date_time_format_; }
  void SetDateTimeFormat(const std::string& Value);
  TAxisLabelStyle LabelStyle() const { return label_style_; }
  void SetLabelStyle(TAxisLabelStyle Value);
  // At least 2 for logarithmic axes (not checked).
  int LogBase() const { return log_base_; }
  void SetLogBase(int Value);
  TZPLogarithmicType LogarithmicType() const { return logarithmic_type_; }
  void SetLogarithmicType(TZPLogarithmicType Value);
  int InwardPosition() const { return inward_position_; }
  void SetInwardPosition(int Value);
  bool SnapGrid() const override { return snap_grid_; }
  void SetSnapGrid(bool Value);
  int TitleMargin() const { return title_margin_; }
  void SetTitleMargin(int Value);
  // Fixed label step; 0 chooses it automatically.
  double LabelIncrement() const { return label_increment_; }
  void SetLabelIncrement(double Value);
  // Percent of the plot extent; each pulls the other along so Start <= End.
  int StartPosition() const { return start_position_; }
  void SetStartPosition(int Value);
  int EndPosition() const { return end_position_; }
  void SetEndPosition(int Value);
  // Negative values become 0.
  int MinSeparationPct() const { return min_separation_pct_; }
  void SetMinSeparationPct(int Value);
  double MinStepIncrement() const { return min_step_increment_; }
  void SetMinStepIncrement(double Value);
  TAxisOptions Options() const { return options_; }
  // Also shows or hides title, labels and grid; automatic flags ask for a new range.
  void SetOptions(TAxisOptions Value);
  TZPChartAxisLocation Location() const override { return location_; }
  // Also picks the coordinate: 1 for left and right axes, 0 for bottom and top.
  void SetLocation(TZPChartAxisLocation Value);
  int Dimension() const { return dimension_; }

  TZPChartLabel& Title() { return title_; }
  const TZPChartLabel& Title() const { return title_; }
  void SetTitle(const TZPChartLabel& Value) { title_.Assign(Value); }
  TZPChartLabelMetaData& Labels() { return labels_; }
  void SetLabels(const TZPChartLabelMetaData& Value) { labels_.Assign(Value); }
  TZPAxisGrid& Grid() { return grid_; }
  void SetGrid(const TZPAxisGrid& Value) { grid_.Assign(Value); }

  // ---- range and zoom ----
  double Minimum() const { return minimum_; }
  // Setting either end by hand turns its automatic option off.
  void SetMinimum(double Value);
  double Maximum() const override { return maximum_; }
  void SetMaximum(double Value);
  double ZoomMinimum() const override { return zoom_minimum_; }
  // Kept at or above Minimum.
  void SetZoomMinimum(double Value);
  double ZoomMaximum() const override { return zoom_maximum_; }
  // Kept at or below Maximum.
  void SetZoomMaximum(double Value);
  bool Zoomed() const { return zoomed_; }
  bool NeedsRange() const { return needs_range_; }

  // The window between two pixels of the panel's plot area (or of 0,0,100,100).
  void ZoomToPixels(const TRect& Pixels);
  // The window between two value-space corners: X for horizontal axes, Y
  // for vertical ones, the larger becoming ZoomMaximum.
  void ZoomToValues(const TFloatRect& Values);
  void ResetZoom();
  // Moves the window by Delta, never past the full range.
  void PanBy(double Delta);
  void PanByPixels(int D);

  // A bound series' data changed; automatic ends are recomputed before the next layout.
  void InvalidateRange();
  // Full range from the visible bound series (exact data range, stacking applied).
  virtual void CalculateRange();

  // ---- bound series ----
  const std::vector<IZPAxisSeries*>& Charts() const { return charts_; }
  // Binding or unbinding makes the axis visible exactly when a bound series
  // is. Each series in the list knows this axis holds it (AxisHolds), so a
  // series going away unbinds itself from every axis, copies included.
  void BindSeries(IZPAxisSeries& Series);
  void UnbindSeries(IZPAxisSeries& Series);

  // ---- mapping ----
  TAxisMapping Mapping() const;
  int ValueToPixel(const TRect& R, double V) const override;
  double PixelToValue(const TRect& R, int P) const;
  double PixelDeltaToValue(int D, const TRect& R) const;

  // ---- labels ----
  // A date-time text when the first visible series holds date-times on this
  // axis' dimension; else by Format (four decimals when Format is empty).
  std::string FormatLabel(double V) const;
  bool IsDateTimeAxis() const;
  TAxisLabelStyle EffectiveLabelStyle() const;
  // Widest label of the last labels pass.
  int LabelWidth() const { return label_width_; }

  // ---- layout ----
  // Runs the layout pass without drawing; UsedWidth/UsedHeight then hold the room taken.
  virtual void Measure(TCanvas& Canvas, const TRect& R);
  int UsedWidth() const { return used_width_; }
  int UsedHeight() const { return used_height_; }

  // Notifies the owner, then every bound series recomputes its visible range.
  void Changed() override;
  void SetShowGrid(bool Value) override;
  // Logarithmic of type ltDecades.
  bool DecadeTicks() const override;

  // Copies range, zoom, positions, formats, options, bound series, title and
  // labels (not LabelIncrement, SnapGrid, LogarithmicType or Grid), then the area.
  void Assign(const TPersistent& Source) override;

 protected:
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;
  virtual void LayoutPass(TCanvas& Canvas, TRect R);
  virtual void DrawTitle(TCanvas& Canvas, const TRect& R, TRect& Remaining);
  virtual void DrawLabels(TCanvas& Canvas, const TRect& R, TRect& Remaining);
  virtual void DrawAxisLine(TCanvas& Canvas, const TRect& R, TRect& Remaining);
  bool Drawing() const { return drawing_; }

 private:
  // What one labels pass knows: canvas, extent, separation and the labels
  // placed so far (ZPChartAxisLayout.cpp).
  struct TLabelPass;

  void ChartListChanged();
  void LabelVisibilityChanged();
  void UpdateZoomed();
  void RecalculateVisibleRanges();
  TRect PanelRect() const;
  IZPAxisSeries* FirstVisibleSeries() const;
  // The shape of the plain setters: compare, store, notify.
  template <typename T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  // The label step for this pass, in single precision; also the grid's step.
  double ChooseStep(const TLabelPass& Pass, const TRect& R);
  // The step for labels PixelStep pixels apart: doubled while a label would
  // not fit; LabelIncrement when set.
  double FitStep(const TLabelPass& Pass, double PixelStep, double Step) const;
  // The highest tick inside the zoom window; also the grid's first tick.
  double FirstTick(double Step);
  // Measures one label and, when drawing, keeps its box and text for
  // DrawPlacedLabels; Tick is its index (value ÷ step, or the power of ten).
  void PlaceLabel(TLabelPass& Pass, const TRect& R, double V, long long Tick, const std::string& Text) const;
  // Writes the labels of every K-th tick, K the least that keeps them apart.
  void DrawPlacedLabels(TLabelPass& Pass) const;
  // A decade axis' labels: the powers of ten (every K-th), and both ends
  // when fewer than three decades are in the window.
  void PlaceDecadeLabels(TLabelPass& Pass, const TRect& R) const;

  IZPAxisPanel* panel_;  // not owned
  int log_base_ = 10;
  std::string format_ = "#,##0.###";
  std::string date_time_format_;
  TAxisOptions options_{TAxisOption::axAutomaticMinimum, TAxisOption::axAutomaticMaximum, TAxisOption::axShowLabels,
                        TAxisOption::axShowGrid, TAxisOption::axShowTitle};
  TZPChartLabel title_;
  TZPChartLabelMetaData labels_;
  double minimum_ = 0;
  double maximum_ = 0;
  int end_position_ = 100;
  int start_position_ = 0;
  int inward_position_ = 0;
  std::vector<IZPAxisSeries*> charts_;  // not owned
  TZPChartAxisLocation location_ = TZPChartAxisLocation::caLeft;
  int min_separation_pct_ = 10;
  int used_height_ = 0;
  int used_width_ = 0;
  double min_step_increment_ = 0;
  int dimension_ = 1;
  TAxisLabelStyle label_style_ = TAxisLabelStyle::alsAutomatic;
  int title_margin_ = 3;
  bool needs_range_ = false;
  bool zoomed_ = false;
  double zoom_maximum_ = 0;
  double zoom_minimum_ = 0;
  TZPAxisGrid grid_;
  bool drawing_ = false;
  bool snap_grid_ = true;
  double label_increment_ = 0;
  TZPLogarithmicType logarithmic_type_ = TZPLogarithmicType::ltCompressRight;
  int label_width_ = 0;
};

}  // namespace zp::chart
