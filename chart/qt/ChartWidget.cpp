#include "chart/qt/ChartWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "chart/ZPFloatGeometry.h"
#include "chart/qt/TQtCanvas.h"

namespace zp::chart {

namespace {

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

}  // namespace

TZPChartWidget::TZPChartWidget(TZPCustomChartPanel* Panel, QWidget* Parent) : QWidget(Parent) {
  setMouseTracking(true);  // hover over values without a button
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetPanel(Panel);
}

TZPChartWidget::~TZPChartWidget() {
  if (panel_ && panel_->Host() == this) panel_->SetHost(nullptr);
}

void TZPChartWidget::SetPanel(TZPCustomChartPanel* Panel) {
  if (Panel == panel_) return;
  if (panel_ && panel_->Host() == this) panel_->SetHost(nullptr);
  panel_ = Panel;
  if (panel_) panel_->SetHost(this);
  Invalidate();
}

void TZPChartWidget::PanelDestroyed() {
  panel_ = nullptr;
  Invalidate();
}

TShiftState TZPChartWidget::ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons, bool Double) {
  using enum TShiftStateFlag;
  TShiftState s;
  if (Modifiers & Qt::ShiftModifier) s.Include(ssShift);
  if (Modifiers & Qt::AltModifier) s.Include(ssAlt);
  if (Modifiers & Qt::ControlModifier) s.Include(ssCtrl);
  if (Buttons & Qt::LeftButton) s.Include(ssLeft);
  if (Buttons & Qt::RightButton) s.Include(ssRight);
  if (Buttons & Qt::MiddleButton) s.Include(ssMiddle);
  if (Double) s.Include(ssDouble);
  return s;
}

TMouseButton TZPChartWidget::ButtonOf(Qt::MouseButton Button) {
  switch (Button) {
    case Qt::RightButton:
      return TMouseButton::mbRight;
    case Qt::MiddleButton:
      return TMouseButton::mbMiddle;
    default:
      return TMouseButton::mbLeft;
  }
}

// ---- host ----

void TZPChartWidget::Invalidate() {
  dirty_ = true;
  update();
}

TRect TZPChartWidget::ClientRect() const { return Rect(0, 0, width(), height()); }

void TZPChartWidget::SetCursor(TCursor Cursor) {
  switch (Cursor) {
    case crHandPoint:
      setCursor(Qt::PointingHandCursor);
      break;
    case crSizeAll:
      setCursor(Qt::SizeAllCursor);
      break;
    default:
      unsetCursor();
      break;
  }
}

void TZPChartWidget::DrawFocusRect(const TRect& R) {
  // Inverting: the same rectangle a second time takes it away again.
  auto it = std::find(feedback_.begin(), feedback_.end(), R);
  if (it != feedback_.end())
    feedback_.erase(it);
  else
    feedback_.push_back(R);
  // Only the rectangle's edges change on screen.
  update(ToQRect(NormalizeRect(R)).adjusted(-1, -1, 1, 1));
}

// ---- painting ----

void TZPChartWidget::RenderCache() {
  const qreal dpr = devicePixelRatioF();
  cache_ = QImage(size() * dpr, QImage::Format_RGB32);
  cache_.setDevicePixelRatio(dpr);
  cache_.fill(palette().color(QPalette::Window));
  if (panel_) {
    QPainter painter(&cache_);
    TQtCanvas canvas(painter);
    panel_->Paint(canvas);
    ++chart_paints_;
  }
  dirty_ = false;
}

void TZPChartWidget::paintEvent(QPaintEvent* Event) {
  if (dirty_ || cache_.size() != size() * devicePixelRatioF()) RenderCache();
  QPainter painter(this);
  painter.setClipRegion(Event->region());
  painter.drawImage(QPoint(0, 0), cache_);
  QPen pen(Qt::black);
  pen.setStyle(Qt::DotLine);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  for (const TRect& r : feedback_) {
    const TRect n = NormalizeRect(r);
    painter.drawRect(QRect(n.Left, n.Top, std::max(n.Width() - 1, 0), std::max(n.Height() - 1, 0)));
  }
}

void TZPChartWidget::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  // A new size repaints through the cache's size check; the panel only
  // learns its size (grabs send resize events without any change).
  if (panel_) panel_->SetBounds(width(), height());
}

// ---- mouse ----

void TZPChartWidget::mousePressEvent(QMouseEvent* Event) {
  if (!panel_) return;
  const QPoint p = Event->position().toPoint();
  panel_->MouseDown(ButtonOf(Event->button()), ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

void TZPChartWidget::mouseDoubleClickEvent(QMouseEvent* Event) {
  if (!panel_) return;
  const QPoint p = Event->position().toPoint();
  panel_->MouseDown(ButtonOf(Event->button()), ShiftStateOf(Event->modifiers(), Event->buttons(), true), p.x(), p.y());
}

void TZPChartWidget::mouseMoveEvent(QMouseEvent* Event) {
  if (!panel_) return;
  const QPoint p = Event->position().toPoint();
  panel_->MouseMove(ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

void TZPChartWidget::mouseReleaseEvent(QMouseEvent* Event) {
  if (!panel_) return;
  const QPoint p = Event->position().toPoint();
  panel_->MouseUp(ButtonOf(Event->button()), ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

}  // namespace zp::chart
