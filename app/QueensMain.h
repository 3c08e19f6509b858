// TForm1: the main window of nqueens-workbench, a thin view over the
// workbench model. Each handler hands the user's action to the model and then
// shows what changed: log lines as they come, the board, and the progress of
// a comparison run, which goes on a thread of its own so that the window stays
// responsive and can stop it (Stop, Esc, or closing the window). No exception
// leaves a handler: the window shows its message and stays usable.
//
//   QApplication app(argc, argv);
//   zp::app::TForm1 form;
//   form.show();
//   return app.exec();
#pragma once

#include <QString>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "app/Anchors.h"
#include "app/ExperimentsPage.h"
#include "app/FileDialogs.h"
#include "app/RunWorker.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace zp::app {

class TCommandLock;

// The window observes its workbench for the progress line and the solution's caption.
class TForm1 : public QWidget, private queens::IRunObserver {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* Parent = nullptr);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Not to be used while Running(): the run's thread owns it then.
  queens::TQueensWorkbench& Workbench() { return wb_; }
  // The Graph page's curves, attached to the workbench from the start.
  queens::TFitnessGraph& FitnessGraph() { return graph_; }
  TFileDialogs& FileDialogs() { return dialogs_; }
  // True while a comparison run is going.
  bool Running() const { return running_; }
  // Asks a run to end after the generation in progress; nothing when none is going.
  void Stop();
  // The third page: batch experiments, whose Start and this page's Run exclude each other.
  TExperimentsPage& ExperimentsPage() { return *tsExperiments; }
  // Runs an experiment's repeat again on this page, exactly as the experiment ran it:
  // the component starts over from its stored settings with the repeat's seed, streams
  // and queen count, and the Run shows its log, board and curves. Nothing while a run
  // or an experiment is going.
  void ReplayRepeat(const TRepeatReplay& Replay);

  // Shows the message of an error that left a handler; a message box unless replaced.
  std::function<void(const QString& Message)> ShowErrorMessage;

 signals:
  // The workbench's streams setting was changed by the window itself (a replay).
  void StreamsChanged(bool Shared);

 protected:
  void resizeEvent(QResizeEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;

 private:
  // --- construction, in order ---
  void CreateControls();
  void CreateCommands();
  void CreatePages();
  void SetTabOrder();
  void SetAnchors();
  void ConnectHandlers();
  void FormCreate();

  // --- handlers, one per user action ---
  void btnInitClick();
  void btnRunClick();
  void btnStopClick() { Stop(); }
  void SpinEdit1Change(int Value);
  void cbGraphClick(bool Checked);
  void btnSaveClick();
  void Button1Click();
  void Button2Click();
  void btnLoadClick();
  void btnLoadGenoTypeClick();
  void btnLoadPopulationClick();
  void FormResize();

  // The exception boundary: runs Handler unless a run is going, shows any
  // error it raises, then shows the model's board.
  void Guarded(const std::function<void()>& Handler) noexcept;
  // Connects Signal of Sender to a handler through the boundary.
  template <class Sender, class Signal, class... Args>
  void Connect(Sender* From, Signal Event, void (TForm1::*Handler)(Args...));

  // What the run's thread told since the last batch, in its order.
  void Deliver(std::vector<TRunEvent>& Events);
  void EndRun(const std::exception_ptr& Error);
  void ShowError(const QString& Message);

  // Every append keeps the log at its end, also with the Graph page in front.
  void AppendLog(const std::string& Line);
  void ScrollLogToEnd();
  void OnCurvesReset(double Cutoff) override;
  void OnGeneration(const queens::TGenerationReport& Report) override;
  void OnMethodFinished(const queens::TMethodReport& Report) override;
  void ShowBoard();
  void ShowBoard(const queens::TChessBoard& Board);
  void SaveFile(void (queens::TQueensWorkbench::*Save)(const std::string&));
  // Reads Name with Read; the queen count control follows a loaded N-Queens problem.
  void Load(void (queens::TQueensWorkbench::*Read)(const std::string&), const QString& Name);

  queens::TFitnessGraph graph_;
  queens::TQueensWorkbench wb_;
  TFileDialogs dialogs_;
  TAnchors anchors_;
  bool running_ = false;
  bool close_requested_ = false;
  bool resized_while_running_ = false;
  int runs_ = 0;  // Runs since the last initialization, the one going included

  // Controls, owned by the window through Qt's parent-child ownership.
  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QPushButton* btnInit = nullptr;
  QPushButton* btnRun = nullptr;
  QPushButton* btnStop = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* btnLoad = nullptr;
  QPushButton* btnSave = nullptr;
  QPushButton* btnLoadGenoType = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* btnLoadPopulation = nullptr;
  QPushButton* Button2 = nullptr;
  QCheckBox* cbGraph = nullptr;
  QTableWidget* sgChessBoard = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QWidget* tsText = nullptr;
  QWidget* tsGraph = nullptr;
  TExperimentsPage* tsExperiments = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QWidget* ChartPanel = nullptr;
  QLabel* lblProgress = nullptr;
  QLabel* lblSolution = nullptr;

  // Declared last: its destructor stops and waits for a run before anything else goes.
  std::unique_ptr<TCommandLock> run_lock_;
  TRunWorker worker_;
};

}  // namespace zp::app
