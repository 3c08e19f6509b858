#include "cli/CliRunner.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <tuple>

#include "cli/BatchCommand.h"
#include "cli/ReportCommand.h"
#include "cli/ScriptCommands.h"
#include "platform/Numbers.h"
#include "platform/Random.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

namespace zp::cli {

namespace {

constexpr const char* kDescription =
    "Runs the N-Queens genetic-algorithm workbench without a window. The log is\n"
    "printed to stdout exactly as the window shows it, introduction lines first.";

constexpr const char* kEpilogue =
    "A failing command prints \"error: MESSAGE\" to stderr and the rest go on; the\n"
    "MESSAGE of a command of a script starts with \"line N: \" (its line, or its\n"
    "\";\"-separated segment of -e), and that of a file command with \"FILE: \".\n"
    "Exit status: 0 success, 1 a command failed, 2 usage error (nothing ran).";

// The default mode: a script of commands over one workbench, as the options give it.
struct TScriptMode {
  std::optional<uint32_t> Seed;  // the random source's seed at start; 0 when not given
  std::optional<std::string> Queens;
  std::string Generations = "100";
  int Width = 800, Height = 500;
  int Scale = 1;
  std::vector<std::string> CommandTexts;  // each -e
  std::vector<std::string> ScriptFiles;   // each SCRIPT-FILE or "-"
};

// The usage line first, as command-line tools print it, then what the program does.
class THelpFormatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App* App, std::string Name) const override {
    if (App->get_parent())
      return "Usage: nqueens-ga " + App->get_name() + (App->get_name() == "report" ? " DIR" : "") + " [OPTIONS]\n";
    return "Usage: " + Name + " [OPTIONS] [-e COMMANDS | SCRIPT-FILE | -]\n       " + Name +
           " batch [OPTIONS]\n       " + Name + " report DIR [OPTIONS]\n";
  }
  std::string make_help(const CLI::App* App, std::string Name, CLI::AppFormatMode Mode) const override {
    if (Mode == CLI::AppFormatMode::Sub) return make_expanded(App);
    return make_usage(App, Name) + "\n" + make_description(App) + make_positionals(App) + make_groups(App, Mode) +
           make_subcommands(App, Mode) + "\n" + make_footer(App);
  }
};

// The pixels of a picture at most (width x height x scale^2): 64 megapixels, 256 MB as an image.
constexpr int64_t kMaxPicturePixels = 64'000'000;

std::optional<std::pair<int, int>> ParseSize(const std::string& Text) {
  const auto x = Text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto w = TryStrToInt(Text.substr(0, x)), h = TryStrToInt(Text.substr(x + 1));
  if (!w || !h || *w < 16 || *h < 16 || *w > 10000 || *h > 10000) return std::nullopt;
  return std::pair{*w, *h};
}

// Options that may be repeated keep the last value, as they always did.
void AddScriptOptions(CLI::App& App, TScriptMode& Mode) {
  App.add_option_function<std::string>(
         "--seed", [&Mode](const std::string& Text) { Mode.Seed = ParseSeed(Text); },
         "the random source's seed at start, before -q (decimal or\n0x hexadecimal, 0 to 4294967295; default 0)")
      ->type_name("S")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->check(CLI::Validator(
          [](std::string& Text) {
            return ParseSeed(Text) ? "" : "takes an integer from 0 to 4294967295, not '" + Text + "'";
          },
          ""));
  App.add_option_function<std::string>(
         "-q", [&Mode](const std::string& Text) { Mode.Queens = Text; },
         "set the queen count to N (4 to 32) before the commands, as\nthe queen-count control does (this initializes)")
      ->type_name("N")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->check(CLI::Validator(
          [](std::string& Text) {
            const auto n = TryStrToInt(Text);
            return n && *n >= queens::kMinQueens && *n <= queens::kMaxQueens
                       ? ""
                       : "takes a queen count from 4 to 32, not '" + Text + "'";
          },
          ""));
  App.add_option("-g", Mode.Generations, "generation text used by \"run\" without an argument\n(default 100)")
      ->type_name("TEXT")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  App.add_option_function<std::string>(
         "--size", [&Mode](const std::string& Text) { std::tie(Mode.Width, Mode.Height) = *ParseSize(Text); },
         "picture size for \"chart\" (default 800x500)")
      ->type_name("WxH")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->check(CLI::Validator(
          [](std::string& Text) {
            return ParseSize(Text) ? "" : "takes WIDTHxHEIGHT between 16 and 10000, not '" + Text + "'";
          },
          ""));
  App.add_option(
         "--scale", Mode.Scale,
         "device pixel ratio of \"chart\" PNG pictures, 1 to 4:\nthe --size layout at K times the pixels (default 1)")
      ->type_name("K")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->check(CLI::Range(1, 4));
  App.add_option("-e", Mode.CommandTexts, "commands separated by \";\"")
      ->option_text("COMMANDS")
      ->allow_extra_args(false);
  App.add_option("SCRIPT-FILE", Mode.ScriptFiles,
                 "commands one per line (\"#\" starts a comment line);\n\"-\" reads them from stdin")
      ->option_text("| -");
}

// Builds the command line of nqueens-ga: the default mode, what runs when no
// subcommand is given, and the batch subcommand beside it.
std::unique_ptr<CLI::App> MakeApp(TScriptMode& Mode, TBatchOptions& Batch, TReportOptions& Report) {
  auto app = std::make_unique<CLI::App>(kDescription, "nqueens-ga");
  app->formatter(std::make_shared<THelpFormatter>());
  app->get_formatter()->column_width(24);
  app->set_help_flag("-h,--help", "this text");
  AddScriptOptions(*app, Mode);
  AddBatchCommand(*app, Batch)->formatter(app->get_formatter());
  AddReportCommand(*app, Report)->formatter(app->get_formatter());
  app->require_subcommand(0, 1);
  app->footer(CommandsHelp() + "\nWith no commands, Run is pressed once.\n" + kEpilogue);
  return app;
}

std::string ReadAll(std::istream& In) {
  std::stringstream text;
  text << In.rdbuf();
  return text.str();
}

// The commands the options name; no commands at all means pressing Run once.
std::vector<TCommand> ReadScript(const TScriptMode& Mode, std::istream& In) {
  if (Mode.CommandTexts.size() + Mode.ScriptFiles.size() > 1)
    throw TUsageError("give one of -e COMMANDS, SCRIPT-FILE or -");
  std::vector<TCommand> commands;
  if (!Mode.CommandTexts.empty()) commands = ReadCommands(Mode.CommandTexts[0], ';');
  if (!Mode.ScriptFiles.empty()) {
    const std::string& name = Mode.ScriptFiles[0];
    if (name == "-") {
      commands = ReadCommands(ReadAll(In), '\n');
    } else {
      std::ifstream file(name);
      if (!file) throw TUsageError("cannot read script '" + name + "'");
      commands = ReadCommands(ReadAll(file), '\n');
    }
  }
  if (commands.empty()) commands.push_back({"run", {}, ""});
  return commands;
}

int RunScript(const TScriptMode& Mode, const std::vector<TCommand>& Commands, std::ostream& Out, std::ostream& Err) {
  if (Mode.Seed) GlobalRandom().SetSeed(*Mode.Seed);
  queens::TFitnessGraph graph;  // the plotted points, for csv and chart
  queens::TQueensWorkbench wb;
  wb.Attach(graph);
  for (const std::string& line : wb.Log()) Out << line << '\n';
  // Printed as it comes and not kept: a long session's memory does not grow with its log.
  wb.SetLogLimit(0);
  wb.OnLogLine = [&Out](const std::string& line) { Out << line << '\n'; };
  wb.OnNote = [&Out, &Err](const std::string& message) {
    Out.flush();
    Err << "note: " << message << '\n';
  };
  wb.FormCreate();

  bool failed = false;
  auto attempt = [&](const std::string& where, auto&& action) {
    try {
      action();
    } catch (const std::exception& e) {
      Out.flush();
      Err << "error: " << where << e.what() << '\n';
      failed = true;
    }
  };
  TCommandContext context{wb, graph, Mode.Generations, Mode.Width, Mode.Height, Out, Mode.Scale};
  if (Mode.Queens) attempt("", [&] { wb.SpinEdit1Change(QueenCount(*Mode.Queens)); });
  for (const TCommand& c : Commands) attempt(WhereFrom(c), [&] { RunCommand(c, context); });
  Out.flush();
  return failed ? 1 : 0;
}

void ReportUsageError(const std::string& Message, std::ostream& Err) {
  Err << "nqueens-ga: " << Message << "\nTry 'nqueens-ga --help'.\n";
}

}  // namespace

std::string UsageText() {
  TScriptMode mode;
  TBatchOptions batch;
  TReportOptions report;
  return MakeApp(mode, batch, report)->help();
}

int RunCli(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err, std::istream& In) {
  TScriptMode mode;
  TBatchOptions batch;
  TReportOptions report;
  const std::unique_ptr<CLI::App> app = MakeApp(mode, batch, report);
  CLI::App* const batch_command = app->get_subcommand("batch");
  CLI::App* const report_command = app->get_subcommand("report");
  try {
    // The library takes the arguments last first.
    app->parse(std::vector<std::string>(Args.rbegin(), Args.rend()));
  } catch (const CLI::ParseError& e) {
    // Help (CallForHelp) wins over every other mistake; an option's value ("-g --help") is no help flag.
    for (CLI::App* command : {batch_command, report_command})
      if (command->get_help_ptr()->count() > 0) {
        Out << command->help();
        return 0;
      }
    if (app->get_help_ptr()->count() > 0) {
      Out << app->help();
      return 0;
    }
    ReportUsageError(e.what(), Err);
    return 2;
  }
  if (batch_command->parsed()) return RunBatch(batch, Out, Err);
  if (report_command->parsed()) return RunReport(report, Out, Err);
  std::vector<TCommand> commands;
  try {
    // A picture is drawn whole in memory: its pixels are bounded before anything runs.
    const int64_t pixels = int64_t{mode.Width} * mode.Height * mode.Scale * mode.Scale;
    if (pixels > kMaxPicturePixels)
      throw TUsageError("--size " + std::to_string(mode.Width) + "x" + std::to_string(mode.Height) + " at --scale " +
                        std::to_string(mode.Scale) + " makes " + std::to_string(pixels) +
                        " pixels, more than the 64,000,000 a picture may have");
    commands = ReadScript(mode, In);
  } catch (const TUsageError& e) {
    ReportUsageError(e.what(), Err);
    return 2;
  }
  return RunScript(mode, commands, Out, Err);
}

int RunCli(int argc, char** argv, std::ostream& Out, std::ostream& Err, std::istream& In) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunCli(args, Out, Err, In);
}

int FinishStandardOutput(int Status, std::ostream& Err) {
  errno = 0;
  std::cout.flush();
  const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
  if (!failed) return Status;
  const int error = errno;
  Err << "error: cannot write to standard output" << (error != 0 ? std::string(" (") + std::strerror(error) + ")" : "")
      << '\n';
  return 1;
}

}  // namespace zp::cli
