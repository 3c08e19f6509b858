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

}  // namespace

TQueensWorkbench::TQueensWorkbench(TRandom& Random) {
  MakeComponent(Random);
  for (const char* line : kIntroduction) log_.emplace_back(line);
}

void TQueensWorkbench::MakeComponent(TRandom& Random) {
  core_.reset();  // unbinds the old component before it goes
  ga_ = std::make_unique<TZPGeneticAlgorithm>();
  ga_->SetName("ZPGeneticAlgorithm1");
  ga_->SetRandomSource(Random);
  ApplyStoredSettings(*ga_);
  IRunObserver& events = *this;
  core_ = std::make_unique<TRunCore>(*ga_, problem_, events);
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

void TQueensWorkbench::ClearBoard() {
  for (int i = 0; i < board_.ColCount(); ++i) board_.ClearColumn(i);
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

void TQueensWorkbench::btnInitClick() { core_->Initialize(); }

void TQueensWorkbench::SpinEdit1Change(int Value) {
  SetNumQueens(Value);
  core_->Initialize();
}

void TQueensWorkbench::SetNumQueens(int Value) {
  // The cutoff needs at least two queens and the board at most 32 columns.
  problem_.SetSize(std::clamp(Value, kMinQueens, kMaxQueens));
  ga_->SetInitialPopulation(4 * problem_.Size());
}

void TQueensWorkbench::cbGraphClick(bool Checked) { graph_enabled_ = Checked; }

void TQueensWorkbench::FormResize(int GridClientWidth, int GridClientHeight) {
  board_.SetClientSize(GridClientWidth, GridClientHeight);
  board_.FitCells(ga_->Genes().Count());
}

void TQueensWorkbench::OnCurvesReset(double /*Cutoff*/) {
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
  Notify(&IRunObserver::OnHeading, TRunHeading{problem_.Caption(), core_->StartSeed(), Streams});
}

void TQueensWorkbench::OnGeneration(const TGenerationReport& Report) {
  if (graph_enabled_) Notify(&IRunObserver::OnGeneration, Report);
}

void TQueensWorkbench::OnMethodFinished(const TMethodReport& Report) {
  // The board shows a solution by the component's own cutoff, which a loaded document may have set.
  TZPGeneticAlgorithm& ga = *ga_;
  if (ga.FittestIndividual() && ga.MaxFitness() == ga.FitnessCutoff())
    problem_.DescribeSolution(ga.Genes(), ga.FittestIndividual()->Bits(), board_);
  Notify(&IRunObserver::OnMethodFinished, Report);
}

void TQueensWorkbench::btnRunClick(const std::string& GenerationText) {
  RunComparison(GenerationText, TComparisonRequest::kAllMethods);
}

void TQueensWorkbench::RunComparison(const std::string& GenerationText, std::span<const TGASelectionMethod> Methods) {
  TZPGeneticAlgorithm& ga = *ga_;
  int32_t count = 0;
  try {
    count = StrToInt(GenerationText);
  } catch (...) {
    // The window reads its text inside the first method, once that method is set up and scored.
    if (!ga.Initialized()) core_->Initialize();
    if (!Methods.empty()) {
      TZPGAPopulation start(nullptr, ga.Population().Factory());
      start.Assign(ga.Population());
      core_->SetUpMethod(Methods.front(), ga.Generation(), start);
    }
    throw;
  }
  NotifyHeading(streams_);
  const TRunOutcome outcome = core_->Run(count, Methods, streams_, stop_.get_token());
  if (outcome.Stopped)
    AddLog("Run stopped after " + std::to_string(outcome.Generations) + " of " + std::to_string(count) +
           " generations");
}

}  // namespace zp::queens
