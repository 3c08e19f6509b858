#include <iostream>

#include "cli/mpi/MpiBatch.h"

int main(int argc, char** argv) { return zp::cli::mpi::RunMpiCli(argc, argv, std::cout, std::cerr); }
