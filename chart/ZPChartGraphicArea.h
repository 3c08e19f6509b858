// TZPChartGraphicArea: a chart element with a brush (button face, solid) and
// a pen (black, solid, 1) that it selects before its descendants draw.
// TZPChartImageArea: an area that also places a picture by its image options.
#pragma once

#include "chart/ZPChartGraphic.h"
#include "platform/Set.h"

namespace zp::chart {

class TZPChartGraphicArea : public TZPChartGraphic {
 public:
  TZPChartGraphicArea();
  std::string ClassName() const override { return "TZPChartGraphicArea"; }

  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  // Copies into the owned brush.
  void SetBrush(const TBrush& Value) { brush_.Assign(Value); }
  TPen& Pen() { return pen_; }
  const TPen& Pen() const { return pen_; }
  void SetPen(const TPen& Value) { pen_.Assign(Value); }

  // From another area: Brush, Pen, then Visible.
  void Assign(const TPersistent& Source) override;

 protected:
  // Selects Brush and Pen into the canvas; draws nothing itself.
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;

 private:
  TBrush brush_;
  TPen pen_;
};

enum class TImageOption { ioCenter, ioStretch, ioProportional, ioTiled, ioTransparent };
using TImageOptions = Set<TImageOption>;

class TZPChartImageArea : public TZPChartGraphicArea {
 public:
  TZPChartImageArea();
  std::string ClassName() const override { return "TZPChartImageArea"; }

  TPicture& Image() { return image_; }
  const TPicture& Image() const { return image_; }
  // Copies the picture.
  void SetImage(const TPicture& Value) { image_.Assign(Value); }
  // Default [ioCenter, ioProportional]; stores and notifies when different.
  TImageOptions ImageOptions() const { return image_options_; }
  virtual void SetImageOptions(TImageOptions Value);

  // The rectangle the picture takes in Rect: stretched (ioStretch, or ioProportional
  // with a picture larger than Rect) keeping the aspect ratio under ioProportional,
  // centred with ioCenter. Empty picture: Rect's top-left with size 0.
  TRect PictureRect(const TRect& Rect) const;

  // From another image area: ImageOptions, Image, then the area's fields.
  void Assign(const TPersistent& Source) override;

 protected:
  // Brush and pen selected, then the picture (tiled with ioTiled).
  void DrawGraphic(TCanvas& Canvas, const TRect& Rect) override;
  // A new picture takes the transparency ioTransparent asks for.
  void ObjectChanged(TPersistent& Sender) override;
  void StoreImageOptions(TImageOptions Value) { image_options_ = Value; }

 private:
  TPicture image_;
  TImageOptions image_options_{TImageOption::ioCenter, TImageOption::ioProportional};
};

}  // namespace zp::chart
