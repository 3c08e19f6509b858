#include "chart/qt/ChartRender.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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

std::string ChartPdfBytes(TZPCustomChartPanel& Panel, int Width, int Height) {
  Width = std::max(Width, 1);
  Height = std::max(Height, 1);
  QByteArray data;
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::WriteOnly)) throw Exception("the PDF writer failed");
  {
    QPdfWriter pdf(&buffer);
    pdf.setCreator(QStringLiteral("nqueens-ga"));
    pdf.setTitle(QStringLiteral("Chart"));
    // A page of the picture's size, 96 pixels to the inch as on screen, without margins.
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QSizeF(Width * 72.0 / 96, Height * 72.0 / 96), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&pdf)) throw Exception("the PDF writer failed");
    TQtCanvas canvas(painter);
    Panel.Paint(canvas, Rect(0, 0, Width, Height));
    painter.end();
  }
  std::string bytes = Bytes(data);
  // "/CreationDate (D:YYYYMMDDHHmmSS...": the date's digits are overwritten in place, so offsets stay.
  const std::string key = "/CreationDate (";
  for (size_t at = bytes.find(key); at != std::string::npos; at = bytes.find(key, at + 1)) {
    const std::string_view fixed(kFixedPdfDate);
    if (bytes.compare(at + key.size(), 2, "D:") == 0) bytes.replace(at + key.size(), fixed.size(), fixed);
  }
  return bytes;
}

// The picture is made whole in memory first: a write that fails part way
// (a full disk) is then seen, and the old file stays.
void SaveChartPng(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height, int Scale) {
  WriteFileAtomically(FileName, ChartPngBytes(Panel, Width, Height, Scale));
}

void SaveChartSvg(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height) {
  WriteFileAtomically(FileName, ChartSvgBytes(Panel, Width, Height));
}

void SaveChartPdf(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height) {
  WriteFileAtomically(FileName, ChartPdfBytes(Panel, Width, Height));
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
