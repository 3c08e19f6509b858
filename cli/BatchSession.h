// What every front end of the batch command shares: the options checked
// against the output folder, the folder made or resumed, finished repeats
// written in key order with the progress line, the stop signals, and the
// statistics, pictures and table at the end.
//
//   TBatchPlan plan = PlanBatch(options, HardwareJobs());   // TDesignError: exit 2
//   TBatchSession session(options, plan, {UtcNow(), "", plan.Jobs, HostName()}, std::cerr, isatty(2));
//   RunRepeats(plan.Design, session.Todo(), plan.Jobs, TStopSignals::Stop(), [&](auto& r) { session.Write(r); });
//   session.Finish(std::cout);
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/BatchCommand.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/FolderLock.h"

namespace zp::cli {

// What the command line asks for, checked before anything is written.
struct TBatchPlan {
  experiment::TExperimentDesign Design;
  int Jobs = 1;
  bool Resuming = false;                          // the folder holds an experiment to go on with
  std::shared_ptr<experiment::TFolderLock> Lock;  // the folder is this process's while the plan lives
};

// The options over the defaults, or over what a resumed folder holds, checked
// against the folder, which is locked first (and made, if missing, to hold the
// lock); Jobs is DefaultJobs unless --jobs is given. Raises TDesignError naming
// the option; nothing but the lock is written.
TBatchPlan PlanBatch(const TBatchOptions& Options, int DefaultJobs);

// The hardware threads, at least 1.
int HardwareJobs();

// This machine's name; "" when it cannot be read.
std::string HostName();

// SIGINT and SIGTERM ask the experiment to stop while one of these lives; the
// handlers before it are back afterwards. One at a time.
class TStopSignals {
 public:
  TStopSignals();
  ~TStopSignals();
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // True once a signal came.
  static const std::atomic<bool>& Stop();
  // The signal that came, 0 for none.
  static int Signal();
};

// The progress line on a terminal: rewritten in place at most a few times a second.
class TProgress {
 public:
  TProgress(bool Shown, std::ostream& Err, size_t Total, size_t Done, size_t MethodsPerRepeat);

  void Repeat();
  void Show(bool Force);
  void End();
  size_t Done() const { return done_; }

 private:
  bool shown_;
  std::ostream& err_;
  size_t total_, done_, per_repeat_, session_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), last_{};
};

// An experiment being written: the folder made, or resumed (its incomplete
// repeats dropped), experiment.json written with Run, the result files open
// for appending and, when ShowProgress, the progress line on Err.
// Raises Exception on a failed write.
class TBatchSession {
 public:
  TBatchSession(const TBatchOptions& Options, const TBatchPlan& Plan, experiment::TRunInfo Run, std::ostream& Err,
                bool ShowProgress);

  const std::filesystem::path& Folder() const { return folder_; }
  // The repeats still to run, in key order.
  const experiment::TRepeatList& Todo() const { return todo_; }
  // Repeats in the whole experiment.
  size_t Total() const { return total_; }
  // Repeats written, before this session and in it.
  size_t Done() const { return progress_.Done(); }
  experiment::TResultFiles& Files() { return files_; }

  // The next repeat in key order, appended; raises Exception on a failed write.
  void Write(const experiment::TRepeatLines& Repeat);
  void Write(const experiment::TRepeatResult& Result) { Write(experiment::RepeatLines(Result)); }
  // Refreshes the progress line while nothing is written; the first call
  // also starts what the pictures at the end need, beside the running repeats.
  void Idle();
  // Ends the progress line.
  void EndProgress() { progress_.End(); }
  // The compute phase that Finish writes into experiment.json's run part.
  void SetComputePhase(const experiment::TRunInfo::TComputePhase& Phase) { run_.ComputePhase = Phase; }
  // After the last repeat: summary.csv, comparisons.csv, iohprofiler/ and the
  // ECDF pictures from the files as written, the table on Out, and
  // experiment.json with the end time.
  void Finish(std::ostream& Out);

 private:
  std::filesystem::path folder_;
  experiment::TExperimentDesign design_;
  experiment::TRunInfo run_;
  experiment::TRepeatList todo_;
  size_t total_ = 0;
  experiment::TResultFiles files_;
  TProgress progress_;
  bool drawing_prepared_ = false;
};

// Err gets "PROGRAM: stopped by SIG...; D of T repeats are written, whole rows
// only." and how to go on; returns the exit status, 128 + the signal.
int ReportStopped(const std::string& Program, const TBatchOptions& Options, size_t Done, size_t Total,
                  std::ostream& Err);

}  // namespace zp::cli
