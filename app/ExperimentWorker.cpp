#include "app/ExperimentWorker.h"

#include <utility>

#include "experiment/Runner.h"

namespace zp::app {

TExperimentWorker::TExperimentWorker(QObject& Receiver, TDeliver Deliver, TEnd End)
    : receiver_(&Receiver), deliver_(std::move(Deliver)), end_(std::move(End)) {}

TExperimentWorker::~TExperimentWorker() {
  Stop();
  if (thread_.joinable()) thread_.join();
}

namespace {

// Rows and traces of one repeat, read back from its lines and added to Recorded.
void AddRepeat(experiment::TRecordedRuns& Recorded, const experiment::TRepeatLines& Lines) {
  for (experiment::TRunRow& row : experiment::ParseRunsCsv(std::string(experiment::kRunsCsvHeader) + "\n" + Lines.Runs))
    Recorded.Rows.push_back(std::move(row));
  for (experiment::TRunTrace& trace :
       experiment::ParseTracesCsv(std::string(experiment::kTracesCsvHeader) + "\n" + Lines.Traces))
    Recorded.Traces.push_back(std::move(trace));
}

}  // namespace

void TExperimentWorker::Start(const experiment::TExperimentDesign& Design, int Jobs) {
  if (thread_.joinable()) thread_.join();
  stop_ = false;
  ended_ = false;
  error_ = nullptr;
  analysis_.reset();
  thread_ = std::thread([this, Design, Jobs] {
    std::exception_ptr error;
    std::optional<TExperimentAnalysis> analysis;
    try {
      const std::vector<experiment::TRepeatKey> keys = experiment::RepeatKeys(Design);
      // Read back as each repeat arrives, so that the rows as the files would hold them are ready at the end.
      TExperimentAnalysis gathered;
      size_t delivered = 0;
      experiment::RunRepeats(Design, keys, Jobs, stop_, [&](experiment::TRepeatResult& result) {
        experiment::TRepeatLines lines = experiment::RepeatLines(result);
        AddRepeat(gathered.Recorded, lines);
        ++delivered;
        Post(&lines, nullptr);
      });
      if (delivered == keys.size()) {
        gathered.Summary = experiment::Summarize(gathered.Recorded.Rows);
        gathered.Comparisons = experiment::Compare(gathered.Recorded.Rows);
        analysis = std::move(gathered);
      }
    } catch (...) {
      error = std::current_exception();
      analysis.reset();
    }
    Post(nullptr, &error, &analysis);
  });
}

void TExperimentWorker::Post(experiment::TRepeatLines* Repeat, const std::exception_ptr* Error,
                             std::optional<TExperimentAnalysis>* Analysis) {
  const std::lock_guard lock(mutex_);
  if (Repeat) queue_.push_back(std::move(*Repeat));
  if (Error) {
    ended_ = true;
    error_ = *Error;
  }
  if (Analysis) analysis_ = std::move(*Analysis);
  if (drain_posted_) return;
  drain_posted_ = true;
  // Dropped with the receiver: a page that has gone wants no more repeats.
  QMetaObject::invokeMethod(
      receiver_, [this] { Drain(); }, Qt::QueuedConnection);
}

void TExperimentWorker::Drain() {
  std::vector<experiment::TRepeatLines> repeats;
  bool ended = false;
  std::exception_ptr error;
  std::optional<TExperimentAnalysis> analysis;
  {
    const std::lock_guard lock(mutex_);
    repeats.swap(queue_);
    ended = ended_;
    error = error_;
    analysis.swap(analysis_);
    drain_posted_ = false;
  }
  if (!repeats.empty()) deliver_(repeats);
  if (!ended) return;
  // The end is the thread's last post: it is about to return.
  if (thread_.joinable()) thread_.join();
  end_(error, analysis);
}

}  // namespace zp::app
