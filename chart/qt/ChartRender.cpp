#include "chart/qt/ChartRender.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>

#include "chart/qt/TQtCanvas.h"
#include "platform/Exceptions.h"

namespace zp::chart {

namespace {

QString ToQString(const std::string& Text) { return QString::fromStdString(Text); }

void Commit(QSaveFile& File, const std::string& FileName) {
  if (!File.commit()) throw Exception("cannot write \"" + FileName + "\": " + File.errorString().toStdString());
}

void Open(QSaveFile& File, const std::string& FileName) {
  if (!File.open(QIODevice::WriteOnly))
    throw Exception("cannot write \"" + FileName + "\": " + File.errorString().toStdString());
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

void SaveChartPng(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height, int Scale) {
  const QImage image = RenderChartImage(Panel, Width, Height, Scale);
  QSaveFile file(ToQString(FileName));
  Open(file, FileName);
  if (!image.save(&file, "PNG")) {
    file.cancelWriting();
    throw Exception("cannot write \"" + FileName + "\": the PNG encoder failed");
  }
  Commit(file, FileName);
}

void SaveChartSvg(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height) {
  Width = std::max(Width, 1);
  Height = std::max(Height, 1);
  QSaveFile file(ToQString(FileName));
  Open(file, FileName);
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(Width, Height));
    svg.setViewBox(QRect(0, 0, Width, Height));
    // Pixels and points relate as on screen, so texts take the room they take there.
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Chart"));
    QPainter painter;
    if (!painter.begin(&svg)) {
      file.cancelWriting();
      throw Exception("cannot write \"" + FileName + "\": the SVG generator failed");
    }
    TQtCanvas canvas(painter);
    Panel.Paint(canvas, Rect(0, 0, Width, Height));
    painter.end();
  }
  Commit(file, FileName);
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
