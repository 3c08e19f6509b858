// The run core: the comparison run of the workbench as plain code over typed
// input. A problem, the GA's settings, the seed, how the methods share random
// numbers, the methods and a stop token go in; generations, finished methods
// and (for an observer that asks) the log's lines come out through one
// observer. The window-shaped TQueensWorkbench drives a TRunCore over its own
// component; an experiment's repeat is RunComparison from a fresh one.
//
//   TQueensProblem problem(12);
//   TComparisonRequest request;
//   request.Settings.Generations = 1000;
//   request.Seed = 7;
//   RunComparison(problem, request, observer);   // all five methods from one start population
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

#include "engine/SelectionMethods.h"
#include "engine/ZPGeneticAlgorithm.h"
#include "platform/EnumNames.h"
#include "workbench/Problem.h"
#include "workbench/RunEvents.h"

namespace zp::queens {

// The GA's settings for a run. The defaults are the workbench's: its stored
// settings, a population of 4 x the problem's size and a mutation probability
// of 1 / the chromosome's bits.
struct TGASettings {
  int32_t Generations = 100;          // per method
  std::optional<int32_t> Population;  // InitialPopulation; 4 x size when empty
  ga::TGAProbability CrossoverProbability = 0.98;
  std::optional<ga::TGAProbability> MutationProbability;  // MutationPerBits / GeneSize when empty
  double MutationPerBits = 1;                             // K of a mutation probability of K / GeneSize
  ga::TGAProbability InversionProbability = 0.1;
  int32_t TournamentField = 4;
  ga::TGAProbability ElitistPct = 0.1;
  ga::TGACrossoverMethod CrossoverMethod = ga::TGACrossoverMethod::cmGeneBoundary;

  bool operator==(const TGASettings&) const = default;
};

// How a run ended: at its end, or at a stop request inside Method's generations
// (the generation in progress abandoned, the method not reported).
struct TRunOutcome {
  bool Stopped = false;
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  int32_t Generations = 0;  // whole generations the stopped method made
};

// The workbench's stored component settings, in property order (the setters' rules depend on it).
void ApplyStoredSettings(ga::TZPCustomGeneticAlgorithm& Algorithm);

// A comparison run over a component it does not own. It binds the component's
// initialization, scoring and generation events to Problem and Observer for
// its lifetime (both must outlive it).
class TRunCore {
 public:
  TRunCore(ga::TZPCustomGeneticAlgorithm& Algorithm, IProblem& Problem, IRunObserver& Observer);
  ~TRunCore();
  TRunCore(const TRunCore&) = delete;
  TRunCore& operator=(const TRunCore&) = delete;

  // Settings' values into the component (all but Generations); a set MutationProbability
  // replaces MutationPerBits / GeneSize at every initialization.
  void ApplySettings(const TGASettings& Settings);
  // The mutation probability of the next initializations: Probability, or PerBits / GeneSize without it.
  void SetMutation(std::optional<ga::TGAProbability> Probability, double PerBits) {
    mutation_ = Probability;
    mutation_per_bits_ = PerBits;
  }
  // The component's Initialize: the genotype built for the problem, cutoff and
  // mutation derived, the log block, the curves reset. A problem that does not
  // keep GeneSize starts from GeneSize 0, so the chromosome holds exactly its bits.
  void Initialize();
  // The comparison run: initializes if needed, then evolves the component's
  // population and generation counter once under each of Methods, in order, each
  // from that same start, up to Generations generations (stopping at the cutoff).
  // A stop request ends it inside the method in progress.
  TRunOutcome Run(int32_t Generations, std::span<const ga::TGASelectionMethod> Methods, TRandomStreams Streams,
                  std::stop_token Stop = {});
  // A method's start: the method installed, Generation and a copy of Start restored and scored.
  void SetUpMethod(ga::TGASelectionMethod Method, int32_t Generation, const ga::TZPGAPopulation& Start);

  IProblem& Problem() const { return *problem_; }
  // The random source's state the last initialization drew the start population
  // from; empty before one and after ForgetStartSeed.
  std::optional<uint32_t> StartSeed() const { return start_seed_; }
  // The population did not come from the random source (it was loaded).
  void ForgetStartSeed() { start_seed_.reset(); }

 private:
  void Initialization();
  void Log(const std::string& Line);
  void ReportMethod();

  ga::TZPCustomGeneticAlgorithm& ga_;
  IProblem* problem_;       // not owned
  IRunObserver* observer_;  // not owned
  bool log_ = false;        // the observer wants the log's lines
  std::optional<ga::TGAProbability> mutation_;
  double mutation_per_bits_ = 1;
  std::optional<uint32_t> start_seed_;
};

// What one comparison run is given besides its problem.
struct TComparisonRequest {
  TGASettings Settings;
  uint32_t Seed = 0;
  TRandomStreams Streams = TRandomStreams::rsContinued;
  std::span<const ga::TGASelectionMethod> Methods = kAllMethods;
  std::stop_token Stop;

  static constexpr std::array<ga::TGASelectionMethod, ga::kMethodCount> kAllMethods = ga::MethodOrder();
};

// The GA's settings as a comparison run of a problem resolves them: what its
// fresh component holds once initialized, and the problem's target.
struct TResolvedSettings {
  int32_t Population = 0;      // individuals, each scored once per generation
  int32_t ChromosomeBits = 0;  // GeneSize
  ga::TGAProbability MutationProbability = 0;
  ga::TGAProbability CrossoverProbability = 0;
  ga::TGAProbability InversionProbability = 0;
  int32_t TournamentField = 0;
  ga::TGAProbability ElitistPct = 0;
  ga::TGACrossoverMethod CrossoverMethod = ga::TGACrossoverMethod::cmGeneBoundary;
  double Target = 0;  // the fitness that solves the problem, the run's cutoff
};
// Initializes a fresh component with Settings over Problem, as RunComparison does,
// and reads them back; the component's random numbers are its own.
TResolvedSettings ResolveSettings(IProblem& Problem, const TGASettings& Settings);

// One comparison run from a fresh component with the stored settings and its
// own random source seeded with Request.Seed: an experiment's repeat, the same
// numbers as the workbench's first Run after it was set to the problem's size.
TRunOutcome RunComparison(IProblem& Problem, const TComparisonRequest& Request, IRunObserver& Observer);

}  // namespace zp::queens
