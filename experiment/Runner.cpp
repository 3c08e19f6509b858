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

#include "platform/Random.h"
#include "workbench/QueensWorkbench.h"
#include "workbench/RunEvents.h"

namespace zp::experiment {

namespace {

// Gathers the rows and improvements of one repeat from the workbench's events.
class TRepeatObserver : public queens::IRunObserver {
 public:
  TRepeatObserver(const TExperimentDesign& Design, TRepeatResult& Result, const std::atomic<bool>* Stop)
      : design_(Design), result_(Result), stop_(Stop) {}

  void OnGeneration(const queens::TGenerationReport& Report) override {
    if (stop_ && stop_->load(std::memory_order_relaxed)) throw TRepeatStopped();
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
      row.Solved = Report.MaxFitness == Report.FitnessCutoff;
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
  const std::atomic<bool>* stop_;  // not owned
  std::optional<TTraceBuilder> trace_;
};

}  // namespace

TRepeatResult RunRepeat(const TExperimentDesign& Design, TRepeatKey Key, const std::atomic<bool>* Stop) {
  const auto start = std::chrono::steady_clock::now();
  TRepeatResult result;
  result.Key = Key;
  result.Seed = RepeatSeed(Design.Seed, Key.Queens, Key.Repeat);
  // A new workbench per repeat: the stored settings exactly (GeneSize only ever
  // grows, so a reused component would remember a larger board).
  TRandom random(result.Seed);
  queens::TQueensWorkbench wb(random);
  wb.SetStreams(Design.Streams);
  TRepeatObserver observer(Design, result, Stop);
  wb.Attach(observer);
  wb.FormCreate();
  wb.SpinEdit1Change(Key.Queens);
  wb.RunComparison(std::to_string(Design.Generations), Design.MethodsToRun());
  result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

void RunRepeats(const TExperimentDesign& Design, std::span<const TRepeatKey> Todo, int Jobs,
                const std::atomic<bool>& Stop, const std::function<void(TRepeatResult&)>& Deliver,
                const std::function<void()>& Idle, int PollMs) {
  const size_t total = Todo.size();
  const size_t workers = std::min(total, static_cast<size_t>(std::max(Jobs, 1)));
  // Finished repeats wait here until every earlier one is delivered; a worker
  // runs no further ahead of the writer than this, which bounds the memory.
  const size_t window = 64 * std::max<size_t>(workers, 1);

  std::mutex mutex;
  std::condition_variable ready;    // a result arrived, or a worker failed
  std::condition_variable written;  // the writer moved on
  std::map<size_t, TRepeatResult> done;
  size_t delivered = 0;
  bool abandon = false;  // the writer failed, or a worker did
  std::exception_ptr failure;
  std::atomic<bool> halt{false};  // Stop or abandon, as the repeats look at it
  std::atomic<size_t> next{0};

  auto work = [&] {
    for (;;) {
      const size_t i = next.fetch_add(1);
      if (i >= total) return;
      {
        std::unique_lock lock(mutex);
        written.wait(lock, [&] { return abandon || Stop.load() || i < delivered + window; });
        if (abandon || Stop.load()) return;
      }
      try {
        TRepeatResult result = RunRepeat(Design, Todo[i], &halt);
        std::lock_guard lock(mutex);
        done.emplace(i, std::move(result));
      } catch (const TRepeatStopped&) {
        return;
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        abandon = true;
        halt = true;
      }
      ready.notify_one();
    }
  };

  {
    std::vector<std::jthread> threads;
    for (size_t w = 0; w < workers; ++w) threads.emplace_back(work);
    if (Idle) Idle();  // once at once: the caller may prepare its end beside the workers
    auto finish = [&](std::exception_ptr error) {
      {
        std::lock_guard lock(mutex);
        if (error && !failure) failure = error;
        abandon = true;
        halt = true;
      }
      written.notify_all();
    };
    try {
      while (delivered < total) {
        std::unique_lock lock(mutex);
        if (!ready.wait_for(lock, std::chrono::milliseconds(PollMs),
                            [&] { return abandon || Stop.load() || done.contains(delivered); })) {
          lock.unlock();
          if (Idle) Idle();
          continue;
        }
        if (abandon) break;
        if (Stop.load()) {
          halt = true;
          break;
        }
        TRepeatResult result = std::move(done.extract(delivered).mapped());
        lock.unlock();
        Deliver(result);
        lock.lock();
        ++delivered;
        lock.unlock();
        written.notify_all();
      }
      finish(nullptr);
    } catch (...) {
      finish(std::current_exception());
    }
  }  // the workers end here
  if (failure) std::rethrow_exception(failure);
}

}  // namespace zp::experiment
