// The "chart FILE" command of nqueens-ga: the fitness graph attached to the
// workbench, as it stands, written as a PNG or SVG picture chosen by the
// file's extension; and the same for the pictures of an experiment.
#pragma once

#include <string>

namespace zp::queens {
class TFitnessGraph;
}
namespace zp::chart {
class TZPCustomChartPanel;
}

namespace zp::cli {

// Writes the picture whole or not at all; an unknown extension or a write
// failure raises Exception with a message naming the file. Starts a
// headless Qt GUI application when none is running. A PNG is Scale times
// the size in pixels, laid out as the Width x Height one; SVG ignores Scale.
void RenderChartFile(queens::TFitnessGraph& Graph, const std::string& FileName, int Width, int Height, int Scale = 1);

// The graph as an SVG file would hold it (for "chart -", onto standard output).
std::string ChartSvgText(queens::TFitnessGraph& Graph, int Width, int Height);

// Starts the headless Qt GUI application the pictures need (fonts, the
// palette), if none is running: a batch does it while its repeats run, so
// that the pictures at the end do not wait for it. Call on the main thread.
void PrepareDrawing();

// Any chart panel (an experiment's ECDF, say) written the same way.
void RenderPanelFile(chart::TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height,
                     int Scale = 1);

}  // namespace zp::cli
