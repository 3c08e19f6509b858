// The five built-in selection routines, the two tables they read, and the
// table from selection method to routine.
#include "engine/ZPGASelection.h"

#include <algorithm>
#include <array>
#include <bit>
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

void BuildRouletteTable(TGAFitnessArray& Table, std::span<const TGAFitness> Fitness, TGAFitness TotalFitness) {
  Table.resize(Fitness.size());
  double running = 0;
  for (size_t i = 0; i < Fitness.size(); ++i) {
    running = (i == 0 ? 0 : running) + RelativeFitness(Fitness[i], TotalFitness);
    Table[i] = running;
  }
}

bool TRouletteBuckets::Build(const TGAFitnessArray& Table) {
  const size_t length = Table.size();
  if (length == 0) return false;
  for (size_t i = 1; i < length; ++i)
    if (!(Table[i] >= Table[i - 1])) return false;  // a fall, or a NaN
  // About two buckets per position, so that a pick scans one or two totals.
  count = std::bit_ceil(static_cast<uint32_t>(std::min<size_t>(2 * length, size_t{1} << 16)));
  first.resize(count);
  int32_t position = 0;
  for (uint32_t b = 0; b < count; ++b) {
    const double start = static_cast<double>(b) / count;
    while (static_cast<size_t>(position) < length && !(Table[static_cast<size_t>(position)] > start)) ++position;
    first[b] = position;
  }
  // A draw in bucket b lies below (b + 1) / count: its position is at most first[b + 1] (the length past the last).
  widest = 0;
  for (uint32_t b = 0; b < count; ++b)
    widest = std::max(widest, (b + 1 < count ? first[b + 1] : static_cast<int32_t>(length)) - first[b]);
  return true;
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

void BuildElitistQueue(std::unique_ptr<TIndividualQueue>& Queue, const TZPGAPopulation& Population,
                       std::span<const TGAFitness> Fitness, TGAFitnessMethod FitnessMethod) {
  if (!Queue) Queue = std::make_unique<TIndividualQueue>();
  Queue->Clear();
  Queue->SetDescending(FitnessMethod == TGAFitnessMethod::fmMaximize);
  for (int i = 0; i < Population.Count(); ++i)
    Queue->Push(&Population.Items(i), static_cast<float>(Fitness[static_cast<size_t>(i)]));
}

TZPGAIndividual& SelectRandom(const TSelectionContext& Context) {
  return Context.population.Items(Context.random.RandomInt(Context.population.Count()));
}

namespace {

// The position SelectRoulette picks, with its draws.
int32_t RouletteIndex(const TSelectionContext& Context) {
  if (Context.equal_fitness) return Context.random.RandomInt(Context.population.Count());
  const double r = Context.random.Random();
  TGAFitnessArray& table = Context.roulette_table;
  if (table.empty()) BuildRouletteTable(table, Context.scored, Context.total_fitness);
  // The search starts with hi one past the end; for a non-decreasing table
  // whose last total exceeds r that position is never probed. When every
  // total is at or below r (rounding, negative fitness) lo reaches the end:
  // the table is not read there and the last individual is taken.
  const int length = static_cast<int>(table.size());
  int lo = 0, hi = length;
  const double* totals = table.data();
  if (const TRouletteBuckets* buckets = Context.roulette_buckets) {
    // r x count is exact (count a power of two), so the bucket holds r.
    int position = buckets->first[static_cast<size_t>(r * buckets->count)];
    if (buckets->widest <= 4) {
      // A fixed number of steps, each taken while the total is at or below r: no branch to miss.
      for (int k = 0; k < buckets->widest; ++k)
        position +=
            static_cast<int>(position < length) & static_cast<int>(!(totals[std::min(position, length - 1)] > r));
    } else {
      while (position < length && !(totals[position] > r)) ++position;
    }
    if (position >= length) position = length - 1;
    Context.elitist_index = position;
    return position;
  }
  while (lo <= hi && lo < length) {
    const int mid = (lo + hi) / 2;
    if (mid >= length) break;
    // Either half with equal chance: masks instead of a branch that would miss half the time.
    const int above = -static_cast<int>(totals[mid] > r);  // all ones when the total exceeds r
    hi = (hi & ~above) | ((mid - 1) & above);
    lo = (lo & above) | ((mid + 1) & ~above);
  }
  if (lo >= length) lo = length - 1;
  Context.elitist_index = lo;
  return lo;
}

// A tournament over the context's fitness array: the draws and the
// comparisons of FitterOf(parent, contender), on the same values. The winner
// is kept by masks, not branches (the compiler turns selects of doubles back
// into branches): which one wins is a coin flip.
template <bool Maximize, typename Contender>
TZPGAIndividual& TournamentOverArray(const TSelectionContext& Context, Contender NextContender) {
  const TGAFitness* fitness = Context.fitness;
  const int32_t count = Context.population.Count();
  int32_t best = Context.random.RandomInt(count);
  uint64_t best_bits = std::bit_cast<uint64_t>(fitness[best]);
  for (int i = 1; i < Context.tournament_field; ++i) {
    const int32_t contender = NextContender();
    // A roulette table longer than the population can give a position past it: the collection's index error.
    if (static_cast<uint32_t>(contender) >= static_cast<uint32_t>(count)) return Context.population.Items(contender);
    const TGAFitness f = fitness[contender];
    const TGAFitness b = std::bit_cast<TGAFitness>(best_bits);
    const uint64_t take = uint64_t{Maximize ? b >= f : b <= f} - 1;  // all ones when the contender wins
    best ^= (best ^ contender) & static_cast<int32_t>(take);
    best_bits ^= (best_bits ^ std::bit_cast<uint64_t>(f)) & take;
  }
  return Context.population.Items(best);
}

// The plain tournament over the array, the seed held in a local and the
// winner kept by masks (the compiler turns selects of doubles back into branches).
template <bool Maximize>
int32_t TournamentIndex(const TGAFitness* fitness, int32_t count, int32_t field, TRandom& random) {
  TRandom rng = random;
  int32_t best = rng.RandomInt(count);
  uint64_t best_bits = std::bit_cast<uint64_t>(fitness[best]);
  for (int i = 1; i < field; ++i) {
    const int32_t contender = rng.RandomInt(count);
    const TGAFitness f = fitness[contender];
    const TGAFitness b = std::bit_cast<TGAFitness>(best_bits);
    const bool keep = Maximize ? b >= f : b <= f;
    const uint64_t take = uint64_t{keep} - 1;  // all ones when the contender wins
    best ^= (best ^ contender) & static_cast<int32_t>(take);
    best_bits ^= (best_bits ^ std::bit_cast<uint64_t>(f)) & take;
  }
  random = rng;
  return best;
}

bool OverArray(const TSelectionContext& Context) {
  return Context.fitness != nullptr && Context.fitter_of.compare == nullptr && Context.population.Count() > 0;
}

}  // namespace

TZPGAIndividual& SelectRoulette(const TSelectionContext& Context) {
  return Context.population.Items(RouletteIndex(Context));
}

TZPGAIndividual& SelectTournament(const TSelectionContext& Context) {
  if (OverArray(Context)) {
    const int32_t count = Context.population.Count();
    const int32_t best = Context.fitter_of.method == TGAFitnessMethod::fmMaximize
                             ? TournamentIndex<true>(Context.fitness, count, Context.tournament_field, Context.random)
                             : TournamentIndex<false>(Context.fitness, count, Context.tournament_field, Context.random);
    return Context.population.Items(best);
  }
  TZPGAIndividual* parent = &SelectRandom(Context);
  for (int i = 1; i < Context.tournament_field; ++i) parent = &Context.fitter_of(*parent, SelectRandom(Context));
  return *parent;
}

TZPGAIndividual& SelectStochasticTournament(const TSelectionContext& Context) {
  if (OverArray(Context)) {
    const auto roulette = [&] { return RouletteIndex(Context); };
    return Context.fitter_of.method == TGAFitnessMethod::fmMaximize ? TournamentOverArray<true>(Context, roulette)
                                                                    : TournamentOverArray<false>(Context, roulette);
  }
  TZPGAIndividual* parent = &SelectRandom(Context);
  for (int i = 1; i < Context.tournament_field; ++i) parent = &Context.fitter_of(*parent, SelectRoulette(Context));
  return *parent;
}

TZPGAIndividual& SelectElitist(const TSelectionContext& Context) {
  if (Context.equal_fitness) return SelectRandom(Context);
  int32_t& index = Context.elitist_index;
  ++index;
  const int64_t last =
      Context.elitist_last >= 0 ? Context.elitist_last : ElitistLast(Context.population.Count(), Context.elitist_pct);
  if (index > last) index = 0;
  std::unique_ptr<TIndividualQueue>& queue = Context.elitist_queue;
  if (!queue) BuildElitistQueue(queue, Context.scored, Context.fitness_method);
  // With ElitistPct near 1 the cycle can reach one past the queue: take its last position.
  int position = index;
  if (position >= queue->Count()) position = queue->Count() - 1;
  return *queue->Items(position);
}

int64_t ElitistLast(int32_t Count, TGAProbability ElitistPct) {
  // The share is taken in extended precision, as the rest of the engine's
  // float arithmetic: 5 x 0.1 lies just above one half there and rounds to 1.
  const long double share = static_cast<long double>(Count) * static_cast<long double>(ElitistPct);
  return static_cast<int64_t>(std::nearbyint(share));
}

TSelectionRoutine RoutineOf(TGASelectionMethod Method) {
  const TSelectionMethodInfo* method = FindMethod(Method);
  return method ? method->Routine : nullptr;
}

}  // namespace zp::ga::selection
