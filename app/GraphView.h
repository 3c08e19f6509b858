// The content of the Graph page: the one place where the window puts the
// fitness chart. The chart widget is created here, fills the page and is fed
// by the workbench's graph feed (TGraphFeed::SetSink); until the chart widget
// exists, a placeholder holds its place.
//
//   QWidget* chart = CreateGraphView(tsGraph, workbench);
#pragma once

class QWidget;

namespace zp::queens {
class TQueensWorkbench;
}

namespace zp::app {

// Creates the graph view as Page's only child, filling it, and connects it to
// Workbench's graph feed. The window clears the feed's sink before the
// workbench and the view go away. Returns the view (owned by Page).
QWidget* CreateGraphView(QWidget* Page, queens::TQueensWorkbench& Workbench);

}  // namespace zp::app
