// TRepeatPool: the one pool that runs an experiment's repeats, for the batch,
// the Experiments page and each MPI rank. Jobs std::jthreads take numbered
// repeats from a queue that may be fed at any time, run each with the pool's
// stop token, and keep what they finish until it is taken; a repeat that
// raises TRepeatStopped was abandoned and comes back as nothing. The first
// failure is kept, empties the queue and stops the running repeats.
//
//   TRepeatPool<TRepeatResult> pool(2, [&](TRepeatKey k, std::stop_token s) { return RunRepeat(design, k, s); });
//   pool.Add({{0, {8, 0}}, {1, {8, 1}}});
//   pool.Wait(10ms);  for (auto& done : pool.TakeFinished()) ...
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "experiment/ExperimentDesign.h"

namespace zp::experiment {

// Raised out of a repeat when a stop was requested while it ran: the repeat is abandoned.
class TRepeatStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "the repeat was stopped"; }
};

// A repeat with its place in the order the experiment hands repeats out.
struct TNumberedKey {
  size_t Index = 0;
  TRepeatKey Key;
  bool operator==(const TNumberedKey&) const = default;
};

// What became of a numbered repeat.
template <class TResult>
struct TNumberedResult {
  size_t Index = 0;
  TResult Result;
};

template <class TResult>
class TRepeatPool {
 public:
  using TRun = std::function<TResult(TRepeatKey Key, std::stop_token Stop)>;
  using TFinished = TNumberedResult<TResult>;
  // Starts a thread running Body; raises std::system_error when the system has none to give.
  using TStartThread = std::function<std::jthread(std::function<void()> Body)>;

  // Jobs threads, or as many as the system could start (Threads() tells; ThreadError()
  // says why not all); none raises std::system_error before any work is queued.
  TRepeatPool(int Jobs, TRun Run, const TStartThread& Start = {}) : run_(std::move(Run)) {
    const size_t wanted = static_cast<size_t>(std::max(Jobs, 1));
    for (size_t i = 0; i < wanted; ++i) {
      try {
        std::function<void()> body = [this] { Work(); };
        threads_.push_back(Start ? Start(std::move(body)) : std::jthread(std::move(body)));
      } catch (const std::system_error& e) {
        if (threads_.empty()) throw;
        thread_error_ = e.what();
        break;
      }
    }
    jobs_ = threads_.size();
  }
  // Abandons the running repeats and waits for the threads.
  ~TRepeatPool() {
    {
      const std::lock_guard lock(mutex_);
      ending_ = true;
      queue_.clear();
    }
    halt_.request_stop();
    queued_.notify_all();
    threads_.clear();
  }
  TRepeatPool(const TRepeatPool&) = delete;
  TRepeatPool& operator=(const TRepeatPool&) = delete;

  void Add(const std::vector<TNumberedKey>& Keys) {
    {
      const std::lock_guard lock(mutex_);
      if (failure_) return;
      queue_.insert(queue_.end(), Keys.begin(), Keys.end());
    }
    queued_.notify_all();
  }

  // Idle threads beyond the queued repeats (how many can start now), plus Ahead
  // more to queue; 0 after a failure.
  size_t Want(size_t Ahead = 0) const {
    const std::lock_guard lock(mutex_);
    if (failure_) return 0;
    const size_t taken = running_ + queue_.size();
    return taken < jobs_ + Ahead ? jobs_ + Ahead - taken : 0;
  }
  // The threads running repeats.
  size_t Threads() const { return jobs_; }
  // Why fewer threads than asked for started ("Resource temporarily unavailable"); empty when all did.
  const std::string& ThreadError() const { return thread_error_; }
  // True while a repeat is queued or running.
  bool Busy() const {
    const std::lock_guard lock(mutex_);
    return running_ > 0 || !queue_.empty();
  }
  // Returns once a repeat has finished or failed, or after Timeout; true for the former.
  bool Wait(std::chrono::microseconds Timeout) {
    std::unique_lock lock(mutex_);
    return event_.wait_for(lock, Timeout, [&] { return !finished_.empty() || failure_; });
  }
  std::vector<TFinished> TakeFinished() {
    const std::lock_guard lock(mutex_);
    std::vector<TFinished> taken;
    taken.swap(finished_);
    return taken;
  }
  // The first failure, or nullptr while none.
  std::exception_ptr Failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
  }
  // Its message ("std::bad_alloc", say); empty while none.
  std::optional<std::string> FailureText() const {
    const std::exception_ptr failure = Failure();
    if (!failure) return std::nullopt;
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& e) {
      return e.what();
    } catch (...) {
      return "an unknown exception";
    }
  }
  // No queued repeat starts and the running ones are abandoned; for good.
  void Stop() {
    {
      const std::lock_guard lock(mutex_);
      queue_.clear();
    }
    halt_.request_stop();
  }

 private:
  void Work() {
    for (;;) {
      TNumberedKey key;
      {
        std::unique_lock lock(mutex_);
        queued_.wait(lock, [&] { return ending_ || !queue_.empty(); });
        if (ending_) return;
        key = queue_.front();
        queue_.pop_front();
        ++running_;
      }
      std::optional<TFinished> done;
      std::exception_ptr failure;
      try {
        done = TFinished{key.Index, run_(key.Key, halt_.get_token())};
      } catch (const TRepeatStopped&) {
      } catch (...) {
        failure = std::current_exception();
      }
      {
        const std::lock_guard lock(mutex_);
        --running_;
        if (done) finished_.push_back(std::move(*done));
        if (failure && !failure_) {
          failure_ = failure;
          queue_.clear();
          halt_.request_stop();
        }
      }
      event_.notify_all();
    }
  }

  TRun run_;
  size_t jobs_ = 0;
  std::string thread_error_;
  mutable std::mutex mutex_;
  std::condition_variable queued_;  // a repeat was queued, or the threads are to end
  std::condition_variable event_;   // a repeat finished or failed
  std::deque<TNumberedKey> queue_;
  std::vector<TFinished> finished_;
  std::exception_ptr failure_;
  size_t running_ = 0;
  bool ending_ = false;
  std::stop_source halt_;
  std::vector<std::jthread> threads_;  // last: they end before the rest goes
};

}  // namespace zp::experiment
