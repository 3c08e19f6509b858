#include "workbench/QueensWorkbench.h"

#include <algorithm>

#include "platform/Numbers.h"
#include "workbench/QueensProblem.h"

namespace zp::queens {

using namespace zp::ga;

std::vector<std::string> IntroductionLines(int N) {
  const std::string n = std::to_string(N);
  const std::string bits = std::to_string(BitLength(static_cast<uint64_t>(std::max(N - 1, 0))));
  return {
      "This demo uses the TZPGeneticAlgorithm component to solve the " + n +
          " queens problem.  In other words, how do you place " + n + " ",
      "queens on a chessboard, each in a unique column, so that no queen can attack the other.",
      "",
      "There are " + n + " genes for the problem.  Each gene is a " + bits +
          " bit integer representing the place of the queen for that column (there ",
      "are " + n + " places per column).  The fitness function for the " + n +
          " queens problem is the number of non-attacking pairs of queens.  A ",
      "solution would have a fitness value of " + FormatFloat15(QueensCutoff(N)) + ".",
      "",
  };
}

TQueensWorkbench::TQueensWorkbench(TRandom& Random) {
  MakeComponent(Random);
  log_ = IntroductionLines(problem_.Size());
}

void TQueensWorkbench::MakeComponent(TRandom& Random) {
  core_.reset();  // unbinds the old component before it goes
  ga_ = std::make_unique<TZPGeneticAlgorithm>();
  ga_->SetName("ZPGeneticAlgorithm1");
  ga_->SetRandomSource(Random);
  ApplyStoredSettings(*ga_);
  BindCore();
}

void TQueensWorkbench::BindCore() {
  IRunObserver& events = *this;
  core_.reset();
  core_ = std::make_unique<TRunCore>(*ga_, other_ ? *other_ : static_cast<IProblem&>(problem_), events);
}

void TQueensWorkbench::RestoreStoredSettings() { MakeComponent(ga_->RandomSource()); }

TQueensWorkbench::~TQueensWorkbench() { core_.reset(); }

void TQueensWorkbench::Attach(IRunObserver& Observer) {
  if (std::find(observers_.begin(), observers_.end(), &Observer) == observers_.end()) observers_.push_back(&Observer);
}

void TQueensWorkbench::Detach(IRunObserver& Observer) { std::erase(observers_, &Observer); }

// By index: an observer that attaches or detaches one while being told leaves no dangling iterator.
template <class Event, class Arg>
void TQueensWorkbench::Notify(Event Handler, const Arg& Value) {
  for (size_t i = 0; i < observers_.size(); ++i) (observers_[i]->*Handler)(Value);
}

void TQueensWorkbench::StartOver(uint32_t Seed) {
  other_.reset();  // a fresh start is N-Queens again, with the stored settings
  overrides_ = {};
  best_ = {};
  RestoreStoredSettings();
  ga_->SetInitialPopulation(4 * problem_.Size());
  ga_->RandomSource().SetSeed(Seed);
  log_.clear();
  for (const std::string& line : IntroductionLines(problem_.Size())) AddLog(line);
  const int n = problem_.Size();
  board_.SetSize(n, n);
  board_.FitCells(n);
  ClearBoard();
  Notify(&IRunObserver::OnCurvesReset, problem_.Target());
}

void TQueensWorkbench::ClearBoard() {
  for (int i = 0; i < board_.ColCount(); ++i) board_.ClearColumn(i);
  board_.SetCaption({});
}

void TQueensWorkbench::AddLog(const std::string& Line) {
  if (log_limit_ > 0) {
    // Trimmed in halves, so that a bounded log costs no more per line than an unbounded one.
    if (log_.size() >= 2 * log_limit_) log_.erase(log_.begin(), log_.end() - static_cast<long>(log_limit_ - 1));
    log_.push_back(Line);
  }
  if (OnLogLine) OnLogLine(Line);
}

void TQueensWorkbench::SetLogLimit(size_t Lines) {
  log_limit_ = Lines;
  if (log_.size() > Lines) log_.erase(log_.begin(), log_.end() - static_cast<long>(Lines));
}

void TQueensWorkbench::FormCreate() { ga_->SetInitialPopulation(4 * problem_.Size()); }

void TQueensWorkbench::btnInitClick() { Initialize(); }

void TQueensWorkbench::ApplyOverrides() {
  TGASettings settings;
  bool any = false;
  for (const auto& value : overrides_)
    if (value) {
      ApplySettingValue(*value, settings, Problem().Size());
      any = true;
    }
  if (!any) return;
  // In the order the run core applies them, which the setters' rules follow.
  const auto given = [&](TSettingName Name) { return overrides_[static_cast<size_t>(Name)].has_value(); };
  TZPGeneticAlgorithm& ga = *ga_;
  if (given(TSettingName::snPopulation)) ga.SetInitialPopulation(*settings.Population);
  if (given(TSettingName::snCrossover)) ga.SetCrossoverProbability(settings.CrossoverProbability);
  if (given(TSettingName::snInversion)) ga.SetInversionProbability(settings.InversionProbability);
  if (given(TSettingName::snTournament)) ga.SetTournamentField(settings.TournamentField);
  if (given(TSettingName::snElitist)) ga.SetElitistPct(settings.ElitistPct);
  if (given(TSettingName::snCrossoverMethod)) ga.SetCrossoverMethod(settings.CrossoverMethod);
  if (given(TSettingName::snMutation)) core_->SetMutation(settings.MutationProbability, settings.MutationPerBits);
}

void TQueensWorkbench::SpinEdit1Change(int Value) {
  SetNumQueens(Value);
  Initialize();
}

void TQueensWorkbench::SetNumQueens(int Value) {
  // The cutoff needs at least two queens and the board at most 32 columns.
  problem_.SetSize(std::clamp(Value, kMinQueens, kMaxQueens));
  ga_->SetInitialPopulation(4 * problem_.Size());
  if (other_) {
    other_.reset();
    BindCore();
  }
}

void TQueensWorkbench::SetProblem(const TProblemChoice& Chosen, int32_t Size) {
  if (Chosen.Kind == TProblemKind::pkNQueens) return SpinEdit1Change(Size);
  other_ = Chosen.Make(Size);
  BindCore();
  ga_->SetInitialPopulation(4 * Size);
  best_ = {};
  Initialize();
}

void TQueensWorkbench::cbGraphClick(bool Checked) { graph_enabled_ = Checked; }

void TQueensWorkbench::FormResize(int GridClientWidth, int GridClientHeight) {
  board_.SetClientSize(GridClientWidth, GridClientHeight);
  // The board's own columns (before the first initialization they follow the queen count, not the
  // stored genes); a genotype without genes is left alone.
  board_.FitCells(ga_->Genes().Count() > 0 ? board_.ColCount() : 0);
}

void TQueensWorkbench::OnCurvesReset(double /*Cutoff*/) {
  best_ = {};
  if (other_) {  // a problem without a board leaves the board as it was, emptied
    ClearBoard();
    ResetCurves();
    return;
  }
  const int genes = ga_->Genes().Count();
  board_.SetSize(genes, genes);
  board_.FitCells(genes);
  ResetCurves();
}

void TQueensWorkbench::ResetCurves() {
  Notify(&IRunObserver::OnCurvesReset, ga_->FitnessCutoff());
  NotifyHeading(streams_);
}

void TQueensWorkbench::NotifyHeading(TRandomStreams Streams) {
  Notify(&IRunObserver::OnHeading, TRunHeading{Problem().Caption(), core_->StartSeed(), Streams});
}

void TQueensWorkbench::OnGeneration(const TGenerationReport& Report) {
  if (graph_enabled_) Notify(&IRunObserver::OnGeneration, Report);
}

void TQueensWorkbench::OnMethodFinished(const TMethodReport& Report) {
  // The board shows a solution by the component's own cutoff, which a loaded document may have set.
  // Until one does, the fittest individual of the run so far, its first finder kept on ties.
  TZPGeneticAlgorithm& ga = *ga_;
  if (other_) {  // no board: the best individual's bits stand in for it
    if (!best_.Method || Report.MaxFitness > best_.Fitness) best_ = {Report.Method, Report.MaxFitness, Report.Fittest};
    Notify(&IRunObserver::OnMethodFinished, Report);
    return;
  }
  const TZPGAIndividual* fittest = ga.FittestIndividual();
  const bool solution = fittest && ga.MaxFitness() == ga.FitnessCutoff();
  const bool better = fittest && !run_solved_ && (!run_has_best_ || ga.MaxFitness() > run_best_);
  if (solution || better) {
    problem_.DescribeSolution(ga.Genes(), ga.FittestIndividual()->Bits(), board_);
    board_.SetCaption({});
  }
  if (solution) {
    run_solved_ = true;
  } else if (better) {
    run_has_best_ = true;
    run_best_ = ga.MaxFitness();
    const TSelectionMethodInfo* method = FindMethod(Report.Method);
    board_.SetCaption("Best found: " + (method ? std::string(method->Caption) : ToString(Report.Method)) +
                      ", fitness " + FormatFloat15(ga.MaxFitness()) + " of " + FormatFloat15(ga.FitnessCutoff()));
  }
  Notify(&IRunObserver::OnMethodFinished, Report);
}

void TQueensWorkbench::btnRunClick(const std::string& GenerationText) {
  RunComparison(GenerationText, TComparisonRequest::kAllMethods);
}

void TQueensWorkbench::RunComparison(const std::string& GenerationText, std::span<const TGASelectionMethod> Methods) {
  TZPGeneticAlgorithm& ga = *ga_;
  run_solved_ = false;
  run_has_best_ = false;
  int32_t count = 0;
  try {
    count = StrToInt(GenerationText);
  } catch (...) {
    // The window reads its text inside the first method, once that method is set up and scored.
    if (!ga.Initialized()) Initialize();
    if (!Methods.empty()) {
      TZPGAPopulation start(nullptr, ga.Population().Factory());
      start.Assign(ga.Population());
      core_->SetUpMethod(Methods.front(), ga.Generation(), start);
    }
    throw;
  }
  if (!ga.Initialized()) ApplyOverrides();  // the run initializes
  NotifyHeading(streams_);
  const TRunOutcome outcome = core_->Run(count, Methods, streams_, stop_.get_token());
  if (outcome.Stopped)
    AddLog("Run stopped after " + std::to_string(outcome.Generations) + " of " + std::to_string(count) +
           " generations");
}

}  // namespace zp::queens
