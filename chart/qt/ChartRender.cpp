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

// Qt dates a PDF now, in local time ("D:20241231235959Z", or "...+01'00'" away from UTC):
// the date is replaced by kFixedPdfDate and the cross-reference offsets after it move
// by the difference in length, so that the file stays valid.
std::string WithFixedCreationDate(std::string Pdf) {
  const std::string key = "/CreationDate (";
  const size_t begin = Pdf.find(key);
  if (begin == std::string::npos) return Pdf;
  const size_t first = begin + key.size(), end = Pdf.find(')', first);
  if (end == std::string::npos) return Pdf;
  const std::string_view fixed(kFixedPdfDate);
  const auto delta = static_cast<long long>(fixed.size()) - static_cast<long long>(end - first);
  Pdf.replace(first, end - first, fixed);
  if (delta == 0) return Pdf;
  auto shift = [&](size_t at, size_t digits) {
    const long long offset = std::stoll(Pdf.substr(at, digits));
    if (offset <= static_cast<long long>(first)) return;
    std::string text = std::to_string(offset + delta);
    if (digits == 10) text = std::string(10 - std::min<size_t>(text.size(), 10), '0') + text;
    Pdf.replace(at, digits, text);
  };
  // The table: "xref", then "0 N", then N entries of 20 bytes, each starting with a 10-digit offset.
  const size_t xref = Pdf.rfind("\nxref\n");
  if (xref != std::string::npos) {
    size_t line = xref + 6;
    const size_t header_end = Pdf.find('\n', line);
    const size_t space = Pdf.find(' ', line);
    if (header_end != std::string::npos && space != std::string::npos && space < header_end) {
      const size_t count = std::stoull(Pdf.substr(space + 1, header_end - space - 1));
      for (size_t i = 0, entry = header_end + 1; i < count && entry + 20 <= Pdf.size(); ++i, entry += 20)
        if (Pdf[entry + 17] == 'n') shift(entry, 10);
    }
  }
  const size_t start = Pdf.rfind("startxref\n");
  if (start != std::string::npos) {
    const size_t digits_at = start + 10, digits_end = Pdf.find_first_not_of("0123456789", digits_at);
    if (digits_end != std::string::npos && digits_end > digits_at) shift(digits_at, digits_end - digits_at);
  }
  return Pdf;
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
  return WithFixedCreationDate(Bytes(data));
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
