#include "app/GraphView.h"

#include <QVBoxLayout>

#include "chart/ZPChartPanel.h"
#include "chart/qt/ChartWidget.h"
#include "workbench/FitnessGraph.h"

namespace zp::app {

QWidget* CreateGraphView(QWidget* Page, queens::TFitnessGraph& Graph) {
  // The graph owns the panel and its five series and fills them itself;
  // the widget only hosts the panel: paints it and forwards the mouse.
  auto* view = new chart::TZPChartWidget(&Graph.Panel(), Page);  // owned by Page
  view->setObjectName(QStringLiteral("ChartPanel"));
  auto* layout = new QVBoxLayout(Page);  // owned by Page
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  return view;
}

}  // namespace zp::app
