#include <iostream>
#include <new>

#include "cli/CliRunner.h"

int main(int argc, char** argv) {
  try {
    return zp::cli::FinishStandardOutput(zp::cli::RunCli(argc, argv, std::cout, std::cerr, std::cin), std::cerr);
  } catch (const std::bad_alloc&) {
    std::cerr << "error: out of memory\n";
    return 1;
  }
}
