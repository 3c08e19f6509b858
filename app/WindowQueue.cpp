#include "app/WindowQueue.h"

#include <QTimer>
#include <utility>

namespace zp::app {

TWindowQueue::TWindowQueue(QObject& Receiver, int BatchMs, size_t MaxQueued)
    : receiver_(&Receiver), batch_ms_(BatchMs), max_queued_(MaxQueued) {}

void TWindowQueue::Post(TTask Task, bool MayWait) {
  std::unique_lock lock(mutex_);
  if (MayWait) drained_.wait(lock, [this] { return released_ || queue_.size() < max_queued_; });
  queue_.push_back(std::move(Task));
  if (drain_posted_) return;
  drain_posted_ = true;
  // Dropped with the receiver: a window that has gone wants no more tasks.
  QMetaObject::invokeMethod(
      receiver_, [this] { Drain(); }, Qt::QueuedConnection);
}

void TWindowQueue::Release() {
  {
    const std::lock_guard lock(mutex_);
    released_ = true;
  }
  drained_.notify_all();
}

void TWindowQueue::Hold() {
  const std::lock_guard lock(mutex_);
  released_ = false;
}

void TWindowQueue::Drain() {
  std::vector<TTask> tasks;
  {
    const std::lock_guard lock(mutex_);
    tasks.swap(queue_);
    // Until the next look, what comes waits in the queue without waking the window.
    drain_posted_ = batch_ms_ > 0;
  }
  drained_.notify_all();
  // Before running them: a task may start the next worker, whose tasks then wait for the look.
  if (batch_ms_ > 0) QTimer::singleShot(batch_ms_, receiver_, [this] { Reopen(); });
  for (TTask& task : tasks) task();
}

void TWindowQueue::Reopen() {
  {
    const std::lock_guard lock(mutex_);
    if (queue_.empty()) {
      drain_posted_ = false;  // the next task wakes the window at once
      return;
    }
  }
  Drain();
}

}  // namespace zp::app
