#include "app/QueensMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "app/BoardView.h"
#include "app/GraphView.h"
#include "app/RunGuards.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/QueensProblem.h"

namespace zp::app {

using queens::TQueensWorkbench;

namespace {

// Lines of the log the window keeps.
constexpr int kScrollBackLines = 100000;

// The window's client size that the controls' places below are laid out for.
constexpr QSize kDesignSize(881, 434);
// The smallest window that shows every control: the pages, anchored to the right edge,
// stay clear of the command column (which ends at x 219), and the board, anchored to
// every edge, keeps room for 4 x 4 cells of 20 pixels under the Graph box.
constexpr int kBoardDesignHeight = 201, kMinBoardHeight = 4 * 20 + 4;
constexpr QSize kMinimumSize(kDesignSize.width() - (232 - 224),
                             kDesignSize.height() - (kBoardDesignHeight - kMinBoardHeight));

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

QString MethodCaption(ga::TGASelectionMethod Method) {
  const ga::TSelectionMethodInfo* method = ga::FindMethod(Method);
  if (!method) return QString::fromStdString(ga::ToString(Method));
  return QString::fromStdString(std::string(method->Caption));
}

}  // namespace

TForm1::TForm1(QWidget* Parent) : QWidget(Parent), dialogs_(this), anchors_(kDesignSize), worker_(*this, run_view_) {
  setObjectName(QStringLiteral("Form1"));
  start_seed_ = wb_.Algorithm().RandomSource().Seed();
  setWindowTitle(QStringLiteral("N Queens Solution using Genetic Algorithms"));
  resize(kDesignSize);
  setMinimumSize(kMinimumSize);
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
  // A run still going ends first: the workbench is the window's again.
  worker_.Stop();
  worker_.Wait();
  // The workbench goes before the controls: nothing may call into them any more.
  wb_.OnLogLine = nullptr;
  wb_.OnNote = nullptr;
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
  lblProgress = Make<QLabel>(this, "lblProgress", QRect(232, 412, 461, 18));
  pbProgress = Make<QProgressBar>(this, "pbProgress", QRect(699, 412, 150, 18));
  pbProgress->setRange(0, 1000);
  pbProgress->hide();  // shown during a run
  // The strip under the board: which method and Run drew the solution shown.
  lblSolution = Make<QLabel>(this, "lblSolution", QRect(16, 412, 201, 18));
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

  // Above the generations box, in the free space under the queen count.
  lblGenerations = Make<QLabel>(this, "lblGenerations", QRect(112, 57, 105, 16));
  lblGenerations->setText(QStringLiteral("Ge&nerations"));
  lblGenerations->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

  btnInit = MakeButton(this, "btnInit", QRect(8, 40, 75, 25), QStringLiteral("&Initialize"),
                       QStringLiteral("Initialize Genetic Algorithm problem"));
  // No accelerator: Alt+R opens the Run menu; Enter and F5 press Run.
  btnRun = MakeButton(this, "btnRun", QRect(8, 71, 75, 25), QStringLiteral("Run"),
                      QStringLiteral("Run every selection method for the generations given (Enter, F5)"));
  btnRun->setDefault(true);
  // Beside the Graph box, the one free place in the command column; usable only during a run.
  btnStop = MakeButton(this, "btnStop", QRect(142, 180, 75, 25), QStringLiteral("&Stop"),
                       QStringLiteral("End the run after the generation in progress (Esc)"));
  btnStop->setEnabled(false);

  Edit1 = Make<QLineEdit>(this, "Edit1", QRect(112, 75, 105, 21));
  Edit1->setText(QStringLiteral("100"));
  Edit1->setToolTip(QStringLiteral("Number of generations to evolve when you hit \"Run\"."));
  lblGenerations->setBuddy(Edit1);

  btnLoad = MakeButton(this, "btnLoad", QRect(8, 102, 107, 25), QStringLiteral("Load"));
  btnSave = MakeButton(this, "btnSave", QRect(112, 102, 107, 25), QStringLiteral("Save"));
  btnLoadGenoType = MakeButton(this, "btnLoadGenoType", QRect(8, 126, 107, 25), QStringLiteral("Load GenoType"));
  Button1 = MakeButton(this, "Button1", QRect(112, 126, 107, 25), QStringLiteral("Save GenoType"));
  btnLoadPopulation = MakeButton(this, "btnLoadPopulation", QRect(8, 150, 107, 25), QStringLiteral("Load Population"));
  Button2 = MakeButton(this, "Button2", QRect(112, 150, 107, 25), QStringLiteral("Save Population"));

  cbGraph = Make<QCheckBox>(this, "cbGraph", QRect(16, 184, 97, 17));
  // No accelerator of its own: Alt+G belongs to the Graph page.
  cbGraph->setText(QStringLiteral("Graph"));
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
  tsExperiments = new TExperimentsPage;  // owned by PageControl1 from addTab on
  PageControl1->addTab(tsExperiments, QStringLiteral("&Experiments"));

  Memo1 = new QPlainTextEdit(tsText);  // owned by tsText
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  // A bounded scroll-back: a long session's log does not grow without end, here or in the model.
  Memo1->setMaximumBlockCount(kScrollBackLines);
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(tsText);  // owned by tsText
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Memo1);

  ShowWholeLog();
}

void TForm1::SetTabOrder() {
  QWidget* const order[] = {btnInit,           btnRun,       btnStop, Edit1,    sgChessBoard,
                            btnSave,           Button1,      Button2, btnLoad,  btnLoadGenoType,
                            btnLoadPopulation, PageControl1, cbGraph, SpinEdit1};
  for (size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void TForm1::SetAnchors() {
  anchors_.Add(sgChessBoard, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
  anchors_.Add(PageControl1, Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
  anchors_.Add(lblProgress, Qt::RightEdge | Qt::BottomEdge);
  anchors_.Add(pbProgress, Qt::RightEdge | Qt::BottomEdge);
  anchors_.Add(lblSolution, Qt::LeftEdge | Qt::BottomEdge);
}

template <class Sender, class Signal, class... Args>
void TForm1::Connect(Sender* From, Signal Event, void (TForm1::*Handler)(Args...)) {
  connect(From, Event, this, [this, Handler](Args... args) { Guarded([&] { (this->*Handler)(args...); }); });
}

void TForm1::ConnectHandlers() {
  // The chart repaints and the progress line changes at most this often, however fast the run goes.
  show_timer_ = new QTimer(this);  // owned by the window
  show_timer_->setSingleShot(true);
  show_timer_->setInterval(kShowIntervalMs);
  connect(show_timer_, &QTimer::timeout, this, &TForm1::ShowRunState);

  wb_.SetLogLimit(kScrollBackLines);
  wb_.OnLogLine = [this](const std::string& line) { AppendLog(line); };
  wb_.OnNote = [this](const std::string& message) { lblProgress->setText(QString::fromStdString(message)); };
  // The curves first: the progress line repaints the window, the new point included.
  wb_.Attach(graph_);
  wb_.Attach(*this);

  Connect(SpinEdit1, &QSpinBox::valueChanged, &TForm1::SpinEdit1Change);
  Connect(btnInit, &QPushButton::clicked, &TForm1::btnInitClick);
  Connect(btnRun, &QPushButton::clicked, &TForm1::btnRunClick);
  // Not through the boundary, which refuses every command during a run.
  connect(btnStop, &QPushButton::clicked, this, &TForm1::btnStopClick);
  Connect(btnLoad, &QPushButton::clicked, &TForm1::btnLoadClick);
  Connect(btnSave, &QPushButton::clicked, &TForm1::btnSaveClick);
  Connect(btnLoadGenoType, &QPushButton::clicked, &TForm1::btnLoadGenoTypeClick);
  Connect(Button1, &QPushButton::clicked, &TForm1::Button1Click);
  Connect(btnLoadPopulation, &QPushButton::clicked, &TForm1::btnLoadPopulationClick);
  Connect(Button2, &QPushButton::clicked, &TForm1::Button2Click);
  Connect(cbGraph, &QCheckBox::toggled, &TForm1::cbGraphClick);
  // The main page's Run and the experiment's Start exclude each other.
  connect(tsExperiments, &TExperimentsPage::RunningChanged, this, [this](bool going) {
    if (!running_) btnRun->setEnabled(!going);
  });
  connect(tsExperiments, &TExperimentsPage::ReplayRequested, this, &TForm1::ReplayRepeat);
  // The page's "Same random numbers" box and the tool bar's are one setting, the workbench's.
  cbSameNumbers = tsExperiments->findChild<QCheckBox*>(QStringLiteral("cbSameNumbers"));
  if (cbSameNumbers)
    connect(cbSameNumbers, &QCheckBox::toggled, this, [this](bool Shared) {
      SetSharedStreams(Shared);  // refused during a run: the box goes back
      const QSignalBlocker quiet(cbSameNumbers);
      cbSameNumbers->setChecked(SharedStreams());
      emit StreamsChanged(SharedStreams());
    });
  // A hidden edit keeps no scroll position of its own: the end is set once it shows.
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
    if (Memo1->isVisible()) QTimer::singleShot(0, Memo1, [this] { ScrollLogToEnd(); });
  });
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
    if (!running_) ShowBoard();  // a run just started owns the board until it ends
    if (error) ShowError(*error);
  } catch (...) {
    // Nothing may reach Qt's event loop; the next command shows the board again.
  }
}

void TForm1::ShowError(const QString& Message) {
  if (ShowErrorMessage) ShowErrorMessage(Message);
}

// --- handlers ---

void TForm1::btnInitClick() { wb_.btnInitClick(); }

void TForm1::New() {
  Guarded([this] {
    if (tsExperiments->Running()) return;  // the main page waits for an experiment, as Run does
    wb_.SetNumQueens(SpinEdit1->value());
    wb_.StartOver(start_seed_);
    runs_ = 0;
    lblSolution->clear();
    lblProgress->clear();
    ShowWholeLog();
    FormResize();
  });
}

void TForm1::ShowWholeLog() {
  // Blocks joined by line breaks: an empty last line stays a line of its own.
  QStringList lines;
  for (const std::string& line : wb_.Log()) lines << QString::fromStdString(line);
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
  ScrollLogToEnd();
}

void TForm1::Initialize() {
  Guarded([this] { btnInitClick(); });
}

void TForm1::Run() {
  Guarded([this] { btnRunClick(); });
}

void TForm1::btnRunClick() {
  if (tsExperiments->Running()) return;
  // The run's thread tells the window what the workbench tells the observers.
  wb_.Detach(graph_);
  wb_.Detach(*this);
  run_lock_ = std::make_unique<TCommandLock>(
      running_, std::initializer_list<QWidget*>{SpinEdit1, btnInit, btnRun, Edit1, btnLoad, btnSave, btnLoadGenoType,
                                                Button1, btnLoadPopulation, Button2, cbGraph});
  btnStop->setEnabled(true);
  tsExperiments->SetMainRunGoing(true);
  const std::string text = Edit1->text().toStdString();
  // A text that is no number fails the Run before any generation: it is not counted.
  run_counts_ = TryStrToInt(text).has_value();
  if (run_counts_) ++runs_;
  // A text that is no number ends the run at once with its message; the progress has no target then.
  const ga::TZPGeneticAlgorithm& ga = wb_.Algorithm();
  progress_.emplace(TryStrToInt(text).value_or(0), queens::kCurves, ga.Initialized() ? ga.Generation() : 0);
  lblProgress->setText(progress_->Text());
  pbProgress->setValue(0);
  pbProgress->show();
  show_timer_->setInterval(kShowIntervalMs);
  emit RunningChanged(true);
  worker_.Start(wb_, text);
}

void TForm1::Stop() {
  if (running_) worker_.Stop();
}

void TForm1::TRunView::OnLog(const std::string& Line) {
  form_.AppendLog(Line);
  form_.ShowRunStateSoon();
}

void TForm1::TRunView::OnCurvesReset(double Cutoff) {
  form_.PlotUnplotted();  // the points told before the reset go first
  form_.graph_.OnCurvesReset(Cutoff);
  form_.OnCurvesReset(Cutoff);
  form_.ShowRunStateSoon();
}

// The graph hears the run's heading in its events' order: after the reset before it.
void TForm1::TRunView::OnHeading(const queens::TRunHeading& Heading) { form_.graph_.OnHeading(Heading); }

void TForm1::TRunView::OnGeneration(const queens::TGenerationReport& Report) {
  // Plotted in bunches: a repaint per point would slow the run down.
  form_.unplotted_.push_back(Report);
  if (form_.progress_) form_.progress_->SetGeneration(queens::CurveOf(Report.Method), Report.Generation);
  form_.ShowRunStateSoon();
}

void TForm1::TRunView::OnMethodFinished(const queens::TMethodReport& Report) {
  form_.PlotUnplotted();
  form_.graph_.OnMethodFinished(Report);
  form_.OnMethodFinished(Report);
  if (form_.progress_) form_.progress_->SetMethodFinished(queens::CurveOf(Report.Method));
  form_.ShowRunStateSoon();
}

void TForm1::TRunView::OnBoard(const queens::TChessBoard& Board) { form_.ShowBoard(Board); }

void TForm1::TRunView::OnRunEnd(const std::exception_ptr& Error) { form_.EndRun(Error); }

void TForm1::ShowRunStateSoon() {
  if (running_ && !show_timer_->isActive()) show_timer_->start();
}

void TForm1::PlotUnplotted() {
  for (const queens::TGenerationReport& report : unplotted_) graph_.OnGeneration(report);
  unplotted_.clear();
}

void TForm1::ShowRunState() {
  const bool plotted = !unplotted_.empty();
  PlotUnplotted();
  if (!running_ || !progress_) return;
  lblProgress->setText(progress_->Text());
  pbProgress->setValue(progress_->Permille());
  // Painting a chart takes longer the more points it has: paint it now, and wait at least
  // three times as long before the next, so that the window keeps answering and the run
  // loses little to the chart.
  if (!plotted || !ChartPanel->isVisible()) return;
  QElapsedTimer clock;
  clock.start();
  ChartPanel->repaint();
  show_timer_->setInterval(std::clamp(3 * static_cast<int>(clock.elapsed()), kShowIntervalMs, kMaxShowIntervalMs));
}

void TForm1::EndRun(const std::exception_ptr& Error) {
  worker_.Wait();
  PlotUnplotted();  // painted once the window is idle
  show_timer_->stop();
  progress_.reset();
  wb_.OnLogLine = [this](const std::string& line) { AppendLog(line); };
  wb_.Attach(graph_);
  wb_.Attach(*this);
  btnStop->setEnabled(false);
  run_lock_.reset();
  tsExperiments->SetMainRunGoing(false);
  lblProgress->clear();
  pbProgress->hide();
  emit RunningChanged(false);
  if (resized_while_running_) {
    resized_while_running_ = false;
    FormResize();
  }
  Guarded([&] {
    if (Error) std::rethrow_exception(Error);
  });
  if (close_requested_) {
    close_requested_ = false;
    close();
  }
}

void TForm1::ReplayRepeat(const TRepeatReplay& Replay) {
  if (running_ || tsExperiments->Running()) return;
  Guarded([&] {
    Edit1->setText(QString::number(Replay.Generations));
    if (wb_.Streams() != Replay.Streams) {
      SetSharedStreams(Replay.Streams == queens::TRandomStreams::rsShared);
      emit StreamsChanged(SharedStreams());
    }
    cbGraph->setChecked(true);  // the experiment's runs report every generation
    // The experiment's repeat runs on a fresh workbench: a component that ran a larger
    // board or loaded other settings would run differently.
    wb_.RestoreStoredSettings();
    wb_.ClearSettingOverrides();
    for (const queens::TSettingValue& value : Replay.Settings) wb_.SetSettingOverride(value);
    wb_.Algorithm().RandomSource().SetSeed(Replay.Seed);
    if (Replay.Problem.Kind == queens::TProblemKind::pkNQueens) {
      {
        const QSignalBlocker quiet(SpinEdit1);
        SpinEdit1->setValue(Replay.Queens);
      }
      wb_.SpinEdit1Change(Replay.Queens);
    } else {
      wb_.SetProblem(Replay.Problem, Replay.Queens);  // the board stays empty; the log shows the bits
    }
    wb_.ClearBoard();
    lblSolution->clear();
    PageControl1->setCurrentWidget(tsText);
    btnRunClick();
  });
}

void TForm1::SpinEdit1Change(int Value) {
  // A solution of another board size would read as a wrong answer on this one.
  const int before = wb_.NumQueens();
  wb_.SpinEdit1Change(Value);
  if (wb_.NumQueens() == before) return;
  wb_.ClearBoard();
  lblSolution->clear();
}

void TForm1::cbGraphClick(bool Checked) { wb_.cbGraphClick(Checked); }

void TForm1::FormResize() {
  const QSize client = BoardClientSize(*sgChessBoard);
  wb_.FormResize(client.width(), client.height());
  ShowBoard();
}

void TForm1::ShowProgressIn(QStatusBar& Bar) {
  anchors_.Remove(lblProgress);
  anchors_.Remove(pbProgress);
  Bar.addWidget(lblProgress, 1);
  Bar.addPermanentWidget(pbProgress);
  pbProgress->setFixedWidth(pbProgress->width());
  // The strip under the pages is free now: a long caption ("Stochastic
  // Tournament, Run 12") reads whole instead of being cut at the board's edge.
  anchors_.Remove(lblSolution);
  lblSolution->setGeometry(QRect(16, 412, 833, 18));  // at the design size: to the pages' right edge
  anchors_.Add(lblSolution, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
  ApplyAnchors();
}

QSize TForm1::sizeHint() const { return kDesignSize; }

void TForm1::ApplyAnchors() {
  anchors_.Apply(size());
  // Below the design size the board gives way; beyond it the pages take what
  // the window gains, since a table and its ECDF need it more than the board.
  const int wider = std::max(0, width() - kDesignSize.width()), taller = std::max(0, height() - kDesignSize.height());
  if (wider == 0 && taller == 0) return;
  sgChessBoard->resize(sgChessBoard->width() - wider, sgChessBoard->height() - taller);
  PageControl1->setGeometry(PageControl1->geometry().adjusted(-wider, 0, 0, 0));
}

// --- window events ---

void TForm1::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  ApplyAnchors();
  if (running_) {  // the board's model is the run's until it ends
    resized_while_running_ = true;
    return;
  }
  try {
    FormResize();
  } catch (...) {
    // Nothing may reach Qt's event loop; the next resize fits the cells again.
  }
}

void TForm1::keyPressEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_Escape) {
    Stop();
    Event->accept();
    return;
  }
  // Enter that no control used presses the default button.
  if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
    if (btnRun->isEnabled()) btnRun->click();
    Event->accept();
    return;
  }
  QWidget::keyPressEvent(Event);
}

void TForm1::closeEvent(QCloseEvent* Event) {
  if (running_) {  // close once the run has ended, after the generation in progress
    close_requested_ = true;
    Stop();
    Event->ignore();
    return;
  }
  QWidget::closeEvent(Event);
}

// --- showing the model ---

void TForm1::AppendLog(const std::string& Line) {
  Memo1->appendPlainText(QString::fromStdString(Line));
  ScrollLogToEnd();
}

void TForm1::ScrollLogToEnd() {
  QScrollBar* bar = Memo1->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void TForm1::OnCurvesReset(double /*Cutoff*/) { runs_ = running_ && run_counts_ ? 1 : 0; }

void TForm1::OnMethodFinished(const queens::TMethodReport& Report) {
  // The board shows a method's best only when it solved the problem.
  if (Report.Fittest.empty() || Report.MaxFitness != Report.FitnessCutoff) return;
  lblSolution->setText(tr("Solution shown: %1, Run %2").arg(MethodCaption(Report.Method)).arg(runs_));
}

void TForm1::ShowBoard() { ShowBoard(wb_.Board()); }

void TForm1::ShowBoard(const queens::TChessBoard& Board) {
  app::ShowBoard(*sgChessBoard, Board);
  // A best-found board names itself; a solution's caption comes with its method's report.
  if (!Board.Caption().empty()) lblSolution->setText(QString::fromStdString(Board.Caption()));
}

}  // namespace zp::app
