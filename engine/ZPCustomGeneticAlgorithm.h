// TZPCustomGeneticAlgorithm: the genetic-algorithm component. It owns a
// genotype and two population buffers and runs a generational algorithm over
// them; the application supplies the fitness through OnEvaluateFitness.
//
//   TZPGeneticAlgorithm ga;
//   ga.OnEvaluateFitness = [](auto&, TZPGAIndividual& i, TGAFitness& f) { f = ...; };
//   ga.Genes().Add().SetSize(8);
//   ga.Initialize();
//   ga.EvolveGenerations(100);
#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>

#include "engine/DataStructures.h"
#include "engine/ZPGAConsts.h"
#include "engine/ZPGAGene.h"
#include "engine/ZPGAIndividual.h"
#include "engine/ZPGASelection.h"
#include "platform/Component.h"
#include "platform/Random.h"

namespace zp::ga {

class TZPCustomGeneticAlgorithm : public TComponent {
 public:
  explicit TZPCustomGeneticAlgorithm(TComponent* Owner = nullptr);
  ~TZPCustomGeneticAlgorithm() override;
  std::string ClassName() const override { return "TZPCustomGeneticAlgorithm"; }

  // --- settings; range setters ignore values outside their range ---
  TGAProbability DiversityLimit() const { return diversity_limit_; }
  void SetDiversityLimit(TGAProbability Value);
  TGACrossoverMethod CrossoverMethod() const { return crossover_method_; }
  void SetCrossoverMethod(TGACrossoverMethod Value) { crossover_method_ = Value; }
  TGAProbability ElitistPct() const { return elitist_pct_; }
  void SetElitistPct(TGAProbability Value);
  TGAFitness FitnessCutoff() const { return fitness_cutoff_; }
  void SetFitnessCutoff(TGAFitness Value) { fitness_cutoff_ = Value; }
  TGAFitnessMethod FitnessMethod() const { return fitness_method_; }
  void SetFitnessMethod(TGAFitnessMethod Value) { fitness_method_ = Value; }
  int32_t Generation() const { return generation_; }
  void SetGeneration(int32_t Value) { generation_ = Value; }
  TZPGAGenes& Genes() const { return *genes_; }
  // Copies Value into the own genotype.
  void SetGenes(const TZPGAGenes& Value) { genes_->Assign(Value); }
  int32_t GeneSize() const { return gene_size_; }
  // When different: store and re-size every chromosome of Population (not PreviousPopulation).
  void SetGeneSize(int32_t Value);
  int32_t InitialPopulation() const { return initial_population_; }
  // Negative values become 0.
  void SetInitialPopulation(int32_t Value);
  TZPGAPopulation& Population() const { return *population_; }
  // Copies Value into the own population.
  void SetPopulation(const TZPGAPopulation& Value) { population_->Assign(Value); }
  TGAProbability CrossoverProbability() const { return crossover_probability_; }
  void SetCrossoverProbability(TGAProbability Value);
  TGAProbability InversionProbability() const { return inversion_probability_; }
  void SetInversionProbability(TGAProbability Value);
  TGAProbability MutationProbability() const { return mutation_probability_; }
  void SetMutationProbability(TGAProbability Value);
  TGAGeneticOperations Operations() const { return operations_; }
  void SetOperations(TGAGeneticOperations Value) { operations_ = Value; }
  TGASelectionMethod SelectionMethod() const { return selection_method_; }
  // When different: store and install the matching built-in routine (smCustom empties the slot).
  void SetSelectionMethod(TGASelectionMethod Value);
  const TZPGASelectionEvent& OnSelection() const { return on_selection_; }
  // A handler makes the method smCustom; an empty one makes it smRoulette.
  void SetOnSelection(TZPGASelectionEvent Value);
  int32_t TournamentField() const { return tournament_field_; }
  // Accepted only above 1.
  void SetTournamentField(int32_t Value);
  bool UseFitnessCutoff() const { return use_fitness_cutoff_; }
  void SetUseFitnessCutoff(bool Value) { use_fitness_cutoff_ = Value; }
  bool UseDiversityLimit() const { return use_diversity_limit_; }
  void SetUseDiversityLimit(bool Value) { use_diversity_limit_ = Value; }

  TZPGACrossoverEvent OnCrossover;
  TZPGAFitnessEvent OnEvaluateFitness;
  // Scores a whole population, in slices of at most kScoringSlice individuals, into
  // one array; when assigned it is used instead of OnEvaluateFitness, whose
  // statistics loop (order, ties) reads the array as it would the handler's values.
  TZPGAPopulationFitnessEvent OnEvaluatePopulation;
  TZPGAIndividualEvent OnReproduction;
  TZPGAMutationEvent OnMutation;
  TNotifyEvent OnEvolve;
  TZPGAInitializationEvent OnInitialization;
  TZPGAParentChildEvent OnInitializeChild;
  TZPGAMutationEvent OnInversion;  // consulted by Invert only

  // --- run-time state ---
  bool Initialized() const { return initialized_; }
  void SetInitialized(bool Value) { initialized_ = Value; }
  // Best individual of the last evaluation; nullptr before one or once it left the population.
  TZPGAIndividual* FittestIndividual() const { return fittest_; }
  TGAFitness MaxFitness() const { return max_fitness_; }
  TGAFitness MinFitness() const { return min_fitness_; }
  TGAFitness AvgFitness() const { return avg_fitness_; }
  TGAFitness TotalFitness() const { return total_fitness_; }
  // The second buffer, nullptr until the first Initialize.
  TZPGAPopulation* PreviousPopulation() const { return previous_population_.get(); }
  const TGAFitnessArray& RouletteTable() const { return roulette_table_; }
  TIndividualQueue* ElitistQueue() const { return elitist_queue_.get(); }
  int32_t ElitistIndex() const { return elitist_index_; }

  // The stop test: a request is seen before each generation of EvolveGenerations,
  // and inside a generation after every kStopCheckEvery selections and every
  // kStopCheckEvery scored individuals. There the generation in progress is
  // abandoned: Population, the statistics and Generation are as before it, and
  // OnEvolve is not fired. No exception is raised for a stop.
  void SetStopToken(std::stop_token Token) { stop_token_ = std::move(Token); }
  // True when the last Evolve or EvolveGenerations ended at a stop request.
  bool Stopped() const { return stopped_; }
  static constexpr int32_t kStopCheckEvery = 4096;
  static constexpr int32_t kScoringSlice = 4096;

  // The source every draw goes through; the process-wide one unless set.
  TRandom& RandomSource() const { return *random_; }
  void SetRandomSource(TRandom& Source) { random_ = &Source; }

  // --- operations ---
  virtual void Initialize();
  // One generation.
  virtual void Evolve();
  // Up to Count generations with the stop tests; returns the number made.
  int32_t EvolveGenerations(int32_t Count);
  virtual void EvaluatePopulation();
  // OnEvaluateFitness's value, 0 without a handler.
  virtual TGAFitness EvaluateFitness(TZPGAIndividual& Item);
  // The fitter of A and B under FitnessMethod; ties keep A.
  virtual TZPGAIndividual& FitterOf(TZPGAIndividual& A, TZPGAIndividual& B) const;
  double RelativeFitness(TGAFitness F) const { return selection::RelativeFitness(F, total_fitness_); }
  // AvgFitness / MaxFitness, +infinity when MaxFitness is 0.
  double Diversity() const;
  // Calls the selection slot; raises "No custom selection function defined" when it is empty.
  TZPGAIndividual& SelectParent(TZPGAPopulation& Population);

  // --- hooks of the genotype and the populations ---
  virtual void GeneNotify(TZPGAGene& /*Item*/, TCollectionNotification /*Action*/) {}
  virtual void GeneUpdate(TZPGAGene* /*Item*/) {}
  virtual void PopulationNotify(TZPGAIndividual& Item, TCollectionNotification Action);
  virtual void PopulationUpdate(TZPGAIndividual* /*Item*/) {}
  // Grows GeneSize to the genotype's TotalSize; never shrinks it.
  virtual void CheckGeneSize();

  // --- selection routines and their tables (the routines of engine/ZPGASelection.h over this component) ---
  void SelectRoulette(TZPGAPopulation& Population, TZPGAIndividual*& Parent);
  void SelectRandom(TZPGAPopulation& Population, TZPGAIndividual*& Parent);
  void SelectTournament(TZPGAPopulation& Population, TZPGAIndividual*& Parent);
  void SelectStochasticTournament(TZPGAPopulation& Population, TZPGAIndividual*& Parent);
  void SelectElitist(TZPGAPopulation& Population, TZPGAIndividual*& Parent);
  void BuildRouletteTable();
  void BuildElitistQueue();

  // --- genetic operators ---
  virtual void ReproduceChild(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2, TZPGAIndividual& Child);
  virtual void ReproduceChildren(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2, TZPGAIndividual& Child1,
                                 TZPGAIndividual& Child2);
  virtual void InitializeChild(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2, TZPGAIndividual& Child);
  // One-point crossover into Child1 and, when given, Child2.
  virtual void Crossover(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2, TZPGAIndividual& Child1,
                         TZPGAIndividual* Child2);
  // Per-bit flips; true when the chromosome changed.
  virtual bool Mutate(TZPGAIndividual& Item);
  // Complements a random run of bits, by chance; true when it happened.
  virtual bool Invert(TZPGAIndividual& Item);

  // Copies settings, statistics, genotype and population of another algorithm.
  void Assign(const TPersistent& Source) override;

 protected:
  virtual std::unique_ptr<TZPGAGenes> CreateGenes(TZPGAGenes::ItemFactory Factory);
  virtual std::unique_ptr<TZPGAPopulation> CreatePopulation(TZPGAPopulation::ItemFactory Factory);

 private:
  void RandomizePopulation();
  int32_t ChooseCrossoverBit(const TZPGAIndividual& Child1);
  // ReproduceChildren's copies and crossover in one pass over the words, with
  // the same draws; false (nothing done) where a handler, a subclass or the
  // individuals could tell the difference.
  bool CopyAndCrossInOnePass(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2, TZPGAIndividual& Child1,
                             TZPGAIndividual& Child2);
  void InvertRandomRun(TZPGABits& Bits);
  // What a selection routine reads and writes, picking from Population (whose fitness Fitness holds, when given).
  selection::TSelectionContext SelectionContext(TZPGAPopulation& Population, const TGAFitness* Fitness = nullptr);
  bool StopRequested() const { return stop_token_.stop_requested(); }
  // What Evolve puts back when a stop abandons its generation.
  struct TParentState {
    TZPGAIndividual* fittest;
    TGAFitness max, min, avg, total;
    int32_t elitist_index;
  };
  void AbandonGeneration(const TParentState& Parents);
  // The scores of OnEvaluatePopulation, or false when a stop abandoned them (stoppable_scoring_ only).
  bool ScoreWholePopulation(TZPGAPopulation& Population);
  // True when this object's FitterOf is the base one: its class is one of the two of this header.
  bool PlainFitterOf() const;

  TRandom* random_;  // not owned
  TGAProbability diversity_limit_ = 0.02;
  TGACrossoverMethod crossover_method_ = TGACrossoverMethod::cmGeneBoundary;
  TGAProbability elitist_pct_ = 0.1;
  TGAFitness fitness_cutoff_ = 1.0;
  TGAFitnessMethod fitness_method_ = TGAFitnessMethod::fmMinimize;
  int32_t generation_ = 0;
  std::unique_ptr<TZPGAGenes> genes_;
  int32_t gene_size_ = 0;
  int32_t initial_population_ = 100;
  std::unique_ptr<TZPGAPopulation> population_;
  TGAProbability crossover_probability_ = 0.98;
  TGAProbability inversion_probability_ = 0.1;
  TGAProbability mutation_probability_ = 0.01;
  // The seed bound of the mutation draws and the probability it was taken from.
  TGAProbability threshold_probability_ = -1;
  uint64_t mutation_threshold_ = 0;
  TGAGeneticOperations operations_{TGAGeneticOperation::goCrossover, TGAGeneticOperation::goMutate,
                                   TGAGeneticOperation::goInvert};
  TGASelectionMethod selection_method_ = TGASelectionMethod::smStochasticTournament;
  TZPGASelectionEvent on_selection_;
  selection::TSelectionRoutine builtin_routine_ = nullptr;  // the routine the slot holds, when built in
  int32_t tournament_field_ = 2;
  bool use_fitness_cutoff_ = false;
  bool use_diversity_limit_ = false;

  bool initialized_ = false;
  TZPGAIndividual* fittest_ = nullptr;  // not owned
  TGAFitness max_fitness_ = 0, min_fitness_ = 0, avg_fitness_ = 0, total_fitness_ = 0;
  std::unique_ptr<TZPGAPopulation> previous_population_;
  TGAFitnessArray roulette_table_;
  std::unique_ptr<TIndividualQueue> elitist_queue_;
  int32_t elitist_index_ = -1;
  // Set while Evolve makes children of a component of exactly this header's
  // classes, so with the base FitterOf and operators: the selection routines
  // then compare fitness inline, and children are copied and crossed in one pass.
  bool inline_fitter_of_ = false;

  std::stop_token stop_token_;
  bool stopped_ = false;
  // Set while Evolve scores its children: EvaluatePopulation then looks at the
  // stop test and, on a request, leaves with scoring_abandoned_ set.
  bool stoppable_scoring_ = false;
  bool scoring_abandoned_ = false;
  TGAFitnessArray scores_;                        // the last scoring's values in population order, reused
  TGAFitnessArray parents_fitness_;               // the parents' Fitness, taken once per generation for the tournaments
  selection::TRouletteBuckets roulette_buckets_;  // of the roulette table, built once per generation
};

// The component with every property published; behaviour is the base's.
class TZPGeneticAlgorithm : public TZPCustomGeneticAlgorithm {
 public:
  using TZPCustomGeneticAlgorithm::TZPCustomGeneticAlgorithm;
  std::string ClassName() const override { return "TZPGeneticAlgorithm"; }
};

}  // namespace zp::ga
