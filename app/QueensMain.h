// TForm1: the main window's form, a thin view over the workbench model, which
// TMainWindow hosts between its menus, tool bar and status bar (tests drive it
// on its own). Each handler hands the user's action to the model and then
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
#include <optional>
#include <vector>

#include "app/Anchors.h"
#include "app/ExperimentsPage.h"
#include "app/FileDialogs.h"
#include "app/RecentFiles.h"
#include "app/RunProgress.h"
#include "app/RunWorker.h"
#include "app/WindowSettings.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTimer;

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

  // --- commands, as the buttons give them; each does nothing during a run but Stop ---
  // File > New: everything as at program start for the queen count in the spin box (a
  // new component, the random source at the seed the window started from, the
  // introduction alone in the log, an empty board and no curves); the settings stay.
  void New();
  void Initialize();
  void Run();
  // Asks a run to end after the generation in progress; nothing when none is going.
  void Stop();
  // The third page: batch experiments, whose Start and this page's Run exclude each other.
  TExperimentsPage& ExperimentsPage() { return *tsExperiments; }
  // Runs an experiment's repeat again on this page, exactly as the experiment ran it:
  // the component starts over from its stored settings with the repeat's seed, streams
  // and queen count, and the Run shows its log, board and curves. Nothing while a run
  // or an experiment is going.
  void ReplayRepeat(const TRepeatReplay& Replay);

  // Loads a document of Kind from File, from the open dialog when File is empty.
  void Open(TDocumentKind Kind, const QString& File = {});
  // Saves a document of Kind to the file chosen in the save dialog.
  void Save(TDocumentKind Kind);

  // --- settings ---
  // What the main page's controls hold.
  TFormSettings Settings() const;
  // Fills the controls without their handlers: nothing is initialized and nothing logged;
  // the queen count and the Graph box set the model's, which the next initialization uses.
  void RestoreSettings(const TFormSettings& Settings);
  // Every method of a Run from the same random numbers, or each continuing the last (default).
  void SetSharedStreams(bool Shared);
  bool SharedStreams() const;
  // The Experiments page's seed as remembered: what its seed field holds (the last
  // valid seed while the field holds none), and what fills the field at start.
  uint32_t SavedExperimentSeed() const;
  void SetSavedExperimentSeed(uint32_t Seed);

  // The seed the random source had when the window was made (0, or --seed): New goes back to it.
  uint32_t StartSeed() const { return start_seed_; }

  // Moves the progress line and the run's progress bar from under the pages into Bar.
  void ShowProgressIn(QStatusBar& Bar);
  // How often, at most, the chart and the progress are brought up to date during a run;
  // a chart that takes long to paint is painted less often, down to once in kMaxShowIntervalMs.
  static constexpr int kShowIntervalMs = 33, kMaxShowIntervalMs = 1000;

  // Shows the message of an error that left a handler; a message box unless replaced.
  std::function<void(const QString& Message)> ShowErrorMessage;

  QSize sizeHint() const override;

 signals:
  // A run started or ended (its results shown).
  void RunningChanged(bool Running);
  // File was loaded or saved as a document of Kind.
  void DocumentUsed(const QString& File, TDocumentKind Kind);
  // The workbench's streams setting was changed by the window itself (a replay, or the
  // Experiments page's box, which shows the same setting).
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
  // Places the anchored controls for the window's size.
  void ApplyAnchors();
  void ConnectHandlers();
  void FormCreate();

  // --- handlers, one per user action ---
  void btnInitClick();
  void btnRunClick();
  void btnStopClick() { Stop(); }
  void btnLoadAnyClick(TDocumentKind Kind, const QString& File);
  void SaveDocument(TDocumentKind Kind);
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

  // What a run on the worker's thread tells, on the window's thread.
  class TRunView : public IRunView {
   public:
    explicit TRunView(TForm1& Form) : form_(Form) {}
    void OnLog(const std::string& Line) override;
    void OnCurvesReset(double Cutoff) override;
    void OnHeading(const queens::TRunHeading& Heading) override;
    void OnGeneration(const queens::TGenerationReport& Report) override;
    void OnMethodFinished(const queens::TMethodReport& Report) override;
    void OnBoard(const queens::TChessBoard& Board) override;
    void OnRunEnd(const std::exception_ptr& Error) override;

   private:
    TForm1& form_;
  };
  void EndRun(const std::exception_ptr& Error);
  // Brings the curves and the progress up to what the run has told, at most every kShowIntervalMs.
  void ShowRunState();
  // Starts the wait for ShowRunState unless it is on its way.
  void ShowRunStateSoon();
  void PlotUnplotted();
  void ShowError(const QString& Message);

  // Every append keeps the log at its end, also with the Graph page in front.
  void AppendLog(const std::string& Line);
  void ScrollLogToEnd();
  void OnCurvesReset(double Cutoff) override;
  void OnMethodFinished(const queens::TMethodReport& Report) override;
  void ShowBoard();
  void ShowBoard(const queens::TChessBoard& Board);
  // The log edit refilled with the model's whole log.
  void ShowWholeLog();
  // Tells the status bar and the log which file was read or written as what.
  void ReportDocument(const char* Verb, const QString& File, TDocumentKind Kind);
  // Reads Name with Read; the queen count control follows a loaded N-Queens problem.
  void Load(void (queens::TQueensWorkbench::*Read)(const std::string&), const QString& Name);

  queens::TFitnessGraph graph_;
  queens::TQueensWorkbench wb_;
  TFileDialogs dialogs_;
  TAnchors anchors_;
  bool running_ = false;
  bool close_requested_ = false;
  bool resized_while_running_ = false;
  int runs_ = 0;             // Runs since the last initialization, the one going included
  bool run_counts_ = false;  // the Run going has a generation count (one without fails at once)
  uint32_t start_seed_ = 0;
  uint32_t saved_experiment_seed_ = 0;  // the last one filled in or read
  // What the run told that the chart and the progress line have not shown yet.
  std::vector<queens::TGenerationReport> unplotted_;
  std::optional<TRunProgress> progress_;
  QTimer* show_timer_ = nullptr;

  // Controls, owned by the window through Qt's parent-child ownership.
  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QLabel* lblGenerations = nullptr;
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
  QProgressBar* pbProgress = nullptr;
  QLabel* lblSolution = nullptr;
  QCheckBox* cbSameNumbers = nullptr;  // the Experiments page's view of the streams setting

  // Declared last: its destructor stops and waits for a run before anything else goes.
  std::unique_ptr<TCommandLock> run_lock_;
  TRunView run_view_{*this};
  TRunWorker worker_;
};

}  // namespace zp::app
