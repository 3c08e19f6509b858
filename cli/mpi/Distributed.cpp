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

// How long a waiting thread sleeps between looks for messages: nothing while
// messages keep coming, then longer and longer up to a millisecond, so that a
// waiting rank takes next to no time from the workers beside it.
class TBackoff {
 public:
  void Reset() { wait_ = microseconds(0); }
  microseconds Next() {
    wait_ = std::min(microseconds(1000), std::max(microseconds(10), wait_ * 2));
    return wait_;
  }

 private:
  microseconds wait_{0};
};

void Check(int Status, const char* What) {
  if (Status != MPI_SUCCESS) throw Exception(std::string("MPI: ") + What + " failed");
}

void SendReport(const TWorkerReport& Report) {
  const std::string bytes = EncodeReport(Report);
  Check(MPI_Send(bytes.data(), static_cast<int>(bytes.size()), MPI_CHAR, 0, kTagReport, MPI_COMM_WORLD), "send");
}

void SendHandOut(int Rank, const std::vector<TNumberedKey>& Keys) {
  const std::vector<int64_t> numbers = EncodeHandOut(Keys);
  Check(MPI_Send(numbers.data(), static_cast<int>(numbers.size()), MPI_INT64_T, Rank, kTagHandOut, MPI_COMM_WORLD),
        "send");
}

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
  bool asked = false, ended = false;
  TBackoff backoff;
  std::vector<int64_t> numbers;
  for (;;) {
    if (const std::optional<std::string> failure = workers.Failure()) {
      SendReport({0, workers.TakeFinished(), failure});
      // Rank 0 ends the job; a rank that returned here would leave it waiting.
      for (;;) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    TWorkerReport report{ended || asked ? 0 : workers.Want(), workers.TakeFinished(), std::nullopt};
    if (report.Want > 0 || !report.Finished.empty()) {
      SendReport(report);
      asked = asked || report.Want > 0;
    }
    int from = 0;
    if (asked && Receive(0, kTagHandOut, MPI_INT64_T, numbers, from)) {
      asked = false;
      backoff.Reset();
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
    // Waiting for an answer: look again soon; else only a finished repeat wakes this thread.
    workers.Wait(asked ? backoff.Next() : microseconds(100000));
  }
}

// Rank 0: hands out, gathers and writes in order, running its own share beside.
TDistributedStats Dispatch(const TMpi& Mpi, const TDistributedRun& Run) {
  const size_t total = Run.Todo.size();
  const size_t ranks = static_cast<size_t>(Mpi.Size());
  THandOut handout(total, ranks * static_cast<size_t>(std::max(Run.Jobs, 1)), Run.MaxChunk);
  TLocalWorkers workers(Run.Jobs, Run.Run);
  std::map<size_t, experiment::TRepeatLines> waiting;  // finished, not yet written
  std::vector<size_t> want(ranks, 0);                  // what each rank asked for and was not yet given
  size_t still_working = ranks - 1;                    // ranks not yet told that all is handed out
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
  std::string bytes;
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
      TWorkerReport report = DecodeReport(std::string_view(buffer.data(), buffer.size()));
      if (report.Failure) throw TRankFailure(from, *report.Failure);
      take(std::move(report.Finished));
      want[static_cast<size_t>(from)] += report.Want;
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
      if (want[r] == 0) continue;
      if (handout.AllHandedOut()) {
        SendHandOut(static_cast<int>(r), {});
        want[r] = 0;
        --still_working;
        continue;
      }
      const std::vector<TNumberedKey> given = keys(handout.Next(want[r], stats.Written));
      if (given.empty()) continue;  // the writer is a window behind: this rank waits
      SendHandOut(static_cast<int>(r), given);
      want[r] = 0;
      active = true;
    }
    if (active) {
      backoff.Reset();
      continue;
    }
    stats.BusySeconds += std::chrono::duration<double>(Clock::now() - busy_from).count();
    if (Run.Idle) Run.Idle();
    workers.Wait(backoff.Next());
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
