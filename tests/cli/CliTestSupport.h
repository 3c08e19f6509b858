// Running nqueens-ga's front end in the test process: its exit status and
// what it wrote on stdout and stderr, with Input as its stdin.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"

namespace zp::cli_test {

struct Result {
  int status;
  std::string out, err;
};

inline Result RunTool(const std::vector<std::string>& Args, const std::string& Input = "") {
  std::ostringstream out, err;
  std::istringstream in(Input);
  const int status = zp::cli::RunCli(Args, out, err, in);
  return {status, out.str(), err.str()};
}

}  // namespace zp::cli_test
