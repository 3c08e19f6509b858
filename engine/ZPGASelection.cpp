// The five built-in selection routines, the two tables they read, and the
// table from selection method to routine.
#include "engine/ZPGASelection.h"

#include <array>
#include <cmath>

#include "engine/SelectionMethods.h"

namespace zp::ga::selection {

void BuildRouletteTable(TGAFitnessArray& Table, const TZPGAPopulation& Population, TGAFitness TotalFitness) {
  Table.resize(static_cast<size_t>(Population.Count()));
  double running = 0;
  for (int i = 0; i < Population.Count(); ++i) {
    running = (i == 0 ? 0 : running) + RelativeFitness(Population.Items(i).Fitness(), TotalFitness);
    Table[static_cast<size_t>(i)] = running;
  }
}

void BuildElitistQueue(std::unique_ptr<TIndividualQueue>& Queue, const TZPGAPopulation& Population,
                       TGAFitnessMethod FitnessMethod) {
  if (!Queue) Queue = std::make_unique<TIndividualQueue>();
  Queue->Clear();
  Queue->SetDescending(FitnessMethod == TGAFitnessMethod::fmMaximize);
  for (int i = 0; i < Population.Count(); ++i) {
    TZPGAIndividual& item = Population.Items(i);
    Queue->Push(&item, static_cast<float>(item.Fitness()));
  }
}

TZPGAIndividual& SelectRandom(const TSelectionContext& Context) {
  return Context.population.Items(Context.random.RandomInt(Context.population.Count()));
}

TZPGAIndividual& SelectRoulette(const TSelectionContext& Context) {
  if (Context.equal_fitness) return SelectRandom(Context);
  const double r = Context.random.Random();
  TGAFitnessArray& table = Context.roulette_table;
  if (table.empty()) BuildRouletteTable(table, Context.scored, Context.total_fitness);
  // The search starts with hi one past the end; for a non-decreasing table
  // whose last total exceeds r that position is never probed. When every
  // total is at or below r (rounding, negative fitness) lo reaches the end:
  // the table is not read there and the last individual is taken.
  const int length = static_cast<int>(table.size());
  int lo = 0, hi = length;
  while (lo <= hi && lo < length) {
    const int mid = (lo + hi) / 2;
    if (mid >= length) break;
    if (table[static_cast<size_t>(mid)] > r)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  if (lo >= length) lo = length - 1;
  Context.elitist_index = lo;
  return Context.population.Items(lo);
}

TZPGAIndividual& SelectTournament(const TSelectionContext& Context) {
  TZPGAIndividual* parent = &SelectRandom(Context);
  for (int i = 1; i < Context.tournament_field; ++i) parent = &Context.fitter_of(*parent, SelectRandom(Context));
  return *parent;
}

TZPGAIndividual& SelectStochasticTournament(const TSelectionContext& Context) {
  TZPGAIndividual* parent = &SelectRandom(Context);
  for (int i = 1; i < Context.tournament_field; ++i) parent = &Context.fitter_of(*parent, SelectRoulette(Context));
  return *parent;
}

TZPGAIndividual& SelectElitist(const TSelectionContext& Context) {
  if (Context.equal_fitness) return SelectRandom(Context);
  int32_t& index = Context.elitist_index;
  ++index;
  // The share is taken in extended precision, as the rest of the engine's
  // float arithmetic: 5 x 0.1 lies just above one half there and rounds to 1.
  const long double share =
      static_cast<long double>(Context.population.Count()) * static_cast<long double>(Context.elitist_pct);
  if (index > std::nearbyint(share)) index = 0;
  std::unique_ptr<TIndividualQueue>& queue = Context.elitist_queue;
  if (!queue) BuildElitistQueue(queue, Context.scored, Context.fitness_method);
  // With ElitistPct near 1 the cycle can reach one past the queue: take its last position.
  int position = index;
  if (position >= queue->Count()) position = queue->Count() - 1;
  return *queue->Items(position);
}

TSelectionRoutine RoutineOf(TGASelectionMethod Method) {
  const TSelectionMethodInfo* method = FindMethod(Method);
  return method ? method->Routine : nullptr;
}

}  // namespace zp::ga::selection
