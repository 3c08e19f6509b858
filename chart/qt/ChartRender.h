// Pictures of a chart panel: into a QImage, a PNG, SVG or PDF file, at any
// size, laid out for that size exactly as the panel lays itself out on screen.
//
//   zp::chart::SaveChartFile(panel, "graph.png", 800, 500);   // or "graph.svg"
#pragma once

#include <QImage>
#include <string>

#include "chart/ZPCustomChartPanel.h"

namespace zp::chart {

// The panel laid out for Width x Height (at least 1 x 1) and painted at
// device pixel ratio Scale (1 to 4): an image of Width x Scale by Height x
// Scale pixels that looks like the Width x Height one, only sharper.
QImage RenderChartImage(TZPCustomChartPanel& Panel, int Width, int Height, int Scale = 1);

// The picture's bytes as a PNG or SVG file holds them. SVG has no pixels: it takes no scale.
std::string ChartPngBytes(TZPCustomChartPanel& Panel, int Width, int Height, int Scale = 1);
std::string ChartSvgBytes(TZPCustomChartPanel& Panel, int Width, int Height);

// The picture as a one-page PDF document of Width x Height pixels at 96 per
// inch (the page is Width x Height x 3/4 points), its text kept as text.
// Its creation date is fixed (2000-01-01), so that the same chart gives the
// same bytes on every save.
std::string ChartPdfBytes(TZPCustomChartPanel& Panel, int Width, int Height);

// Write the picture; the file appears whole or not at all, and only over a
// regular file (zp::WriteFileAtomically). A failure raises Exception naming the file.
void SaveChartPng(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height, int Scale = 1);
void SaveChartSvg(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height);
void SaveChartPdf(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height);
// PNG or SVG by the file name's extension (any letter case); another
// extension raises Exception and writes nothing. Scale applies to PNG only.
void SaveChartFile(TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height, int Scale = 1);

}  // namespace zp::chart
