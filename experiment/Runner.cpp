#include "experiment/Runner.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "experiment/RepeatPool.h"
#include "workbench/ComparisonRun.h"
#include "workbench/QueensProblem.h"
#include "workbench/RunEvents.h"

namespace zp::experiment {

namespace {

// Gathers the rows and improvements of one repeat from the run's events: each
// method's start population (generation 0) and then its generations, so that a
// start population holding a solution counts as a hit.
class TRepeatObserver : public queens::IRunObserver {
 public:
  TRepeatObserver(const TExperimentDesign& Design, const queens::IProblem& Problem, TCell Cell, TRepeatResult& Result)
      : design_(Design), problem_(Problem), cell_(std::move(Cell)), result_(Result) {}

  void OnMethodStarted(const queens::TGenerationReport& Report) override {
    trace_.emplace(cell_, result_.Key.Repeat, Report.Method);
    hit_.reset();
    Record(Report);
  }

  void OnGeneration(const queens::TGenerationReport& Report) override { Record(Report); }

  void OnMethodFinished(const queens::TMethodReport& Report) override {
    const bool written =
        std::find(design_.Methods.begin(), design_.Methods.end(), Report.Method) != design_.Methods.end();
    if (written) {
      TRunRow row;
      row.Problem = cell_.Problem;
      row.Size = cell_.Size;
      row.Config = cell_.Config;
      row.Repeat = result_.Key.Repeat;
      row.Seed = result_.Seed;
      row.Method = Report.Method;
      row.Solved = Report.Solved;
      row.HitGeneration = hit_;
      row.Generations = Report.Generation;
      row.Population = Report.PopulationSize;
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
  void Record(const queens::TGenerationReport& Report) {
    if (!trace_) return;
    trace_->AddGeneration(Report.Generation, Report.MaxFitness);
    if (!hit_ && problem_.Solved(Report.MaxFitness)) hit_ = Report.Generation;
  }

  const TExperimentDesign& design_;
  const queens::IProblem& problem_;
  const TCell cell_;
  TRepeatResult& result_;
  std::optional<TTraceBuilder> trace_;
  std::optional<int32_t> hit_;  // the first generation, 0 on, whose best reached the target
};

}  // namespace

TRepeatResult RunRepeat(const TExperimentDesign& Design, TRepeatKey Key, std::stop_token Stop) {
  const auto start = std::chrono::steady_clock::now();
  TRepeatResult result;
  result.Key = Key;
  const queens::TProblemChoice& chosen = Design.Problems.at(static_cast<size_t>(Key.Problem));
  result.Seed = RepeatSeed(Design.Seed, chosen, Key.Size, Key.Repeat);
  result.Problem = chosen.Name();
  // A fresh component per repeat: the stored settings exactly (GeneSize only ever
  // grows, so a reused component would remember a larger board).
  const std::unique_ptr<queens::IProblem> made = chosen.Make(Key.Size);
  queens::IProblem& problem = *made;
  queens::TComparisonRequest request;
  request.Settings = Design.SettingsFor(Key.Config, Key.Size);
  request.Seed = result.Seed;
  request.Streams = Design.Streams;
  request.Methods = Design.MethodsToRun();
  request.Stop = std::move(Stop);
  TRepeatObserver observer(Design, problem, TCell{chosen.Name(), Key.Size, Key.Config}, result);
  if (queens::RunComparison(problem, request, observer).Stopped) throw TRepeatStopped();
  result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

void RunRepeats(const TExperimentDesign& Design, const TRepeatList& Todo, int Jobs, const std::atomic<bool>& Stop,
                const std::function<void(TRepeatResult&)>& Deliver, const std::function<void()>& Idle, int PollMs,
                const std::function<void(const std::string&)>& Note,
                const TRepeatPool<TRepeatResult>::TStartThread& StartThread) {
  const size_t workers = std::min(Todo.size(), static_cast<size_t>(std::max(Jobs, 1)));
  if (workers == 0) return;
  TRepeatPool<TRepeatResult> pool(
      static_cast<int>(workers),
      [&Design](TRepeatKey Key, std::stop_token Halt) { return RunRepeat(Design, Key, std::move(Halt)); }, StartThread);
  if (pool.Threads() < workers && Note)
    Note("started " + std::to_string(pool.Threads()) + " of " + std::to_string(workers) + " worker threads (" +
         pool.ThreadError() + "); going on with them");
  // Finished repeats wait here until every earlier one is delivered; no repeat is
  // queued further ahead of the writer than this, which bounds the memory.
  const size_t window = 64 * workers;
  std::map<size_t, TRepeatResult> waiting;
  size_t queued = 0, delivered = 0;
  const auto queue_more = [&] {
    std::vector<TNumberedKey> keys;
    for (; queued < Todo.size() && queued < delivered + window; ++queued) keys.push_back({queued, Todo[queued]});
    if (!keys.empty()) pool.Add(keys);
  };
  queue_more();
  if (Idle) Idle();  // once at once: the caller may prepare its end beside the workers
  while (delivered < Todo.size()) {
    if (Stop.load()) return;  // the pool abandons the running repeats as it goes
    if (const std::exception_ptr failure = pool.Failure()) std::rethrow_exception(failure);
    for (auto& done : pool.TakeFinished()) waiting.emplace(done.Index, std::move(done.Result));
    const bool ready = waiting.contains(delivered);
    while (waiting.contains(delivered)) {
      auto node = waiting.extract(delivered);
      Deliver(node.mapped());  // an exception here ends the pool too
      ++delivered;
    }
    queue_more();
    if (!ready && !pool.Wait(std::chrono::milliseconds(PollMs)) && Idle) Idle();
  }
}

}  // namespace zp::experiment
