// nqueens-ga: the headless front end over the workbench model. It runs
// commands one per line (or ";"-separated with -e), prints the log exactly
// as the window shows it, and reports a failing command as "error: line N:
// MESSAGE" on stderr while the rest go on.
//
//   nqueens-ga -q 12 -e "run 50; show board; csv curves.csv"
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zp::cli {

// Exit status: 0 all commands succeeded, 1 a command failed, 2 usage error (nothing ran).
int RunCli(int argc, char** argv, std::ostream& Out, std::ostream& Err, std::istream& In);

// Same, with the arguments after the program name.
int RunCli(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err, std::istream& In);

// The end of a tool's main: what is left for standard output written, and
// Status, or 1 after "error: cannot write to standard output (...)" on Err when
// any write to it failed (a full disk, /dev/full). A closed pipe ends the
// process quietly before this (SIGPIPE).
int FinishStandardOutput(int Status, std::ostream& Err);

// The text of --help.
std::string UsageText();

}  // namespace zp::cli
