// nqueens-ga report: the tables, figures and methods paragraph of a finished
// experiment folder, for a paper, written into DIR/report/ or --out.
//
//   nqueens-ga report exp --out paper/exp
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace zp::cli {

struct TReportOptions {
  std::string Folder;
  std::optional<std::string> Out;  // DIR/report when not given
};

// Registers the "report" subcommand on App, filling Options; returns it.
CLI::App* AddReportCommand(CLI::App& App, TReportOptions& Options);

// Writes the report. Exit status: 0 done, 1 the folder is refused (running,
// unfinished, no experiment) or a write failed, with "error: MESSAGE" on Err;
// Out gets the folder written.
int RunReport(const TReportOptions& Options, std::ostream& Out, std::ostream& Err);

}  // namespace zp::cli
