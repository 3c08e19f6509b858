#include "chart/ZPChartGraphic.h"

namespace zp::chart {

TZPChartGraphic::~TZPChartGraphic() {
  // The owner is being torn down with us: tell nobody.
  OnChange = nullptr;
  OnDraw = nullptr;
  OnDrawing = nullptr;
}

void TZPChartGraphic::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  Changed();
}

void TZPChartGraphic::Draw(TCanvas& Canvas, const TRect& Rect) {
  if (!DoDrawing(Canvas, Rect)) return;
  DrawGraphic(Canvas, Rect);
  DoDraw(Canvas, Rect);
}

void TZPChartGraphic::Changed() { DoChange(); }

void TZPChartGraphic::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartGraphic*>(&Source)) {
    visible_ = src->visible_;
    return;
  }
  TPersistent::Assign(Source);
}

void TZPChartGraphic::DoChange() {
  if (OnChange) OnChange(*this);
}

bool TZPChartGraphic::DoDrawing(TCanvas& Canvas, const TRect& Rect) {
  bool do_draw = true;
  if (OnDrawing) OnDrawing(*this, Canvas, Rect, do_draw);
  return do_draw;
}

void TZPChartGraphic::DoDraw(TCanvas& Canvas, const TRect& Rect) {
  if (OnDraw) OnDraw(*this, Canvas, Rect);
}

void TZPChartGraphic::ObjectChanged(TPersistent& /*Sender*/) { DoChange(); }

void TZPChartGraphic::TileDraw(TCanvas& Canvas, const TRect& Rect, int X0, int Y0, const TGraphic& Graphic) {
  const int w = Graphic.Width(), h = Graphic.Height();
  if (w <= 0 || h <= 0) return;
  for (int x = X0; x < Rect.Right; x += w)
    for (int y = Y0; y < Rect.Bottom; y += h) Canvas.Draw(x, y, Graphic);
}

void TZPChartGraphic::TileStretch(TCanvas& Canvas, const TRect& Rect, int X0, int Y0, int TileWidth, int TileHeight,
                                  const TGraphic& Graphic) {
  if (TileWidth <= 0 || TileHeight <= 0) return;
  for (int x = X0; x < Rect.Right; x += TileWidth)
    for (int y = Y0; y < Rect.Bottom; y += TileHeight)
      Canvas.StretchDraw({x, y, x + TileWidth, y + TileHeight}, Graphic);
}

}  // namespace zp::chart
