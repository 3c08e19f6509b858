// nqueens-ga-mpi: "batch" with the options of nqueens-ga's, its repeats
// spread over the MPI ranks of the job and the same files written by rank 0.
//
//   mpirun -n 4 nqueens-ga-mpi batch --queens 8-12 --repeats 100 --out exp
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

namespace zp::cli::mpi {

struct TDistributedStats;

// Rank 0's line at the end of the compute phase, the same in every locale:
// "compute phase 12.345 s, 800 rows, 64.8 rows/s, 2 ranks x 1 job, rank 0 handing out and gathering 0.20%".
// A phase of no time reads 0.0 rows/s and 0.00%.
std::string ComputePhase(const TDistributedStats& Stats, size_t Rows, int Ranks, int Jobs);

// Runs the program on this rank. Exit status: 0 done, 1 a failed write, 2 bad
// input (reported by rank 0 only; nothing runs), 130/143 stopped by
// SIGINT/SIGTERM with one rank. A failed repeat on any rank, or a stop with
// several, ends the job through MPI_Abort after rank 0 has said why.
int RunMpiCli(int argc, char** argv, std::ostream& Out, std::ostream& Err);

}  // namespace zp::cli::mpi
