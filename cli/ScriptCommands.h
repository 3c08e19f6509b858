// The commands of an nqueens-ga script ("run 50", "save a.xml", ...): one
// table of name, arguments, check and action that reading a script, running
// it and the help text all go by.
//
//   std::vector<TCommand> script = ReadCommands("init; run 5", ';');   // TUsageError for "frob"
#pragma once

#include <iosfwd>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zp::queens {
class TFitnessGraph;
class TQueensWorkbench;
}  // namespace zp::queens

namespace zp::cli {

// A command line or an option that cannot be run: nothing runs, exit status 2.
// The message reads "line N: Message" for a command of a script's line N.
class TUsageError : public std::runtime_error {
 public:
  explicit TUsageError(const std::string& Message, int Line = 0)
      : std::runtime_error(Line > 0 ? "line " + std::to_string(Line) + ": " + Message : Message),
        message_(Message),
        line_(Line) {}
  const std::string& Message() const noexcept { return message_; }
  int Line() const noexcept { return line_; }

 private:
  std::string message_;
  int line_;
};

// One command as written: its name, its words after the name, and everything
// after the name (a file name or a generation text may hold spaces).
struct TCommand {
  std::string Name;
  std::vector<std::string> Args;
  std::string Rest;
  int Line = 0;  // the 1-based line of a script or ";" segment of -e; 0 for none
};

// What the commands act on and the settings of the command line they use.
struct TCommandContext {
  queens::TQueensWorkbench& Workbench;
  queens::TFitnessGraph& Graph;    // the plotted points
  const std::string& Generations;  // "run" without a text
  int Width, Height;               // "chart"
  std::ostream& Out;
  int Scale = 1;  // "chart": device pixels per picture pixel (PNG only)
};

struct TCommandEntry;
// Raises TUsageError when the command's words do not fit the entry.
using TCommandCheck = void (*)(const TCommandEntry& Entry, const TCommand& Command);
// Raises whatever the workbench raises; the front end reports it and goes on.
using TCommandAction = void (*)(const TCommand& Command, TCommandContext& Context);

struct TCommandEntry {
  std::string_view Name;
  std::string_view Arguments;  // as the help shows them; a choice "on|off" is also what the check accepts
  std::string_view Help;       // lines after the first are indented under the first
  TCommandCheck Check;
  TCommandAction Action;
};

// Every command, in the order the help lists them.
std::span<const TCommandEntry> Commands();

// The entry of a command by name; TUsageError "unknown command 'NAME'" for none.
[[nodiscard]] const TCommandEntry& FindCommand(const std::string& Name);

// Splits Text at Separator into commands numbered by segment, skipping blank
// segments and those starting with "#", and checks each; the first bad one
// raises TUsageError "line N: MESSAGE".
[[nodiscard]] std::vector<TCommand> ReadCommands(const std::string& Text, char Separator);

// "line N: " for a command of a script, "" for one that no script holds.
std::string WhereFrom(const TCommand& Command);

// Runs a command that ReadCommands accepted. A failing file command's
// message starts with the file name, once: "ten.xml: Interface not supported".
void RunCommand(const TCommand& Command, TCommandContext& Context);

// N read from Text when it is a queen count, 4 to 32; raises Exception otherwise
// ("the queen count must be from 4 to 32, not 40"), or EConvertError for no number.
int QueenCount(const std::string& Text);

// The "Commands:" section of the help, one entry per command.
std::string CommandsHelp();

}  // namespace zp::cli
