#include "app/GraphView.h"

#include <QLabel>
#include <QVBoxLayout>

#include "workbench/QueensWorkbench.h"

namespace zp::app {

QWidget* CreateGraphView(QWidget* Page, queens::TQueensWorkbench& /*Workbench*/) {
  // Placeholder until the chart widget is available: the chart widget replaces
  // it here and becomes the feed's sink (Workbench.Graph().SetSink(...)).
  auto* view = new QWidget(Page);  // owned by Page
  view->setObjectName(QStringLiteral("ChartPanel"));
  auto* note = new QLabel(QObject::tr("The fitness chart is not part of this build yet."), view);
  note->setAlignment(Qt::AlignCenter);
  note->setEnabled(false);
  auto* inner = new QVBoxLayout(view);  // owned by view
  inner->addWidget(note);

  auto* layout = new QVBoxLayout(Page);  // owned by Page
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  return view;
}

}  // namespace zp::app
