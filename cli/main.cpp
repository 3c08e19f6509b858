#include <iostream>

#include "cli/CliRunner.h"

int main(int argc, char** argv) {
  return zp::cli::FinishStandardOutput(zp::cli::RunCli(argc, argv, std::cout, std::cerr, std::cin), std::cerr);
}
