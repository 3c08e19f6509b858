#include "chart/qt/ChartRender.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "chart/qt/TQtCanvas.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"

namespace zp::chart {

namespace {

QString ToQString(const std::string& Text) { return QString::fromStdString(Text); }

std::string Bytes(const QByteArray& Data) { return std::string(Data.constData(), static_cast<size_t>(Data.size())); }

}  // namespace

QImage RenderChartImage(TZPCustomChartPanel& Panel, int Width, int Height, int Scale) {
  Width = std::max(Width, 1);
  Height = std::max(Height, 1);
  Scale = std::clamp(Scale, 1, 4);
  QImage image(Width * Scale, Height * Scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(Scale);
  image.fill(Qt::white);
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  // The layout is the Width x Height one, in device-independent pixels.
  Panel.Paint(canvas, Rect(0, 0, Width, Height));
  painter.end();
  return image;
}

std::string ChartPngBytes(TZPCustomChartPanel& Panel, int Width, int Height, int Scale) {
  const QImage image = RenderChartImage(Panel, Width, Height, Scale);
  QByteArray data;
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) throw Exception("the PNG encoder failed");
  return Bytes(data);
}

std::string ChartSvgBytes(TZPCustomChartPanel& Panel, int Width, int Height) {
  Width = std::max(Width, 1);
  Height = std::max(Height, 1);
  QByteArray data;
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::WriteOnly)) throw Exception("the SVG generator failed");
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(Width, Height));
    svg.setViewBox(QRect(0, 0, Width, Height));
    // Pixels and points relate as on screen, so texts take the room they take there.
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Chart"));
    QPainter painter;
    if (!painter.begin(&svg)) throw Exception("the SVG generator failed");
    TQtCanvas canvas(painter);
    Panel.Paint(canvas, Rect(0, 0, Width, Height));
    painter.end();
  }
  return Bytes(data);
}

// The picture is made whole in memory first: a write that fails part way
// (a full disk) is then seen, and the old file stays.
void SaveChartPng(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height, int Scale) {
  WriteFileAtomically(FileName, ChartPngBytes(Panel, Width, Height, Scale));
}

void SaveChartSvg(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height) {
  WriteFileAtomically(FileName, ChartSvgBytes(Panel, Width, Height));
}

void SaveChartFile(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height, int Scale) {
  const QString suffix = QFileInfo(ToQString(FileName)).suffix().toLower();
  if (suffix == QLatin1String("png"))
    SaveChartPng(Panel, FileName, Width, Height, Scale);
  else if (suffix == QLatin1String("svg"))
    SaveChartSvg(Panel, FileName, Width, Height);
  else
    throw Exception("cannot tell the picture type of \"" + FileName + "\": use a file name ending in .png or .svg");
}

}  // namespace zp::chart
