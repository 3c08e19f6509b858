// TZPChartLegend: the legend box. Its lines (text plus an optional colour
// box) are built from the panel's series names or from the values of its one
// visible series, cached until marked dirty, and laid out in rows and columns
// with a drop shadow, on whichever side of the plot Align says. It remembers
// where it drew each line, so a point can be traced to a line and its series.
//
//   TZPChartLegend legend(&panel);
//   int itemWidth;
//   TRect outer = legend.CalcRect(canvas, area, itemWidth);   // room to reserve
//   legend.Draw(canvas, area);
#pragma once

#include <memory>
#include <vector>

#include "chart/ZPChartLabel.h"
#include "chart/ZPChartShadow.h"
#include "chart/ZPLegendHost.h"
#include "chart/ZPObjectRect.h"
#include "platform/Strings.h"

namespace zp::chart {

enum class TZPLegendStyle { lsAutomatic, lsChartNames, lsValues, lsChartNameAndLastValue };
enum class TZPLegendAlignment { laLeft, laRight, laBottom, laTop };
enum class TZPLegendRectStyle { rsRectangle, rsRoundedRect };

class TZPChartLegend : public TZPChartLabelMetaData {
 public:
  // Panel may be nullptr (no lines are built); not owned.
  explicit TZPChartLegend(IZPLegendPanel* Panel);
  std::string ClassName() const override { return "TZPChartLegend"; }

  IZPLegendPanel* Panel() const { return panel_; }

  TBrush& Brush() { return brush_; }
  void SetBrush(const TBrush& Value) { brush_.Assign(Value); }
  TPen& Pen() { return pen_; }
  void SetPen(const TPen& Value) { pen_.Assign(Value); }
  // Values below 1 become 1.
  int MaxRows() const { return max_rows_; }
  void SetMaxRows(int Value);
  // Pixels; values below 4 become 4.
  int BoxSize() const { return box_size_; }
  void SetBoxSize(int Value);
  // Negative values become 0. Takes effect at the next rebuild.
  int FirstIndex() const { return first_index_; }
  void SetFirstIndex(int Value);
  TZPLegendStyle LegendStyle() const { return legend_style_; }
  void SetLegendStyle(TZPLegendStyle Value);
  TZPLegendTextStyle TextStyle() const { return text_style_; }
  void SetTextStyle(TZPLegendTextStyle Value);
  TZPObjectRect& Margins() { return margins_; }
  void SetMargins(const TZPCustomRect& Value) { margins_.Assign(Value); }
  TZPLegendAlignment Align() const { return align_; }
  void SetAlign(TZPLegendAlignment Value);
  // While fixed the lines are never rebuilt.
  bool Fixed() const { return fixed_; }
  void SetFixed(bool Value);
  bool Overlay() const { return overlay_; }
  void SetOverlay(bool Value);
  TZPChartShadow& Shadow() { return shadow_; }
  void SetShadow(const TZPChartShadow& Value) { shadow_.Assign(Value); }
  TZPLegendRectStyle RectStyle() const { return rect_style_; }
  // Also gives the shadow the matching shape.
  void SetRectStyle(TZPLegendRectStyle Value);
  // Percent of the area width an item may take; clamped to 1..100.
  int MaxWidthPct() const { return max_width_pct_; }
  void SetMaxWidthPct(int Value);
  // A names legend also lists hidden series, greyed with an empty box, so
  // that they can be shown again from it; an automatic legend then lists
  // names whenever the panel holds more than one series. Off by default.
  bool ListHiddenSeries() const { return list_hidden_series_; }
  void SetListHiddenSeries(bool Value);

  // The lines, rebuilt first when dirty and not fixed. Each line's object is
  // its box colour (LineColor), 0 for no box.
  TStrings& Lines();
  // Copies the lines (they last until the next rebuild unless Fixed).
  void SetLines(const TStrings& Value) {
    lines_.Assign(Value);
    line_series_.clear();
  }
  static TColor LineColor(const TStrings& Lines, int Index);
  static void* ColorObject(TColor Color);
  // The panel's index of the series line Line names; -1 for the panel's own
  // lines, value lines, lines set by hand and indexes out of range.
  int LineSeries(int Line) const;
  // The line whose item (box and text) held (X, Y) at the last drawing; -1
  // elsewhere, and before the first drawing.
  [[nodiscard]] int LineAt(int X, int Y) const;
  // The legend's box held (X, Y) at the last drawing.
  bool BoxHolds(int X, int Y) const;

  bool Dirty() const { return dirty_; }
  // The panel marks the lines for rebuilding when a series change may alter them.
  void MarkDirty() { dirty_ = true; }

  // Builds the lines: the panel's own lines first, then series names or values.
  virtual void RebuildLines();
  // Series names (lsChartNames, lsChartNameAndLastValue, or automatic with
  // more than one visible series) rather than one series' values.
  bool ListsSeriesNames() const;
  // Width and height of the legend content for Area, the canvas holding the
  // legend font; ItemWidth receives the width of one item's text.
  TSize CalcSize(TCanvas& Canvas, const TRect& Area, int& ItemWidth);
  // The legend's outer rectangle in Area (margins around the box included).
  TRect CalcRect(TCanvas& Canvas, const TRect& Area, int& ItemWidth);

  // Also recomputes the font's deltas against the panel font.
  void SetFont(const TFont& Value) override;

  // From another legend: brush, pen, limits, styles, Align, Lines, Fixed, the
  // dirty flag, Margins, Shadow, then the label's fields and Visible.
  void Assign(const TPersistent& Source) override;

 protected:
  void DrawGraphic(TCanvas& Canvas, const TRect& Area) override;
  // Margins are kept non-negative before their change is passed on.
  void ObjectChanged(TPersistent& Sender) override;

 private:
  void DrawItem(TCanvas& Canvas, int X, int Y, int Index, int ItemWidth, int LineHeight);
  // Line names a series that is hidden now.
  bool LineHidden(int Line) const;

  IZPLegendPanel* panel_;  // not owned
  TBrush brush_;
  TPen pen_;
  int max_rows_ = 10;
  int box_size_ = 10;
  int first_index_ = 0;
  TZPLegendStyle legend_style_ = TZPLegendStyle::lsAutomatic;
  TZPLegendTextStyle text_style_ = TZPLegendTextStyle::ltsValue;
  TZPObjectRect margins_;
  TZPLegendAlignment align_ = TZPLegendAlignment::laRight;
  bool fixed_ = false;
  bool dirty_ = true;
  TStrings lines_;
  std::vector<int> line_series_;   // per line: LineSeries
  std::vector<TRect> item_rects_;  // per line drawn at the last drawing
  TRect drawn_box_;
  bool list_hidden_series_ = false;
  bool overlay_ = false;
  TZPChartShadow shadow_;
  TZPLegendRectStyle rect_style_ = TZPLegendRectStyle::rsRectangle;
  int max_width_pct_ = 25;
};

}  // namespace zp::chart
