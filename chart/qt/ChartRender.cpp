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

// The writer stamps the document with the time of writing: it becomes
// 2000-01-01 00:00 UTC, written in as many characters, so that the byte
// offsets the file's index holds stay right.
void FixPdfCreationDate(QByteArray& Pdf) {
  static const QByteArray kKey = QByteArrayLiteral("/CreationDate (D:");
  const qsizetype at = Pdf.indexOf(kKey);
  if (at < 0) return;
  const qsizetype from = at + kKey.size();
  const qsizetype end = Pdf.indexOf(')', from);
  if (end < 0) return;
  static const char kFixed[] = "20000101000000";
  for (qsizetype i = from; i < end; ++i) {
    const qsizetype k = i - from;
    if (k < 14)
      Pdf[i] = kFixed[k];
    else if (Pdf[i] >= '0' && Pdf[i] <= '9')
      Pdf[i] = '0';  // the zone's offset, if any: +00'00'
  }
}

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
    pdf.setTitle(QStringLiteral("Chart"));
    pdf.setCreator(QStringLiteral("nqueens"));
    // 96 pixels per inch as on screen, so that texts take the room they take there.
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QSizeF(Width * 0.75, Height * 0.75), QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&pdf)) throw Exception("the PDF writer failed");
    TQtCanvas canvas(painter);
    Panel.Paint(canvas, Rect(0, 0, Width, Height));
    painter.end();
  }
  FixPdfCreationDate(data);
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
