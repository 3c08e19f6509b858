#include "cli/mpi/Distributed.h"

#include <mpi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>

#include "cli/mpi/HandOut.h"
#include "platform/Exceptions.h"

namespace zp::cli::mpi {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;

constexpr int kTagReport = 1;   // a rank to rank 0
constexpr int kTagHandOut = 2;  // rank 0 to a rank

// How long a waiting thread sleeps between looks for messages: nothing for
// the first few looks, then longer and longer up to Longest, so that an answer
// that comes at once is seen at once and a long wait takes next to no time
// from the workers beside it.
class TBackoff {
 public:
  void Reset() {
    looks_ = 0;
    since_ = Clock::now();
  }
  // True for the first kSpin after Reset: a thread with nothing else to do
  // may keep looking without sleeping.
  bool Spinning() const { return Clock::now() - since_ < kSpin; }
  microseconds Next(microseconds Longest = microseconds(1000)) {
    ++looks_;
    if (looks_ <= 8) return microseconds(0);
    const int doublings = std::min(looks_ - 8, 10);
    return std::min(Longest, microseconds(2) * (1 << doublings));
  }

 private:
  static constexpr microseconds kSpin{200};
  int looks_ = 0;
  Clock::time_point since_ = Clock::now();
};

// The time between reports reaching rank 0, smoothed: rank 0 sleeps at most
// an eighth of it, so hand-out keeps pace when reports come fast (many ranks,
// short repeats) and costs nothing when they come seldom.
class TReportPace {
 public:
  void Report() {
    const Clock::time_point now = Clock::now();
    if (last_ != Clock::time_point{}) gap_ += (std::chrono::duration<double>(now - last_).count() - gap_) / 8;
    last_ = now;
  }
  microseconds LongestSleep() const { return microseconds(static_cast<long>(std::clamp(gap_ / 8 * 1e6, 0.0, 1000.0))); }

 private:
  Clock::time_point last_{};
  double gap_ = 1;  // seconds
};

void Check(int Status, const char* What) {
  if (Status != MPI_SUCCESS) throw Exception(std::string("MPI: ") + What + " failed");
}

void SendReport(const TWorkerReport& Report) {
  const std::string bytes = EncodeReport(Report);
  Check(MPI_Send(bytes.data(), static_cast<int>(bytes.size()), MPI_CHAR, 0, kTagReport, MPI_COMM_WORLD), "send");
}

void SendNumbers(int Rank, const std::vector<int64_t>& numbers) {
  Check(MPI_Send(numbers.data(), static_cast<int>(numbers.size()), MPI_INT64_T, Rank, kTagHandOut, MPI_COMM_WORLD),
        "send");
}

void SendHandOut(int Rank, const std::vector<TNumberedKey>& Keys) { SendNumbers(Rank, EncodeHandOut(Keys)); }

// A message from Source with Tag, when one is there.
template <typename T>
bool Receive(int Source, int Tag, MPI_Datatype Type, std::vector<T>& Into, int& From) {
  int flag = 0;
  MPI_Status status;
  Check(MPI_Iprobe(Source, Tag, MPI_COMM_WORLD, &flag, &status), "probe");
  if (!flag) return false;
  int count = 0;
  MPI_Get_count(&status, Type, &count);
  Into.resize(static_cast<size_t>(count));
  Check(MPI_Recv(Into.data(), count, Type, status.MPI_SOURCE, Tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE), "receive");
  From = status.MPI_SOURCE;
  return true;
}

// Every rank but 0: asks for repeats whenever a thread is idle, sends each
// finished repeat back, and ends once told that all is handed out and its own are sent.
void Work(const TDistributedRun& Run) {
  TLocalWorkers workers(Run.Jobs, Run.Run);
  bool asked = false, ended = false, ahead = true;
  TBackoff backoff;
  std::vector<int64_t> numbers;
  for (;;) {
    if (const std::optional<std::string> failure = workers.FailureText()) {
      SendReport({0, workers.TakeFinished(), failure});
      // Rank 0 ends the job; a rank that returned here would leave it waiting.
      for (;;) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    TWorkerReport report{0, workers.TakeFinished(), std::nullopt};
    if (!ended && !asked) {
      report.Want = workers.Want();
      report.Ahead = ahead ? workers.Want(static_cast<size_t>(Run.Jobs)) - report.Want : 0;
    }
    if (report.Want + report.Ahead > 0 || !report.Finished.empty()) {
      SendReport(report);
      if (!asked && report.Want + report.Ahead > 0) {
        asked = true;
        backoff.Reset();
      }
    }
    int from = 0;
    if (asked && Receive(0, kTagHandOut, MPI_INT64_T, numbers, from)) {
      asked = false;
      backoff.Reset();
      if (IsNoMoreAhead(numbers)) {
        ahead = false;
        continue;
      }
      const std::vector<TNumberedKey> keys = DecodeHandOut(numbers);
      if (keys.empty()) ended = true;
      workers.Add(keys);
      continue;
    }
    if (ended && !workers.Busy()) {
      std::vector<TFinishedRepeat> last = workers.TakeFinished();
      if (!last.empty()) SendReport({0, std::move(last), std::nullopt});
      return;
    }
    // Waiting for an answer with nothing to run: the core is idle anyway, so
    // look again at once (yielding to whatever else wants it) for a while,
    // since the answer usually comes within microseconds; then, or with
    // repeats running, look again soon; else only a finished repeat wakes this thread.
    if (asked && !workers.Busy() && backoff.Spinning()) {
      std::this_thread::yield();
      continue;
    }
    workers.Wait(asked ? backoff.Next() : microseconds(100000));
  }
}

// Rank 0: hands out, gathers and writes in order, running its own share beside.
class TDispatcher {
 public:
  TDispatcher(const TMpi& Mpi, const TDistributedRun& Run)
      : run_(Run),
        total_(Run.Todo.size()),
        ranks_(static_cast<size_t>(Mpi.Size())),
        jobs_(static_cast<size_t>(std::max(Run.Jobs, 1))),
        handout_(total_, ranks_ * jobs_, Run.MaxChunk),
        workers_(Run.Jobs, Run.Run),
        want_(ranks_, 0),
        ahead_(ranks_, 0),
        still_working_(ranks_ - 1) {}

  TDistributedStats Dispatch() {
    TBackoff backoff;
    Clock::time_point busy_from = Clock::now();
    while (stats_.Written < total_ || still_working_ > 0) {
      if (run_.Stop && run_.Stop->load()) {
        stats_.Stopped = true;
        return stats_;
      }
      // Every step runs each time round: none may starve the others.
      const bool gathered = Gather();
      const bool wrote = WriteInOrder();
      const bool local = ServeOwnWorkers();
      const bool served = ServeOtherRanks();
      if (gathered || wrote || local || served) {
        backoff.Reset();
        continue;
      }
      stats_.BusySeconds += std::chrono::duration<double>(Clock::now() - busy_from).count();
      if (run_.Idle) run_.Idle();
      workers_.Wait(backoff.Next(pace_.LongestSleep()));
      busy_from = Clock::now();
    }
    stats_.BusySeconds += std::chrono::duration<double>(Clock::now() - busy_from).count();
    return stats_;
  }

 private:
  void Take(std::vector<TFinishedRepeat> Finished) {
    for (TFinishedRepeat& f : Finished) waiting_.emplace(f.Index, std::move(f.Result));
  }

  std::vector<TNumberedKey> Keys(std::pair<size_t, size_t> Range) {
    std::vector<TNumberedKey> given;
    for (size_t i = Range.first; i < Range.first + Range.second; ++i) given.push_back({i, run_.Todo[i]});
    if (!given.empty() && first_ == Clock::time_point{}) first_ = Clock::now();
    return given;
  }

  // The other ranks' reports and this rank's finished repeats.
  bool Gather() {
    bool active = false;
    int from = 0;
    while (Receive(MPI_ANY_SOURCE, kTagReport, MPI_CHAR, buffer_, from)) {
      ++stats_.Messages;
      pace_.Report();
      TWorkerReport report = DecodeReport(std::string_view(buffer_.data(), buffer_.size()));
      if (report.Failure) throw TRankFailure(from, *report.Failure);
      Take(std::move(report.Finished));
      want_[static_cast<size_t>(from)] += report.Want;
      ahead_[static_cast<size_t>(from)] += report.Ahead;
      active = true;
    }
    Take(workers_.TakeFinished());
    if (const std::optional<std::string> failure = workers_.FailureText()) throw TRankFailure(0, *failure);
    return active;
  }

  bool WriteInOrder() {
    bool active = false;
    for (auto at = waiting_.begin(); at != waiting_.end() && at->first == stats_.Written; at = waiting_.erase(at)) {
      run_.Write(at->second);
      ++stats_.Written;
      active = true;
    }
    if (stats_.Written == total_ && total_ > 0 && stats_.ComputeSeconds == 0)
      stats_.ComputeSeconds = std::chrono::duration<double>(Clock::now() - first_).count();
    return active;
  }

  bool ServeOwnWorkers() {
    const size_t local = workers_.Want();
    if (local == 0 || handout_.AllHandedOut()) return false;
    const std::vector<TNumberedKey> given = Keys(handout_.Next(local, stats_.Written));
    workers_.Add(given);
    return !given.empty();
  }

  bool ServeOtherRanks() {
    bool active = false;
    for (size_t r = 1; r < ranks_; ++r) {
      if (want_[r] + ahead_[r] == 0) continue;
      if (handout_.AllHandedOut()) {
        SendHandOut(static_cast<int>(r), {});
        want_[r] = ahead_[r] = 0;
        --still_working_;
        continue;
      }
      // Repeats ahead while plenty are left; near the end only what idle threads can start.
      const bool far = total_ - handout_.HandedOut() > 4 * ranks_ * jobs_;
      if (want_[r] == 0 && !far) {
        SendNumbers(static_cast<int>(r), NoMoreAhead());
        ahead_[r] = 0;
        continue;
      }
      const std::vector<TNumberedKey> given = Keys(handout_.Next(want_[r] + (far ? ahead_[r] : 0), stats_.Written));
      if (given.empty()) continue;  // the writer is a window behind: this rank waits
      SendHandOut(static_cast<int>(r), given);
      stats_.HandedToOthers += given.size();
      want_[r] = ahead_[r] = 0;
      active = true;
    }
    return active;
  }

  const TDistributedRun& run_;
  const size_t total_, ranks_, jobs_;
  THandOut handout_;
  TLocalWorkers workers_;
  std::map<size_t, experiment::TRepeatLines> waiting_;  // finished, not yet written
  std::vector<size_t> want_, ahead_;                    // what each rank asked for and was not yet given
  size_t still_working_;                                // ranks not yet told that all is handed out
  TDistributedStats stats_;
  Clock::time_point first_{};
  TReportPace pace_;
  std::vector<char> buffer_;
};

}  // namespace

TMpi::TMpi(int& argc, char**& argv) {
  int provided = 0;
  MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
  MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
  if (provided < MPI_THREAD_FUNNELED) {
    // Worker threads beside MPI need at least this much; Open MPI has it.
    if (rank_ == 0) std::fprintf(stderr, "error: this MPI library does not allow threads beside it\n");
    Abort(1);
  }
  MPI_Comm_size(MPI_COMM_WORLD, &size_);
  // Errors come back as codes, so that Check can raise them with a message.
  MPI_Comm_set_errhandler(MPI_COMM_WORLD, MPI_ERRORS_RETURN);
}

TMpi::~TMpi() { MPI_Finalize(); }

void TMpi::Abort(int Status) {
  MPI_Abort(MPI_COMM_WORLD, Status);
  std::_Exit(Status);
}

void TMpi::Broadcast(int& Value) const { Check(MPI_Bcast(&Value, 1, MPI_INT, 0, MPI_COMM_WORLD), "broadcast"); }

void TMpi::Broadcast(std::string& Text) const {
  int size = static_cast<int>(Text.size());
  Broadcast(size);
  Text.resize(static_cast<size_t>(size));
  Check(MPI_Bcast(Text.data(), size, MPI_CHAR, 0, MPI_COMM_WORLD), "broadcast");
}

TDistributedStats RunDistributed(const TMpi& Mpi, const TDistributedRun& Run) {
  if (Mpi.Rank() != 0) {
    Work(Run);
    return {};
  }
  return TDispatcher(Mpi, Run).Dispatch();
}

}  // namespace zp::cli::mpi
