#include "app/Anchors.h"

#include <algorithm>

namespace zp::app {

namespace {

// One axis: a start anchor keeps the start, an end anchor follows the far edge;
// with both the extent grows by Delta.
void Place(int Start, int Extent, int Delta, bool AtStart, bool AtEnd, int& NewStart, int& NewExtent) {
  NewStart = Start;
  NewExtent = Extent;
  if (AtStart && AtEnd)
    NewExtent = std::max(0, Extent + Delta);
  else if (AtEnd)
    NewStart = Start + Delta;
}

}  // namespace

void TAnchors::Add(QWidget* Child, Qt::Edges Edges) { children_.push_back({Child, Child->geometry(), Edges}); }

void TAnchors::Remove(QWidget* Child) {
  std::erase_if(children_, [&](const TAnchored& a) { return a.child == Child; });
}

void TAnchors::Apply(QSize ClientSize) const {
  const int dx = ClientSize.width() - design_size_.width();
  const int dy = ClientSize.height() - design_size_.height();
  for (const TAnchored& a : children_) {
    if (!a.child) continue;
    int x, w, y, h;
    Place(a.design.x(), a.design.width(), dx, a.edges & Qt::LeftEdge, a.edges & Qt::RightEdge, x, w);
    Place(a.design.y(), a.design.height(), dy, a.edges & Qt::TopEdge, a.edges & Qt::BottomEdge, y, h);
    a.child->setGeometry(x, y, w, h);
  }
}

}  // namespace zp::app
