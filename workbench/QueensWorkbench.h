// TQueensWorkbench: the workbench model behind the window and nqueens-ga, a
// window-shaped adapter over the run core (workbench/ComparisonRun.h). It
// owns ZPGeneticAlgorithm1 set up for N-Queens, the log and the board, and has
// one operation per window action. Errors leave the operations as exceptions;
// each front end shows them and stays usable. It creates no chart: curve
// resets and generations go to the observers a front end attaches (the
// fitness graph, a progress display), or nowhere.
//
//   TQueensWorkbench wb;
//   TFitnessGraph graph;
//   wb.Attach(graph);
//   wb.FormCreate();
//   wb.btnRunClick("100");   // initializes if needed, runs all five methods
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/ZPGeneticAlgorithm.h"
#include "platform/Random.h"
#include "workbench/ChessBoard.h"
#include "workbench/ComparisonRun.h"
#include "workbench/ProblemCatalogue.h"
#include "workbench/QueensProblem.h"
#include "workbench/RunEvents.h"
#include "workbench/SettingValues.h"

namespace zp::queens {

// The most work one generation of a loaded component may ask for: selection
// draws (individuals x TournamentField, for the tournaments every Run makes)
// and steps of the N-Queens fitness (individuals x the pairs of genes). A load
// past either is refused with the figures and changes nothing.
inline constexpr int64_t kMaxGenerationDraws = int64_t{1} << 24;
inline constexpr int64_t kMaxGenerationPairSteps = int64_t{1} << 26;

// What one generation of Individuals chromosomes of Genes genes with a TournamentField
// of Field would take past either cap ("one generation of ... would make ... selection
// draws, more than the 16777216"); empty when it stays within both. Loads and batches
// are held to the same caps.
std::string GenerationWorkExcess(int64_t Individuals, int64_t Genes, int64_t Field);

// The log's seven opening lines for a board of N queens (the original's text for 8).
std::vector<std::string> IntroductionLines(int N);

class TQueensWorkbench : private IRunObserver {
 public:
  // Creates the component with its stored settings and the log's introduction lines.
  // The component draws from Random (not owned; it must outlive the workbench):
  // the process-wide source by default, a source of its own for each worker of a batch.
  explicit TQueensWorkbench(TRandom& Random = GlobalRandom());
  ~TQueensWorkbench() override;
  TQueensWorkbench(const TQueensWorkbench&) = delete;
  TQueensWorkbench& operator=(const TQueensWorkbench&) = delete;

  // --- window actions ---
  // Start-up: InitialPopulation := 4 * NumQueens.
  void FormCreate();
  void btnInitClick();
  // The comparison run; GenerationText is read as a decimal integer for every method.
  // The board then shows the last solution a method found, or when none did, the
  // fittest individual of the run (the first method's on ties) with its attacked
  // queens marked and a caption naming it.
  void btnRunClick(const std::string& GenerationText);
  // The comparison run over Methods only, in the order given; with shared streams
  // each method runs as it would in the whole run. No methods: initializes if needed.
  void RunComparison(const std::string& GenerationText, std::span<const ga::TGASelectionMethod> Methods);
  // The queen count control changed: clamps to 4..32, re-initializes.
  void SpinEdit1Change(int Value);
  // The queen count without initializing (a count remembered from an earlier session):
  // clamps to 4..32 and sets InitialPopulation to 4 * NumQueens; the next initialization uses it.
  // N-Queens becomes the problem again.
  void SetNumQueens(int Value);
  // Chosen at Size (checked by the caller) as the problem from the next initialization on,
  // InitialPopulation 4 * Size, and initializes: what SpinEdit1Change is for N-Queens.
  void SetProblem(const TProblemChoice& Chosen, int32_t Size);
  // A setting for every initialization from now on (queens, problem, init, or a Run
  // that initializes), as a sweep's configuration sets it; StartOver forgets them.
  void SetSettingOverride(const TSettingValue& Value) { overrides_[static_cast<size_t>(Value.Name)] = Value; }
  // Forgets every setting override: the settings derive from the size again from the next initialization on.
  void ClearSettingOverrides() { overrides_ = {}; }
  // The problem the runs are of.
  const IProblem& Problem() const { return other_ ? *other_ : static_cast<const IProblem&>(problem_); }
  // Asks a run going on another thread to end: the generation in progress is abandoned
  // (the population and generation as after the last whole one), the stopped method logs
  // only "Run stopped after G of M generations", and the remaining methods do not run.
  // The request stands until cleared; clear it only while no run is going.
  void RequestStop() { stop_.request_stop(); }
  void ClearStopRequest() { stop_ = std::stop_source(); }
  // A new component with the stored settings, not initialized, drawing from the
  // same random source: what a freshly made workbench has. (A component that ran a
  // larger board keeps its larger GeneSize, a loaded one its loaded settings; either
  // changes every later run.) The queen count, log, board and graph setting stay.
  void RestoreStoredSettings();
  // File > New: everything as at program start, for the queen count set now. A new
  // component with the stored settings, not initialized, the random source at Seed
  // (the seed it started from), the log back to the introduction for N queens, an
  // empty N x N board and the curves started over. The graph and streams settings
  // stay. The first Run after it is nqueens-ga --seed Seed -q N's "run".
  void StartOver(uint32_t Seed);
  // Empties every cell of the board and its caption, for a front end whose board no longer fits the problem.
  void ClearBoard();
  // The Graph check box: report (and so plot) generations or not.
  void cbGraphClick(bool Checked);
  // The grid's client size changed: cells re-fitted.
  void FormResize(int GridClientWidth, int GridClientHeight);

  // --- file commands (the file name already chosen) ---
  // A loaded algorithm or population counts as the first initialization. After Load and
  // LoadGenoType the board is empty; an N-Queens genotype of N genes sets NumQueens to N,
  // InitialPopulation to 4N and starts the curves over; any other is told to OnNote.
  // A load past kMaxGenerationDraws or kMaxGenerationPairSteps is refused.
  void SaveAll(const std::string& FileName);
  void LoadAll(const std::string& FileName);
  void SaveGenoType(const std::string& FileName);
  void LoadGenoType(const std::string& FileName);
  void SavePopulation(const std::string& FileName);
  void LoadPopulation(const std::string& FileName);

  // Continued (the default) or shared random numbers for the methods of a Run.
  void SetStreams(TRandomStreams Value) { streams_ = Value; }
  TRandomStreams Streams() const { return streams_; }

  // --- state ---
  ga::TZPGeneticAlgorithm& Algorithm() { return *ga_; }
  int NumQueens() const { return problem_.Size(); }
  bool GraphEnabled() const { return graph_enabled_; }
  // The log's lines, the last LogLimit() of them.
  const std::vector<std::string>& Log() const { return log_; }
  // Keeps only the latest lines of the log: at least Lines of them, fewer than twice as many
  // (0: none); OnLogLine still hears every line. Unbounded by default.
  void SetLogLimit(size_t Lines);
  size_t LogLimit() const { return log_limit_; }
  const TChessBoard& Board() const { return board_; }
  // For a problem without a board: the fittest individual the last Run found, over its
  // methods (the first in run order on ties); no Method before a Run.
  struct TBestFound {
    std::optional<ga::TGASelectionMethod> Method;
    double Fitness = 0;
    std::string Bits;
  };
  const TBestFound& BestFound() const { return best_; }

  // --- observers ---
  // Observer hears of curve resets and generations from now on, after those attached
  // before it. Not owned: detach it before it goes if the workbench still runs then.
  // Attaching one already attached does nothing.
  void Attach(IRunObserver& Observer);
  // Observer hears nothing more; one not attached is ignored.
  void Detach(IRunObserver& Observer);

  // Appends a line of the front end's own to the log (a file it loaded or saved).
  void LogLine(const std::string& Line) { AddLog(Line); }

  // Told of every log line as it is appended.
  std::function<void(const std::string& Line)> OnLogLine;
  // Told of what a front end should say beside the log, which it does not go into.
  std::function<void(const std::string& Message)> OnNote;

 private:
  void MakeComponent(TRandom& Random);
  void AdoptLoadedGenotype();
  // Every curve starts over, topped at the fitness cutoff.
  void ResetCurves();
  // Tells every observer where the curves come from, the methods sharing numbers as Streams says.
  void NotifyHeading(TRandomStreams Streams);
  void AddLog(const std::string& Line);
  // Tells every observer, in the order attached.
  template <class Event, class Arg>
  void Notify(Event Handler, const Arg& Value);

  // What the run core tells: the log's lines, the initialization, generations, finished methods.
  bool WantsLog() const override { return true; }
  void OnLog(const std::string& Line) override { AddLog(Line); }
  void OnCurvesReset(double Cutoff) override;
  void OnGeneration(const TGenerationReport& Report) override;
  void OnMethodFinished(const TMethodReport& Report) override;

  // Binds the run core to the current problem.
  void BindCore();
  // The overrides into the component and the run core, before an initialization.
  void ApplyOverrides();
  void Initialize() {
    ApplyOverrides();
    core_->Initialize();
  }

  TQueensProblem problem_;
  std::unique_ptr<IProblem> other_;  // the problem when it is not N-Queens
  std::array<std::optional<TSettingValue>, kSettingCount> overrides_;
  TBestFound best_;
  std::unique_ptr<ga::TZPGeneticAlgorithm> ga_;
  std::unique_ptr<TRunCore> core_;  // bound to ga_, problem_ and this
  bool graph_enabled_ = true;
  std::stop_source stop_;
  TRandomStreams streams_ = TRandomStreams::rsContinued;
  std::vector<std::string> log_;
  size_t log_limit_ = std::numeric_limits<size_t>::max();
  TChessBoard board_;
  // What the board shows of the run going: a solution, or the best fitness found so far.
  bool run_solved_ = false;
  double run_best_ = 0;
  bool run_has_best_ = false;
  std::vector<IRunObserver*> observers_;  // not owned
};

}  // namespace zp::queens
