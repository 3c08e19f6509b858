// TWindowQueue: the one way from a worker thread to the window. A worker posts
// tasks (what the window is to do with an event, holding the event's own
// data); the window's thread runs them in the order posted, in batches. With a
// batch interval, a steady stream of tasks wakes the window at most once per
// interval, not once per task; with a queue limit, a worker far ahead of the
// window waits for it (bounding the memory), until the queue is released.
//
//   TWindowQueue queue(window, 10, 20000);
//   queue.Post([&window, report] { window.OnGeneration(report); });   // any thread
#pragma once

#include <QObject>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <limits>
#include <mutex>
#include <vector>

namespace zp::app {

class TWindowQueue {
 public:
  using TTask = std::function<void()>;

  // Tasks run on Receiver's thread (Receiver must outlive the queue's posters).
  explicit TWindowQueue(QObject& Receiver, int BatchMs = 0, size_t MaxQueued = std::numeric_limits<size_t>::max());
  TWindowQueue(const TWindowQueue&) = delete;
  TWindowQueue& operator=(const TWindowQueue&) = delete;

  // Queues Task; with MayWait, waits first while MaxQueued tasks are queued and the queue is held.
  void Post(TTask Task, bool MayWait = true);
  // Posters stop waiting for the window (a worker being stopped must get through); Hold undoes it.
  void Release();
  void Hold();

 private:
  // On the receiver's thread: runs what is queued; with a batch interval, a
  // short while later Reopen runs what came meanwhile or lets the next post wake the window.
  void Drain();
  void Reopen();

  QObject* receiver_;  // not owned
  const int batch_ms_;
  const size_t max_queued_;
  std::mutex mutex_;
  std::condition_variable drained_;
  std::vector<TTask> queue_;
  bool drain_posted_ = false;  // a Drain or Reopen is on its way: Post need not wake the receiver
  bool released_ = false;
};

}  // namespace zp::app
