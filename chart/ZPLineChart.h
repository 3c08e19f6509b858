// The line series: the (X, Y) points of a 2-D value list drawn as straight,
// stair-step or curved segments, or as a filled area down to the bottom of
// the plot, with optional per-point colours and value labels. Its colour is
// its pen colour (2 pixels wide by default).
//
//   TZPLineChart s;  s.SetParent(&panel);  s.SetLineStyle(TLineChartStyle::lsStairStep);
//   s.Values().AddPoint(1, 10);  s.Values().AddPoint(2, 14);
#pragma once

#include "chart/ZP2DChartValues.h"
#include "chart/ZPChartSeries.h"
#include "chart/ZPValueBlocks.h"

namespace zp::chart {

// The pen of line series: 2 pixels wide unless told otherwise.
class TZPLineChartPen : public TPen {
 public:
  TZPLineChartPen() { SetWidth(2); }
  std::string ClassName() const override { return "TZPLineChartPen"; }
};

// What a line series draws.
enum class TLineOption { DrawLines, FillArea };
using TLineOptions = Set<TLineOption>;

class TZPCustomLineChart : public TZPChart {
 public:
  explicit TZPCustomLineChart(TComponent* Owner = nullptr) : TZPChart(Owner, TDeferInitialize{}) { Initialize(); }
  std::string ClassName() const override { return "TZPCustomLineChart"; }

  TLineOptions LineOptions() const { return line_options_; }
  void SetLineOptions(TLineOptions Value);
  TLineChartStyle LineStyle() const { return line_style_; }
  void SetLineStyle(TLineChartStyle Value);
  // The 2-D list the series holds.
  TZP2DChartValues& Points() const { return static_cast<TZP2DChartValues&>(TZPCustomChart::Values()); }

  // A line series never keeps coAllowSingleValue.
  void SetOptions(TChartOptions Value) override;
  // The pixel points of one segment From -> To in plot rectangle R: with
  // FillArea closed down to R.Bottom; stair styles add their corner.
  virtual TPoints SegmentPoints(const TPoint& From, const TPoint& To, const TRect& R) const;
  // Pixel position of value Index in R (vertical offset included).
  TPoint PointAt(int Index, const TRect& R) const;
  // More points than this per pixel column of the plot are drawn decimated:
  // of each column only its first, last, lowest and highest point.
  static constexpr int kDecimateAbove = 4;
  // Whether the drawn range First..Last in plot R is drawn decimated: plain
  // straight lines (no fill, stairs, curve, per-point colours or labels).
  bool Decimates(int First, int Last, const TRect& R) const;
  // The pixel points a decimated drawing joins, in index order; empty when
  // a value of the range is hidden or selected (such a line is drawn in full).
  TPoints DecimatedPoints(int First, int Last, const TRect& R);

  // From another line series: LineStyle and LineOptions, then the series' fields.
  void Assign(const TPersistent& Source) override;

 protected:
  TZPCustomLineChart(TComponent* Owner, TDeferInitialize) : TZPChart(Owner, TDeferInitialize{}) {}
  void InitializeDefaults() override;
  std::unique_ptr<TPen> CreatePen() const override { return std::make_unique<TZPLineChartPen>(); }
  std::unique_ptr<TZPChartValues> CreateValues() override { return std::make_unique<TZP2DChartValues>(this); }
  void DrawChart(TCanvas& Canvas, const TRect& Rect) override;
  // Five sample points while designing.
  void LoadPreviewData() override;

 private:
  void DrawSegment(TCanvas& Canvas, int Index, const TPoint& From, const TPoint& To, const TRect& R);
  void DrawCurve(TCanvas& Canvas, const TRect& R);
  // Pen (or brush) colour of value Index: selection colour, else its own colour with coColorEachPoint.
  void SelectValueColor(TColor& Target, const TZPChartValue& Value) const;
  void LabelAbove(TCanvas& Canvas, const TZPChartValue& Value, const TPoint& P);

  TLineOptions line_options_;
  TLineChartStyle line_style_ = TLineChartStyle::lsStraight;
  TZPValueBlocks blocks_;
};

class TZPLineChart : public TZPCustomLineChart {
 public:
  explicit TZPLineChart(TComponent* Owner = nullptr) : TZPCustomLineChart(Owner, TDeferInitialize{}) { Initialize(); }
  std::string ClassName() const override { return "TZPLineChart"; }

  // The value list, sorted ascending by X.
  TZP2DChartValues& Values() const override { return Points(); }
  void SetValues(const TZP2DChartValues& Value) { Points().Assign(Value); }

 protected:
  // The line defaults, then lines only.
  void InitializeDefaults() override;
  TColor GetColor() const override { return Pen().Color(); }
  void DoSetColor(TColor Value) override { Pen().SetColor(Value); }
};

}  // namespace zp::chart
