#include "workbench/QueensWorkbench.h"

#include <algorithm>

#include "platform/Numbers.h"
#include "workbench/QueensProblem.h"

namespace zp::queens {

using namespace zp::ga;

namespace {

const char* const kIntroduction[] = {
    "This demo uses the TZPGeneticAlgorithm component to solve the 8 queens problem.  In other words, how do you "
    "place 8 ",
    "queens on a chessboard, each in a unique column, so that no queen can attack the other.",
    "",
    "There are 8 genes for the problem.  Each gene is a 3 bit integer representing the place of the queen for that "
    "column (there ",
    "are 8 places per column).  The fitness function for the 8 queens problem is the number of non-attacking pairs "
    "of queens.  A ",
    "solution would have a fitness value of 28.",
    "",
};

// Leaves the engine's generation loop from the per-generation callback, which the
// engine calls once the generation is complete (counted, evaluated).
struct TRunStopped {};

}  // namespace

TQueensWorkbench::TQueensWorkbench(TRandom& Random) {
  MakeComponent(Random);
  for (const char* line : kIntroduction) log_.emplace_back(line);
}

void TQueensWorkbench::MakeComponent(TRandom& Random) {
  ga_ = std::make_unique<TZPGeneticAlgorithm>();
  ga_->SetName("ZPGeneticAlgorithm1");
  ga_->SetRandomSource(Random);
  ApplyStoredSettings();
}

void TQueensWorkbench::RestoreStoredSettings() { MakeComponent(ga_->RandomSource()); }

TQueensWorkbench::~TQueensWorkbench() = default;

void TQueensWorkbench::Attach(IRunObserver& Observer) {
  if (std::find(observers_.begin(), observers_.end(), &Observer) == observers_.end()) observers_.push_back(&Observer);
}

void TQueensWorkbench::Detach(IRunObserver& Observer) { std::erase(observers_, &Observer); }

// By index: an observer that attaches or detaches one while being told leaves no dangling iterator.
template <class Event, class Arg>
void TQueensWorkbench::Notify(Event Handler, const Arg& Value) {
  for (size_t i = 0; i < observers_.size(); ++i) (observers_[i]->*Handler)(Value);
}

// The component's stored settings, in property order: the setters' rules
// depend on that order.
void TQueensWorkbench::ApplyStoredSettings() {
  TZPGeneticAlgorithm& ga = *ga_;
  ga.SetDiversityLimit(0.02);
  ga.SetElitistPct(0.1);
  ga.SetFitnessCutoff(28);
  ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  for (int i = 0; i < 8; ++i) {
    TZPGAGene& gene = ga.Genes().Add();
    gene.SetGeneType(TGeneType::gtInteger);
    gene.SetName("Col" + std::to_string(i));
    gene.SetSize(3);
  }
  ga.SetGeneSize(24);
  ga.SetCrossoverProbability(0.98);
  ga.SetInversionProbability(0.1);
  ga.SetMutationProbability(0.02);
  ga.SetTournamentField(4);
  ga.SetUseFitnessCutoff(true);
  ga.OnEvaluateFitness = [this](TZPCustomGeneticAlgorithm&, TZPGAIndividual& item, TGAFitness& fitness) {
    EvaluateFitness(item, fitness);
  };
  ga.OnInitialization = [this](TZPCustomGeneticAlgorithm&, bool& initialized) { Initialization(initialized); };
  ga.OnEvolve = [this](TZPCustomGeneticAlgorithm&) { Evolve(); };
}

void TQueensWorkbench::ClearBoard() {
  for (int i = 0; i < board_.ColCount(); ++i) board_.ClearColumn(i);
}

void TQueensWorkbench::AddLog(const std::string& Line) {
  log_.push_back(Line);
  if (OnLogLine) OnLogLine(Line);
}

void TQueensWorkbench::FormCreate() { ga_->SetInitialPopulation(4 * num_queens_); }

void TQueensWorkbench::btnInitClick() { ga_->Initialize(); }

void TQueensWorkbench::SpinEdit1Change(int Value) {
  SetNumQueens(Value);
  ga_->Initialize();
}

void TQueensWorkbench::SetNumQueens(int Value) {
  // The cutoff needs at least two queens and the board at most 32 columns.
  num_queens_ = std::clamp(Value, kMinQueens, kMaxQueens);
  ga_->SetInitialPopulation(4 * num_queens_);
}

void TQueensWorkbench::cbGraphClick(bool Checked) {
  // The callback stays: it also carries a stop request; it reports only with the graph on.
  graph_enabled_ = Checked;
}

void TQueensWorkbench::FormResize(int GridClientWidth, int GridClientHeight) {
  board_.SetClientSize(GridClientWidth, GridClientHeight);
  board_.FitCells(ga_->Genes().Count());
}

void TQueensWorkbench::Initialization(bool& /*Initialized*/) {
  TZPGeneticAlgorithm& ga = *ga_;
  const int n = num_queens_;
  BuildQueensGenes(ga.Genes(), n);
  ga.SetFitnessCutoff(QueensCutoff(n));
  ga.SetMutationProbability(1.0 / ga.GeneSize());

  const int genes = ga.Genes().Count();
  AddLog("");
  AddLog("Population Initialized.");
  AddLog("     Number of queens is " + std::to_string(n));
  AddLog("     Chromosome Size is " + std::to_string(ga.GeneSize()) + " (" + std::to_string(genes) + " genes X " +
         std::to_string(genes > 0 ? ga.Genes().Items(0).Size() : 0) + " bits)");
  AddLog("     Population is " + std::to_string(ga.Population().Count()));
  AddLog("     Fitness Cutoff is " + FormatFloat15(ga.FitnessCutoff()));
  AddLog("     Mutation probability is " + FormatFloat15(ga.MutationProbability()));
  AddLog("");

  board_.SetSize(genes, genes);
  board_.FitCells(genes);
  ResetCurves();
}

void TQueensWorkbench::ResetCurves() { Notify(&IRunObserver::OnCurvesReset, ga_->FitnessCutoff()); }

void TQueensWorkbench::EvaluateFitness(TZPGAIndividual& Item, TGAFitness& Fitness) {
  // The gene values of the individual standing at Item's place in Population, which is Item itself.
  decoder_.Decode(ga_->Genes(), Item.Bits(), rows_);
  Fitness = QueensFitness(rows_.data(), static_cast<int>(rows_.size()), num_queens_);
}

void TQueensWorkbench::Evolve() {
  const TZPGeneticAlgorithm& ga = *ga_;
  if (graph_enabled_) {
    const TGenerationReport report{ga.SelectionMethod(), ga.Generation(), ga.MaxFitness(), ga.AvgFitness(),
                                   ga.MinFitness()};
    Notify(&IRunObserver::OnGeneration, report);
  }
  // After the report: the last generation of a stopped run is plotted too.
  if (stop_requested_.load(std::memory_order_relaxed)) throw TRunStopped();
}

void TQueensWorkbench::btnRunClick(const std::string& GenerationText) { RunComparison(GenerationText, RunMethods()); }

void TQueensWorkbench::RunComparison(const std::string& GenerationText, std::span<const TGASelectionMethod> Methods) {
  TZPGeneticAlgorithm& ga = *ga_;
  TZPGAPopulation start(nullptr, ga.Population().Factory());
  if (!ga.Initialized()) ga.Initialize();
  start.Assign(ga.Population());
  const int32_t start_generation = ga.Generation();
  TRandom& random = ga.RandomSource();
  const uint32_t start_state = random.Seed();
  for (TGASelectionMethod method : Methods) {
    if (streams_ == TRandomStreams::rsShared) random.SetSeed(start_state);
    if (RunSelectionMethod(method, start_generation, start, GenerationText)) break;
  }
}

bool TQueensWorkbench::RunSelectionMethod(TGASelectionMethod Method, int32_t Generation,
                                          const TZPGAPopulation& Population, const std::string& GenerationText) {
  TZPGeneticAlgorithm& ga = *ga_;
  ga.SetSelectionMethod(Method);
  ga.SetGeneration(Generation);
  ga.SetPopulation(Population);
  ga.EvaluatePopulation();
  const int32_t count = StrToInt(GenerationText);
  bool stopped = false;
  try {
    ga.EvolveGenerations(count);
  } catch (const TRunStopped&) {
    stopped = true;  // the population and Generation are those of the last whole generation
  }

  AddLog("");
  AddLog("Selection Method: " + ToString(ga.SelectionMethod()));
  AddLog("Number of generations:" + std::to_string(ga.Generation()));
  if (TZPGAIndividual* fittest = ga.FittestIndividual()) {
    AddLog("Fittest Individual:" + fittest->Bits().DisplayText());
    AddLog("     Score:" + FormatFloat15(fittest->Fitness()));
  } else {
    AddLog("Fittest Individual:none, the population is empty");
  }
  AddLog("Avg Fitness:" + FormatFloat15(ga.AvgFitness()));
  AddLog("Min Fitness:" + FormatFloat15(ga.MinFitness()));
  AddLog("Max Fitness:" + FormatFloat15(ga.MaxFitness()));
  if (stopped)
    AddLog("Run stopped after " + std::to_string(ga.Generation() - Generation) + " of " + std::to_string(count) +
           " generations");
  if (ga.FittestIndividual() && ga.MaxFitness() == ga.FitnessCutoff()) ShowSolution();
  const TZPGAIndividual* fittest = ga.FittestIndividual();
  Notify(&IRunObserver::OnMethodFinished,
         TMethodReport{ga.SelectionMethod(), ga.Generation(), ga.Population().Count(), ga.MaxFitness(), ga.AvgFitness(),
                       ga.MinFitness(), ga.FitnessCutoff(), fittest ? fittest->Bits().DisplayText() : std::string()});
  return stopped;
}

void TQueensWorkbench::ShowSolution() {
  TZPGeneticAlgorithm& ga = *ga_;
  TZPGAIndividual& fittest = *ga.FittestIndividual();
  for (int i = 0; i < ga.Genes().Count(); ++i) {
    board_.ClearColumn(i);
    board_.SetCell(i, ga.Genes().Items(i).DecodeInteger(fittest.Bits()), "Q");
  }
}

}  // namespace zp::queens
