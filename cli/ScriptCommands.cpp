#include "cli/ScriptCommands.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "cli/ChartOutput.h"
#include "persistence/GADocuments.h"
#include "platform/AsciiText.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/Numbers.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

namespace zp::cli {

// Refused before the workbench sees it, which would clamp it as the window's spin box does.
int QueenCount(const std::string& Text) {
  const int32_t n = StrToInt(Text);
  if (n < queens::kMinQueens || n > queens::kMaxQueens)
    throw Exception("the queen count must be from 4 to 32, not " + Text);
  return n;
}

namespace {

using queens::TQueensWorkbench;

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The words of a choice such as "population|board".
std::vector<std::string> Choices(std::string_view Arguments) {
  std::vector<std::string> choices;
  std::istringstream in{std::string(Arguments)};
  for (std::string choice; std::getline(in, choice, '|');) choices.push_back(choice);
  return choices;
}

// --- checks ---

void NeedArity(const TCommandEntry& Entry, const TCommand& C, size_t Count) {
  if (C.Args.size() != Count) throw TUsageError("wrong arguments for '" + std::string(Entry.Name) + "'");
}

void NoArguments(const TCommandEntry& Entry, const TCommand& C) { NeedArity(Entry, C, 0); }

void OneArgument(const TCommandEntry& Entry, const TCommand& C) { NeedArity(Entry, C, 1); }

void TwoArguments(const TCommandEntry& Entry, const TCommand& C) { NeedArity(Entry, C, 2); }

void AnyText(const TCommandEntry&, const TCommand&) {}

void OneOfTheChoices(const TCommandEntry& Entry, const TCommand& C) {
  NeedArity(Entry, C, 1);
  const std::vector<std::string> choices = Choices(Entry.Arguments);
  for (const std::string& choice : choices)
    if (C.Args[0] == choice) return;
  std::string list;
  for (size_t i = 0; i < choices.size(); ++i)
    list += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + ("'" + choices[i] + "'");
  throw TUsageError(std::string(Entry.Name) + " takes " + list);
}

void FileName(const TCommandEntry& Entry, const TCommand& C) {
  if (C.Rest.empty()) throw TUsageError("'" + std::string(Entry.Name) + "' needs a file name");
}

// --- actions ---

// A failure of Action on the file FileName, reported under the file's name
// (errors of the file itself already are).
template <typename TAction>
void OnFile(const std::string& FileName, TAction&& Action) {
  try {
    Action();
  } catch (...) {
    RethrowNamingFile(FileName);
  }
}

// "-" names standard output, for the commands that write text.
bool IsStdout(const std::string& FileName) { return FileName == "-"; }

void Queens(const TCommand& C, TCommandContext& X) { X.Workbench.SpinEdit1Change(QueenCount(C.Args[0])); }

void Problem(const TCommand& C, TCommandContext& X) {
  const auto chosen = queens::ParseProblemName(C.Args[0]);
  if (!chosen) throw TUsageError("'" + C.Args[0] + "' is not a problem: " + queens::kProblemNames);
  const int32_t size = StrToInt(C.Args[1]);
  if (const std::string error = chosen->SizeError(size); !error.empty()) throw TUsageError(error);
  X.Workbench.SetProblem(*chosen, size);
}

void Set(const TCommand& C, TCommandContext& X) {
  const auto name = queens::FindSettingName(C.Args[0]);
  if (!name)
    throw TUsageError("'" + C.Args[0] +
                      "' is not a setting: population, crossover, mutation, inversion, tournament, elitist or "
                      "crossover-method");
  try {
    X.Workbench.SetSettingOverride(queens::ParseSettingValue(*name, C.Args[1]));
  } catch (const std::invalid_argument& e) {
    throw TUsageError(C.Args[0] + ": " + e.what());
  }
}

void Init(const TCommand&, TCommandContext& X) { X.Workbench.btnInitClick(); }

void Run(const TCommand& C, TCommandContext& X) { X.Workbench.btnRunClick(C.Args.empty() ? X.Generations : C.Rest); }

void Graph(const TCommand& C, TCommandContext& X) { X.Workbench.cbGraphClick(C.Args[0] == "on"); }

void Streams(const TCommand& C, TCommandContext& X) {
  X.Workbench.SetStreams(C.Args[0] == "shared" ? queens::TRandomStreams::rsShared
                                               : queens::TRandomStreams::rsContinued);
}

void Show(const TCommand& C, TCommandContext& X) {
  if (C.Args[0] == "population") {
    const auto& pop = X.Workbench.Algorithm().Population();
    for (int i = 0; i < pop.Count(); ++i) X.Out << pop.Items(i).Bits().BitString() << '\n';
  } else if (X.Workbench.Problem().DescribesSolutions()) {
    const queens::TChessBoard& board = X.Workbench.Board();
    if (!board.Caption().empty()) X.Out << board.Caption() << '\n';
    for (const std::string& line : board.Lines()) X.Out << line << '\n';
  } else {
    // A problem without a board shows the best individual's bits in its place.
    const TQueensWorkbench::TBestFound& best = X.Workbench.BestFound();
    if (!best.Method) return;
    X.Out << "Best found: " << ga::kSelectionMethods[*ga::MethodPlace(*best.Method)].Caption << ", fitness "
          << FormatFloat15(best.Fitness) << " of " << FormatFloat15(X.Workbench.Problem().Target()) << '\n'
          << best.Bits << '\n';
  }
}

void Csv(const TCommand& C, TCommandContext& X) {
  if (IsStdout(C.Rest)) {
    X.Out << X.Graph.Csv();
    return;
  }
  OnFile(C.Rest, [&] { WriteFileAtomically(C.Rest, X.Graph.Csv()); });
}

void Chart(const TCommand& C, TCommandContext& X) {
  if (IsStdout(C.Rest)) {
    X.Out << ChartSvgText(X.Graph, X.Width, X.Height);
    return;
  }
  RenderChartFile(X.Graph, C.Rest, X.Width, X.Height, X.Scale);
}

// The workbench's six file commands, each given the rest of the line as the file name.
template <void (TQueensWorkbench::*Method)(const std::string&)>
void WorkbenchFile(const TCommand& C, TCommandContext& X) {
  OnFile(C.Rest, [&] { (X.Workbench.*Method)(C.Rest); });
}

// A save command: the document into the file named, or onto standard output for "-".
template <void (TQueensWorkbench::*Method)(const std::string&), auto Part>
void SaveFile(const TCommand& C, TCommandContext& X) {
  if (!IsStdout(C.Rest)) return WorkbenchFile<Method>(C, X);
  xml::SaveToStream(Part(X.Workbench.Algorithm()), X.Out);
}

const ga::TZPCustomGeneticAlgorithm& WholeAlgorithm(const ga::TZPCustomGeneticAlgorithm& GA) { return GA; }
const ga::TZPGAGenes& GenesOf(const ga::TZPCustomGeneticAlgorithm& GA) { return GA.Genes(); }
const ga::TZPGAPopulation& PopulationOf(const ga::TZPCustomGeneticAlgorithm& GA) { return GA.Population(); }

constexpr TCommandEntry kCommands[] = {
    {"queens", "N", "set the queen count (4 to 32) and re-initialize (even if\nunchanged)", OneArgument, Queens},
    {"problem", "NAME SIZE",
     "set the problem (nqueens, onemax, leadingones, jump:K) and its\n"
     "size, and re-initialize",
     TwoArguments, Problem},
    {"set", "SETTING VALUE",
     "a setting for every initialization from now on (queens, problem,\n"
     "init): population N|Kn, crossover P, mutation P|K/L, inversion P,\n"
     "tournament N, elitist P, crossover-method cmGeneBoundary ...",
     TwoArguments, Set},
    {"init", "", "the Initialize button", NoArguments, Init},
    {"run", "[TEXT]",
     "the Run button: all five selection methods from one start\n"
     "population, TEXT generations each (default: the -g text)",
     AnyText, Run},
    {"graph", "on|off", "the Graph check box (plot the curves or not)", OneOfTheChoices, Graph},
    {"streams", "shared|continued",
     "each method of a run continues the random numbers where the\n"
     "previous one stopped (the default), or all start from the same state",
     OneOfTheChoices, Streams},
    {"show", "population|board",
     "one chromosome bit string per line, in population\n"
     "order; or one line per board row, \"Q\" or \".\" per cell; a board\n"
     "that is no solution is the run's best found, under its caption,\n"
     "with \"X\" for each queen another attacks (for other problems\n"
     "the best individual the last run found, its bits)",
     OneOfTheChoices, Show},
    {"csv", "FILE", "every plotted point as method,generation,fitness rows (- for stdout)", FileName, Csv},
    {"save", "FILE", "save settings, genotype and population (XML; - for stdout)", FileName,
     SaveFile<&TQueensWorkbench::SaveAll, &WholeAlgorithm>},
    {"load", "FILE", "load settings, genotype and population", FileName, WorkbenchFile<&TQueensWorkbench::LoadAll>},
    {"save-genotype", "FILE", "save the genotype alone (- for stdout)", FileName,
     SaveFile<&TQueensWorkbench::SaveGenoType, &GenesOf>},
    {"load-genotype", "FILE", "load the genotype alone", FileName, WorkbenchFile<&TQueensWorkbench::LoadGenoType>},
    {"save-population", "FILE", "save the population alone (- for stdout)", FileName,
     SaveFile<&TQueensWorkbench::SavePopulation, &PopulationOf>},
    {"load-population", "FILE", "load the population alone", FileName,
     WorkbenchFile<&TQueensWorkbench::LoadPopulation>},
    {"chart", "FILE", "render the fitness graph to PNG or SVG (by extension; - for\nSVG on stdout)", FileName, Chart},
};

}  // namespace

std::span<const TCommandEntry> Commands() { return kCommands; }

std::string WhereFrom(const TCommand& Command) {
  return Command.Line > 0 ? "line " + std::to_string(Command.Line) + ": " : "";
}

const TCommandEntry& FindCommand(const std::string& Name) {
  for (const TCommandEntry& entry : kCommands)
    if (entry.Name == Name) return entry;
  throw TUsageError("unknown command '" + Name + "'");
}

std::vector<TCommand> ReadCommands(const std::string& Text, char Separator) {
  std::vector<TCommand> commands;
  std::istringstream in(Text);
  int line = 0;
  for (std::string segment; std::getline(in, segment, Separator);) {
    ++line;
    segment = std::string(Trim(segment));
    if (segment.empty() || segment[0] == '#') continue;
    TCommand c;
    c.Args = Words(segment);
    c.Name = c.Args.front();
    c.Args.erase(c.Args.begin());
    c.Rest = std::string(Trim(std::string_view(segment).substr(c.Name.size())));
    c.Line = line;
    try {
      const TCommandEntry& entry = FindCommand(c.Name);
      entry.Check(entry, c);
    } catch (const TUsageError& e) {
      throw TUsageError(e.Message(), c.Line);
    }
    commands.push_back(std::move(c));
  }
  return commands;
}

void RunCommand(const TCommand& Command, TCommandContext& Context) {
  FindCommand(Command.Name).Action(Command, Context);
}

std::string CommandsHelp() {
  constexpr size_t kColumn = 24;
  std::string text = "Commands:\n";
  for (const TCommandEntry& entry : kCommands) {
    std::string head = "  " + std::string(entry.Name);
    if (!entry.Arguments.empty()) head += " " + std::string(entry.Arguments);
    head.resize(std::max(kColumn, head.size() + 1), ' ');
    text += head;
    for (const char c : entry.Help) text += c == '\n' ? "\n" + std::string(kColumn, ' ') : std::string(1, c);
    text += '\n';
  }
  return text;
}

}  // namespace zp::cli
