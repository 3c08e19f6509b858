// TZPCustomChartPanel: the chart control. It owns four axes, header, footer,
// legend, background and foreground layers, gradient, chart shadow and
// margins; holds the series that took it as parent; lays everything out in
// its client rectangle on every paint and draws it in a fixed order with an
// event pair around each element; and turns mouse drags into zoom, pan and
// selection. Changes never paint: they ask the host to repaint later.
//
//   TZPChartPanel panel;  panel.SetHost(&widget);
//   TZPLineChart s;  s.SetParent(&panel);
//   panel.Paint(canvas);              // what the host does on a paint request
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZPChartAxis.h"
#include "chart/ZPChartDecorations.h"
#include "chart/ZPChartHost.h"
#include "chart/ZPChartList.h"
#include "chart/ZPChartSeries.h"
#include "chart/ZPObjectRect.h"
#include "platform/Component.h"

namespace zp::chart {

class TZPCustomChartPanel;

// cuaLegendToggle: a click on a legend line shows or hides its series.
enum class TChartUserAction { cuaZoom, cuaPan, cuaSelection, cuaLegendToggle };
using TChartUserActions = Set<TChartUserAction>;

// The framework panel's edges.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBorderStyle { bsNone, bsSingle };

// The gesture in progress.
enum class TDragState : uint8_t { dsNone, dsZoom, dsPan, dsSelect };

// A value of a series and where it was drawn; no Chart: nothing found.
struct TChartHit {
  TZPCustomChart* Chart = nullptr;  // not owned
  int Index = -1;
  TPoint At;
};

// The zoom windows of the four axes (bottom, left, top, right).
struct TZoomState {
  struct TAxisZoom {
    bool Zoomed;
    double Minimum, Maximum;
    bool operator==(const TAxisZoom&) const = default;
  };
  TAxisZoom Axes[4];
  bool operator==(const TZoomState&) const = default;
};

using TZPChartPanelDrawingEvent =
    std::function<void(TZPCustomChartPanel& Sender, TCanvas& Canvas, TRect ARect, bool& DoDraw)>;
using TZPChartPanelDrawEvent = std::function<void(TZPCustomChartPanel& Sender, TCanvas& Canvas, TRect ARect)>;
using TZPChartEvent = std::function<void(TZPCustomChartPanel& Sender, TZPCustomChart& Chart)>;
using TZPChartValueEvent =
    std::function<void(TZPCustomChartPanel& Sender, TZPCustomChart& Chart, TZPChartValue* Value)>;
using TZPPanelNotifyEvent = std::function<void(TZPCustomChartPanel& Sender)>;
using TGetStringsEvent = std::function<void(TZPCustomChartPanel& Sender, TStrings& Strings)>;

class TZPCustomChartPanel : public TComponent, public IZPAxisPanel, public IZPLegendPanel {
 public:
  explicit TZPCustomChartPanel(TComponent* Owner = nullptr);
  ~TZPCustomChartPanel() override;
  std::string ClassName() const override { return "TZPCustomChartPanel"; }

  // ---- host and framework panel ----
  IZPChartHost* Host() const { return host_; }
  // Not owned; nullptr: the panel paints only when asked.
  void SetHost(IZPChartHost* Value);
  // The host's client rectangle, else (0, 0, Width, Height).
  TRect ClientRect() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Negative sizes become 0.
  void SetBounds(int Width, int Height);
  TFont& Font() { return font_; }
  const TFont& Font() const override { return font_; }
  void SetFont(const TFont& Value) { font_.Assign(Value); }
  // The face of the panel (button face by default).
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut Value);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut Value);
  // Values below 1 become 1.
  int BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(int Value);
  // Negative values become 0.
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int Value);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);
  // Pixels inside the client rectangle taken by bevels and border.
  int EdgeWidth() const;
  // Asks the host for a repaint.
  void Invalidate();
  // The host's paint: face, bevels, then Draw over the client rectangle,
  // with Canvas as the panel's own canvas (series and legend are clipped).
  void Paint(TCanvas& Canvas);
  // The same over an explicit client rectangle (a picture of another size).
  void Paint(TCanvas& Canvas, const TRect& Client);

  // ---- elements (setters copy into the owned element) ----
  TZPChartList& Charts() { return charts_; }
  const TZPChartList& Charts() const { return charts_; }
  TZPChartAxis& BottomAxis() const { return *bottom_axis_; }
  TZPChartAxis& LeftAxis() const { return *left_axis_; }
  TZPChartAxis& RightAxis() const { return *right_axis_; }
  TZPChartAxis& TopAxis() const { return *top_axis_; }
  void SetBottomAxis(const TZPChartAxis& Value) { bottom_axis_->Assign(Value); }
  void SetLeftAxis(const TZPChartAxis& Value) { left_axis_->Assign(Value); }
  void SetRightAxis(const TZPChartAxis& Value) { right_axis_->Assign(Value); }
  void SetTopAxis(const TZPChartAxis& Value) { top_axis_->Assign(Value); }
  TZPChartLayer& Background() const { return *background_; }
  TZPChartLayer& Foreground() const { return *foreground_; }
  void SetBackground(const TZPChartLayer& Value) { background_->Assign(Value); }
  void SetForeground(const TZPChartLayer& Value) { foreground_->Assign(Value); }
  TZPChartHeader& Header() const { return *header_; }
  TZPChartHeader& Footer() const { return *footer_; }
  void SetHeader(const TZPChartHeader& Value) { header_->Assign(Value); }
  void SetFooter(const TZPChartHeader& Value) { footer_->Assign(Value); }
  TZPObjectRect& Margins() const { return *margins_; }
  void SetMargins(const TZPCustomRect& Value) { margins_->Assign(Value); }
  TZPChartLegend& Legend() const { return *legend_; }
  void SetLegend(const TZPChartLegend& Value) { legend_->Assign(Value); }
  // Created, copied and published; never drawn.
  TZPChartShadow& ChartShadow() const { return *chart_shadow_; }
  void SetChartShadow(const TZPChartShadow& Value) { chart_shadow_->Assign(Value); }
  TZPChartGradient& Gradient() const { return *gradient_; }
  void SetGradient(const TZPChartGradient& Value) { gradient_->Assign(Value); }

  // ---- settings ----
  TColor SelectionColor() const { return selection_color_; }
  // A different colour reaches every series.
  void SetSelectionColor(TColor Value);
  TChartUserActions UserActions() const { return user_actions_; }
  void SetUserActions(TChartUserActions Value) { user_actions_ = Value; }
  // The exact key and button sets that start each gesture.
  TShiftState UserZoom() const { return user_zoom_; }
  void SetUserZoom(TShiftState Value) { user_zoom_ = Value; }
  TShiftState UserPan() const { return user_pan_; }
  void SetUserPan(TShiftState Value) { user_pan_ = Value; }
  TShiftState UserSelect() const { return user_select_; }
  void SetUserSelect(TShiftState Value) { user_select_ = Value; }

  // ---- layout and drawing ----
  // The plot rectangle of the last layout (the series' area).
  TRect PlotRect() const override { return plot_rect_; }
  // OnDrawing; if allowed, DrawPanel, then OnDraw.
  virtual void Draw(TCanvas& Canvas, const TRect& Rect);
  // Lays out and draws every element into Rect.
  virtual void DrawPanel(TCanvas& Canvas, const TRect& Rect);
  // Every ready series, clipped to Rect on the panel's own canvas.
  virtual void DrawCharts(TCanvas& Canvas, const TRect& Rect);

  // ---- zoom, pan, selection ----
  // Horizontal axis: bottom (UseBottom) or top; vertical: left (UseLeft) or right.
  virtual void PanByPixels(int DX, int DY, bool UseBottom, bool UseLeft);
  virtual void PanByValues(bool UseBottom, bool UseLeft, double DX, double DY);
  virtual void ZoomPixels(const TRect& Rect, bool UseBottom, bool UseLeft);
  virtual void ZoomValues(const TFloatRect& Rect, bool UseBottom, bool UseLeft);
  void Unzoom(bool UseBottom, bool UseLeft);
  // The bottom axis' window shrunk (Factor < 1) or widened around the value
  // under pixel X, which stays in place; never past the full range, and a
  // window reaching both ends becomes the full range. Factor <= 0: nothing.
  void ZoomAround(int X, double Factor);
  // Every zoom, unzoom and wheel step that changed a window is remembered
  // (the last kZoomHistoryLimit of them); ZoomBack returns to the windows
  // before the last one. False when there is none.
  bool ZoomBack();
  int ZoomHistoryCount() const { return static_cast<int>(zoom_history_.size()); }
  static constexpr int kZoomHistoryLimit = 100;
  TZoomState CaptureZoom() const;
  // Every visible series selects its values in the pixel rectangle by Mode.
  virtual void SelectRect(const TRect& Rect, int Mode);
  TFloatPoint PixelToValuePoint(const TPoint& P, const TZPChartAxis& Horizontal, const TZPChartAxis& Vertical) const;
  // First corner from pixel (Left, Bottom), second from (Right, Top).
  TFloatRect PixelRectToValueRect(const TRect& R, const TZPChartAxis& Horizontal, const TZPChartAxis& Vertical) const;

  // ---- mouse (the host forwards its events) ----
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  TDragState DragState() const { return drag_state_; }
  const TRect& DragRect() const { return drag_rect_; }
  // Press and release this close (device-independent pixels, each way) make
  // a click; a zoom drag narrower or lower than this is ignored.
  static constexpr int kClickTolerance = 3;
  // Whether a drag from (Left, Top) to (Right, Bottom) is a click.
  static bool IsClick(const TRect& Drag);
  // The host's cursor (nothing without a host).
  void SetScreenCursor(TCursor Cursor);

  // ---- what lies under the mouse (as of the last paint) ----
  // The series whose legend line holds (X, Y); nullptr elsewhere or while
  // the legend is hidden.
  [[nodiscard]] TZPCustomChart* LegendChartAt(int X, int Y) const;
  // The visible value of a visible series drawn nearest to (X, Y), at most
  // Radius pixels away; on a tie the series drawn last (on top) wins.
  TChartHit NearestValue(int X, int Y, int Radius) const;
  // What a hover shows of Hit: the series' caption, then one line per axis,
  // "<axis title>: <value as the axis labels it>" ("X"/"Y" without a title).
  std::string ValueReadout(const TChartHit& Hit) const;

  // ---- what series call ----
  virtual void ChartChanged(TZPCustomChart& Chart);
  virtual void ChartValueChanged(TZPCustomChart& Chart, TZPChartValue* Value);
  virtual void ChartValueSelectionChanged(TZPCustomChart& Chart, TZPChartValue* Value);
  virtual void ChartValueVisibleChanged(TZPCustomChart& Chart, TZPChartValue* Value);
  virtual void SeriesVisibilityChanged(TZPCustomChart& Chart);
  // Marks the legend dirty when Chart is in the series list; returns the flag.
  virtual bool LegendNeedsRebuild(TZPCustomChart& Chart);
  // A series joined or left the series list: the legend and the picture change.
  void SeriesListChanged();

  // ---- what the legend reads ----
  const TCanvas* Canvas() const override { return canvas_; }
  void GetLegendStrings(TStrings& Lines) override;
  int SeriesCount() const override { return charts_.Count(); }
  IZPLegendSeries& Series(int Index) const override;
  int VisibleCount() const override { return charts_.VisibleCount(); }
  IZPLegendSeries* FirstVisible() const override;

  // ---- events ----
  TZPPanelNotifyEvent OnChange;
  TZPChartEvent OnChartChange;
  TZPChartValueEvent OnChartValueChange;
  TZPChartValueEvent OnChartValueSelectionChange;
  TZPChartValueEvent OnChartValueVisibleChange;
  TGetStringsEvent OnGetLegendStrings;
  TZPChartPanelDrawingEvent OnDrawing;
  TZPChartPanelDrawEvent OnDraw;
  TZPChartPanelDrawingEvent OnDrawingCharts;
  TZPChartPanelDrawEvent OnDrawCharts;
  TZPPanelNotifyEvent OnPan;
  TZPPanelNotifyEvent OnZoom;
  TZPPanelNotifyEvent OnUnzoom;

 protected:
  virtual bool DoDrawing(TCanvas& Canvas, const TRect& Rect);
  virtual void DoDraw(TCanvas& Canvas, const TRect& Rect);
  virtual void DoChange();
  // An element, the margins or the panel font changed.
  virtual void ObjectChanged(TPersistent& Sender);
  virtual void SelectionColorChanged();
  void Notification(TComponent& AComponent, TOperation Operation) override;

 private:
  void Hook(TZPChartGraphic& Element);
  std::unique_ptr<TZPChartAxis> CreateAxis(TZPChartAxisLocation Location);
  std::unique_ptr<TZPChartLayer> CreateLayer(bool IsForeground);
  TZPChartAxis& HorizontalAxis(bool UseBottom) const { return UseBottom ? *bottom_axis_ : *top_axis_; }
  TZPChartAxis& VerticalAxis(bool UseLeft) const { return UseLeft ? *left_axis_ : *right_axis_; }
  void PaintFrame(TCanvas& Canvas, const TRect& Client);
  // Remembers Before when the windows are no longer what it holds.
  void RememberZoom(const TZoomState& Before);
  // A plain click (press and release within the click tolerance).
  void Click(int X, int Y);

  IZPChartHost* host_ = nullptr;  // not owned
  TCanvas* canvas_ = nullptr;     // not owned: the canvas of the paint in progress
  int width_ = 400;
  int height_ = 300;
  TFont font_;
  TColor color_ = clBtnFace;
  TBevelCut bevel_outer_ = TBevelCut::bvRaised;
  TBevelCut bevel_inner_ = TBevelCut::bvNone;
  int bevel_width_ = 1;
  int border_width_ = 0;
  TBorderStyle border_style_ = TBorderStyle::bsNone;

  TZPChartList charts_;
  std::unique_ptr<TZPChartAxis> right_axis_, top_axis_, left_axis_, bottom_axis_;
  std::unique_ptr<TZPChartLayer> background_, foreground_;
  std::unique_ptr<TZPChartHeader> header_, footer_;
  std::unique_ptr<TZPObjectRect> margins_;
  std::unique_ptr<TZPChartLegend> legend_;
  TRect plot_rect_;
  std::unique_ptr<TZPChartShadow> chart_shadow_;
  std::unique_ptr<TZPChartGradient> gradient_;
  TChartUserActions user_actions_{TChartUserAction::cuaZoom, TChartUserAction::cuaPan};
  TShiftState user_zoom_{TShiftStateFlag::ssLeft};
  TShiftState user_pan_{TShiftStateFlag::ssAlt, TShiftStateFlag::ssLeft};
  TShiftState user_select_{TShiftStateFlag::ssCtrl, TShiftStateFlag::ssLeft};
  TDragState drag_state_ = TDragState::dsNone;
  TRect drag_rect_;
  // Where a plain left press went down; a release near it is a click.
  bool click_pending_ = false;
  TPoint press_at_;
  std::vector<TZoomState> zoom_history_;
  TColor selection_color_ = clActiveBorder;
};

}  // namespace zp::chart
