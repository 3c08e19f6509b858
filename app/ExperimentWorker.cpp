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

void TExperimentWorker::Start(const experiment::TExperimentDesign& Design, int Jobs) {
  if (thread_.joinable()) thread_.join();
  stop_ = false;
  ended_ = false;
  error_ = nullptr;
  thread_ = std::thread([this, Design, Jobs] {
    std::exception_ptr error;
    try {
      const std::vector<experiment::TRepeatKey> keys = experiment::RepeatKeys(Design);
      experiment::RunRepeats(Design, keys, Jobs, stop_, [this](experiment::TRepeatResult& result) {
        experiment::TRepeatLines lines = experiment::RepeatLines(result);
        Post(&lines, nullptr);
      });
    } catch (...) {
      error = std::current_exception();
    }
    Post(nullptr, &error);
  });
}

void TExperimentWorker::Post(experiment::TRepeatLines* Repeat, const std::exception_ptr* Error) {
  const std::lock_guard lock(mutex_);
  if (Repeat) queue_.push_back(std::move(*Repeat));
  if (Error) {
    ended_ = true;
    error_ = *Error;
  }
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
  {
    const std::lock_guard lock(mutex_);
    repeats.swap(queue_);
    ended = ended_;
    error = error_;
    drain_posted_ = false;
  }
  if (!repeats.empty()) deliver_(repeats);
  if (!ended) return;
  // The end is the thread's last post: it is about to return.
  if (thread_.joinable()) thread_.join();
  end_(error, stop_.load());
}

}  // namespace zp::app
