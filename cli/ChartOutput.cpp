#include "cli/ChartOutput.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "chart/ZPChartPanel.h"
#include "chart/qt/ChartRender.h"
#include "workbench/FitnessGraph.h"

namespace zp::cli {

namespace {

// Qt's notes about its runtime folder mean nothing to a user of a command-line
// tool; every other message goes on to stderr as usual.
void QuietMessages(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (Type != QtFatalMsg && Message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  fprintf(stderr, "%s\n", qFormatLogMessage(Type, Context, Message).toLocal8Bit().constData());
}

}  // namespace

// Fonts and the palette need a GUI application; a headless run gets one on
// the offscreen platform unless a display (or a chosen platform) is there.
void PrepareDrawing() {
  if (QCoreApplication::instance()) return;
  qInstallMessageHandler(QuietMessages);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "nqueens-ga";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

void RenderChartFile(queens::TFitnessGraph& Graph, const std::string& FileName, int Width, int Height, int Scale) {
  RenderPanelFile(Graph.Panel(), FileName, Width, Height, Scale);
}

std::string ChartSvgText(queens::TFitnessGraph& Graph, int Width, int Height) {
  PrepareDrawing();
  return chart::ChartSvgBytes(Graph.Panel(), Width, Height);
}

void RenderPanelFile(chart::TZPCustomChartPanel& Panel, const std::string& FileName, int Width, int Height, int Scale) {
  PrepareDrawing();
  chart::SaveChartFile(Panel, FileName, Width, Height, Scale);
}

}  // namespace zp::cli
