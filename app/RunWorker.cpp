#include "app/RunWorker.h"

#include <QTimer>
#include <utility>

namespace zp::app {

namespace {

// Events the window may lag behind before the run waits for it: bounds the memory of a
// long run and the time a close takes, as only these are left to show once it stops.
constexpr size_t kMaxQueued = 20000;
// After a batch the window waits this long before taking the next: woken for every
// generation, the window's thread would cost the run more than the generations do.
constexpr int kBatchMs = 10;

}  // namespace

TRunWorker::TRunWorker(QObject& Receiver, TDeliver Deliver) : receiver_(&Receiver), deliver_(std::move(Deliver)) {}

TRunWorker::~TRunWorker() {
  Stop();
  Wait();
}

void TRunWorker::Start(queens::TQueensWorkbench& Workbench, std::string GenerationText) {
  Wait();
  workbench_ = &Workbench;
  stopping_ = false;
  Workbench.ClearStopRequest();
  Workbench.Attach(*this);
  Workbench.OnLogLine = [this](const std::string& line) { Post(TLogLineEvent{line}); };
  thread_ = std::thread([this, text = std::move(GenerationText)] {
    std::exception_ptr error;
    try {
      workbench_->btnRunClick(text);
    } catch (...) {
      error = std::current_exception();
    }
    Post(TRunEndEvent{error}, false);
  });
}

void TRunWorker::Stop() {
  if (!workbench_) return;
  workbench_->RequestStop();
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  drained_.notify_all();
}

void TRunWorker::Wait() {
  if (thread_.joinable()) thread_.join();
  if (!workbench_) return;
  workbench_->OnLogLine = nullptr;
  workbench_->Detach(*this);
  workbench_ = nullptr;
}

void TRunWorker::OnCurvesReset(double Cutoff) { Post(TCurvesResetEvent{Cutoff}); }

void TRunWorker::OnGeneration(const queens::TGenerationReport& Report) { Post(Report); }

void TRunWorker::OnMethodFinished(const queens::TMethodReport& Report) {
  Post(TMethodFinishedEvent{Report, workbench_->Board()});
}

void TRunWorker::Post(TRunEvent Event, bool MayWait) {
  std::unique_lock lock(mutex_);
  if (MayWait) drained_.wait(lock, [this] { return stopping_ || queue_.size() < kMaxQueued; });
  queue_.push_back(std::move(Event));
  if (drain_posted_) return;
  drain_posted_ = true;
  // Dropped with the receiver: a window that has gone wants no more events.
  QMetaObject::invokeMethod(
      receiver_, [this] { Drain(); }, Qt::QueuedConnection);
}

void TRunWorker::Drain() {
  std::vector<TRunEvent> events;
  bool ended;
  {
    const std::lock_guard lock(mutex_);
    events.swap(queue_);
    ended = !events.empty() && std::holds_alternative<TRunEndEvent>(events.back());
    // Until the next look, what the run tells waits in the queue without waking the window.
    drain_posted_ = !ended;
  }
  drained_.notify_all();
  // Before delivering: the window may start the next run while it shows this one's end.
  if (!ended) QTimer::singleShot(kBatchMs, receiver_, [this] { Reopen(); });
  deliver_(events);
}

void TRunWorker::Reopen() {
  {
    const std::lock_guard lock(mutex_);
    if (queue_.empty()) {
      drain_posted_ = false;  // the next event wakes the window at once
      return;
    }
  }
  Drain();
}

}  // namespace zp::app
