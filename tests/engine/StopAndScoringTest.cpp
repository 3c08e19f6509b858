// The whole-population scorer and the stop test: scoring a population in one
// call changes no number of a run, and a stop request abandons the generation
// in progress within a bounded amount of work, leaving the component as it was
// before that generation.
#include <gtest/gtest.h>

#include <algorithm>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/SelectionMethods.h"
#include "engine/ZPGeneticAlgorithm.h"
#include "platform/Random.h"

namespace {

using namespace zp::ga;

double Ones(TZPGAIndividual& Item) {
  const std::string bits = Item.Bits().BitString();
  return static_cast<double>(std::count(bits.begin(), bits.end(), '1'));
}

// A component over Bits-bit chromosomes scoring the number of 1 bits, through
// one of the two fitness events.
struct TOnesGA {
  zp::TRandom random;
  TZPGeneticAlgorithm ga;
  long scored = 0;

  TOnesGA(bool Whole, uint32_t Seed, int Population, int Bits) : random(Seed) {
    ga.SetRandomSource(random);
    ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
    ga.SetTournamentField(3);
    ga.SetInitialPopulation(Population);
    ga.SetGeneSize(Bits);
    if (Whole)
      ga.OnEvaluatePopulation = [this](TZPCustomGeneticAlgorithm&, TZPGAPopulation& p, int32_t first,
                                       std::span<TGAFitness> out) {
        for (size_t k = 0; k < out.size(); ++k) out[k] = Ones(p.Items(first + static_cast<int32_t>(k)));
        scored += static_cast<long>(out.size());
      };
    else
      ga.OnEvaluateFitness = [this](TZPCustomGeneticAlgorithm&, TZPGAIndividual& item, TGAFitness& f) {
        f = Ones(item);
        ++scored;
      };
  }

  std::vector<std::string> Chromosomes() const {
    std::vector<std::string> out;
    for (int i = 0; i < ga.Population().Count(); ++i) out.push_back(ga.Population().Items(i).Bits().BitString());
    return out;
  }
};

TEST(WholePopulationScoring, RunsEveryMethodExactlyAsThePerIndividualHandler) {
  for (const TSelectionMethodInfo& method : kSelectionMethods)
    for (int population : {7, 32}) {
      TOnesGA single(false, 11, population, 20), whole(true, 11, population, 20);
      for (TOnesGA* g : {&single, &whole}) {
        g->ga.SetSelectionMethod(method.Method);
        g->ga.Initialize();
        g->ga.EvolveGenerations(25);
      }
      const std::string what = std::string(method.Caption) + " " + std::to_string(population);
      EXPECT_EQ(single.Chromosomes(), whole.Chromosomes()) << what;
      EXPECT_EQ(single.ga.MaxFitness(), whole.ga.MaxFitness()) << what;
      EXPECT_EQ(single.ga.AvgFitness(), whole.ga.AvgFitness()) << what;
      EXPECT_EQ(single.ga.MinFitness(), whole.ga.MinFitness()) << what;
      EXPECT_EQ(single.ga.FittestIndividual()->Index(), whole.ga.FittestIndividual()->Index()) << what;
      EXPECT_EQ(single.random.Seed(), whole.random.Seed()) << what;
      EXPECT_EQ(single.scored, whole.scored) << what;
    }
}

TEST(WholePopulationScoring, ComesInSlicesThatCoverThePopulationInOrder) {
  TZPGeneticAlgorithm ga;
  std::vector<std::pair<int32_t, size_t>> calls;
  ga.OnEvaluatePopulation = [&](TZPCustomGeneticAlgorithm&, TZPGAPopulation&, int32_t first,
                                std::span<TGAFitness> out) {
    calls.emplace_back(first, out.size());
    for (size_t k = 0; k < out.size(); ++k) out[k] = static_cast<double>(first + static_cast<int32_t>(k) % 5);
  };
  for (int i = 0; i < 9000; ++i) ga.Population().Add();
  ga.EvaluatePopulation();
  const std::vector<std::pair<int32_t, size_t>> expected{{0, 4096}, {4096, 4096}, {8192, 808}};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(ga.Population().Items(8999).Fitness(), 8192 + 807 % 5);
  // Without either event a generation still refuses to run.
  TZPGeneticAlgorithm none;
  none.SetInitialPopulation(4);
  none.Initialize();
  EXPECT_THROW(none.Evolve(), EGAException);
}

// A run stopped after K scored individuals (K counted from the generation's
// start) sees the request within the limit, and the generation leaves no trace.
void ExpectAbandonedAtScore(bool Whole, long K) {
  TOnesGA g(Whole, 5, 10000, 16);
  g.ga.SetSelectionMethod(TGASelectionMethod::smTournament);
  g.ga.Initialize();
  g.ga.EvolveGenerations(2);
  const std::vector<std::string> before = g.Chromosomes();
  const double max = g.ga.MaxFitness(), avg = g.ga.AvgFitness(), min = g.ga.MinFitness();
  TZPGAIndividual* fittest = g.ga.FittestIndividual();
  std::stop_source stop;
  g.ga.SetStopToken(stop.get_token());
  int evolved = 0;
  g.ga.OnEvolve = [&](TZPCustomGeneticAlgorithm&) { ++evolved; };
  const long start = g.scored;
  // Wraps the scoring event so that the request comes at exactly K.
  auto count_to_k = [&](long now) {
    if (now - start >= K) stop.request_stop();
  };
  if (Whole) {
    auto inner = g.ga.OnEvaluatePopulation;
    g.ga.OnEvaluatePopulation = [&, inner](TZPCustomGeneticAlgorithm& s, TZPGAPopulation& p, int32_t first,
                                           std::span<TGAFitness> out) {
      inner(s, p, first, out);
      count_to_k(g.scored);
    };
  } else {
    auto inner = g.ga.OnEvaluateFitness;
    g.ga.OnEvaluateFitness = [&, inner](TZPCustomGeneticAlgorithm& s, TZPGAIndividual& item, TGAFitness& f) {
      inner(s, item, f);
      count_to_k(g.scored);
    };
  }
  EXPECT_EQ(g.ga.EvolveGenerations(10), 0);
  const std::string what = std::string(Whole ? "whole " : "single ") + std::to_string(K);
  EXPECT_TRUE(g.ga.Stopped()) << what;
  EXPECT_LE(g.scored - start, K + TZPCustomGeneticAlgorithm::kStopCheckEvery) << what;
  EXPECT_LT(g.scored - start, 10000) << what;
  EXPECT_EQ(g.ga.Generation(), 2) << what;
  EXPECT_EQ(evolved, 0) << what;
  EXPECT_EQ(g.Chromosomes(), before) << what;
  EXPECT_EQ(g.ga.MaxFitness(), max) << what;
  EXPECT_EQ(g.ga.AvgFitness(), avg) << what;
  EXPECT_EQ(g.ga.MinFitness(), min) << what;
  EXPECT_EQ(g.ga.FittestIndividual(), fittest) << what;
}

TEST(StopTest, AbandonsTheGenerationWithinAFewThousandScoredIndividuals) {
  for (bool whole : {false, true})
    for (long k : {1L, 4095L, 4096L, 5000L}) ExpectAbandonedAtScore(whole, k);
}

TEST(StopTest, AbandonsTheGenerationWithinAFewThousandSelections) {
  TOnesGA g(false, 9, 12000, 8);
  g.ga.Initialize();
  std::stop_source stop;
  g.ga.SetStopToken(stop.get_token());
  long selections = 0;
  const long k = 3001;
  g.ga.SetOnSelection([&](TZPCustomGeneticAlgorithm&, TZPGAPopulation& p, TZPGAIndividual*& parent) {
    parent = &p.Items(static_cast<int>(selections % p.Count()));
    if (++selections == k) stop.request_stop();
  });
  const std::vector<std::string> before = g.Chromosomes();
  const long scored = g.scored;
  EXPECT_EQ(g.ga.EvolveGenerations(3), 0);
  EXPECT_TRUE(g.ga.Stopped());
  EXPECT_GE(selections, k);
  EXPECT_LE(selections, k + TZPCustomGeneticAlgorithm::kStopCheckEvery);
  EXPECT_EQ(g.scored, scored);  // nothing of the abandoned generation was scored
  EXPECT_EQ(g.Chromosomes(), before);
  EXPECT_EQ(g.ga.Generation(), 0);
}

TEST(StopTest, IsLookedAtBetweenGenerationsAndClearedByTheNextRun) {
  TOnesGA g(true, 3, 16, 12);
  g.ga.Initialize();
  std::stop_source stop;
  g.ga.SetStopToken(stop.get_token());
  g.ga.OnEvolve = [&](TZPCustomGeneticAlgorithm& s) {
    if (s.Generation() == 3) stop.request_stop();
  };
  EXPECT_EQ(g.ga.EvolveGenerations(10), 3);
  EXPECT_TRUE(g.ga.Stopped());
  // A request that stands makes no generation; a fresh token lets the run go on.
  EXPECT_EQ(g.ga.EvolveGenerations(10), 0);
  g.ga.SetStopToken({});
  EXPECT_EQ(g.ga.EvolveGenerations(4), 4);
  EXPECT_FALSE(g.ga.Stopped());
  EXPECT_EQ(g.ga.Generation(), 7);
}

TEST(MethodTable, DispatchesEveryMethodToItsRoutineInRunOrder) {
  std::vector<TGASelectionMethod> seen;
  for (const TSelectionMethodInfo& m : kSelectionMethods) {
    EXPECT_EQ(selection::RoutineOf(m.Method), m.Routine);
    EXPECT_EQ(FindMethod(m.Method), &m);
    seen.push_back(m.Method);
  }
  EXPECT_EQ(seen.size(), kSelectionMethodNames.size() - 1);  // every method but smCustom
  EXPECT_EQ(selection::RoutineOf(TGASelectionMethod::smCustom), nullptr);
  EXPECT_FALSE(MethodPlace(TGASelectionMethod::smCustom));
}

}  // namespace
