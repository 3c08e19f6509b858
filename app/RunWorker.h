// TRunWorker: a comparison run on a thread of its own. For the run the
// workbench belongs to the worker; what the run tells (log lines, curve
// resets, generations, finished methods with the board as they left it, the
// end) reaches the window's thread through a TWindowQueue, in the order it
// happened, as calls of the window's own run view: the same observer calls
// the workbench makes, so that the chart and the controls are only touched there.
//
//   TRunWorker worker(window, view);
//   worker.Start(workbench, "100");   // the window's observers detached first
//   worker.Stop();                    // the run ends at the engine's next look at its stop test
#pragma once

#include <QObject>
#include <exception>
#include <string>
#include <thread>

#include "app/WindowQueue.h"
#include "workbench/ChessBoard.h"
#include "workbench/QueensWorkbench.h"
#include "workbench/RunEvents.h"

namespace zp::app {

// What the window does with a run's events, on its own thread: the workbench's
// observer calls, the board a finished method left, and the end (Error set when
// the run raised one).
class IRunView : public queens::IRunObserver {
 public:
  virtual void OnBoard(const queens::TChessBoard& Board) = 0;
  virtual void OnRunEnd(const std::exception_ptr& Error) = 0;
};

class TRunWorker : private queens::IRunObserver {
 public:
  // View is told on Receiver's thread (both outlive the worker).
  TRunWorker(QObject& Receiver, IRunView& View);
  // Stops a run still going and waits for its thread.
  ~TRunWorker() override;
  TRunWorker(const TRunWorker&) = delete;
  TRunWorker& operator=(const TRunWorker&) = delete;

  // Runs Workbench.btnRunClick(GenerationText) on the worker's thread; Workbench must
  // not be used elsewhere until the run's end has been told (or Wait returned).
  void Start(queens::TQueensWorkbench& Workbench, std::string GenerationText);
  // Asks the run to end; returns at once.
  void Stop();
  // Waits for the thread of a run that has ended or was stopped.
  void Wait();
  bool Started() const { return thread_.joinable(); }

 private:
  void OnCurvesReset(double Cutoff) override;
  void OnHeading(const queens::TRunHeading& Heading) override;
  void OnGeneration(const queens::TGenerationReport& Report) override;
  void OnMethodFinished(const queens::TMethodReport& Report) override;

  IRunView* view_;                                 // not owned
  queens::TQueensWorkbench* workbench_ = nullptr;  // not owned; the run's
  TWindowQueue queue_;
  std::thread thread_;
};

}  // namespace zp::app
