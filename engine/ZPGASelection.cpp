// The five built-in selection routines and the two tables they read.
#include <cmath>

#include "engine/ZPCustomGeneticAlgorithm.h"
#include "platform/Numbers.h"

namespace zp::ga {

void TZPCustomGeneticAlgorithm::SelectRandom(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  Parent = &Population.Items(random_->RandomInt(Population.Count()));
}

void TZPCustomGeneticAlgorithm::BuildRouletteTable() {
  const TZPGAPopulation& pop = *population_;
  roulette_table_.resize(static_cast<size_t>(pop.Count()));
  double running = 0;
  for (int i = 0; i < pop.Count(); ++i) {
    running = (i == 0 ? 0 : running) + RelativeFitness(pop.Items(i).Fitness());
    roulette_table_[static_cast<size_t>(i)] = running;
  }
}

void TZPCustomGeneticAlgorithm::SelectRoulette(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  if (min_fitness_ == max_fitness_) {
    SelectRandom(Population, Parent);
    return;
  }
  const double r = random_->Random();
  if (roulette_table_.empty()) BuildRouletteTable();
  // The search starts with hi one past the end; for a non-decreasing table
  // whose last total exceeds r that position is never probed. When every
  // total is at or below r (rounding, negative fitness) lo reaches the end:
  // the table is not read there and the last individual is taken.
  const int length = static_cast<int>(roulette_table_.size());
  int lo = 0, hi = length;
  while (lo <= hi && lo < length) {
    const int mid = (lo + hi) / 2;
    if (mid >= length) break;
    if (roulette_table_[static_cast<size_t>(mid)] > r)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  if (lo >= length) lo = length - 1;
  elitist_index_ = lo;
  Parent = &Population.Items(lo);
}

void TZPCustomGeneticAlgorithm::SelectTournament(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  SelectRandom(Population, Parent);
  for (int i = 1; i < tournament_field_; ++i) {
    TZPGAIndividual* contender = nullptr;
    SelectRandom(Population, contender);
    Parent = &FitterOf(*Parent, *contender);
  }
}

void TZPCustomGeneticAlgorithm::SelectStochasticTournament(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  SelectRandom(Population, Parent);
  for (int i = 1; i < tournament_field_; ++i) {
    TZPGAIndividual* contender = nullptr;
    SelectRoulette(Population, contender);
    Parent = &FitterOf(*Parent, *contender);
  }
}

void TZPCustomGeneticAlgorithm::BuildElitistQueue() {
  if (!elitist_queue_) elitist_queue_ = std::make_unique<TFloatPriorityQueue>();
  elitist_queue_->Clear();
  elitist_queue_->SetDescending(fitness_method_ == TGAFitnessMethod::fmMaximize);
  const TZPGAPopulation& pop = *population_;
  for (int i = 0; i < pop.Count(); ++i) {
    TZPGAIndividual& item = pop.Items(i);
    elitist_queue_->Push(&item, static_cast<float>(item.Fitness()));
  }
}

void TZPCustomGeneticAlgorithm::SelectElitist(TZPGAPopulation& Population, TZPGAIndividual*& Parent) {
  if (min_fitness_ == max_fitness_) {
    SelectRandom(Population, Parent);
    return;
  }
  ++elitist_index_;
  // The share is taken in extended precision, as the rest of the engine's
  // float arithmetic: 5 x 0.1 lies just above one half there and rounds to 1.
  const long double share = static_cast<long double>(Population.Count()) * static_cast<long double>(elitist_pct_);
  if (elitist_index_ > std::nearbyint(share)) elitist_index_ = 0;
  if (!elitist_queue_) BuildElitistQueue();
  // With ElitistPct near 1 the cycle can reach one past the queue: take its last position.
  int position = elitist_index_;
  if (position >= elitist_queue_->Count()) position = elitist_queue_->Count() - 1;
  Parent = static_cast<TZPGAIndividual*>(elitist_queue_->Items(position));
}

}  // namespace zp::ga
