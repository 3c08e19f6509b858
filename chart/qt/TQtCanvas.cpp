#include "chart/qt/TQtCanvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "platform/Numbers.h"

namespace zp::chart {

namespace {

QString ToQString(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QPalette AppPalette() { return qGuiApp ? QGuiApplication::palette() : QPalette(); }

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

}  // namespace

QColor ToQColor(TColor Color) {
  if (!IsSystemColor(Color)) return QColor(GetRValue(Color), GetGValue(Color), GetBValue(Color));
  const QPalette pal = AppPalette();
  switch (SystemColorIndex(Color)) {
    case 5:
      return pal.color(QPalette::Base);
    case 8:
      return pal.color(QPalette::WindowText);
    case 10:
      return pal.color(QPalette::Active, QPalette::Mid);  // active window border
    case 11:
      return pal.color(QPalette::Inactive, QPalette::Midlight);  // inactive window border
    case 13:
      return pal.color(QPalette::Highlight);
    case 14:
      return pal.color(QPalette::HighlightedText);
    case 15:
      return pal.color(QPalette::Button);  // button face
    case 16:
      return pal.color(QPalette::Dark);
    case 17:
      return pal.color(QPalette::Disabled, QPalette::Text);
    case 18:
      return pal.color(QPalette::ButtonText);
    case 20:
      return pal.color(QPalette::Light);  // button highlight
    default:
      return pal.color(QPalette::WindowText);
  }
}

QFont ToQFont(const TFont& Font) {
  const std::string& face = Font.FaceName();
  QFont f;
  if (SameText(face, "MS Sans Serif") || SameText(face, "Default") || SameText(face, kDefaultFaceName))
    f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  else
    f.setFamily(ToQString(face));
  // Pixel height keeps the layout the canvas measures equal to what it draws.
  f.setPixelSize(std::max(1, std::abs(Font.Height())));
  f.setBold(Font.Style().Contains(TFontStyle::fsBold));
  f.setItalic(Font.Style().Contains(TFontStyle::fsItalic));
  f.setUnderline(Font.Style().Contains(TFontStyle::fsUnderline));
  f.setStrikeOut(Font.Style().Contains(TFontStyle::fsStrikeOut));
  if (Font.Pitch() == TFontPitch::fpFixed) f.setFixedPitch(true);
  return f;
}

TQtCanvas::TQtCanvas(QPainter& Painter) : painter_(Painter) { painter_.setRenderHint(QPainter::Antialiasing, false); }

void TQtCanvas::UsePen() {
  const TPen& p = Pen();
  // A chart draws thousands of segments with one pen: hand Qt a new pen only
  // when it differs. Every other pen change here sits inside save/restore.
  const PenKey key{p.Color(), p.Width(), static_cast<int>(p.Style())};
  if (pen_applied_ && key == applied_pen_) return;
  pen_applied_ = true;
  applied_pen_ = key;
  if (p.Style() == TPenStyle::psClear) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  QPen qp(ToQColor(p.Color()));
  qp.setWidth(p.Width() > 1 ? p.Width() : 0);  // 0: one-pixel cosmetic lines
  switch (p.Style()) {
    case TPenStyle::psDash:
      qp.setStyle(Qt::DashLine);
      break;
    case TPenStyle::psDot:
      qp.setStyle(Qt::DotLine);
      break;
    case TPenStyle::psDashDot:
      qp.setStyle(Qt::DashDotLine);
      break;
    case TPenStyle::psDashDotDot:
      qp.setStyle(Qt::DashDotDotLine);
      break;
    default:
      qp.setStyle(Qt::SolidLine);
      break;
  }
  painter_.setPen(qp);
}

void TQtCanvas::UseBrush() {
  const TBrush& b = Brush();
  Qt::BrushStyle style = Qt::SolidPattern;
  switch (b.Style()) {
    case TBrushStyle::bsClear:
      style = Qt::NoBrush;
      break;
    case TBrushStyle::bsHorizontal:
      style = Qt::HorPattern;
      break;
    case TBrushStyle::bsVertical:
      style = Qt::VerPattern;
      break;
    case TBrushStyle::bsFDiagonal:
      style = Qt::FDiagPattern;
      break;
    case TBrushStyle::bsBDiagonal:
      style = Qt::BDiagPattern;
      break;
    case TBrushStyle::bsCross:
      style = Qt::CrossPattern;
      break;
    case TBrushStyle::bsDiagCross:
      style = Qt::DiagCrossPattern;
      break;
    default:
      break;
  }
  painter_.setBrush(QBrush(ToQColor(b.Color()), style));
}

void TQtCanvas::UseFont() { painter_.setFont(ToQFont(Font())); }

void TQtCanvas::LineTo(int X, int Y) {
  const TPoint from = PenPos();
  MoveTo(X, Y);
  if (from.X == X && from.Y == Y) return;
  UsePen();
  // Leave out the end pixel: shorten the line by one pixel along its major axis.
  const int dx = X - from.X, dy = Y - from.Y;
  const double len = std::max(std::abs(dx), std::abs(dy));
  painter_.drawLine(QPointF(from.X, from.Y), QPointF(X - dx / len, Y - dy / len));
}

void TQtCanvas::Polyline(const TPoints& Points) {
  if (Points.size() < 2) return;
  UsePen();
  if (Points.size() == 2) {
    painter_.drawLine(Points[0].X, Points[0].Y, Points[1].X, Points[1].Y);
    return;
  }
  QPolygon poly;
  for (const auto& p : Points) poly << QPoint(p.X, p.Y);
  painter_.drawPolyline(poly);
}

void TQtCanvas::Polygon(const TPoints& Points) {
  if (Points.size() < 2) return;
  UsePen();
  UseBrush();
  QPolygon poly;
  for (const auto& p : Points) poly << QPoint(p.X, p.Y);
  painter_.drawPolygon(poly);
}

void TQtCanvas::Rectangle(const TRect& R) {
  if (R.IsEmpty()) return;
  UseBrush();
  if (Brush().Style() != TBrushStyle::bsClear) painter_.fillRect(ToQRect(R), painter_.brush());
  if (Pen().Style() == TPenStyle::psClear) return;
  UsePen();
  painter_.setBrush(Qt::NoBrush);
  // A one-pixel outline on the rectangle's outermost pixels.
  painter_.drawRect(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
}

void TQtCanvas::RoundRect(const TRect& R, int CX, int CY) {
  if (R.IsEmpty()) return;
  UsePen();
  UseBrush();
  painter_.drawRoundedRect(QRectF(R.Left, R.Top, R.Width() - 1, R.Height() - 1), CX / 2.0, CY / 2.0);
}

void TQtCanvas::Ellipse(const TRect& R) {
  if (R.IsEmpty()) return;
  UsePen();
  UseBrush();
  painter_.drawEllipse(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
}

QImage* TQtCanvas::DirectImage() const {
  // Plain 32-bit images without transform or clip can be written directly,
  // which keeps gradients of thousands of thin strips cheap. An image for a
  // high-density screen has more pixels than the chart has coordinates: Qt
  // scales what is painted into it, so it goes through the painter too.
  QPaintDevice* device = painter_.device();
  if (!device || device->devType() != QInternal::Image || painter_.hasClipping() ||
      !painter_.transform().isIdentity() || painter_.compositionMode() != QPainter::CompositionMode_SourceOver)
    return nullptr;
  auto* img = static_cast<QImage*>(device);
  if (img->devicePixelRatio() != 1) return nullptr;
  const auto f = img->format();
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied ? img
                                                                                                             : nullptr;
}

void TQtCanvas::FillRect(const TRect& R) {
  if (R.IsEmpty() || Brush().Style() == TBrushStyle::bsClear) return;
  if (Brush().Style() == TBrushStyle::bsSolid) {
    if (QImage* img = DirectImage()) {
      const int l = std::max(R.Left, 0), t = std::max(R.Top, 0);
      const int r = std::min(R.Right, img->width()), b = std::min(R.Bottom, img->height());
      const QRgb px = ToQColor(Brush().Color()).rgb();
      if (r <= l) return;
      uchar* bits = img->bits();
      const qsizetype stride = img->bytesPerLine();
      for (int y = t; y < b; ++y) std::fill_n(reinterpret_cast<QRgb*>(bits + y * stride) + l, r - l, px);
      return;
    }
    painter_.fillRect(ToQRect(R), ToQColor(Brush().Color()));
    return;
  }
  UseBrush();
  painter_.fillRect(ToQRect(R), painter_.brush());
}

void TQtCanvas::TextOut(int X, int Y, const std::string& Text) {
  if (Text.empty()) return;
  UseFont();
  const QString s = ToQString(Text);
  const QFontMetrics fm(painter_.font());
  painter_.save();
  painter_.translate(X, Y);
  if (Font().Orientation() != 0) painter_.rotate(-Font().Orientation() / 10.0);
  // An opaque brush paints the text's background, as on the desktop canvas.
  if (Brush().Style() != TBrushStyle::bsClear)
    painter_.fillRect(QRect(0, 0, fm.horizontalAdvance(s), fm.height()), ToQColor(Brush().Color()));
  painter_.setPen(ToQColor(Font().Color()));
  painter_.drawText(QPoint(0, fm.ascent()), s);
  painter_.restore();
}

void TQtCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
  painter_.save();
  painter_.setClipRect(ToQRect(R), Qt::IntersectClip);
  TextOut(X, Y, Text);
  painter_.restore();
}

int TQtCanvas::DrawText(const std::string& Text, TRect& R, TTextFormat Format) {
  UseFont();
  int flags = 0;
  flags |= (Format & DT_CENTER) ? Qt::AlignHCenter : (Format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  // Vertical placement applies to single-line text only, as on the desktop.
  if (Format & DT_SINGLELINE)
    flags |= (Format & DT_VCENTER) ? Qt::AlignVCenter : (Format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  else
    flags |= Qt::AlignTop;
  if ((Format & DT_WORDBREAK) && !(Format & DT_SINGLELINE)) flags |= Qt::TextWordWrap;
  if (Format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
  QString s = ToQString(Text);
  s.remove(QChar('\r'));
  const QFontMetrics fm(painter_.font());
  const QRect bounds = fm.boundingRect(ToQRect(R), flags, s);
  if (Format & DT_CALCRECT) {
    R.Right = R.Left + bounds.width();
    R.Bottom = R.Top + bounds.height();
    return bounds.height();
  }
  painter_.save();
  if (!(Format & DT_NOCLIP)) painter_.setClipRect(ToQRect(R), Qt::IntersectClip);
  if (Brush().Style() != TBrushStyle::bsClear) painter_.fillRect(bounds, ToQColor(Brush().Color()));
  painter_.setPen(ToQColor(Font().Color()));
  // A zero-size rectangle with no clipping still places the text around its point.
  QRect target = ToQRect(R);
  if (target.width() <= 0 || target.height() <= 0) target = bounds;
  painter_.drawText(target, flags, s);
  painter_.restore();
  return bounds.height();
}

TSize TQtCanvas::TextExtent(const std::string& Text) {
  const QFontMetrics fm(ToQFont(Font()));
  return {fm.horizontalAdvance(ToQString(Text)), fm.height()};
}

void TQtCanvas::SetClipRect(const TRect& R) {
  TCanvas::SetClipRect(R);
  painter_.setClipRect(ToQRect(R), Qt::ReplaceClip);
}

void TQtCanvas::RemoveClip() {
  TCanvas::RemoveClip();
  painter_.setClipping(false);
}

QImage TQtCanvas::ImageOf(const TGraphic& Graphic) const {
  QImage img;
  if (const auto* q = dynamic_cast<const TQtImageGraphic*>(&Graphic)) {
    img = q->Image().convertToFormat(QImage::Format_ARGB32);
  } else if (const auto* b = dynamic_cast<const TBitmapGraphic*>(&Graphic)) {
    img = QImage(b->Width(), b->Height(), QImage::Format_ARGB32);
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x) img.setPixelColor(x, y, ToQColor(b->Pixel(x, y)));
  } else {
    return {};
  }
  if (Graphic.Transparent() && !img.isNull()) {
    // The bottom-left pixel's colour is the transparent one.
    const QRgb key = img.pixel(0, img.height() - 1);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) == key) img.setPixel(x, y, 0);
  }
  return img;
}

void TQtCanvas::Draw(int X, int Y, const TGraphic& Graphic) {
  const QImage img = ImageOf(Graphic);
  if (!img.isNull()) painter_.drawImage(QPoint(X, Y), img);
}

void TQtCanvas::StretchDraw(const TRect& R, const TGraphic& Graphic) {
  const QImage img = ImageOf(Graphic);
  if (!img.isNull() && !R.IsEmpty()) painter_.drawImage(ToQRect(R), img);
}

void TQtCanvas::DrawFocusRect(const TRect& R) {
  if (R.IsEmpty()) return;
  painter_.save();
  QPen pen(Qt::black);
  pen.setStyle(Qt::DotLine);
  pen.setWidth(0);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter_.drawRect(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
  painter_.restore();
}

void TQtCanvas::GradientFillTriangles(const std::vector<TTriVertex>& Vertices,
                                      const std::vector<TGradientTriangle>& Triangles) {
  for (const auto& t : Triangles) {
    if (t.Vertex1 >= Vertices.size() || t.Vertex2 >= Vertices.size() || t.Vertex3 >= Vertices.size()) continue;
    const TTriVertex& a = Vertices[t.Vertex1];
    const TTriVertex& b = Vertices[t.Vertex2];
    const TTriVertex& c = Vertices[t.Vertex3];
    const int left = std::min({a.X, b.X, c.X}), right = std::max({a.X, b.X, c.X});
    const int top = std::min({a.Y, b.Y, c.Y}), bottom = std::max({a.Y, b.Y, c.Y});
    const double area = static_cast<double>(b.X - a.X) * (c.Y - a.Y) - static_cast<double>(c.X - a.X) * (b.Y - a.Y);
    if (area == 0 || right <= left || bottom <= top) continue;
    QImage* direct = DirectImage();
    QImage img;
    if (!direct) {
      img = QImage(right - left, bottom - top, QImage::Format_ARGB32_Premultiplied);
      img.fill(Qt::transparent);
    }
    // Barycentric weights change linearly along a row: step them per pixel.
    const double wa_dx = (b.Y - c.Y) / area, wb_dx = (c.Y - a.Y) / area;
    for (int y = top; y < bottom; ++y) {
      if (direct && (y < 0 || y >= direct->height())) continue;
      QRgb* line =
          direct ? reinterpret_cast<QRgb*>(direct->scanLine(y)) + left : reinterpret_cast<QRgb*>(img.scanLine(y - top));
      const double py = y + 0.5, px0 = left + 0.5;
      double wa = ((b.X - px0) * (c.Y - py) - (c.X - px0) * (b.Y - py)) / area;
      double wb = ((c.X - px0) * (a.Y - py) - (a.X - px0) * (c.Y - py)) / area;
      for (int x = left; x < right; ++x, wa += wa_dx, wb += wb_dx) {
        const double wc = 1 - wa - wb;
        constexpr double eps = -1e-9;
        if (wa < eps || wb < eps || wc < eps) continue;
        if (direct && (x < 0 || x >= direct->width())) continue;
        auto ch = [&](uint16_t va, uint16_t vb, uint16_t vc) {
          return std::clamp(static_cast<int>((wa * va + wb * vb + wc * vc) / 256.0), 0, 255);
        };
        line[x - left] = qRgb(ch(a.Red, b.Red, c.Red), ch(a.Green, b.Green, c.Green), ch(a.Blue, b.Blue, c.Blue));
      }
    }
    if (!direct) painter_.drawImage(QPoint(left, top), img);
  }
}

}  // namespace zp::chart
