#include "experiment/Runner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "workbench/ComparisonRun.h"
#include "workbench/QueensProblem.h"
#include "workbench/RunEvents.h"

namespace zp::experiment {

namespace {

// Gathers the rows and improvements of one repeat from the run's events.
class TRepeatObserver : public queens::IRunObserver {
 public:
  TRepeatObserver(const TExperimentDesign& Design, TRepeatResult& Result) : design_(Design), result_(Result) {}

  void OnGeneration(const queens::TGenerationReport& Report) override {
    if (!trace_ || trace_->Trace().Method != Report.Method)
      trace_.emplace(result_.Key.Queens, result_.Key.Repeat, Report.Method);
    trace_->AddGeneration(Report.Generation, Report.MaxFitness);
  }

  void OnMethodFinished(const queens::TMethodReport& Report) override {
    const bool written =
        std::find(design_.Methods.begin(), design_.Methods.end(), Report.Method) != design_.Methods.end();
    if (written) {
      TRunRow row;
      row.Queens = result_.Key.Queens;
      row.Repeat = result_.Key.Repeat;
      row.Seed = result_.Seed;
      row.Method = Report.Method;
      row.Solved = Report.Solved;
      row.Generations = Report.Generation;
      row.Evaluations = static_cast<int64_t>(Report.PopulationSize) * (1 + static_cast<int64_t>(Report.Generation));
      row.MaxFitness = Report.MaxFitness;
      row.AvgFitness = Report.AvgFitness;
      row.MinFitness = Report.MinFitness;
      row.BestEver = trace_ && trace_->BestEver() ? *trace_->BestEver() : Report.MaxFitness;
      row.Fittest = Report.Fittest;
      result_.Rows.push_back(std::move(row));
      if (trace_ && !trace_->Trace().Improvements.empty()) result_.Traces.push_back(trace_->Trace());
    }
    trace_.reset();
  }

 private:
  const TExperimentDesign& design_;
  TRepeatResult& result_;
  std::optional<TTraceBuilder> trace_;
};

}  // namespace

TRepeatResult RunRepeat(const TExperimentDesign& Design, TRepeatKey Key, std::stop_token Stop) {
  const auto start = std::chrono::steady_clock::now();
  TRepeatResult result;
  result.Key = Key;
  result.Seed = RepeatSeed(Design.Seed, Key.Queens, Key.Repeat);
  // A fresh component per repeat: the stored settings exactly (GeneSize only ever
  // grows, so a reused component would remember a larger board).
  queens::TQueensProblem problem(Key.Queens);
  queens::TComparisonRequest request;
  request.Settings.Generations = Design.Generations;
  request.Seed = result.Seed;
  request.Streams = Design.Streams;
  request.Methods = Design.MethodsToRun();
  request.Stop = std::move(Stop);
  TRepeatObserver observer(Design, result);
  if (queens::RunComparison(problem, request, observer).Stopped) throw TRepeatStopped();
  result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

namespace {

// The state the workers and the writer share while RunRepeats runs.
class TRepeatPool {
 public:
  TRepeatPool(const TExperimentDesign& Design, std::span<const TRepeatKey> Todo, size_t Workers,
              const std::atomic<bool>& Stop)
      : design_(Design),
        todo_(Todo),
        stop_(Stop),
        // Finished repeats wait in done_ until every earlier one is delivered; a
        // worker runs no further ahead of the writer than this, which bounds the memory.
        window_(64 * std::max<size_t>(Workers, 1)) {}

  // A worker thread: runs the next repeat until none is left or all is abandoned.
  void Work() {
    for (;;) {
      const size_t i = next_.fetch_add(1);
      if (i >= todo_.size()) return;
      {
        std::unique_lock lock(mutex_);
        written_.wait(lock, [&] { return abandon_ || stop_.load() || i < delivered_ + window_; });
        if (abandon_ || stop_.load()) return;
      }
      try {
        TRepeatResult result = RunRepeat(design_, todo_[i], halt_.get_token());
        std::lock_guard lock(mutex_);
        done_.emplace(i, std::move(result));
      } catch (const TRepeatStopped&) {
        return;
      } catch (...) {
        std::lock_guard lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
        abandon_ = true;
        halt_.request_stop();
      }
      ready_.notify_one();
    }
  }

  // The calling thread: delivers the results in order until all are, or a
  // stop or failure comes; calls Idle while it waits.
  void DeliverInOrder(const std::function<void(TRepeatResult&)>& Deliver, const std::function<void()>& Idle,
                      int PollMs) {
    while (delivered_ < todo_.size()) {
      std::unique_lock lock(mutex_);
      if (!ready_.wait_for(lock, std::chrono::milliseconds(PollMs),
                           [&] { return abandon_ || stop_.load() || done_.contains(delivered_); })) {
        lock.unlock();
        if (Idle) Idle();
        continue;
      }
      if (abandon_) return;
      if (stop_.load()) {
        halt_.request_stop();
        return;
      }
      TRepeatResult result = std::move(done_.extract(delivered_).mapped());
      lock.unlock();
      Deliver(result);
      lock.lock();
      ++delivered_;
      lock.unlock();
      written_.notify_all();
    }
  }

  // Ends the workers' waiting and their repeats; Error (when set) is raised
  // by Rethrow unless a worker's came first.
  void Finish(std::exception_ptr Error) {
    {
      std::lock_guard lock(mutex_);
      if (Error && !failure_) failure_ = Error;
      abandon_ = true;
      halt_.request_stop();
    }
    written_.notify_all();
  }

  void Rethrow() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  const TExperimentDesign& design_;
  std::span<const TRepeatKey> todo_;
  const std::atomic<bool>& stop_;
  const size_t window_;
  std::mutex mutex_;
  std::condition_variable ready_;    // a result arrived, or a worker failed
  std::condition_variable written_;  // the writer moved on
  std::map<size_t, TRepeatResult> done_;
  size_t delivered_ = 0;
  bool abandon_ = false;  // the writer failed, or a worker did
  std::exception_ptr failure_;
  std::stop_source halt_;  // Stop or abandon, as the repeats look at it
  std::atomic<size_t> next_{0};
};

}  // namespace

void RunRepeats(const TExperimentDesign& Design, std::span<const TRepeatKey> Todo, int Jobs,
                const std::atomic<bool>& Stop, const std::function<void(TRepeatResult&)>& Deliver,
                const std::function<void()>& Idle, int PollMs) {
  const size_t workers = std::min(Todo.size(), static_cast<size_t>(std::max(Jobs, 1)));
  TRepeatPool pool(Design, Todo, workers, Stop);
  {
    std::vector<std::jthread> threads;
    for (size_t w = 0; w < workers; ++w) threads.emplace_back([&pool] { pool.Work(); });
    if (Idle) Idle();  // once at once: the caller may prepare its end beside the workers
    try {
      pool.DeliverInOrder(Deliver, Idle, PollMs);
      pool.Finish(nullptr);
    } catch (...) {
      pool.Finish(std::current_exception());
    }
  }  // the workers end here
  pool.Rethrow();
}

}  // namespace zp::experiment
