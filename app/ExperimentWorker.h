// TExperimentWorker: an experiment's repeats run on worker threads through the
// experiment layer's runner, on a thread of their own so that the window stays
// responsive. Finished repeats reach the window's thread through a
// TWindowQueue, in key order, as the lines the result files get; the end comes
// last, with the statistics of a complete experiment worked out on that thread too.
//
//   TExperimentWorker worker(page, [&](auto& repeats) { ... }, [&](auto error, bool stopped) { ... });
//   worker.Start(design, 2);
//   worker.Stop();   // the running repeats are abandoned; the end follows soon
#pragma once

#include <QObject>
#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "app/WindowQueue.h"
#include "experiment/Comparisons.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/RecordedRuns.h"
#include "experiment/Summary.h"

namespace zp::app {

// What a complete experiment's rows say: the rows and traces read back from their
// lines, as a batch reads its runs.csv and traces.csv, and their statistics.
struct TExperimentAnalysis {
  experiment::TRecordedRuns Recorded;
  std::vector<experiment::TSummaryRow> Summary;
  std::vector<experiment::TComparisonRow> Comparisons;
};

class TExperimentWorker {
 public:
  using TDeliver = std::function<void(experiment::TRepeatLines& Repeat)>;
  // Error is set when a repeat or the runner raised one; Analysis when every
  // repeat arrived (a Stop that came after the last stops nothing), else empty.
  using TEnd = std::function<void(const std::exception_ptr& Error, std::optional<TExperimentAnalysis>& Analysis)>;
  // Deliver and End are called on Receiver's thread.
  TExperimentWorker(QObject& Receiver, TDeliver Deliver, TEnd End);
  // Stops an experiment still going and waits for its threads.
  ~TExperimentWorker();
  TExperimentWorker(const TExperimentWorker&) = delete;
  TExperimentWorker& operator=(const TExperimentWorker&) = delete;

  // Runs every repeat of Design on Jobs worker threads; one experiment at a time.
  void Start(const experiment::TExperimentDesign& Design, int Jobs);
  // Asks the experiment to end: no repeat starts, the running ones are abandoned.
  void Stop() { stop_ = true; }
  // True from Start until the end has been delivered.
  bool Running() const { return thread_.joinable(); }

 private:
  TDeliver deliver_;
  TEnd end_;
  TWindowQueue queue_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

}  // namespace zp::app
