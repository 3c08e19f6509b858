// How many repeats rank 0 hands out, gathers and passes to its writer per
// second when a repeat costs nothing: the dispatcher of nqueens-ga-mpi with a
// stub repeat, every rank taking part. Run it under the launcher:
//   mpirun -n 2 build/release/bench/mpi_dispatch_bench [REPEATS [MAX-CHUNK [RANK0-REPEAT-US]]]
// RANK0-REPEAT-US slows rank 0's own stub repeats a little (20 says: most
// repeats go through a message to another rank and back). Slowing them much
// (milliseconds) measures rank 0's own repeats instead: repeats are written in
// key order and no rank runs further ahead of the writer than a window, so
// the other rank then waits for rank 0's slow ones.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "cli/mpi/Distributed.h"

int main(int argc, char** argv) {
  using namespace zp::cli::mpi;
  TMpi mpi(argc, argv);
  const long repeats = argc > 1 ? std::atol(argv[1]) : 200000;
  TDistributedRun run;
  run.MaxChunk = argc > 2 ? static_cast<size_t>(std::atol(argv[2])) : 8;
  zp::experiment::TExperimentDesign design;
  design.Sizes = {8};
  design.Repeats = static_cast<int32_t>(repeats);
  run.Todo = zp::experiment::RepeatKeys(design);
  const long rank0_us = argc > 3 && mpi.Rank() == 0 ? std::atol(argv[3]) : 0;
  // A repeat's lines about as long as a real 8-queens repeat's rows.
  run.Run = [rank0_us](zp::experiment::TRepeatKey Key, std::stop_token) {
    if (rank0_us > 0) std::this_thread::sleep_for(std::chrono::microseconds(rank0_us));
    return zp::experiment::TRepeatLines{Key, std::string(5 * 110, 'x'), std::string(5 * 20, 'y'), 0};
  };
  size_t written = 0;
  run.Write = [&](const zp::experiment::TRepeatLines&) { ++written; };
  const TDistributedStats stats = RunDistributed(mpi, run);
  if (mpi.Rank() == 0)
    std::printf(
        "%d ranks, chunks of at most %zu: %zu repeats in %.3f s, %.0f/s in all; %zu to other ranks, "
        "%.0f hand-outs/s; %zu reports, rank 0 busy %.0f%%\n",
        mpi.Size(), run.MaxChunk, written, stats.ComputeSeconds, static_cast<double>(written) / stats.ComputeSeconds,
        stats.HandedToOthers, static_cast<double>(stats.HandedToOthers) / stats.ComputeSeconds, stats.Messages,
        100 * stats.BusySeconds / stats.ComputeSeconds);
  return 0;
}
