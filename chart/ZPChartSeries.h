// TZPCustomChart / TZPChart: the base of every series. A series owns its
// value list, brush, pen and font, names itself in the legend and is drawn
// against one horizontal and one vertical axis of its parent panel. It
// relays every change of its values, look or visibility to the panel
// (repaint, legend), to its two axes (automatic range) and to its own
// events, keeps the index range inside the horizontal zoom window, builds
// value label texts and answers the panel's hit tests.
//
//   TZPLineChart s;                 // a concrete series (ZPLineChart.h)
//   s.SetParent(&panel);            // bound to the bottom and left axes
//   s.BeginUpdate();  ... add values ...;  s.EndUpdate();   // one notice
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZPAxisSeries.h"
#include "chart/ZPChartConsts.h"
#include "chart/ZPChartHost.h"
#include "chart/ZPChartValue.h"
#include "chart/ZPLegendHost.h"
#include "platform/Canvas.h"
#include "platform/Component.h"

namespace zp::chart {

class TZPChartAxis;
class TZPCustomChart;
class TZPCustomChartPanel;

// Around a series' drawing; DoDraw false skips the drawing and the after-event.
using TZPChartSeriesDrawingEvent =
    std::function<void(TZPCustomChart& Sender, TCanvas& Canvas, TRect ARect, bool& DoDraw)>;
using TZPChartSeriesDrawEvent = std::function<void(TZPCustomChart& Sender, TCanvas& Canvas, TRect ARect)>;
// Value is nullptr after a change of the list as a whole.
using TZPChartValueEvent2 = std::function<void(TZPCustomChart& Sender, TZPChartValue* Value)>;
using TZPChartNotifyEvent = std::function<void(TZPCustomChart& Sender)>;

// The colour of selected values until a panel gives its own.
inline constexpr TColor kDefaultSelectionColor = clActiveBorder;

class TZPCustomChart : public TComponent, public IZPChartValuesOwner, public IZPAxisSeries, public IZPLegendSeries {
 public:
  ~TZPCustomChart() override;
  std::string ClassName() const override { return "TZPCustomChart"; }
  std::string Name() const override { return TComponent::Name(); }

  // ---- look ----
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& Value);
  TBrush& Brush() const { return *brush_; }
  void SetBrush(const TBrush& Value) { brush_->Assign(Value); }
  TPen& Pen() const { return *pen_; }
  void SetPen(const TPen& Value) { pen_->Assign(Value); }
  TFont& Font() const { return *font_; }
  void SetFont(const TFont& Value) { font_->Assign(Value); }
  // Take the panel's font when attached.
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool Value) { parent_font_ = Value; }
  // The brush colour here; a line series reads and writes its pen colour.
  TColor Color() const override { return GetColor(); }
  void SetColor(TColor Value) { DoSetColor(Value); }
  bool Visible() const override { return visible_; }
  void SetVisible(bool Value);
  TChartOptions Options() const override { return options_; }
  void SetOptions(TChartOptions Value) override;

  // ---- data ----
  TZPChartValues& Values() const override { return *values_; }
  // Copies Value into the owned list.
  void SetValues(const TZPChartValues& Value) { values_->Assign(Value); }
  // The values are sample data; turning it on with an empty list loads them.
  bool Preview() const { return preview_; }
  void SetPreview(bool Value);

  // ---- stacking ----
  int Group() const override { return group_; }
  // Negative values become 0.
  void SetGroup(int Value);
  TZPGroupStyle GroupStyle() const override { return group_style_; }
  // Also given to every series of the same group in the panel.
  void SetGroupStyle(TZPGroupStyle Value);
  double OffsetVertical() const override { return offset_vertical_; }
  void SetOffsetVertical(double Value) override;
  // OffsetVertical when coUseVerticalOffset is set, else 0.
  double VerticalOffset() const;

  // ---- panel and axes ----
  TZPCustomChartPanel* Parent() const { return parent_; }
  // Detaches from the old panel (axes, list) and attaches to Value (may be nullptr).
  void SetParent(TZPCustomChartPanel* Value);
  THorizontalAxis HorizAxis() const { return horiz_axis_; }
  void SetHorizAxis(THorizontalAxis Value);
  TVerticalAxis VertAxis() const { return vert_axis_; }
  void SetVertAxis(TVerticalAxis Value);
  // nullptr when no axis is bound.
  TZPChartAxis* HorizAxisObject() const { return horiz_axis_object_; }
  TZPChartAxis* VertAxisObject() const { return vert_axis_object_; }
  // Binds any axis (not owned); a panel axis also sets HorizAxis or VertAxis.
  void SetHorizAxisObject(TZPChartAxis* Axis);
  void SetVertAxisObject(TZPChartAxis* Axis);

  // ---- selection and value labels ----
  TColor SelectionColor() const { return selection_color_; }
  // Also turns ParentSelectionColor off.
  void SetSelectionColor(TColor Value);
  bool ParentSelectionColor() const { return parent_selection_color_; }
  void SetParentSelectionColor(bool Value);
  // The panel's selection colour changed.
  virtual void SelectionColorChanged();
  TCursor HoverCursor() const { return hover_cursor_; }
  void SetHoverCursor(TCursor Value) { hover_cursor_ = Value; }
  TZPLegendTextStyle ValueLabelStyle() const { return value_label_style_; }
  void SetValueLabelStyle(TZPLegendTextStyle Value);
  // Stored and copied; value labels format by the vertical axis.
  const std::string& ValueLabelFormat() const { return value_label_format_; }
  void SetValueLabelFormat(const std::string& Value);

  // ---- visible index range ----
  int FirstIndex() const { return first_index_; }
  int LastIndex() const { return last_index_; }
  int IndexCount() const { return index_count_; }
  // The indexes inside Axis' zoom window plus one beyond each edge; nothing
  // unless Axis is the bound horizontal axis.
  void CalculateVisibleRange(TZPChartAxis& Axis) override;
  void AxisHolds(TZPChartAxis& Axis) override;
  void AxisLetGo(TZPChartAxis& Axis) override;

  // ---- update bracket and notices ----
  int UpdateCount() const { return update_count_; }
  virtual void BeginUpdate();
  // The last EndUpdate sends Changed.
  virtual void EndUpdate();
  // Panel repaint, axis ranges, visible range, OnChange (while visible and not updating).
  void Changed();
  // Brush, pen or font changed.
  virtual void StyleChanged();
  void ValueChanged(TZPChartValue* Value) override;
  void ValueVisibleChanged(TZPChartValue& Value) override;
  void ValueSelectionChanged(TZPChartValue& Value) override;

  // ---- drawing (the panel calls these) ----
  // Visible and bound to both axes.
  virtual bool CanDraw() const;
  // OnDrawing, DrawChart, OnDraw; Rect is the plot area.
  virtual void Draw(TCanvas& Canvas, const TRect& Rect);
  // Text of a value label in Style: caption, number (the vertical axis'
  // Format, four decimals without one), percent of the absolute sum.
  virtual std::string ValueLabelText(const TZPChartValue& Value, TZPLegendTextStyle Style) const;
  // The label of Value centred above (X, Y), not clipped.
  virtual void DrawValueLabel(TCanvas& Canvas, const TZPChartValue& Value, int Y, int X);
  virtual void DrawValueLabelInRect(TCanvas& Canvas, const TZPChartValue& Value, const TRect& R);
  virtual void DrawLabel(TCanvas& Canvas, const std::string& Text, int Y, int X);
  // Word-broken with an ellipsis, inside R.
  virtual void DrawLabelInRect(TCanvas& Canvas, const std::string& Text, const TRect& R);

  // ---- hit tests (pixel rectangles over the panel's plot area) ----
  // Each visible value in the index range: Selected := its hit test.
  virtual void SelectValues(const TRect& Rect, int Mode);
  // What the panel calls for every visible series; the same as SelectValues.
  virtual void SelectInRect(const TRect& Rect, int Mode);
  // Some visible value of the index range lies in Rect.
  virtual bool HasValueIn(const TRect& Rect) const;
  // Over a value: the panel's cursor becomes HoverCursor.
  virtual void MouseOver(const TRect& Rect);

  // ---- what the legend reads ----
  int ValueCount() const override { return values_->Count(); }
  bool ValueVisible(int Index) const override { return values_->Items(Index).Visible(); }
  TColor ValueColor(int Index) const override { return values_->Items(Index).Color(); }
  std::string ValueLabelText(int Index, TZPLegendTextStyle Style) const override {
    return ValueLabelText(values_->Items(Index), Style);
  }

  // From another series, in one update bracket: caption, cursor, flags,
  // brush, options, offset, axes, group, font, pen, values, preview, labels.
  void Assign(const TPersistent& Source) override;

  TZPChartSeriesDrawingEvent OnDrawing;
  TZPChartSeriesDrawEvent OnDraw;
  TZPChartNotifyEvent OnChange;
  TZPChartValueEvent2 OnValueChange;
  TZPChartValueEvent2 OnValueVisibleChange;
  TZPChartValueEvent2 OnValueSelectionChange;

 protected:
  // Owner is only tracked; a panel owner becomes the parent. The most
  // derived constructor calls Initialize().
  explicit TZPCustomChart(TComponent* Owner);
  // Defaults, then the brush, font and pen report to StyleChanged.
  void Initialize();
  virtual void InitializeDefaults();
  virtual std::unique_ptr<TBrush> CreateBrush() const;
  virtual std::unique_ptr<TFont> CreateFont() const;
  virtual std::unique_ptr<TPen> CreatePen() const;
  virtual std::unique_ptr<TZPChartValues> CreateValues();
  virtual TColor GetColor() const { return brush_->Color(); }
  virtual void DoSetColor(TColor Value) { brush_->SetColor(Value); }
  // Selects font, brush and pen; series types draw the rest.
  virtual void DrawChart(TCanvas& Canvas, const TRect& Rect);
  // Sample values while designing; the base has none.
  virtual void LoadPreviewData() {}
  void Notification(TComponent& AComponent, TOperation Operation) override;

  // Stores without notice (defaults).
  void StoreOptions(TChartOptions Value) { options_ = Value; }
  void StorePreview(bool Value) { preview_ = Value; }
  // Value-space rectangle of a pixel rectangle through the two axes; false
  // without a panel or an axis.
  bool ValueArea(const TRect& Rect, TFloatRect& Area) const;
  // The range FirstIndex..LastIndex clipped to the list.
  int DrawFirst() const;
  int DrawLast() const;

 private:
  void VisibilityChanged();
  void InvalidateAxes();
  void AttachToPanel();
  void AxisChanged(TZPChartAxis* Axis);
  bool Live() const { return visible_ && update_count_ == 0; }

  bool parent_font_ = true;
  int update_count_ = 0;
  std::unique_ptr<TBrush> brush_;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  TZPCustomChartPanel* parent_ = nullptr;  // not owned
  bool visible_ = true;
  TChartOptions options_;
  std::unique_ptr<TZPChartValues> values_;
  THorizontalAxis horiz_axis_ = THorizontalAxis::haBottomAxis;
  TZPChartAxis* vert_axis_object_ = nullptr;   // not owned
  TZPChartAxis* horiz_axis_object_ = nullptr;  // not owned
  TVerticalAxis vert_axis_ = TVerticalAxis::vaLeftAxis;
  std::string caption_;
  int group_ = 0;
  TZPGroupStyle group_style_ = TZPGroupStyle::gsNone;
  double offset_vertical_ = 0;
  bool preview_ = false;
  bool parent_selection_color_ = true;
  TColor selection_color_ = kDefaultSelectionColor;
  TCursor hover_cursor_ = crSizeAll;
  TZPLegendTextStyle value_label_style_ = TZPLegendTextStyle::ltsCaption;
  std::string value_label_format_ = "#,##0.###";
  int last_index_ = -1;
  int first_index_ = 0;
  int index_count_ = 0;
  // Every axis whose list holds this series, bound ones and copies alike.
  std::vector<TZPChartAxis*> holding_axes_;  // not owned
};

// Tag for the constructors that leave Initialize() to a more derived class.
struct TDeferInitialize {};

class TZPChart : public TZPCustomChart {
 public:
  explicit TZPChart(TComponent* Owner = nullptr) : TZPCustomChart(Owner) { Initialize(); }
  std::string ClassName() const override { return "TZPChart"; }

 protected:
  TZPChart(TComponent* Owner, TDeferInitialize) : TZPCustomChart(Owner) {}
};

}  // namespace zp::chart
