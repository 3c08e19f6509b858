#include "chart/qt/ChartWidget.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "chart/ZPFloatGeometry.h"
#include "chart/qt/ChartRender.h"
#include "chart/qt/TQtCanvas.h"

namespace zp::chart {

namespace {

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

}  // namespace

TZPChartWidget::TZPChartWidget(TZPCustomChartPanel* Panel, QWidget* Parent) : QWidget(Parent) {
  setMouseTracking(true);  // hover over values without a button
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Focus by click only (for Backspace): the window's tab order stays as it is.
  setFocusPolicy(Qt::ClickFocus);
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
  ClearHover();
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
  // What was read out may have moved or gone with the change.
  ClearHover();
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
  if (hover_.Chart) {
    // A dot in the series' colour with a dark rim, visible on its own line too.
    const TColor c = hover_.Chart->Color();
    QPen rim(Qt::black);
    rim.setWidthF(1.5);
    painter.setPen(rim);
    painter.setBrush(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawEllipse(QPointF(hover_.At.X, hover_.At.Y), kHoverRadius - 1, kHoverRadius - 1);
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
  if (Event->buttons() == Qt::NoButton)
    UpdateHover(p);
  else
    ClearHover();
}

void TZPChartWidget::mouseReleaseEvent(QMouseEvent* Event) {
  if (!panel_) return;
  const QPoint p = Event->position().toPoint();
  panel_->MouseUp(ButtonOf(Event->button()), ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

// ---- exploring ----

void TZPChartWidget::UpdateHover(const QPoint& P) {
  TChartHit hit;
  if (panel_ && panel_->DragState() == TDragState::dsNone) hit = panel_->NearestValue(P.x(), P.y(), kHoverRadius);
  if (hit.Chart == hover_.Chart && hit.Index == hover_.Index && hit.At == hover_.At) return;
  if (!hit.Chart) return ClearHover();
  update(HoverMarkRect());
  hover_ = hit;
  hover_text_ = QString::fromStdString(panel_->ValueReadout(hit));
  update(HoverMarkRect());
  QToolTip::showText(mapToGlobal(QPoint(hit.At.X, hit.At.Y)), hover_text_, this);
}

void TZPChartWidget::ClearHover() {
  if (!hover_.Chart) return;
  update(HoverMarkRect());
  hover_ = {};
  hover_text_.clear();
  QToolTip::hideText();
}

QRect TZPChartWidget::HoverMarkRect() const {
  return QRect(hover_.At.X - kHoverRadius, hover_.At.Y - kHoverRadius, 2 * kHoverRadius + 1, 2 * kHoverRadius + 1);
}

int TZPChartWidget::PictureScale() const { return std::clamp(qRound(devicePixelRatioF()), 1, 4); }

QImage TZPChartWidget::ChartImage() const {
  if (!panel_) return {};
  return RenderChartImage(*panel_, width(), height(), PictureScale());
}

QMenu* TZPChartWidget::CreateContextMenu() {
  auto* menu = new QMenu(this);
  QAction* save = menu->addAction(QStringLiteral("Save image..."), this, &TZPChartWidget::SaveImage);
  save->setObjectName(QStringLiteral("actSaveImage"));
  QAction* copy = menu->addAction(QStringLiteral("Copy image"), this, &TZPChartWidget::CopyImage);
  copy->setObjectName(QStringLiteral("actCopyImage"));
  QAction* reset = menu->addAction(QStringLiteral("Reset zoom"), this, [this] {
    if (panel_) panel_->Unzoom(true, true);
  });
  reset->setObjectName(QStringLiteral("actResetZoom"));
  menu->addSeparator();
  // Named after the axis' title ("Logarithmic generation axis"), whatever the user's locale.
  const QString title = panel_ ? QString::fromStdString(panel_->BottomAxis().Title().Text()).toLower() : QString();
  QAction* log = menu->addAction(
      QStringLiteral("Logarithmic %1 axis").arg(title.isEmpty() ? QStringLiteral("horizontal") : title));
  log->setObjectName(QStringLiteral("actLogarithmicAxis"));
  log->setCheckable(true);
  const bool has_panel = panel_ != nullptr;
  for (QAction* a : menu->actions()) a->setEnabled(has_panel);
  if (!panel_) return menu;
  reset->setEnabled(panel_->BottomAxis().Zoomed() || panel_->LeftAxis().Zoomed() || panel_->TopAxis().Zoomed() ||
                    panel_->RightAxis().Zoomed());
  log->setChecked(panel_->BottomAxis().Options().Contains(TAxisOption::axLogarithmic));
  connect(log, &QAction::toggled, this, [this](bool On) {
    if (!panel_) return;
    TZPChartAxis& axis = panel_->BottomAxis();
    axis.SetOptions(On ? axis.Options() + TAxisOptions{TAxisOption::axLogarithmic}
                       : axis.Options() - TAxisOptions{TAxisOption::axLogarithmic});
  });
  return menu;
}

namespace {

// A PNG larger than this would take gigabytes of memory to draw.
constexpr qint64 kMaxPngPixels = 100'000'000;

bool IsPng(const QString& File) {
  return QFileInfo(File).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
}

// A small dialog: width and height, and the pixel density for a PNG.
std::optional<TZPChartWidget::TImageSize> AskImageSize(QWidget* Parent, const QString& File,
                                                       TZPChartWidget::TImageSize Suggested) {
  QDialog dialog(Parent);
  dialog.setWindowTitle(QStringLiteral("Image size"));
  auto* form = new QFormLayout(&dialog);  // owned by the dialog
  auto spin = [&](const char* Name, int Low, int High, int Value, const QString& Suffix) {
    auto* box = new QSpinBox(&dialog);  // owned by the dialog
    box->setObjectName(QString::fromLatin1(Name));
    box->setRange(Low, High);
    box->setValue(std::clamp(Value, Low, High));
    box->setSuffix(Suffix);
    return box;
  };
  QSpinBox* width = spin("seImageWidth", 16, 10000, Suggested.Width, QStringLiteral(" px"));
  QSpinBox* height = spin("seImageHeight", 16, 10000, Suggested.Height, QStringLiteral(" px"));
  QSpinBox* scale = spin("seImageScale", 1, 4, Suggested.Scale, QString());
  scale->setPrefix(QStringLiteral("\u00d7 "));
  scale->setToolTip(QStringLiteral("More pixels for the same picture: 2 doubles both width and height"));
  scale->setEnabled(IsPng(File));
  form->addRow(QStringLiteral("&Width:"), width);
  form->addRow(QStringLiteral("&Height:"), height);
  form->addRow(QStringLiteral("&Pixel density:"), scale);
  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);  // owned by the dialog
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return TZPChartWidget::TImageSize{width->value(), height->value(), scale->value()};
}

}  // namespace

void TZPChartWidget::SaveImage() {
  if (!panel_) return;
  QString file;
  if (ChooseImageFile) {
    file = ChooseImageFile(this);
  } else {
    QString filter;
    file = QFileDialog::getSaveFileName(this, QStringLiteral("Save image"), QStringLiteral("chart.png"),
                                        QStringLiteral("PNG image (*.png);;SVG image (*.svg);;PDF document (*.pdf)"),
                                        &filter);
    // No extension typed: the one of the chosen file type.
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty())
      file += filter.contains(QLatin1String("svg"))   ? QStringLiteral(".svg")
              : filter.contains(QLatin1String("pdf")) ? QStringLiteral(".pdf")
                                                      : QStringLiteral(".png");
  }
  if (file.isEmpty()) return;
  const TImageSize suggested{width(), height(), PictureScale()};
  const std::optional<TImageSize> size =
      ChooseImageSize ? ChooseImageSize(this, file, suggested) : AskImageSize(this, file, suggested);
  if (!size) return;
  const int w = std::max(size->Width, 1);
  const int h = std::max(size->Height, 1);
  try {
    const std::string name = file.toStdString();
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("pdf")) {
      SaveChartPdf(*panel_, name, w, h);
    } else if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
      throw std::runtime_error("cannot tell the picture type of \"" + name +
                               "\": use a file name ending in .png, .svg or .pdf");
    } else {
      const int scale = std::clamp(size->Scale, 1, 4);
      if (IsPng(file) && qint64(w) * scale * h * scale > kMaxPngPixels)
        throw std::runtime_error(
            QStringLiteral("A PNG of %1 \u00d7 %2 pixels is too large to save: at most %3 million pixels")
                .arg(w * scale)
                .arg(h * scale)
                .arg(kMaxPngPixels / 1'000'000)
                .toStdString());
      SaveChartFile(*panel_, name, w, h, scale);
    }
  } catch (const std::exception& e) {
    const QString message = QString::fromStdString(e.what());
    if (ShowError)
      ShowError(message);
    else
      QMessageBox::warning(this, QStringLiteral("Save image"), message);
  }
}

void TZPChartWidget::CopyImage() {
  if (panel_) QGuiApplication::clipboard()->setImage(ChartImage());
}

void TZPChartWidget::leaveEvent(QEvent* Event) {
  QWidget::leaveEvent(Event);
  ClearHover();
}

void TZPChartWidget::wheelEvent(QWheelEvent* Event) {
  const double notches = Event->angleDelta().y() / 120.0;
  if (!panel_ || notches == 0) return QWidget::wheelEvent(Event);
  ClearHover();
  panel_->ZoomAround(qRound(Event->position().x()), std::pow(kWheelZoom, notches));
  Event->accept();
}

void TZPChartWidget::keyPressEvent(QKeyEvent* Event) {
  // Backspace goes back one zoom; every other key (Esc above all, which
  // stops a run) is the window's.
  if (panel_ && Event->key() == Qt::Key_Backspace && Event->modifiers() == Qt::NoModifier) {
    panel_->ZoomBack();
    Event->accept();
    return;
  }
  QWidget::keyPressEvent(Event);
}

void TZPChartWidget::contextMenuEvent(QContextMenuEvent* Event) {
  ClearHover();
  QMenu* menu = CreateContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(Event->globalPos());
}

}  // namespace zp::chart
