// The content of the Graph page: the one place where the window puts the
// fitness chart. The chart widget created here fills the page and hosts the
// fitness graph's panel, which the graph fills as the workbench reports
// generations.
//
//   QWidget* chart = CreateGraphView(tsGraph, graph);
#pragma once

class QWidget;

namespace zp::queens {
class TFitnessGraph;
}

namespace zp::app {

// Creates the graph view as Page's only child, filling it, hosting
// Graph's chart panel (which must outlive the view or tell it when it goes).
// Returns the view (owned by Page).
QWidget* CreateGraphView(QWidget* Page, queens::TFitnessGraph& Graph);

}  // namespace zp::app
