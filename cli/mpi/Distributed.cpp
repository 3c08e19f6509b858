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
    if (const std::optional<std::string> failure = workers.Failure()) {
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
TDistributedStats Dispatch(const TMpi& Mpi, const TDistributedRun& Run) {
  const size_t total = Run.Todo.size();
  const size_t ranks = static_cast<size_t>(Mpi.Size());
  THandOut handout(total, ranks * static_cast<size_t>(std::max(Run.Jobs, 1)), Run.MaxChunk);
  TLocalWorkers workers(Run.Jobs, Run.Run);
  std::map<size_t, experiment::TRepeatLines> waiting;   // finished, not yet written
  std::vector<size_t> want(ranks, 0), ahead(ranks, 0);  // what each rank asked for and was not yet given
  size_t still_working = ranks - 1;                     // ranks not yet told that all is handed out
  TDistributedStats stats;
  Clock::time_point first{}, busy_from = Clock::now();
  auto take = [&](std::vector<TFinishedRepeat> Finished) {
    for (TFinishedRepeat& f : Finished) waiting.emplace(f.Index, std::move(f.Lines));
  };
  auto keys = [&](std::pair<size_t, size_t> Range) {
    std::vector<TNumberedKey> given;
    for (size_t i = Range.first; i < Range.first + Range.second; ++i) given.push_back({i, Run.Todo[i]});
    if (!given.empty() && first == Clock::time_point{}) first = Clock::now();
    return given;
  };

  TBackoff backoff;
  TReportPace pace;
  std::vector<char> buffer;
  while (stats.Written < total || still_working > 0) {
    if (Run.Stop && Run.Stop->load()) {
      stats.Stopped = true;
      return stats;
    }
    bool active = false;
    int from = 0;
    while (Receive(MPI_ANY_SOURCE, kTagReport, MPI_CHAR, buffer, from)) {
      ++stats.Messages;
      pace.Report();
      TWorkerReport report = DecodeReport(std::string_view(buffer.data(), buffer.size()));
      if (report.Failure) throw TRankFailure(from, *report.Failure);
      take(std::move(report.Finished));
      want[static_cast<size_t>(from)] += report.Want;
      ahead[static_cast<size_t>(from)] += report.Ahead;
      active = true;
    }
    take(workers.TakeFinished());
    if (const std::optional<std::string> failure = workers.Failure()) throw TRankFailure(0, *failure);
    for (auto at = waiting.begin(); at != waiting.end() && at->first == stats.Written; at = waiting.erase(at)) {
      Run.Write(at->second);
      ++stats.Written;
      active = true;
    }
    if (stats.Written == total && total > 0 && stats.ComputeSeconds == 0)
      stats.ComputeSeconds = std::chrono::duration<double>(Clock::now() - first).count();
    if (const size_t local = workers.Want(); local > 0 && !handout.AllHandedOut()) {
      const std::vector<TNumberedKey> given = keys(handout.Next(local, stats.Written));
      workers.Add(given);
      active = active || !given.empty();
    }
    for (size_t r = 1; r < ranks; ++r) {
      if (want[r] + ahead[r] == 0) continue;
      if (handout.AllHandedOut()) {
        SendHandOut(static_cast<int>(r), {});
        want[r] = ahead[r] = 0;
        --still_working;
        continue;
      }
      // Repeats ahead while plenty are left; near the end only what idle threads can start.
      const bool far = total - handout.HandedOut() > 4 * ranks * static_cast<size_t>(std::max(Run.Jobs, 1));
      if (want[r] == 0 && !far) {
        SendNumbers(static_cast<int>(r), NoMoreAhead());
        ahead[r] = 0;
        continue;
      }
      const std::vector<TNumberedKey> given = keys(handout.Next(want[r] + (far ? ahead[r] : 0), stats.Written));
      if (given.empty()) continue;  // the writer is a window behind: this rank waits
      SendHandOut(static_cast<int>(r), given);
      stats.HandedToOthers += given.size();
      want[r] = ahead[r] = 0;
      active = true;
    }
    if (active) {
      backoff.Reset();
      continue;
    }
    stats.BusySeconds += std::chrono::duration<double>(Clock::now() - busy_from).count();
    if (Run.Idle) Run.Idle();
    workers.Wait(backoff.Next(pace.LongestSleep()));
    busy_from = Clock::now();
  }
  stats.BusySeconds += std::chrono::duration<double>(Clock::now() - busy_from).count();
  return stats;
}

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
  return Dispatch(Mpi, Run);
}

}  // namespace zp::cli::mpi
