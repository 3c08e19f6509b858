#include "cli/CliRunner.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/ChartOutput.h"
#include "platform/Numbers.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

namespace zp::cli {

namespace {

struct Command {
  std::string name;
  std::vector<std::string> args;
  std::string rest;  // everything after the name, trimmed
};

struct Options {
  std::optional<std::string> queens;
  std::string generations = "100";
  int width = 800, height = 500;
  std::vector<Command> commands;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// Checks a command's name and arguments; anything unknown is a usage error.
void Validate(const Command& c) {
  auto arity = [&](size_t lo, size_t hi) {
    if (c.args.size() < lo || c.args.size() > hi) throw UsageError("wrong arguments for '" + c.name + "'");
  };
  static const char* const kFileCommands[] = {
      "save", "load", "save-genotype", "load-genotype", "save-population", "load-population", "csv", "chart"};
  if (c.name == "queens") return arity(1, 1);
  if (c.name == "init") return arity(0, 0);
  if (c.name == "run") return;
  if (c.name == "graph") {
    arity(1, 1);
    if (c.args[0] != "on" && c.args[0] != "off") throw UsageError("graph takes 'on' or 'off'");
    return;
  }
  if (c.name == "show") {
    arity(1, 1);
    if (c.args[0] != "population" && c.args[0] != "board") throw UsageError("show takes 'population' or 'board'");
    return;
  }
  for (const char* f : kFileCommands)
    if (c.name == f) {
      if (c.rest.empty()) throw UsageError("'" + c.name + "' needs a file name");
      return;
    }
  throw UsageError("unknown command '" + c.name + "'");
}

void AddCommands(const std::string& text, char separator, std::vector<Command>& out) {
  std::istringstream in(text);
  for (std::string segment; std::getline(in, segment, separator);) {
    segment = Trim(segment);
    if (segment.empty() || segment[0] == '#') continue;
    Command c;
    c.args = Words(segment);
    c.name = c.args.front();
    c.args.erase(c.args.begin());
    c.rest = Trim(segment.substr(c.name.size()));
    Validate(c);
    out.push_back(std::move(c));
  }
}

void ParseSize(const std::string& text, Options& o) {
  const auto x = text.find('x');
  const auto w = x == std::string::npos ? std::nullopt : TryStrToInt(text.substr(0, x));
  const auto h = x == std::string::npos ? std::nullopt : TryStrToInt(text.substr(x + 1));
  if (!w || !h || *w < 16 || *h < 16 || *w > 10000 || *h > 10000)
    throw UsageError("--size takes WIDTHxHEIGHT between 16 and 10000, not '" + text + "'");
  o.width = *w;
  o.height = *h;
}

Options Parse(const std::vector<std::string>& args, std::istream& in) {
  Options o;
  bool have_source = false;
  auto value = [&](size_t& i) -> const std::string& {
    if (i + 1 >= args.size()) throw UsageError("option " + args[i] + " needs a value");
    return args[++i];
  };
  auto one_source = [&] {
    if (have_source) throw UsageError("give one of -e COMMANDS, SCRIPT-FILE or -");
    have_source = true;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-q") {
      o.queens = value(i);
      if (!TryStrToInt(*o.queens)) throw UsageError("-q takes an integer, not '" + *o.queens + "'");
    } else if (a == "-g") {
      o.generations = value(i);
    } else if (a == "--size") {
      ParseSize(value(i), o);
    } else if (a == "-e") {
      one_source();
      AddCommands(value(i), ';', o.commands);
    } else if (a == "-") {
      one_source();
      std::stringstream text;
      text << in.rdbuf();
      AddCommands(text.str(), '\n', o.commands);
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError("unknown option '" + a + "'");
    } else {
      one_source();
      std::ifstream file(a);
      if (!file) throw UsageError("cannot read script '" + a + "'");
      std::stringstream text;
      text << file.rdbuf();
      AddCommands(text.str(), '\n', o.commands);
    }
  }
  // No commands at all (no source, or only blank segments): press Run once.
  if (o.commands.empty()) o.commands.push_back({"run", {}, ""});
  return o;
}

void WriteTextFile(const std::string& name, const std::string& text) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  if (!file) throw Exception("cannot write '" + name + "'");
  file << text;
  file.flush();
  if (!file) throw Exception("cannot write '" + name + "'");
}

void Execute(const Command& c, const Options& o, queens::TQueensWorkbench& wb, queens::TFitnessGraph& graph,
             std::ostream& out) {
  if (c.name == "queens") {
    wb.SpinEdit1Change(StrToInt(c.args[0]));
  } else if (c.name == "init") {
    wb.btnInitClick();
  } else if (c.name == "run") {
    wb.btnRunClick(c.args.empty() ? o.generations : c.rest);
  } else if (c.name == "graph") {
    wb.cbGraphClick(c.args[0] == "on");
  } else if (c.name == "show" && c.args[0] == "population") {
    const auto& pop = wb.Algorithm().Population();
    for (int i = 0; i < pop.Count(); ++i) out << pop.Items(i).Bits().BitString() << '\n';
  } else if (c.name == "show") {
    for (const std::string& line : wb.Board().Lines()) out << line << '\n';
  } else if (c.name == "csv") {
    WriteTextFile(c.rest, graph.Csv());
  } else if (c.name == "save") {
    wb.SaveAll(c.rest);
  } else if (c.name == "load") {
    wb.LoadAll(c.rest);
  } else if (c.name == "save-genotype") {
    wb.SaveGenoType(c.rest);
  } else if (c.name == "load-genotype") {
    wb.LoadGenoType(c.rest);
  } else if (c.name == "save-population") {
    wb.SavePopulation(c.rest);
  } else if (c.name == "load-population") {
    wb.LoadPopulation(c.rest);
  } else if (c.name == "chart") {
    RenderChartFile(graph, c.rest, o.width, o.height);
  }
}

}  // namespace

std::string UsageText() {
  return R"(Usage: nqueens-ga [-q N] [-g TEXT] [--size WxH] [-e COMMANDS | SCRIPT-FILE | -]

Runs the N-Queens genetic-algorithm workbench without a window. The log is
printed to stdout exactly as the window shows it, introduction lines first.

Options:
  -q N          set the queen count to N (4 to 32) before the commands, as the
                queen-count control does (this initializes)
  -g TEXT       generation text used by "run" without an argument (default 100)
  --size WxH    picture size for "chart" (default 800x500)
  -e COMMANDS   commands separated by ";"
  SCRIPT-FILE   commands one per line ("#" starts a comment line)
  -             commands one per line from stdin
  -h, --help    this text
With no commands, Run is pressed once.

Commands:
  queens N              set the queen count and re-initialize (even if unchanged)
  init                  the Initialize button
  run [TEXT]            the Run button: all five selection methods from one start
                        population, TEXT generations each (default: the -g text)
  graph on|off          the Graph check box (plot the curves or not)
  show population       one chromosome bit string per line, in population order
  show board            one line per board row, "Q" or "." per cell
  csv FILE              every plotted point as method,generation,fitness rows
  save FILE             save settings, genotype and population (XML)
  load FILE             load settings, genotype and population
  save-genotype FILE    save the genotype alone
  load-genotype FILE    load the genotype alone
  save-population FILE  save the population alone
  load-population FILE  load the population alone
  chart FILE            render the fitness graph to PNG or SVG (by extension)

A failing command prints "error: MESSAGE" to stderr and the rest go on.
Exit status: 0 success, 1 a command failed, 2 usage error (nothing ran).
)";
}

int RunCli(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err, std::istream& In) {
  // Help wins over everything else, but an option's value is not an option: "-g --help" is a generation text.
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    if (a == "-q" || a == "-g" || a == "-e" || a == "--size") {
      ++i;
    } else if (a == "-h" || a == "--help") {
      Out << UsageText();
      return 0;
    }
  }
  Options options;
  try {
    options = Parse(Args, In);
  } catch (const UsageError& e) {
    Err << "nqueens-ga: " << e.what() << "\nTry 'nqueens-ga --help'.\n";
    return 2;
  }

  queens::TFitnessGraph graph;  // the plotted points, for csv and chart
  queens::TQueensWorkbench wb;
  wb.Attach(graph);
  for (const std::string& line : wb.Log()) Out << line << '\n';
  wb.OnLogLine = [&Out](const std::string& line) { Out << line << '\n'; };
  wb.FormCreate();

  bool failed = false;
  auto attempt = [&](auto&& action) {
    try {
      action();
    } catch (const std::exception& e) {
      Out.flush();
      Err << "error: " << e.what() << '\n';
      failed = true;
    }
  };
  if (options.queens) attempt([&] { wb.SpinEdit1Change(StrToInt(*options.queens)); });
  for (const Command& c : options.commands) attempt([&] { Execute(c, options, wb, graph, Out); });
  Out.flush();
  return failed ? 1 : 0;
}

int RunCli(int argc, char** argv, std::ostream& Out, std::ostream& Err, std::istream& In) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunCli(args, Out, Err, In);
}

}  // namespace zp::cli
