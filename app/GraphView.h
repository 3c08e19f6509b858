// The content of the Graph page: the one place where the window puts the
// fitness chart. The chart widget created here fills the page and hosts the
// workbench's chart panel, which the workbench feeds after every generation.
//
//   QWidget* chart = CreateGraphView(tsGraph, workbench);
#pragma once

class QWidget;

namespace zp::queens {
class TQueensWorkbench;
}

namespace zp::app {

// Creates the graph view as Page's only child, filling it, hosting
// Workbench's chart panel. Returns the view (owned by Page).
QWidget* CreateGraphView(QWidget* Page, queens::TQueensWorkbench& Workbench);

}  // namespace zp::app
