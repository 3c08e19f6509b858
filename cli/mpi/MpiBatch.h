// nqueens-ga-mpi: "batch" with the options of nqueens-ga's, its repeats
// spread over the MPI ranks of the job and the same files written by rank 0.
//
//   mpirun -n 4 nqueens-ga-mpi batch --queens 8-12 --repeats 100 --out exp
#pragma once

#include <iosfwd>

namespace zp::cli::mpi {

// Runs the program on this rank. Exit status: 0 done, 1 a failed write, 2 bad
// input (reported by rank 0 only; nothing runs), 130/143 stopped by
// SIGINT/SIGTERM with one rank. A failed repeat on any rank, or a stop with
// several, ends the job through MPI_Abort after rank 0 has said why.
int RunMpiCli(int argc, char** argv, std::ostream& Out, std::ostream& Err);

}  // namespace zp::cli::mpi
