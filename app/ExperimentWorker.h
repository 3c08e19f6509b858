// TExperimentWorker: an experiment's repeats run on worker threads through the
// experiment layer's runner, on a thread of their own so that the window stays
// responsive, and written into the experiment's folder as they finish, in key
// order, exactly as nqueens-ga batch writes them: a Stop, a closed window or a
// crash keeps every finished repeat. Each repeat also reaches the window's
// thread through a TWindowQueue; the end comes last, with the statistics of
// the folder's whole rows worked out on that thread too.
//
//   TExperimentWorker worker(page, [&](auto& repeat) { ... }, [&](auto& end) { ... });
//   worker.Start(folder, design, todo, 2, run);
//   worker.Stop();   // the running repeats are abandoned; the end follows soon
#pragma once

#include <QObject>
#include <atomic>
#include <exception>
#include <filesystem>
#include <functional>
#include <thread>

#include "app/WindowQueue.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/ExperimentRun.h"

namespace zp::app {

// How an experiment ended.
struct TExperimentEnd {
  std::exception_ptr Error;        // set when a repeat, a write or the statistics raised one
  bool Complete = false;           // every repeat is in the folder and its end files are written
  experiment::TFolderState State;  // the folder's whole rows; empty after an error that kept it from being read
};

class TExperimentWorker {
 public:
  using TDeliver = std::function<void(experiment::TRepeatLines& Repeat)>;
  using TEnd = std::function<void(TExperimentEnd& End)>;
  // Deliver and End are called on Receiver's thread.
  TExperimentWorker(QObject& Receiver, TDeliver Deliver, TEnd End);
  // Stops an experiment still going and waits for its threads.
  ~TExperimentWorker();
  TExperimentWorker(const TExperimentWorker&) = delete;
  TExperimentWorker& operator=(const TExperimentWorker&) = delete;

  // Runs Todo (repeats of Design still missing from Folder, which PrepareExperimentFolder
  // made ready) on Jobs worker threads, appending each to Folder's files; after the
  // last, the end files and experiment.json with Run's end time. One experiment at a time.
  void Start(const std::filesystem::path& Folder, const experiment::TExperimentDesign& Design,
             const experiment::TRepeatList& Todo, int Jobs, const experiment::TRunInfo& Run);
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
  std::atomic<bool> closing_{false};  // the end goes unread: the folder's statistics are not worked out
};

}  // namespace zp::app
