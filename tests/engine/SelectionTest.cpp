#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "EngineTestSupport.h"

using namespace zp;
using namespace zp::ga;
using namespace enginetest;

using M = TGASelectionMethod;

namespace {

// The first seed from which the reference draws satisfy `pred`.
uint32_t SeedWhere(const std::function<bool(RefRandom&)>& pred) {
  for (uint32_t s = 0;; ++s) {
    RefRandom r{s};
    if (pred(r)) return s;
  }
}

// The seed whose next real draw is r * 2^32 cut to an integer, over 2^32.
uint32_t SeedForDraw(double r) { return SeedBefore(static_cast<uint32_t>(r * 4294967296.0)); }

using G = TZPCustomGeneticAlgorithm;

struct Selection : ::testing::Test {
  PinnedGA p;
  TZPGAIndividual* Pick(void (G::*routine)(TZPGAPopulation&, TZPGAIndividual*&)) {
    TZPGAIndividual* parent = nullptr;
    (p.ga.*routine)(p.ga.Population(), parent);
    return parent;
  }
  TZPGAIndividual* Item(int i) { return &p.ga.Population().Items(i); }
};

}  // namespace

TEST_F(Selection, RandomDrawsOneIntegerPerPick) {
  p.ga.SetSelectionMethod(M::smRandom);
  p.Populate({1, 2, 3, 4});
  for (uint32_t seed : {0u, 1u, 0x7FFFFFFFu, 0xDEADBEEFu}) {
    p.rng.SetSeed(seed);
    RefRandom ref{seed};
    EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), Item(ref.Int(4)));
    EXPECT_EQ(p.rng.Seed(), ref.seed);
  }
  p.ga.Population().Clear();
  EXPECT_THROW(p.ga.SelectParent(p.ga.Population()), EListError);
}

TEST_F(Selection, RouletteTableAndPicks) {
  p.ga.SetSelectionMethod(M::smRoulette);
  p.Populate({1, 1, 2});
  EXPECT_EQ(p.ga.RouletteTable(), (TGAFitnessArray{0.25, 0.5, 1.0}));
  for (auto [r, want] : std::vector<std::pair<double, int>>{{0.3, 1}, {0.5, 2}, {0.1, 0}, {0.25, 1}, {0.0, 0}}) {
    p.rng.SetSeed(SeedForDraw(r));
    EXPECT_EQ(Pick(&G::SelectRoulette), Item(want)) << r;
    EXPECT_EQ(p.ga.ElitistIndex(), want);
    EXPECT_EQ(p.rng.Seed(), static_cast<uint32_t>(r * 4294967296.0));
  }
  p.rng.SetSeed(SeedBefore(0xFFFFFFFFu));  // the largest draw
  EXPECT_EQ(Pick(&G::SelectRoulette), Item(2));
}

TEST_F(Selection, RouletteNeverReadsPastTheTable) {
  p.ga.SetSelectionMethod(M::smRoulette);
  // Total fitness 0: every running total is 0, at or below any draw.
  p.Populate({-1, 1});
  EXPECT_EQ(p.ga.RouletteTable(), (TGAFitnessArray{0, 0}));
  p.rng.SetSeed(SeedForDraw(0.0));
  EXPECT_EQ(Pick(&G::SelectRoulette), Item(1));
  EXPECT_EQ(p.ga.ElitistIndex(), 1);

  // A non-monotone table (1, 0, 1, 1): the search starts with hi one past the
  // end, probes position 2 first and ends at 0 for a draw of 0.5.
  p.Populate({1, -1, 1, 0});
  EXPECT_EQ(p.ga.RouletteTable(), (TGAFitnessArray{1, 0, 1, 1}));
  p.rng.SetSeed(SeedForDraw(0.5));
  EXPECT_EQ(Pick(&G::SelectRoulette), Item(0));
}

TEST_F(Selection, EqualFitnessFallsBackToRandomWithTheSameDraws) {
  p.Populate({2, 2, 2, 2, 2});
  for (auto routine : {&G::SelectRoulette, &G::SelectElitist}) {
    for (uint32_t seed : {3u, 0x9E3779B9u}) {
      p.rng.SetSeed(seed);
      RefRandom ref{seed};
      const int want = ref.Int(5);
      EXPECT_EQ(Pick(routine), Item(want));
      EXPECT_EQ(p.rng.Seed(), ref.seed);
    }
  }
  EXPECT_EQ(p.ga.ElitistQueue(), nullptr);  // the fallback builds nothing
}

TEST_F(Selection, RouletteBuildsAMissingTableFromThePopulation) {
  p.ga.SetSelectionMethod(M::smRandom);
  p.Populate({1, 1, 2});
  EXPECT_TRUE(p.ga.RouletteTable().empty());
  p.rng.SetSeed(SeedForDraw(0.3));
  EXPECT_EQ(Pick(&G::SelectRoulette), Item(1));
  EXPECT_EQ(p.ga.RouletteTable().size(), 3u);
}

TEST_F(Selection, TournamentKeepsTheEarlierOfEqualContenders) {
  p.ga.SetSelectionMethod(M::smTournament);
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.Populate({5, 1, 5, 2});
  struct Case {
    std::vector<int> draws;
    int winner;
  };
  for (const Case& c : {Case{{2, 0}, 2}, Case{{0, 2}, 0}, Case{{1, 2}, 2}, Case{{3, 1}, 3}}) {
    const uint32_t seed = SeedForInts(4, c.draws);
    p.rng.SetSeed(seed);
    EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), Item(c.winner)) << c.draws[0] << c.draws[1];
    EXPECT_EQ(p.rng.Seed(), Advance(seed, 2));
  }
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMinimize);
  p.rng.SetSeed(SeedForInts(4, {1, 2}));
  EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), Item(1));

  p.ga.SetTournamentField(3);
  const uint32_t seed = SeedForInts(4, {0, 3, 1});
  p.rng.SetSeed(seed);
  EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), Item(1));
  EXPECT_EQ(p.rng.Seed(), Advance(seed, 3));
}

TEST_F(Selection, StochasticTournamentDrawsOneIntegerThenRoulette) {
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.ga.SetTournamentField(3);
  p.Populate({1, 1, 2});  // the roulette table 0.25, 0.5, 1
  // First contender 0 (uniform), then roulette draws below 0.25 (-> 0) and at least 0.5 (-> 2).
  const uint32_t seed = SeedWhere([](RefRandom& r) {
    const int first = r.Int(3);
    const double a = r.Real(), b = r.Real();
    return first == 0 && a < 0.25 && b >= 0.5;
  });
  p.rng.SetSeed(seed);
  EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), Item(2));
  EXPECT_EQ(p.ga.ElitistIndex(), 2);
  EXPECT_EQ(p.rng.Seed(), Advance(seed, 3));
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMinimize);
  p.rng.SetSeed(seed);
  EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), Item(0));

  // Equal fitness: the roulette contenders become integer draws.
  p.Populate({3, 3, 3});
  const uint32_t tie = SeedWhere([](RefRandom& r) { return r.Int(3) == 2; });
  p.rng.SetSeed(tie);
  EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), Item(2));
  EXPECT_EQ(p.rng.Seed(), Advance(tie, 3));
}

TEST_F(Selection, ElitistCyclesThroughTheTopOfTheQueueEachGeneration) {
  p.ga.SetSelectionMethod(M::smElitist);
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.ga.SetOperations({});
  p.ga.SetInitialPopulation(32);
  std::vector<double> values;
  for (int i = 0; i < 32; ++i) values.push_back((i * 7) % 32);  // distinct
  p.Populate(values);
  p.ga.Initialize();

  std::vector<std::pair<void*, void*>> pairs;
  p.ga.OnInitializeChild = [&](auto&, TZPGAIndividual& p1, TZPGAIndividual& p2, TZPGAIndividual& child) {
    if (child.Index() % 2 == 0) pairs.emplace_back(&p1, &p2);
  };
  for (int generation = 0; generation < 2; ++generation) {
    TIndividualQueue* q = p.ga.ElitistQueue();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Items(0)->Fitness(), 31);                                      // best on top
    const void* top[4] = {q->Items(0), q->Items(1), q->Items(2), q->Items(3)};  // rebuilt by the generation
    const uint32_t seed = p.rng.Seed();
    pairs.clear();
    p.ga.Evolve();
    ASSERT_EQ(pairs.size(), 16u);
    for (size_t k = 0; k < pairs.size(); ++k) {
      const size_t first = k % 2 == 0 ? 0 : 2;  // positions 0, 1, 2, 3, 0, 1, ...
      EXPECT_EQ(pairs[k].first, top[first]) << generation << " " << k;
      EXPECT_EQ(pairs[k].second, top[first + 1]) << generation << " " << k;
    }
    EXPECT_EQ(p.rng.Seed(), seed);  // elitist picks draw nothing
  }
}

TEST_F(Selection, ElitistCycleLengthRoundsHalfToEvenAndStaysInTheQueue) {
  p.ga.SetSelectionMethod(M::smElitist);
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  auto positions = [&](int n) {
    std::vector<int> out;
    TIndividualQueue* q = p.ga.ElitistQueue();
    for (int k = 0; k < n; ++k) {
      TZPGAIndividual* parent = Pick(&G::SelectElitist);
      int pos = -1;
      for (int j = 0; j < q->Count(); ++j)
        if (q->Items(j) == parent) pos = j;
      out.push_back(pos);
    }
    return out;
  };
  p.ga.SetElitistPct(1);  // the cycle reaches 4, one past the queue: its last position
  p.Populate({4, 3, 2, 1});
  EXPECT_EQ(positions(7), (std::vector<int>{0, 1, 2, 3, 3, 0, 1}));

  p.ga.SetElitistPct(0.5);  // Round(2.5) = 2
  p.Populate({5, 4, 3, 2, 1});
  EXPECT_EQ(positions(1), (std::vector<int>{2}));  // continues from the index left above: 1 -> 2
  EXPECT_EQ(positions(4), (std::vector<int>{0, 1, 2, 0}));

  p.ga.SetElitistPct(0.125);  // Round(0.5) = 0: every parent is the best
  p.Populate({1, 2, 3, 4});
  EXPECT_EQ(positions(3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(p.ga.ElitistIndex(), 0);

  // 5 x 0.1 is exactly one half in double precision but just above it in
  // extended precision, where the share is taken: Round gives 1, not 0.
  p.ga.SetElitistPct(0.1);
  p.Populate({5, 4, 3, 2, 1});
  EXPECT_EQ(positions(1), (std::vector<int>{1}));  // continues from 0
  EXPECT_EQ(positions(3), (std::vector<int>{0, 1, 0}));
}

TEST_F(Selection, ElitistQueueOrderAndLazyBuild) {
  p.ga.SetSelectionMethod(M::smRandom);
  p.Populate({4, 2, 9, 7});
  EXPECT_EQ(p.ga.ElitistQueue(), nullptr);
  p.ga.SetSelectionMethod(M::smElitist);        // no evaluation since
  EXPECT_EQ(Pick(&G::SelectElitist), Item(1));  // minimizing: the smallest on top
  ASSERT_NE(p.ga.ElitistQueue(), nullptr);
  EXPECT_FALSE(p.ga.ElitistQueue()->Descending());

  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.ga.EvaluatePopulation();
  EXPECT_TRUE(p.ga.ElitistQueue()->Descending());
  EXPECT_EQ(p.ga.ElitistQueue()->Items(0), Item(2));
  EXPECT_EQ(p.ga.ElitistQueue()->Count(), 4);

  // Keys are single precision: 1 and 1.00000001 tie, and the earlier stays on top.
  p.Populate({1.0, 1.00000001, 0.5});
  EXPECT_EQ(p.ga.FittestIndividual(), Item(1));
  EXPECT_EQ(p.ga.ElitistQueue()->Items(0), Item(0));
}

namespace {
// Prefers the less fit of two individuals whatever FitnessMethod says.
struct LeastFitWins : TZPGeneticAlgorithm {
  TZPGAIndividual& FitterOf(TZPGAIndividual& A, TZPGAIndividual& B) const override {
    return B.Fitness() < A.Fitness() ? B : A;
  }
};

TZPGAIndividual& FirstWins(const void*, TZPGAIndividual& A, TZPGAIndividual&) { return A; }
}  // namespace

TEST(SelectionRoutines, TournamentsCompareThroughAnOverriddenFitterOf) {
  TRandom rng;
  LeastFitWins ga;
  ga.SetRandomSource(rng);
  ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  ga.OnEvaluateFitness = [](auto&, TZPGAIndividual& item, TGAFitness& f) { f = 1 + item.Index(); };
  for (int i = 0; i < 4; ++i) ga.Population().Add();
  ga.EvaluatePopulation();
  // The first contender is the fittest, the second the least fit (a roulette draw below 0.1 for the stochastic one).
  ga.SetSelectionMethod(M::smTournament);
  rng.SetSeed(SeedForInts(4, {3, 0}));
  EXPECT_EQ(&ga.SelectParent(ga.Population()), &ga.Population().Items(0));
  ga.SetSelectionMethod(M::smStochasticTournament);
  rng.SetSeed(SeedWhere([](RefRandom& r) { return r.Int(4) == 3 && r.Real() < 0.1; }));
  EXPECT_EQ(&ga.SelectParent(ga.Population()), &ga.Population().Items(0));
}

TEST(SelectionRoutines, PickFromThePopulationAndBuildTablesFromTheScoredOne) {
  // A context over plain collections, as the component's lazy build inside a
  // generation sees them: picks come from the parents, a missing table is
  // built from the scored buffer.
  TZPGAPopulation parents, scored;
  for (int i = 0; i < 3; ++i) {
    parents.Add().SetFitness(1);
    scored.Add().SetFitness(i == 2 ? 4 : 0);
  }
  TGAFitnessArray table;
  std::unique_ptr<TIndividualQueue> queue;
  int32_t elitist_index = -1;
  TRandom rng(SeedForDraw(0.1));
  const selection::TSelectionContext context{.population = parents,
                                             .scored = scored,
                                             .roulette_table = table,
                                             .elitist_queue = queue,
                                             .elitist_index = elitist_index,
                                             .fitter_of = {nullptr, &FirstWins},
                                             .random = rng,
                                             .equal_fitness = false,
                                             .total_fitness = 4,
                                             .fitness_method = TGAFitnessMethod::fmMaximize,
                                             .tournament_field = 2,
                                             .elitist_pct = 0.5};
  EXPECT_EQ(&selection::SelectRoulette(context), &parents.Items(2));  // the table 0, 0, 1 from the scored buffer
  EXPECT_EQ(table, (TGAFitnessArray{0, 0, 1}));
  EXPECT_EQ(elitist_index, 2);

  elitist_index = -1;
  EXPECT_EQ(&selection::SelectElitist(context), &scored.Items(2));  // the queue holds the scored individuals
  ASSERT_NE(queue, nullptr);
  EXPECT_EQ(queue->Count(), 3);
  EXPECT_EQ(elitist_index, 0);
}

namespace {
// The base comparison, counted: a subclass, so the component must call it.
struct CountingFitterOf : TZPGeneticAlgorithm {
  mutable int calls = 0;
  TZPGAIndividual& FitterOf(TZPGAIndividual& A, TZPGAIndividual& B) const override {
    ++calls;
    return TZPGeneticAlgorithm::FitterOf(A, B);
  }
};

template <typename GA>
std::string EvolveFrom(GA& ga, TRandom& rng, M method, TGAFitnessMethod fitness_method) {
  ga.SetRandomSource(rng);
  ga.SetSelectionMethod(method);
  ga.SetFitnessMethod(fitness_method);
  ga.SetTournamentField(3);
  ga.SetInitialPopulation(9);
  ga.Genes().Add().SetSize(12);
  ga.OnEvaluateFitness = [](auto&, TZPGAIndividual& item, TGAFitness& f) { f = item.Bits().ReadInteger(0, 5); };
  ga.Initialize();
  ga.EvolveGenerations(6);
  std::string state;
  for (int i = 0; i < ga.Population().Count(); ++i) state += ga.Population().Items(i).Bits().BitString() + " ";
  return state + std::to_string(ga.FittestIndividual()->Index()) + " " + std::to_string(rng.Seed());
}
}  // namespace

TEST(SelectionRoutines, GenerationsCompareInlineOnlyWhenFitterOfIsTheBaseOne) {
  // The plain component compares fitness inline; a subclass is asked through
  // its FitterOf. Both must make the same generations when the subclass
  // keeps the base comparison.
  for (M method : {M::smTournament, M::smStochasticTournament})
    for (auto fitness_method : {TGAFitnessMethod::fmMinimize, TGAFitnessMethod::fmMaximize}) {
      TRandom plain_rng(77), counted_rng(77);
      TZPGeneticAlgorithm plain;
      CountingFitterOf counted;
      EXPECT_EQ(EvolveFrom(plain, plain_rng, method, fitness_method),
                EvolveFrom(counted, counted_rng, method, fitness_method));
      // 6 generations of 10 picks (two per pair, the odd child too) with 2 comparisons each,
      // and 8 comparisons in each of the 7 evaluations.
      EXPECT_EQ(counted.calls, 6 * 10 * 2 + 7 * 8);
    }
}

TEST(SelectionRoutines, RouletteBucketsPickWhatTheSearchPicks) {
  // Tables with zero shares, equal totals, a last total below 1 and one above,
  // and draws on the totals themselves, on bucket edges and just beside them.
  const std::vector<TGAFitnessArray> tables{
      {0.25, 0.5, 1.0},
      {0, 0, 0.5, 0.5, 0.5, 1},
      {0.1, 0.2, 0.3},
      {0.5, 1.5},
      {1.0},
      {0, 0.125, 0.125, 0.75, 0.999999999},
      {0, 0, 0, 0, 0, 0, 0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 1}};  // long runs: the scan
  for (const TGAFitnessArray& totals : tables) {
    selection::TRouletteBuckets buckets;
    ASSERT_TRUE(buckets.Build(totals));
    std::vector<uint32_t> seeds{0u, 1u, 0xFFFFFFFFu};
    for (double t : totals)
      if (t < 1) {
        const auto s = static_cast<uint32_t>(t * 4294967296.0);
        for (uint32_t d : {0u, 1u, 2u}) seeds.insert(seeds.end(), {s - d, s + d});
      }
    for (uint32_t b = 0; b < buckets.count; ++b) {
      const uint32_t s = static_cast<uint32_t>((uint64_t{b} << 32) / buckets.count);
      seeds.insert(seeds.end(), {s - 1, s, s + 1});
    }
    for (uint32_t next : seeds) {
      TZPGAPopulation population;
      for (size_t i = 0; i < totals.size(); ++i) population.Add().SetFitness(1);
      TGAFitnessArray table = totals;
      std::unique_ptr<TIndividualQueue> queue;
      int32_t searched = -1, bucketed = -1;
      TRandom search_rng(SeedBefore(next)), bucket_rng(SeedBefore(next));
      selection::TSelectionContext context{.population = population,
                                           .scored = population,
                                           .roulette_table = table,
                                           .elitist_queue = queue,
                                           .elitist_index = searched,
                                           .fitter_of = {nullptr, &FirstWins},
                                           .random = search_rng,
                                           .equal_fitness = false,
                                           .total_fitness = 1,
                                           .fitness_method = TGAFitnessMethod::fmMaximize,
                                           .tournament_field = 2,
                                           .elitist_pct = 0.5};
      TZPGAIndividual& by_search = selection::SelectRoulette(context);
      selection::TSelectionContext with_buckets{.population = population,
                                                .scored = population,
                                                .roulette_table = table,
                                                .elitist_queue = queue,
                                                .elitist_index = bucketed,
                                                .fitter_of = {nullptr, &FirstWins},
                                                .random = bucket_rng,
                                                .equal_fitness = false,
                                                .total_fitness = 1,
                                                .fitness_method = TGAFitnessMethod::fmMaximize,
                                                .tournament_field = 2,
                                                .elitist_pct = 0.5,
                                                .roulette_buckets = &buckets};
      ASSERT_EQ(&selection::SelectRoulette(with_buckets), &by_search) << next;
      ASSERT_EQ(bucketed, searched);
    }
  }
  selection::TRouletteBuckets buckets;
  EXPECT_FALSE(buckets.Build({0.5, 0.25, 1.0}));  // a fall: the search decides
  EXPECT_FALSE(buckets.Build({}));
}
