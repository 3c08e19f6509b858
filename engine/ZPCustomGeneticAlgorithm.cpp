#include "engine/ZPCustomGeneticAlgorithm.h"

#include <algorithm>
#include <limits>
#include <typeinfo>

#include "engine/DrawWords.h"
#include "engine/SelectionMethods.h"
#include "platform/ScopeGuard.h"

namespace zp::ga {

namespace {
bool IsProbability(double v) { return v >= 0 && v <= 1; }

// The selection routines compare through the component, whose FitterOf a subclass may override.
TZPGAIndividual& ComponentFitterOf(const void* ga, TZPGAIndividual& A, TZPGAIndividual& B) {
  return static_cast<const TZPCustomGeneticAlgorithm*>(ga)->FitterOf(A, B);
}
}  // namespace

TZPCustomGeneticAlgorithm::TZPCustomGeneticAlgorithm(TComponent* Owner)
    : TComponent(Owner),
      random_(&GlobalRandom()),
      genes_(std::make_unique<TZPGAGenes>(this)),
      population_(std::make_unique<TZPGAPopulation>(this)) {
  selection_method_ = TGASelectionMethod::smRoulette;  // so that the setter installs the default routine
  SetSelectionMethod(TGASelectionMethod::smStochasticTournament);
}

TZPCustomGeneticAlgorithm::~TZPCustomGeneticAlgorithm() {
  // Individuals leave without touching the fittest reference of a half-destroyed component.
  fittest_ = nullptr;
  elitist_queue_.reset();
  previous_population_.reset();
  population_.reset();
  genes_.reset();
}

std::unique_ptr<TZPGAGenes> TZPCustomGeneticAlgorithm::CreateGenes(TZPGAGenes::ItemFactory Factory) {
  return std::make_unique<TZPGAGenes>(this, std::move(Factory));
}

std::unique_ptr<TZPGAPopulation> TZPCustomGeneticAlgorithm::CreatePopulation(TZPGAPopulation::ItemFactory Factory) {
  return std::make_unique<TZPGAPopulation>(this, std::move(Factory));
}

void TZPCustomGeneticAlgorithm::SetDiversityLimit(TGAProbability Value) {
  if (IsProbability(Value)) diversity_limit_ = Value;
}
void TZPCustomGeneticAlgorithm::SetElitistPct(TGAProbability Value) {
  if (IsProbability(Value)) elitist_pct_ = Value;
}
void TZPCustomGeneticAlgorithm::SetCrossoverProbability(TGAProbability Value) {
  if (IsProbability(Value)) crossover_probability_ = Value;
}
void TZPCustomGeneticAlgorithm::SetInversionProbability(TGAProbability Value) {
  if (IsProbability(Value)) inversion_probability_ = Value;
}
void TZPCustomGeneticAlgorithm::SetMutationProbability(TGAProbability Value) {
  if (IsProbability(Value)) mutation_probability_ = Value;
}
void TZPCustomGeneticAlgorithm::SetTournamentField(int32_t Value) {
  if (Value > 1) tournament_field_ = Value;
}
void TZPCustomGeneticAlgorithm::SetInitialPopulation(int32_t Value) {
  if (Value < 0) Value = 0;
  initial_population_ = Value;
}

void TZPCustomGeneticAlgorithm::SetGeneSize(int32_t Value) {
  if (gene_size_ == Value) return;
  gene_size_ = Value;
  for (int i = 0; i < population_->Count(); ++i) population_->Items(i).Bits().SetSize(Value);
}

void TZPCustomGeneticAlgorithm::CheckGeneSize() {
  if (gene_size_ < genes_->TotalSize()) SetGeneSize(genes_->TotalSize());
}

void TZPCustomGeneticAlgorithm::SetSelectionMethod(TGASelectionMethod Value) {
  if (selection_method_ == Value) return;
  selection_method_ = Value;
  builtin_routine_ = selection::RoutineOf(Value);
  if (builtin_routine_)
    on_selection_ = [this, routine = builtin_routine_](TZPCustomGeneticAlgorithm&, TZPGAPopulation& p,
                                                       TZPGAIndividual*& parent) {
      parent = &routine(SelectionContext(p));
    };
  else
    on_selection_ = nullptr;
}

void TZPCustomGeneticAlgorithm::SetOnSelection(TZPGASelectionEvent Value) {
  builtin_routine_ = nullptr;
  if (Value) {
    on_selection_ = std::move(Value);
    selection_method_ = TGASelectionMethod::smCustom;
  } else {
    on_selection_ = nullptr;
    SetSelectionMethod(TGASelectionMethod::smRoulette);
  }
}

selection::TSelectionContext TZPCustomGeneticAlgorithm::SelectionContext(TZPGAPopulation& Population,
                                                                         const TGAFitness* Fitness) {
  return {.population = Population,
          .scored = *population_,
          .roulette_table = roulette_table_,
          .elitist_queue = elitist_queue_,
          .elitist_index = elitist_index_,
          .fitter_of = {this, inline_fitter_of_ ? nullptr : &ComponentFitterOf, fitness_method_},
          .random = *random_,
          .equal_fitness = min_fitness_ == max_fitness_,
          .total_fitness = total_fitness_,
          .fitness_method = fitness_method_,
          .tournament_field = tournament_field_,
          .elitist_pct = elitist_pct_,
          .fitness = Fitness};
}

void TZPCustomGeneticAlgorithm::SelectRandom(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  Parent = &selection::SelectRandom(SelectionContext(Population));
}
void TZPCustomGeneticAlgorithm::SelectRoulette(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  Parent = &selection::SelectRoulette(SelectionContext(Population));
}
void TZPCustomGeneticAlgorithm::SelectTournament(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  Parent = &selection::SelectTournament(SelectionContext(Population));
}
void TZPCustomGeneticAlgorithm::SelectStochasticTournament(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  Parent = &selection::SelectStochasticTournament(SelectionContext(Population));
}
void TZPCustomGeneticAlgorithm::SelectElitist(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  Parent = &selection::SelectElitist(SelectionContext(Population));
}
void TZPCustomGeneticAlgorithm::BuildRouletteTable() {
  selection::BuildRouletteTable(roulette_table_, *population_, total_fitness_);
}
void TZPCustomGeneticAlgorithm::BuildElitistQueue() {
  selection::BuildElitistQueue(elitist_queue_, *population_, fitness_method_);
}

TZPGAIndividual& TZPCustomGeneticAlgorithm::SelectParent(TZPGAPopulation& Population) {
  // The slot holds the built-in routine of the current method: call it directly.
  if (builtin_routine_) return builtin_routine_(SelectionContext(Population));
  if (!on_selection_) throw EGAException(kNoCustomSelection);
  TZPGAIndividual* parent = nullptr;
  on_selection_(*this, Population, parent);
  if (!parent) throw EGAException(kNoParentChosen);
  return *parent;
}

void TZPCustomGeneticAlgorithm::PopulationNotify(TZPGAIndividual& Item, TCollectionNotification Action) {
  if (Action == TCollectionNotification::cnAdded)
    Item.Bits().SetSize(gene_size_);
  else if (&Item == fittest_)
    fittest_ = nullptr;
}

TGAFitness TZPCustomGeneticAlgorithm::EvaluateFitness(TZPGAIndividual& Item) {
  TGAFitness fitness = 0;
  if (OnEvaluateFitness) OnEvaluateFitness(*this, Item, fitness);
  return fitness;
}

bool TZPCustomGeneticAlgorithm::PlainFitterOf() const {
  // Asked only of a finished object: during a subclass's construction its type is still the base's.
  return typeid(*this) == typeid(TZPGeneticAlgorithm) || typeid(*this) == typeid(TZPCustomGeneticAlgorithm);
}

TZPGAIndividual& TZPCustomGeneticAlgorithm::FitterOf(TZPGAIndividual& A, TZPGAIndividual& B) const {
  if (fitness_method_ == TGAFitnessMethod::fmMinimize) return A.Fitness() <= B.Fitness() ? A : B;
  return A.Fitness() >= B.Fitness() ? A : B;
}

double TZPCustomGeneticAlgorithm::Diversity() const {
  if (max_fitness_ == 0) return std::numeric_limits<double>::infinity();
  return avg_fitness_ / max_fitness_;
}

void TZPCustomGeneticAlgorithm::RandomizePopulation() {
  // One integer draw over {0, 1} per bit, individuals in order, positions ascending.
  for (int i = 0; i < population_->Count(); ++i) {
    TZPGABits& bits = population_->Items(i).Bits();
    auto& words = bits.MutableWords();
    for (int w = 0; w * 64 < bits.Size(); ++w)
      words[static_cast<size_t>(w)] = CoinMask(*random_, std::min(64, bits.Size() - w * 64));
  }
}

void TZPCustomGeneticAlgorithm::Initialize() {
  initialized_ = false;
  while (population_->Count() < initial_population_) population_->Add();
  if (OnInitialization) OnInitialization(*this, initialized_);
  if (!initialized_) RandomizePopulation();
  EvaluatePopulation();
  if (!previous_population_) previous_population_ = CreatePopulation(population_->Factory());
  previous_population_->Assign(*population_);
  initialized_ = true;
  generation_ = 0;
}

bool TZPCustomGeneticAlgorithm::ScoreWholePopulation(TZPGAPopulation& Population) {
  const int32_t count = Population.Count();
  scores_.resize(static_cast<size_t>(count));
  for (int32_t first = 0; first < count; first += kScoringSlice) {
    if (stoppable_scoring_ && first > 0 && StopRequested()) return false;
    const int32_t n = std::min(kScoringSlice, count - first);
    OnEvaluatePopulation(*this, Population, first,
                         std::span<TGAFitness>(scores_.data() + first, static_cast<size_t>(n)));
  }
  return true;
}

void TZPCustomGeneticAlgorithm::EvaluatePopulation() {
  TZPGAPopulation& pop = *population_;
  if (pop.Count() == 0) {
    max_fitness_ = min_fitness_ = avg_fitness_ = 0;
    return;
  }
  // With the whole-population scorer every value is known before the statistics
  // loop, which then reads them in the order the per-individual handler gives them.
  const bool whole = static_cast<bool>(OnEvaluatePopulation);
  if (whole && !ScoreWholePopulation(pop)) {
    scoring_abandoned_ = true;
    return;
  }
  const auto score = [&](int i, TZPGAIndividual& item) {
    return whole ? scores_[static_cast<size_t>(i)] : EvaluateFitness(item);
  };
  TZPGAIndividual* fittest = &pop.Items(0);
  fittest_ = fittest;
  fittest->SetFitness(score(0, *fittest));
  max_fitness_ = min_fitness_ = total_fitness_ = fittest->Fitness();
  double sum = fittest->Fitness();
  for (int i = 1; i < pop.Count(); ++i) {
    if (!whole && stoppable_scoring_ && i % kStopCheckEvery == 0 && StopRequested()) {
      scoring_abandoned_ = true;
      return;
    }
    TZPGAIndividual& item = pop.Items(i);
    const TGAFitness f = score(i, item);
    item.SetFitness(f);
    total_fitness_ += f;
    // The base comparison is called directly (and inlined) when no subclass can have replaced it.
    fittest = inline_fitter_of_ ? &TZPCustomGeneticAlgorithm::FitterOf(*fittest, item) : &FitterOf(*fittest, item);
    fittest_ = fittest;
    sum += f;
    if (f < min_fitness_)
      min_fitness_ = f;
    else if (f > max_fitness_)
      max_fitness_ = f;
  }
  avg_fitness_ = sum / pop.Count();
  // The whole-population scores are the individuals' Fitness, in order: the
  // tables read them from that array. A per-individual handler may have changed
  // an earlier individual's Fitness since: the tables then read the individuals.
  if (const TSelectionMethodInfo* method = FindMethod(selection_method_)) {
    if (method->Table == TSelectionTable::stRoulette) {
      if (whole)
        selection::BuildRouletteTable(roulette_table_, scores_, total_fitness_);
      else
        BuildRouletteTable();
    } else if (method->Table == TSelectionTable::stElitist) {
      if (whole)
        selection::BuildElitistQueue(elitist_queue_, pop, scores_, fitness_method_);
      else
        BuildElitistQueue();
    }
  }
}

void TZPCustomGeneticAlgorithm::AbandonGeneration(const TParentState& Parents) {
  // The children's buffer goes back to being the spare one; the parents were only read.
  std::swap(population_, previous_population_);
  fittest_ = Parents.fittest;
  max_fitness_ = Parents.max;
  min_fitness_ = Parents.min;
  avg_fitness_ = Parents.avg;
  total_fitness_ = Parents.total;
  elitist_index_ = Parents.elitist_index;
  stopped_ = true;
}

void TZPCustomGeneticAlgorithm::Evolve() {
  stopped_ = false;
  if (!initialized_) Initialize();
  if (population_->Count() == 0) return;
  if (!OnEvaluateFitness && !OnEvaluatePopulation) throw EGAException(kNoFitnessFunction);
  if (selection_method_ == TGASelectionMethod::smCustom && !on_selection_) throw EGAException(kNoCustomSelection);
  // What a stop inside the generation puts back: the parents' statistics and selection state.
  const TParentState saved{fittest_, max_fitness_, min_fitness_, avg_fitness_, total_fitness_, elitist_index_};
  elitist_index_ = -1;
  // Initialized may come from Assign without a second buffer: make it as Initialize would.
  if (!previous_population_) {
    previous_population_ = CreatePopulation(population_->Factory());
    previous_population_->Assign(*population_);
  }
  std::swap(population_, previous_population_);
  {
    TUpdateGuard suspended(*population_);
    inline_fitter_of_ = PlainFitterOf();
    TScopeExit virtual_again([this] {
      inline_fitter_of_ = false;
      stoppable_scoring_ = false;
    });
    TZPGAPopulation& parents = *previous_population_;
    TZPGAPopulation& children = *population_;
    const int count = children.Count();
    const bool stoppable = stop_token_.stop_possible();
    // Where no handler runs between two picks, nothing can change what a pick
    // reads: one context serves the generation, and a tournament reads the
    // parents' fitness from one array taken from them here.
    const bool quiet =
        inline_fitter_of_ && builtin_routine_ && !OnInitializeChild && !OnCrossover && !OnMutation && !OnReproduction;
    const TSelectionMethodInfo* method = FindMethod(selection_method_);
    const TGAFitness* parents_fitness = nullptr;
    if (quiet && method && method->ComparesFitness) {
      parents_fitness_.resize(static_cast<size_t>(parents.Count()));
      for (int k = 0; k < parents.Count(); ++k) parents_fitness_[static_cast<size_t>(k)] = parents.Items(k).Fitness();
      parents_fitness = parents_fitness_.data();
    }
    selection::TSelectionContext generation_context = SelectionContext(parents, parents_fitness);
    if (quiet && selection_method_ == TGASelectionMethod::smElitist)
      generation_context.elitist_last = selection::ElitistLast(parents.Count(), elitist_pct_);
    // An empty table is built by the first pick; one that stands cannot change during the picks.
    if (quiet && method && method->Table == TSelectionTable::stRoulette && roulette_buckets_.Build(roulette_table_))
      generation_context.roulette_buckets = &roulette_buckets_;
    const selection::TSelectionContext& context = generation_context;
    for (int i = 0; i < count; i += 2) {
      // Two selections per pair: a look every kStopCheckEvery selections.
      if (stoppable && i > 0 && i % (kStopCheckEvery / 2) == 0 && StopRequested()) {
        AbandonGeneration(saved);
        return;
      }
      // The built-in routine directly, as SelectParent would call it.
      TZPGAIndividual& parent1 = quiet              ? builtin_routine_(context)
                                 : builtin_routine_ ? builtin_routine_(SelectionContext(parents))
                                                    : SelectParent(parents);
      TZPGAIndividual& parent2 = quiet              ? builtin_routine_(context)
                                 : builtin_routine_ ? builtin_routine_(SelectionContext(parents))
                                                    : SelectParent(parents);
      if (i == count - 1)
        ReproduceChild(parent1, parent2, children.Items(i));
      else
        ReproduceChildren(parent1, parent2, children.Items(i), children.Items(i + 1));
    }
    stoppable_scoring_ = stoppable;
    scoring_abandoned_ = false;
    EvaluatePopulation();
    if (scoring_abandoned_) {
      AbandonGeneration(saved);
      return;
    }
  }
  ++generation_;
  if (OnEvolve) OnEvolve(*this);
}

int32_t TZPCustomGeneticAlgorithm::EvolveGenerations(int32_t Count) {
  const int32_t start = generation_;
  stopped_ = false;
  for (int32_t n = 0; n < Count; ++n) {
    if (StopRequested()) {
      stopped_ = true;
      break;
    }
    Evolve();
    if (stopped_) break;
    if (use_fitness_cutoff_ && fittest_) {
      const TGAFitness best = fittest_->Fitness();
      if (fitness_method_ == TGAFitnessMethod::fmMaximize ? best >= fitness_cutoff_ : best <= fitness_cutoff_) break;
    }
    if (use_diversity_limit_ && Diversity() < diversity_limit_) break;
  }
  return generation_ - start;
}

void TZPCustomGeneticAlgorithm::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TZPCustomGeneticAlgorithm*>(&Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  if (src == this) return;
  generation_ = src->generation_;
  fitness_cutoff_ = src->fitness_cutoff_;
  mutation_probability_ = src->mutation_probability_;
  inversion_probability_ = src->inversion_probability_;
  crossover_probability_ = src->crossover_probability_;
  elitist_pct_ = src->elitist_pct_;
  gene_size_ = src->gene_size_;
  fitness_method_ = src->fitness_method_;
  max_fitness_ = src->max_fitness_;
  min_fitness_ = src->min_fitness_;
  diversity_limit_ = src->diversity_limit_;
  avg_fitness_ = src->avg_fitness_;
  tournament_field_ = src->tournament_field_;
  initialized_ = src->initialized_;
  crossover_method_ = src->crossover_method_;
  use_fitness_cutoff_ = src->use_fitness_cutoff_;
  use_diversity_limit_ = src->use_diversity_limit_;
  SetSelectionMethod(src->selection_method_);
  SetGenes(*src->genes_);
  SetPopulation(*src->population_);
}

}  // namespace zp::ga
