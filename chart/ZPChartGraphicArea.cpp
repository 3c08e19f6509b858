#include "chart/ZPChartGraphicArea.h"

namespace zp::chart {

TZPChartGraphicArea::TZPChartGraphicArea() {
  brush_.SetColor(clBtnFace);
  brush_.SetStyle(TBrushStyle::bsSolid);
  brush_.OnChange = [this](TBrush& b) { ObjectChanged(b); };
  pen_.OnChange = [this](TPen& p) { ObjectChanged(p); };
}

void TZPChartGraphicArea::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartGraphicArea*>(&Source)) {
    brush_.Assign(src->brush_);
    pen_.Assign(src->pen_);
  }
  TZPChartGraphic::Assign(Source);
}

void TZPChartGraphicArea::DrawGraphic(TCanvas& Canvas, const TRect& /*Rect*/) {
  Canvas.Brush().Assign(brush_);
  Canvas.Pen().Assign(pen_);
}

TZPChartImageArea::TZPChartImageArea() {
  image_.OnChange = [this](TPicture& p) { ObjectChanged(p); };
}

void TZPChartImageArea::SetImageOptions(TImageOptions Value) {
  if (image_options_ == Value) return;
  image_options_ = Value;
  DoChange();
}

TRect TZPChartImageArea::PictureRect(const TRect& Rect) const {
  using enum TImageOption;
  int w = image_.Width(), h = image_.Height();
  const int rw = Rect.Width(), rh = Rect.Height();
  const bool proportional = image_options_.Contains(ioProportional);
  if (image_options_.Contains(ioStretch) || (proportional && (rw < w || rh < h))) {
    if (proportional && w > 0 && h > 0) {
      const double ratio = static_cast<double>(w) / h;
      if (w > h) {
        h = static_cast<int>(rw / ratio);
        w = rw;
        if (rh < h) {
          w = static_cast<int>(ratio * rh);
          h = rh;
        }
      } else {
        w = static_cast<int>(ratio * rh);
        h = rh;
        if (rw < w) {
          h = static_cast<int>(rw / ratio);
          w = rw;
        }
      }
    } else {
      w = rw;
      h = rh;
    }
  }
  TRect p{Rect.Left, Rect.Top, Rect.Left + w, Rect.Top + h};
  if (image_options_.Contains(ioCenter)) {
    const int dx = (rw - w) / 2, dy = (rh - h) / 2;
    p = {p.Left + dx, p.Top + dy, p.Right + dx, p.Bottom + dy};
  }
  return p;
}

void TZPChartImageArea::DrawGraphic(TCanvas& Canvas, const TRect& Rect) {
  TZPChartGraphicArea::DrawGraphic(Canvas, Rect);
  const TGraphic* g = image_.Graphic();
  if (!g) return;
  const TRect p = PictureRect(Rect);
  if (image_options_.Contains(TImageOption::ioTiled))
    TileStretch(Canvas, Rect, Rect.Left, Rect.Top, p.Width(), p.Height(), *g);
  else
    Canvas.StretchDraw(p, *g);
}

void TZPChartImageArea::ObjectChanged(TPersistent& Sender) {
  if (&Sender == &image_) {
    if (TGraphic* g = image_.Graphic(); g && g->SupportsTransparentSwitch())
      g->SetTransparent(image_options_.Contains(TImageOption::ioTransparent));
    DoChange();
    return;
  }
  TZPChartGraphicArea::ObjectChanged(Sender);
}

void TZPChartImageArea::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TZPChartImageArea*>(&Source)) {
    image_options_ = src->image_options_;
    image_.Assign(src->image_);
  }
  TZPChartGraphicArea::Assign(Source);
}

}  // namespace zp::chart
