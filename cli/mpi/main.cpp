#include <iostream>

#include "cli/CliRunner.h"
#include "cli/mpi/MpiBatch.h"

int main(int argc, char** argv) {
  return zp::cli::FinishStandardOutput(zp::cli::mpi::RunMpiCli(argc, argv, std::cout, std::cerr), std::cerr);
}
