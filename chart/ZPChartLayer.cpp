#include "chart/ZPChartLayer.h"

namespace zp::chart {

TZPChartLayer::TZPChartLayer() {
  brush_.OnChange = [this](TBrush& b) { ObjectChanged(b); };
  pen_.OnChange = [this](TPen& p) { ObjectChanged(p); };
  image_.OnChange = [this](TPicture& p) { ObjectChanged(p); };
}

void TZPChartLayer::SetImageMode(TImageMode Value) {
  if (image_mode_ == Value) return;
  image_mode_ = Value;
  DoChange();
}

void TZPChartLayer::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  Canvas.Brush().Assign(brush_);
  Canvas.FillRect(Rect);
  const TGraphic* g = image_.Graphic();
  if (!g) return;
  const int w = g->Width(), h = g->Height();
  const int x0 = Rect.Left + Rect.Width() / 2 - w / 2;
  const int y0 = Rect.Top + Rect.Height() / 2 - h / 2;
  switch (image_mode_) {
    case TImageMode::imCenter:
      Canvas.Draw(x0, y0, *g);
      break;
    case TImageMode::imLeft:
      Canvas.Draw(0, y0, *g);
      break;
    case TImageMode::imRight:
      Canvas.Draw(Rect.Right - w, y0, *g);
      break;
    case TImageMode::imTop:
      Canvas.Draw(x0, 0, *g);
      break;
    case TImageMode::imBottom:
      Canvas.Draw(x0, Rect.Bottom - h, *g);
      break;
    case TImageMode::imStretch:
      Canvas.StretchDraw(Rect, *g);
      break;
    case TImageMode::imTile:
      TileDraw(Canvas, Rect, 0, 0, *g);
      break;
  }
}

void TZPChartLayer::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartLayer*>(&Source)) {
    brush_.Assign(src->brush_);
    image_mode_ = src->image_mode_;
    pen_.Assign(src->pen_);
    image_.Assign(src->image_);
  }
  TZPChartGraphic::Assign(Source);
}

}  // namespace zp::chart
