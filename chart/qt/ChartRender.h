// Pictures of a chart panel: into a QImage, a PNG file or an SVG file, at any
// size, laid out for that size exactly as the panel lays itself out on screen.
//
//   zp::chart::SaveChartFile(panel, "graph.png", 800, 500);   // or "graph.svg"
#pragma once

#include <QImage>
#include <string>

#include "chart/ZPCustomChartPanel.h"

namespace zp::chart {

// The panel painted into a Width x Height image (at least 1 x 1).
QImage RenderChartImage(TZPCustomChartPanel& Panel, int Width, int Height);

// Write the picture; the file appears whole or not at all. A failure raises
// Exception naming the file.
void SaveChartPng(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height);
void SaveChartSvg(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height);
// PNG or SVG by the file name's extension (any letter case); another
// extension raises Exception and writes nothing.
void SaveChartFile(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height);

}  // namespace zp::chart
