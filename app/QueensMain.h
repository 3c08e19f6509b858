// TForm1: the main window of nqueens-workbench, a thin view over the
// workbench model. Each handler hands the user's action to the model and then
// shows what changed: log lines as they come, the board, and the progress of
// a comparison run. No exception leaves a handler: the window shows its
// message and stays usable.
//
//   QApplication app(argc, argv);
//   zp::app::TForm1 form;
//   form.show();
//   return app.exec();
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <functional>

#include "app/Anchors.h"
#include "app/FileDialogs.h"
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

// The window observes its workbench's runs for the progress line.
class TForm1 : public QWidget, private queens::IRunObserver {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* Parent = nullptr);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  queens::TQueensWorkbench& Workbench() { return wb_; }
  // The Graph page's curves, attached to the workbench from the start.
  queens::TFitnessGraph& FitnessGraph() { return graph_; }
  TFileDialogs& FileDialogs() { return dialogs_; }
  // True while a comparison run is going.
  bool Running() const { return running_; }

  // Shows the message of an error that left a handler; a message box unless replaced.
  std::function<void(const QString& Message)> ShowErrorMessage;

  // During a run, pending events are processed at most every Milliseconds (0: every generation).
  void SetProgressInterval(int Milliseconds) { progress_interval_ = Milliseconds; }

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

  void AppendLog(const std::string& Line);
  void OnGeneration(const queens::TGenerationReport& Report) override;
  void ShowProgress(ga::TGASelectionMethod Method, int Generation);
  void ProcessPendingEvents();
  void ShowBoard();
  void SaveFile(void (queens::TQueensWorkbench::*Save)(const std::string&));

  queens::TFitnessGraph graph_;
  queens::TQueensWorkbench wb_;
  TFileDialogs dialogs_;
  TAnchors anchors_;
  bool running_ = false;
  bool close_requested_ = false;
  int progress_interval_ = 50;
  QElapsedTimer progress_clock_;

  // Controls, owned by the window through Qt's parent-child ownership.
  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QPushButton* btnInit = nullptr;
  QPushButton* btnRun = nullptr;
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
  QPlainTextEdit* Memo1 = nullptr;
  QWidget* ChartPanel = nullptr;
  QLabel* lblProgress = nullptr;
};

}  // namespace zp::app
