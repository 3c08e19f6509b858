#include "cli/mpi/LocalWorkers.h"

#include <algorithm>
#include <exception>

#include "experiment/Runner.h"

namespace zp::cli::mpi {

TLocalWorkers::TLocalWorkers(int Jobs, TRun Run) : run_(std::move(Run)), jobs_(static_cast<size_t>(std::max(Jobs, 1))) {
  for (size_t i = 0; i < jobs_; ++i) threads_.emplace_back([this] { Work(); });
}

TLocalWorkers::~TLocalWorkers() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
    halt_.request_stop();
  }
  queued_.notify_all();
  threads_.clear();
}

void TLocalWorkers::Work() {
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
    std::optional<TFinishedRepeat> done;
    std::optional<std::string> failure;
    try {
      done = TFinishedRepeat{key.Index, run_(key.Key, halt_.get_token())};
    } catch (const experiment::TRepeatStopped&) {
    } catch (const std::exception& e) {
      failure = e.what();
    } catch (...) {
      failure = "an unknown exception";
    }
    {
      std::lock_guard lock(mutex_);
      --running_;
      if (done) finished_.push_back(std::move(*done));
      if (failure && !failure_) {
        failure_ = std::move(failure);
        halt_.request_stop();
        queue_.clear();
      }
    }
    event_.notify_all();
  }
}

void TLocalWorkers::Add(const std::vector<TNumberedKey>& Keys) {
  {
    std::lock_guard lock(mutex_);
    queue_.insert(queue_.end(), Keys.begin(), Keys.end());
  }
  queued_.notify_all();
}

size_t TLocalWorkers::Want(size_t Ahead) const {
  std::lock_guard lock(mutex_);
  if (failure_) return 0;
  const size_t taken = running_ + queue_.size();
  return taken < jobs_ + Ahead ? jobs_ + Ahead - taken : 0;
}

bool TLocalWorkers::Busy() const {
  std::lock_guard lock(mutex_);
  return running_ > 0 || !queue_.empty();
}

void TLocalWorkers::Wait(std::chrono::microseconds Timeout) {
  std::unique_lock lock(mutex_);
  event_.wait_for(lock, Timeout, [&] { return !finished_.empty() || failure_.has_value(); });
}

std::vector<TFinishedRepeat> TLocalWorkers::TakeFinished() {
  std::lock_guard lock(mutex_);
  std::vector<TFinishedRepeat> taken;
  taken.swap(finished_);
  return taken;
}

std::optional<std::string> TLocalWorkers::Failure() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

}  // namespace zp::cli::mpi
