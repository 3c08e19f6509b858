// The five built-in selection routines as free functions over a selection
// context, the two tables they read, and the one table from selection method
// to routine. The component builds a context from its own state for each pick.
//
//   TZPGAIndividual& parent = selection::RoutineOf(TGASelectionMethod::smTournament)(context);
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/DataStructures.h"
#include "engine/ZPGAConsts.h"
#include "engine/ZPGAIndividual.h"
#include "platform/Random.h"

namespace zp::ga {
// The elitist selection's queue: the scored population, best on top.
using TIndividualQueue = TFloatPriorityQueue<TZPGAIndividual>;
}  // namespace zp::ga

namespace zp::ga::selection {

// A reference to the fitter-of comparison of an object that lives elsewhere
// (the component's, which a subclass may override); ties keep A. Without a
// compare function it is the plain comparison of fitness under Method,
// made inline.
struct TFitterOf {
  const void* object;  // not owned
  TZPGAIndividual& (*compare)(const void* object, TZPGAIndividual& A, TZPGAIndividual& B);
  TGAFitnessMethod method = TGAFitnessMethod::fmMinimize;
  TZPGAIndividual& operator()(TZPGAIndividual& A, TZPGAIndividual& B) const {
    if (compare) return compare(object, A, B);
    if (method == TGAFitnessMethod::fmMinimize) return A.Fitness() <= B.Fitness() ? A : B;
    return A.Fitness() >= B.Fitness() ? A : B;
  }
};

// The roulette search over a non-decreasing table of running totals gives
// the first position whose total exceeds the draw (the last when none does),
// whatever positions it probes on the way. This finds that position from the
// draw's bucket: first[b] is the first position whose total exceeds b / count.
struct TRouletteBuckets {
  std::vector<int32_t> first;
  uint32_t count = 0;  // a power of two
  int32_t widest = 0;  // the most positions a draw's position may lie past its bucket's first
  // Fills the buckets for Table; false (the search must be made) when Table is empty or not non-decreasing.
  bool Build(const TGAFitnessArray& Table);
};

// What a routine reads and writes. The tables are built on first use from
// `scored`, the population the last evaluation scored, which need not be the
// one picks are made from.
struct TSelectionContext {
  TZPGAPopulation& population;  // picks are made from here
  const TZPGAPopulation& scored;
  TGAFitnessArray& roulette_table;                   // empty until built
  std::unique_ptr<TIndividualQueue>& elitist_queue;  // nullptr until built
  int32_t& elitist_index;
  TFitterOf fitter_of;
  TRandom& random;
  bool equal_fitness;  // MinFitness = MaxFitness: roulette and elitist picks fall back to random ones
  TGAFitness total_fitness;
  TGAFitnessMethod fitness_method;
  int32_t tournament_field;
  TGAProbability elitist_pct;
  // When set (with a fitter_of without compare function): fitness[k] is the
  // Fitness of population's individual k, which the tournaments read instead.
  const TGAFitness* fitness = nullptr;
  // When set: buckets of the roulette table as it stands, which no pick may change.
  const TRouletteBuckets* roulette_buckets = nullptr;
  // When 0 or more: the last position of the elitist cycle, Round(Count x ElitistPct), worked out once.
  int64_t elitist_last = -1;
};

// Round(Count x ElitistPct), as the elitist selection cycles: in extended precision, halves to even.
int64_t ElitistLast(int32_t Count, TGAProbability ElitistPct);

// F's share of Total, 0 when Total is 0.
inline double RelativeFitness(TGAFitness F, TGAFitness Total) { return Total == 0 ? 0 : F / Total; }

// One running total of relative fitness per individual of Population, in order.
void BuildRouletteTable(TGAFitnessArray& Table, const TZPGAPopulation& Population, TGAFitness TotalFitness);
// The same from the individuals' fitness given as one array in population order.
void BuildRouletteTable(TGAFitnessArray& Table, std::span<const TGAFitness> Fitness, TGAFitness TotalFitness);
// Creates Queue when it is nullptr, then holds every individual of Population, best on top.
void BuildElitistQueue(std::unique_ptr<TIndividualQueue>& Queue, const TZPGAPopulation& Population,
                       TGAFitnessMethod FitnessMethod);
// The same with the priorities read from Fitness (Population's, in order).
void BuildElitistQueue(std::unique_ptr<TIndividualQueue>& Queue, const TZPGAPopulation& Population,
                       std::span<const TGAFitness> Fitness, TGAFitnessMethod FitnessMethod);

// Each returns an individual of the context's population; an empty one raises the collection's index error.
TZPGAIndividual& SelectRandom(const TSelectionContext& Context);
TZPGAIndividual& SelectRoulette(const TSelectionContext& Context);
TZPGAIndividual& SelectTournament(const TSelectionContext& Context);
TZPGAIndividual& SelectStochasticTournament(const TSelectionContext& Context);
TZPGAIndividual& SelectElitist(const TSelectionContext& Context);

using TSelectionRoutine = TZPGAIndividual& (*)(const TSelectionContext& Context);

// The built-in routine of Method; nullptr for smCustom (and for values outside the enumeration).
TSelectionRoutine RoutineOf(TGASelectionMethod Method);

}  // namespace zp::ga::selection
