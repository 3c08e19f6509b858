// TRunWorker: a comparison run on a thread of its own. For the run the
// workbench belongs to the worker; what the run tells (log lines, curve
// resets, generations, finished methods with the board as they left it, the
// end) is queued and handed to the window's thread in batches, in the order
// it happened, so that the chart and the controls are only touched there.
// While events keep coming, a batch is taken at most every few milliseconds.
//
//   TRunWorker worker(window, [&](std::vector<TRunEvent>& events) { ... });
//   worker.Start(workbench, "100");   // the window's observers detached first
//   worker.Stop();                    // the run ends after the generation in progress
#pragma once

#include <QObject>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "workbench/ChessBoard.h"
#include "workbench/QueensWorkbench.h"
#include "workbench/RunEvents.h"

namespace zp::app {

struct TLogLineEvent {
  std::string Line;
};
struct TCurvesResetEvent {
  double Cutoff;
};
struct TMethodFinishedEvent {
  queens::TMethodReport Report;
  queens::TChessBoard Board;  // the workbench's board right after the method
};
// The last event of a run; Error is set when the run raised one.
struct TRunEndEvent {
  std::exception_ptr Error;
};
using TRunEvent =
    std::variant<TLogLineEvent, TCurvesResetEvent, queens::TGenerationReport, TMethodFinishedEvent, TRunEndEvent>;

class TRunWorker : private queens::IRunObserver {
 public:
  using TDeliver = std::function<void(std::vector<TRunEvent>& Events)>;
  // Deliver is called on Receiver's thread with the events queued since its last call.
  TRunWorker(QObject& Receiver, TDeliver Deliver);
  // Stops a run still going and waits for its thread.
  ~TRunWorker() override;
  TRunWorker(const TRunWorker&) = delete;
  TRunWorker& operator=(const TRunWorker&) = delete;

  // Runs Workbench.btnRunClick(GenerationText) on the worker's thread; Workbench must
  // not be used elsewhere until the run's end event has been delivered (or Wait returned).
  void Start(queens::TQueensWorkbench& Workbench, std::string GenerationText);
  // Asks the run to end after the generation in progress; returns at once.
  void Stop();
  // Waits for the thread of a run that has ended or was stopped.
  void Wait();
  bool Started() const { return thread_.joinable(); }

 private:
  void OnCurvesReset(double Cutoff) override;
  void OnGeneration(const queens::TGenerationReport& Report) override;
  void OnMethodFinished(const queens::TMethodReport& Report) override;
  // Queues Event; waits while the window is far behind, unless the run is stopping.
  void Post(TRunEvent Event, bool MayWait = true);
  // On the receiver's thread: hands over the queue; a short while later Reopen takes what
  // came meanwhile, or lets the next event post a drain again.
  void Drain();
  void Reopen();

  QObject* receiver_;  // not owned; outlives the worker, whose thread ends before it goes
  TDeliver deliver_;
  queens::TQueensWorkbench* workbench_ = nullptr;  // not owned; the run's
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable drained_;
  std::vector<TRunEvent> queue_;
  bool drain_posted_ = false;  // a Drain or Reopen is on its way: Post need not wake the receiver
  bool stopping_ = false;
};

}  // namespace zp::app
