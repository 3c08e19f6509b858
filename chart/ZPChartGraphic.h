// TZPChartGraphic: the base of every drawable chart element: visibility, a
// change notification to its owner, and the drawing/draw event pair fired
// around the element's own drawing. Plus the tiling helpers layers and
// picture areas use.
//
//   element.OnDrawing = [](auto&, TCanvas&, TRect, bool& DoDraw) { DoDraw = false; };
//   element.Draw(canvas, rect);   // skipped: neither drawn nor OnDraw fired
//
// Each element's constructor creates its owned objects, sets its defaults
// and points their change events at ObjectChanged.
#pragma once

#include <functional>

#include "platform/Canvas.h"
#include "platform/Persistent.h"

namespace zp::chart {

class TZPChartGraphic;

// Fired after an element drew itself.
using TZPChartDrawEvent = std::function<void(TZPChartGraphic& Sender, TCanvas& Canvas, TRect ARect)>;
// Fired before; setting DoDraw to false skips the element and its draw event.
using TZPChartDrawingEvent = std::function<void(TZPChartGraphic& Sender, TCanvas& Canvas, TRect ARect, bool& DoDraw)>;

class TZPChartGraphic : public TPersistent {
 public:
  ~TZPChartGraphic() override;
  TZPChartGraphic(const TZPChartGraphic&) = delete;
  TZPChartGraphic& operator=(const TZPChartGraphic&) = delete;
  std::string ClassName() const override { return "TZPChartGraphic"; }

  // Default true; callers test it before calling Draw.
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);

  // The drawing event, then (unless cancelled) DrawGraphic and the draw event.
  virtual void Draw(TCanvas& Canvas, const TRect& Rect);
  // Calls DoChange; overridden where a change must reach further.
  virtual void Changed();

  // From another element: Visible, without notification. Other sources raise
  // the assignment error.
  void Assign(const TPersistent& Source) override;

  // The owner's change notification (Sender = this element).
  std::function<void(TZPChartGraphic& Sender)> OnChange;
  TZPChartDrawEvent OnDraw;
  TZPChartDrawingEvent OnDrawing;

 protected:
  TZPChartGraphic() = default;

  // The element's own drawing.
  virtual void DrawGraphic(TCanvas& Canvas, const TRect& Rect) = 0;
  // Fires OnChange if assigned.
  virtual void DoChange();
  // Fires OnDrawing; returns whether to draw.
  virtual bool DoDrawing(TCanvas& Canvas, const TRect& Rect);
  virtual void DoDraw(TCanvas& Canvas, const TRect& Rect);
  // An owned object (pen, brush, font, picture, ...) changed.
  virtual void ObjectChanged(TPersistent& Sender);

  // Graphic unscaled in a grid from (X0, Y0) while inside Rect's right and bottom.
  static void TileDraw(TCanvas& Canvas, const TRect& Rect, int X0, int Y0, const TGraphic& Graphic);
  // Graphic stretched into TileWidth x TileHeight tiles from (X0, Y0); nothing for non-positive tiles.
  static void TileStretch(TCanvas& Canvas, const TRect& Rect, int X0, int Y0, int TileWidth, int TileHeight,
                          const TGraphic& Graphic);

 private:
  bool visible_ = true;
};

}  // namespace zp::chart
