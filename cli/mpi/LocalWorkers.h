// The worker threads of one rank: they take handed-out repeats from a queue,
// run them, and keep the finished ones (as their file lines) for the rank's
// one communicating thread, which waits on them; the first failure is kept
// and stops the rest.
//
//   TLocalWorkers w(2, [&](TRepeatKey k, std::stop_token halt) { return RepeatLines(RunRepeat(design, k, halt)); });
//   w.Add(keys);  w.Wait(1ms);  for (TFinishedRepeat& f : w.TakeFinished()) ...
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "cli/mpi/WireFormat.h"

namespace zp::cli::mpi {

class TLocalWorkers {
 public:
  // Runs one repeat; looks at Halt now and then and may raise TRepeatStopped once a stop is requested.
  using TRun = std::function<experiment::TRepeatLines(experiment::TRepeatKey Key, std::stop_token Halt)>;

  TLocalWorkers(int Jobs, TRun Run);
  // Halts the running repeats and waits for the threads.
  ~TLocalWorkers();
  TLocalWorkers(const TLocalWorkers&) = delete;
  TLocalWorkers& operator=(const TLocalWorkers&) = delete;

  void Add(const std::vector<TNumberedKey>& Keys);
  // Idle threads beyond the queued repeats, how many this rank can start now,
  // plus Ahead more to queue; 0 after a failure.
  size_t Want(size_t Ahead = 0) const;
  // True while a repeat is queued or running.
  bool Busy() const;
  // Returns once a repeat has finished or failed, or after Timeout.
  void Wait(std::chrono::microseconds Timeout);
  std::vector<TFinishedRepeat> TakeFinished();
  // The first failure's message ("std::bad_alloc", say); empty while none.
  std::optional<std::string> Failure() const;

 private:
  void Work();

  TRun run_;
  size_t jobs_;
  mutable std::mutex mutex_;
  std::condition_variable queued_;  // a repeat was queued, or the threads are to end
  std::condition_variable event_;   // a repeat finished or failed
  std::deque<TNumberedKey> queue_;
  std::vector<TFinishedRepeat> finished_;
  std::optional<std::string> failure_;
  size_t running_ = 0;
  bool ending_ = false;
  std::stop_source halt_;
  std::vector<std::jthread> threads_;  // last: they end before the rest goes
};

}  // namespace zp::cli::mpi
