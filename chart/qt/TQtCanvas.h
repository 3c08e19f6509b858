// TQtCanvas: the drawing canvas over a QPainter (a widget, a QImage, an SVG
// generator). It keeps the canvas pixel conventions (right and bottom edges
// exclusive, lines without their end pixel), draws text rotated by the font's
// orientation, resolves system colours from the application palette and maps
// the faces "MS Sans Serif" and "Default" to the desktop's sans-serif font.
//
//   QImage img(800, 500, QImage::Format_RGB32);
//   QPainter p(&img);
//   zp::chart::TQtCanvas canvas(p);
//   legend.Draw(canvas, area);
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

#include "platform/Canvas.h"

class QPainter;

namespace zp::chart {

// A picture backed by a QImage, for pictures loaded from files.
class TQtImageGraphic : public TGraphic {
 public:
  explicit TQtImageGraphic(QImage Image) : image_(std::move(Image)) {}
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  const QImage& Image() const { return image_; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TQtImageGraphic>(*this); }

 private:
  QImage image_;
};

// A colour value as Qt sees it: system colours from the palette.
QColor ToQColor(TColor Color);
// A font as Qt draws it (point size, style, face mapping; rotation is applied when drawing).
QFont ToQFont(const TFont& Font);

class TQtCanvas : public TCanvas {
 public:
  // Painter is not owned and must outlive the canvas.
  explicit TQtCanvas(QPainter& Painter);

  void LineTo(int X, int Y) override;
  void Polyline(const TPoints& Points) override;
  void Polygon(const TPoints& Points) override;
  void Rectangle(const TRect& R) override;
  void RoundRect(const TRect& R, int CX, int CY) override;
  void Ellipse(const TRect& R) override;
  void FillRect(const TRect& R) override;
  void TextOut(int X, int Y, const std::string& Text) override;
  void TextRect(const TRect& R, int X, int Y, const std::string& Text) override;
  int DrawText(const std::string& Text, TRect& R, TTextFormat Format) override;
  TSize TextExtent(const std::string& Text) override;
  void SetClipRect(const TRect& R) override;
  void RemoveClip() override;
  void Draw(int X, int Y, const TGraphic& Graphic) override;
  void StretchDraw(const TRect& R, const TGraphic& Graphic) override;
  void DrawFocusRect(const TRect& R) override;
  void GradientFillTriangles(const std::vector<TTriVertex>& Vertices,
                             const std::vector<TGradientTriangle>& Triangles) override;

 private:
  struct PenKey {
    TColor color;
    int width;
    int style;
    bool operator==(const PenKey&) const = default;
  };
  void UsePen();
  void UseBrush();
  void UseFont();
  // The painter's image when it can be written directly, else nullptr.
  QImage* DirectImage() const;
  // The graphic as an image Qt can draw, transparency applied; null if unknown.
  QImage ImageOf(const TGraphic& Graphic) const;

  QPainter& painter_;  // not owned
  bool pen_applied_ = false;
  PenKey applied_pen_{};
};

}  // namespace zp::chart
