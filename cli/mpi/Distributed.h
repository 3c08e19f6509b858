// Repeats spread over MPI ranks: rank 0 hands them out in chunks to every
// rank (itself included: its communicating thread runs beside its own worker
// threads), gathers the finished ones and passes them to its writer in key
// order; the other ranks run what they are given until told that all is
// handed out. All MPI calls are made on the thread that calls in.
//
//   TMpi mpi(argc, argv);
//   TDistributedRun run{.Todo = keys, .Run = runOne, .Jobs = 1, .Write = write};
//   TDistributedStats s = RunDistributed(mpi, run);   // rank 0 raises TRankFailure
#pragma once

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/mpi/WireFormat.h"
#include "experiment/RepeatPool.h"

namespace zp::cli::mpi {

// MPI started with funnelled threads (only the calling thread talks), ended
// when this goes; started without a launcher it is one rank.
class TMpi {
 public:
  TMpi(int& argc, char**& argv);
  ~TMpi();
  TMpi(const TMpi&) = delete;
  TMpi& operator=(const TMpi&) = delete;
  int Rank() const { return rank_; }
  int Size() const { return size_; }
  // Ends every rank of the job with Status; does not return.
  [[noreturn]] static void Abort(int Status);
  // Rank 0's Value on every rank.
  void Broadcast(int& Value) const;
  void Broadcast(std::string& Text) const;

 private:
  int rank_ = 0, size_ = 1;
};

// A rank's worker threads: the experiment's repeat pool, each repeat kept as its file lines.
using TLocalWorkers = experiment::TRepeatPool<experiment::TRepeatLines>;

// A repeat failed on Rank; rank 0 raises it.
class TRankFailure : public std::runtime_error {
 public:
  TRankFailure(int Rank, const std::string& Message)
      : std::runtime_error("rank " + std::to_string(Rank) + ": " + Message) {}
};

struct TDistributedRun {
  experiment::TRepeatList Todo;                                // in key order; read on rank 0 only
  TLocalWorkers::TRun Run;                                     // every rank
  int Jobs = 1;                                                // worker threads per rank, the same on every rank
  size_t MaxChunk = 8;                                         // repeats in one hand-out at most
  std::function<void(const experiment::TRepeatLines&)> Write;  // rank 0: each repeat of Todo, in order
  std::function<void()> Idle;                                  // rank 0: now and then while waiting
  const std::atomic<bool>* Stop = nullptr;                     // rank 0: once true, returns at once (not owned)
};

struct TDistributedStats {
  double ComputeSeconds = 0;  // the first hand-out to the last repeat written
  double BusySeconds = 0;     // rank 0's communicating thread handing out, gathering and writing
  size_t Written = 0;         // repeats written
  size_t Messages = 0;        // reports rank 0 received
  size_t HandedToOthers = 0;  // repeats handed out to the other ranks
  bool Stopped = false;       // Stop came before the end
};

// Runs the experiment on every rank; rank 0 returns what it did, the others
// empty stats. Rank 0 raises TRankFailure for a repeat that failed on any
// rank, and whatever Write raises; the other ranks then wait for the job to be
// ended by rank 0's MPI_Abort.
TDistributedStats RunDistributed(const TMpi& Mpi, const TDistributedRun& Run);

}  // namespace zp::cli::mpi
