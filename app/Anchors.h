// Anchoring of child controls to the window's edges: a child keeps its
// distance to every edge it is anchored to as the window is resized, starting
// from its place at the window's design size.
//
//   TAnchors anchors(QSize(881, 434));
//   anchors.Add(board, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
//   anchors.Apply(window->size());   // from the window's resize event
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace zp::app {

class TAnchors {
 public:
  explicit TAnchors(QSize DesignSize) : design_size_(DesignSize) {}

  // Child's current geometry is its place at the design size. A child without
  // left or right (top or bottom) anchors keeps its place on that axis.
  void Add(QWidget* Child, Qt::Edges Edges);
  // Child is placed by someone else from now on; one not added is ignored.
  void Remove(QWidget* Child);

  // Places every child for a window of ClientSize; sizes never go below 0.
  void Apply(QSize ClientSize) const;

 private:
  struct TAnchored {
    QPointer<QWidget> child;  // not owned
    QRect design;
    Qt::Edges edges;
  };
  QSize design_size_;
  std::vector<TAnchored> children_;
};

}  // namespace zp::app
