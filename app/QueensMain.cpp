#include "app/QueensMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "app/BoardView.h"
#include "app/GraphView.h"
#include "app/RunGuards.h"
#include "workbench/QueensProblem.h"

namespace zp::app {

using queens::TQueensWorkbench;

namespace {

// The window's client size that the controls' places below are laid out for.
constexpr QSize kDesignSize(881, 434);

template <class W>
W* Make(QWidget* Parent, const char* Name, const QRect& Place) {
  auto* w = new W(Parent);  // owned by Parent
  w->setObjectName(QString::fromLatin1(Name));
  w->setGeometry(Place);
  return w;
}

QPushButton* MakeButton(QWidget* Parent, const char* Name, const QRect& Place, const QString& Text,
                        const QString& Hint = {}) {
  auto* button = Make<QPushButton>(Parent, Name, Place);
  button->setText(Text);
  button->setToolTip(Hint);
  button->setAutoDefault(true);  // Enter on a focused button presses that button
  return button;
}

// A right-aligned label grows to the left to fit its text in the window's font, as
// an auto-sized label does, and is centred on the height of the control it names.
void FitLabelBeside(QLabel& Label, const QRect& Control) {
  const QRect place = Label.geometry();
  const int width = std::max(place.width(), Label.sizeHint().width());
  Label.setGeometry(place.right() + 1 - width, Control.y(), width, Control.height());
  Label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// The name the file system knows a chosen file by.
std::string LocalFileName(const QString& Name) { return QFile::encodeName(Name).toStdString(); }

QString MethodCaption(ga::TGASelectionMethod Method) {
  const int curve = queens::CurveOf(Method);
  if (curve < 0) return QString::fromStdString(ga::ToString(Method));
  return QString::fromStdString(queens::CurveCaptions()[static_cast<size_t>(curve)]);
}

}  // namespace

TForm1::TForm1(QWidget* Parent) : QWidget(Parent), dialogs_(this), anchors_(kDesignSize) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("N Queens Solution using Genetic Algorithms"));
  resize(kDesignSize);
  ShowErrorMessage = [this](const QString& message) {
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), message);
  };

  CreateControls();
  SetTabOrder();
  SetAnchors();
  ConnectHandlers();
  FormCreate();
  FormResize();
}

TForm1::~TForm1() {
  // The workbench goes before the controls: nothing may call into them any more.
  wb_.OnLogLine = nullptr;
  wb_.Detach(*this);
  wb_.Detach(graph_);
}

// --- construction ---

void TForm1::CreateControls() {
  CreateCommands();
  sgChessBoard = CreateBoardGrid(this);
  sgChessBoard->setObjectName(QStringLiteral("sgChessBoard"));
  sgChessBoard->setGeometry(16, 208, 201, 201);
  ShowBoard();
  CreatePages();
  lblProgress = Make<QLabel>(this, "lblProgress", QRect(232, 412, 617, 18));
}

void TForm1::CreateCommands() {
  Label1 = Make<QLabel>(this, "Label1", QRect(44, 8, 62, 13));
  Label1->setText(QStringLiteral("Num &Queens"));
  FitLabelBeside(*Label1, QRect(112, 8, 105, 22));

  SpinEdit1 = Make<QSpinBox>(this, "SpinEdit1", QRect(112, 8, 105, 22));
  SpinEdit1->setRange(queens::kMinQueens, queens::kMaxQueens);
  SpinEdit1->setValue(8);
  SpinEdit1->setToolTip(QStringLiteral("Number of Queens to solve for"));
  Label1->setBuddy(SpinEdit1);

  btnInit = MakeButton(this, "btnInit", QRect(8, 40, 75, 25), QStringLiteral("&Initialize"),
                       QStringLiteral("Initialize Genetic Algorithm problem"));
  btnRun = MakeButton(this, "btnRun", QRect(8, 71, 75, 25), QStringLiteral("&Run"));
  btnRun->setDefault(true);

  Edit1 = Make<QLineEdit>(this, "Edit1", QRect(112, 75, 105, 21));
  Edit1->setText(QStringLiteral("100"));
  Edit1->setToolTip(QStringLiteral("Number of generations to evolve when you hit \"Run\"."));

  btnLoad = MakeButton(this, "btnLoad", QRect(8, 102, 107, 25), QStringLiteral("Load"));
  btnSave = MakeButton(this, "btnSave", QRect(112, 102, 107, 25), QStringLiteral("Save"));
  btnLoadGenoType = MakeButton(this, "btnLoadGenoType", QRect(8, 126, 107, 25), QStringLiteral("Load GenoType"));
  Button1 = MakeButton(this, "Button1", QRect(112, 126, 107, 25), QStringLiteral("Save GenoType"));
  btnLoadPopulation = MakeButton(this, "btnLoadPopulation", QRect(8, 150, 107, 25), QStringLiteral("Load Population"));
  Button2 = MakeButton(this, "Button2", QRect(112, 150, 107, 25), QStringLiteral("Save Population"));

  cbGraph = Make<QCheckBox>(this, "cbGraph", QRect(16, 184, 97, 17));
  cbGraph->setText(QStringLiteral("&Graph"));
  cbGraph->setChecked(true);
}

void TForm1::CreatePages() {
  PageControl1 = Make<QTabWidget>(this, "PageControl1", QRect(232, 16, 617, 393));
  tsText = new QWidget;  // owned by PageControl1 from addTab on
  tsText->setObjectName(QStringLiteral("tsText"));
  PageControl1->addTab(tsText, QStringLiteral("&Text"));
  tsGraph = new QWidget;  // owned by PageControl1 from addTab on
  tsGraph->setObjectName(QStringLiteral("tsGraph"));
  PageControl1->addTab(tsGraph, QStringLiteral("&Graph"));

  Memo1 = new QPlainTextEdit(tsText);  // owned by tsText
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(tsText);  // owned by tsText
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Memo1);

  // Blocks joined by line breaks: an empty last line stays a line of its own.
  QStringList lines;
  for (const std::string& line : wb_.Log()) lines << QString::fromStdString(line);
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm1::SetTabOrder() {
  QWidget* const order[] = {btnInit,      btnRun,  Edit1,    sgChessBoard,    btnSave,
                            Button1,      Button2, btnLoad,  btnLoadGenoType, btnLoadPopulation,
                            PageControl1, cbGraph, SpinEdit1};
  for (size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void TForm1::SetAnchors() {
  anchors_.Add(sgChessBoard, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
  anchors_.Add(PageControl1, Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
  anchors_.Add(lblProgress, Qt::RightEdge | Qt::BottomEdge);
}

template <class Sender, class Signal, class... Args>
void TForm1::Connect(Sender* From, Signal Event, void (TForm1::*Handler)(Args...)) {
  connect(From, Event, this, [this, Handler](Args... args) { Guarded([&] { (this->*Handler)(args...); }); });
}

void TForm1::ConnectHandlers() {
  wb_.OnLogLine = [this](const std::string& line) { AppendLog(line); };
  // The curves first: the progress line repaints the window, the new point included.
  wb_.Attach(graph_);
  wb_.Attach(*this);

  Connect(SpinEdit1, &QSpinBox::valueChanged, &TForm1::SpinEdit1Change);
  Connect(btnInit, &QPushButton::clicked, &TForm1::btnInitClick);
  Connect(btnRun, &QPushButton::clicked, &TForm1::btnRunClick);
  Connect(btnLoad, &QPushButton::clicked, &TForm1::btnLoadClick);
  Connect(btnSave, &QPushButton::clicked, &TForm1::btnSaveClick);
  Connect(btnLoadGenoType, &QPushButton::clicked, &TForm1::btnLoadGenoTypeClick);
  Connect(Button1, &QPushButton::clicked, &TForm1::Button1Click);
  Connect(btnLoadPopulation, &QPushButton::clicked, &TForm1::btnLoadPopulationClick);
  Connect(Button2, &QPushButton::clicked, &TForm1::Button2Click);
  Connect(cbGraph, &QCheckBox::toggled, &TForm1::cbGraphClick);
}

void TForm1::FormCreate() {
  PageControl1->setCurrentIndex(0);
  wb_.FormCreate();
  ChartPanel = CreateGraphView(tsGraph, graph_);
}

// --- the exception boundary ---

void TForm1::Guarded(const std::function<void()>& Handler) noexcept {
  if (running_) return;  // events processed during a run start nothing
  std::optional<QString> error;
  try {
    Handler();
  } catch (const std::exception& e) {
    error = QString::fromUtf8(e.what());
  } catch (...) {
    error = tr("Unknown error");
  }
  try {
    ShowBoard();
    if (error && ShowErrorMessage) ShowErrorMessage(*error);
  } catch (...) {
    // Nothing may reach Qt's event loop; the next command shows the board again.
  }
  if (close_requested_ && !running_) {
    close_requested_ = false;
    close();
  }
}

// --- handlers ---

void TForm1::btnInitClick() { wb_.btnInitClick(); }

void TForm1::btnRunClick() {
  TWaitCursor hourglass;
  TCommandLock lock(running_, {SpinEdit1, btnInit, btnRun, Edit1, btnLoad, btnSave, btnLoadGenoType, Button1,
                               btnLoadPopulation, Button2, cbGraph});
  const auto clear_progress = qScopeGuard([this] { lblProgress->clear(); });
  lblProgress->setText(tr("Running..."));
  progress_clock_.start();
  wb_.btnRunClick(Edit1->text().toStdString());
}

void TForm1::SpinEdit1Change(int Value) { wb_.SpinEdit1Change(Value); }

void TForm1::cbGraphClick(bool Checked) { wb_.cbGraphClick(Checked); }

void TForm1::btnSaveClick() { SaveFile(&TQueensWorkbench::SaveAll); }
void TForm1::Button1Click() { SaveFile(&TQueensWorkbench::SaveGenoType); }
void TForm1::Button2Click() { SaveFile(&TQueensWorkbench::SavePopulation); }

void TForm1::SaveFile(void (TQueensWorkbench::*Save)(const std::string&)) {
  const QString name = dialogs_.ExecuteSave();
  if (name.isEmpty()) return;
  (wb_.*Save)(LocalFileName(name));
  dialogs_.SetOpenFileName(name);
}

void TForm1::btnLoadClick() {
  const QString name = dialogs_.ExecuteOpen();
  if (name.isEmpty()) return;
  dialogs_.SetSaveFileName(name);
  wb_.LoadAll(LocalFileName(name));
}

void TForm1::btnLoadGenoTypeClick() {
  const QString name = dialogs_.ExecuteOpen();
  if (name.isEmpty()) return;
  wb_.LoadGenoType(LocalFileName(name));
  dialogs_.SetSaveFileName(name);
}

void TForm1::btnLoadPopulationClick() {
  const QString name = dialogs_.ExecuteOpen();
  if (name.isEmpty()) return;
  wb_.LoadPopulation(LocalFileName(name));
  dialogs_.SetSaveFileName(name);
}

void TForm1::FormResize() {
  const QSize client = BoardClientSize(*sgChessBoard);
  wb_.FormResize(client.width(), client.height());
  ShowBoard();
}

// --- window events ---

void TForm1::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  anchors_.Apply(size());
  // Also while a run is going: the run does not use the cell sizes.
  try {
    FormResize();
  } catch (...) {
    // Nothing may reach Qt's event loop; the next resize fits the cells again.
  }
}

void TForm1::keyPressEvent(QKeyEvent* Event) {
  // Enter that no control used presses the default button.
  if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
    if (btnRun->isEnabled()) btnRun->click();
    Event->accept();
    return;
  }
  QWidget::keyPressEvent(Event);
}

void TForm1::closeEvent(QCloseEvent* Event) {
  if (running_) {  // the run is on the stack below; close once it has ended
    close_requested_ = true;
    Event->ignore();
    return;
  }
  QWidget::closeEvent(Event);
}

// --- showing the model ---

void TForm1::AppendLog(const std::string& Line) {
  Memo1->appendPlainText(QString::fromStdString(Line));
  // With the graph off no generation is reported; the log lines keep the window alive.
  if (running_ && progress_clock_.elapsed() >= progress_interval_) ProcessPendingEvents();
}

void TForm1::OnGeneration(const queens::TGenerationReport& Report) { ShowProgress(Report.Method, Report.Generation); }

void TForm1::ShowProgress(ga::TGASelectionMethod Method, int Generation) {
  if (progress_clock_.elapsed() < progress_interval_) return;
  lblProgress->setText(tr("Running %1 selection: generation %2").arg(MethodCaption(Method)).arg(Generation));
  ProcessPendingEvents();
}

void TForm1::ProcessPendingEvents() {
  // Repaints and user input that no command answers to (every command is disabled
  // and Guarded refuses while running_): the run's order and results stay the same.
  ShowBoard();
  QCoreApplication::processEvents();
  progress_clock_.restart();
}

void TForm1::ShowBoard() { app::ShowBoard(*sgChessBoard, wb_.Board()); }

}  // namespace zp::app
