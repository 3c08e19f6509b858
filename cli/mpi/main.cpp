#include <iostream>
#include <new>

#include "cli/CliRunner.h"
#include "cli/mpi/MpiBatch.h"

int main(int argc, char** argv) {
  try {
    return zp::cli::FinishStandardOutput(zp::cli::mpi::RunMpiCli(argc, argv, std::cout, std::cerr), std::cerr);
  } catch (const std::bad_alloc&) {
    std::cerr << "error: out of memory\n";
    return 1;
  }
}
