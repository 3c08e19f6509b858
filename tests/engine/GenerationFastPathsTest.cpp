// A component of exactly the engine's class makes a generation by its fast
// paths: the tournaments read the parents' fitness from one array, one
// selection context serves the generation, and each pair of children is copied
// and crossed in one pass. A subclass that overrides nothing takes the plain
// paths. Both must make the same generations, draw for draw, whatever the
// method, the fitness order, ties, negative fitness, an odd population or a
// handler that changes what a pick reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/SelectionMethods.h"
#include "engine/ZPGeneticAlgorithm.h"
#include "platform/Random.h"

namespace {

using namespace zp::ga;

// The same behaviour under another class name: every fast path is off.
class TPlainPathsGA : public TZPGeneticAlgorithm {
 public:
  using TZPGeneticAlgorithm::TZPGeneticAlgorithm;
};

struct TCase {
  TGASelectionMethod method;
  TGAFitnessMethod order;
  TGACrossoverMethod crossover;
  int population;
  int genes;
  bool whole;
  int offset = -2;  // added to every fitness: below 0 the roulette table falls and rises
};

// Fitness with many ties: the ones of the chromosome modulo 5, plus Offset.
double Score(TZPGAIndividual& item, int Offset) {
  int ones = 0;
  for (uint64_t w : item.Bits().Words()) ones += __builtin_popcountll(w);
  return ones % 5 + Offset;
}

void Configure(TZPCustomGeneticAlgorithm& ga, zp::TRandom& random, const TCase& c) {
  ga.SetRandomSource(random);
  ga.SetFitnessMethod(c.order);
  ga.SetCrossoverMethod(c.crossover);
  ga.SetTournamentField(3);
  ga.SetElitistPct(0.2);
  ga.SetMutationProbability(0.05);
  ga.SetInversionProbability(0.3);
  ga.SetInitialPopulation(c.population);
  ga.OnInitialization = [c](TZPCustomGeneticAlgorithm& g, bool&) {
    for (int i = 0; i < c.genes; ++i) g.Genes().Add().SetSize(7);  // 7 bits: genes across word boundaries
  };
  if (c.whole)
    ga.OnEvaluatePopulation = [c](TZPCustomGeneticAlgorithm&, TZPGAPopulation& p, int32_t first,
                                  std::span<TGAFitness> out) {
      for (size_t k = 0; k < out.size(); ++k) out[k] = Score(p.Items(first + static_cast<int32_t>(k)), c.offset);
    };
  else
    ga.OnEvaluateFitness = [c](TZPCustomGeneticAlgorithm&, TZPGAIndividual& item, TGAFitness& f) {
      f = Score(item, c.offset);
    };
  ga.SetSelectionMethod(c.method);
}

// Every chromosome, fitness and name, the statistics and the seed after each generation.
std::vector<std::string> Trace(TZPCustomGeneticAlgorithm& ga, zp::TRandom& random, int generations) {
  std::vector<std::string> trace;
  ga.Initialize();
  for (int g = 0; g < generations; ++g) {
    ga.Evolve();
    std::string state;
    for (int i = 0; i < ga.Population().Count(); ++i) {
      const TZPGAIndividual& item = ga.Population().Items(i);
      state += item.Bits().BitString() + ":" + std::to_string(item.Fitness()) + item.Name() + " ";
    }
    state += std::to_string(ga.MaxFitness()) + " " + std::to_string(ga.AvgFitness()) + " " +
             std::to_string(ga.MinFitness()) + " " + std::to_string(ga.FittestIndividual()->Index()) + " " +
             std::to_string(ga.ElitistIndex()) + " " + std::to_string(random.Seed());
    trace.push_back(state);
  }
  return trace;
}

std::string Describe(const TCase& c) {
  return ToString(c.method) + " " + ToString(c.order) + " " + ToString(c.crossover) +
         " P=" + std::to_string(c.population) + " genes=" + std::to_string(c.genes) + (c.whole ? " whole" : " single") +
         " offset=" + std::to_string(c.offset);
}

TEST(GenerationFastPaths, MakeTheGenerationsOfThePlainPaths) {
  for (const TSelectionMethodInfo& m : kSelectionMethods)
    for (TGAFitnessMethod order : {TGAFitnessMethod::fmMinimize, TGAFitnessMethod::fmMaximize})
      for (TGACrossoverMethod crossover : {TGACrossoverMethod::cmGeneBoundary, TGACrossoverMethod::cmBitBoundary})
        for (int population : {7, 32})
          for (int genes : {3, 23})  // 21 and 161 bits
            for (bool whole : {false, true})
              for (int offset : {-2, 0}) {
                const TCase c{m.Method, order, crossover, population, genes, whole, offset};
                zp::TRandom fast_random(5), plain_random(5);
                TZPGeneticAlgorithm fast;
                TPlainPathsGA plain;
                Configure(fast, fast_random, c);
                Configure(plain, plain_random, c);
                ASSERT_EQ(Trace(fast, fast_random, 12), Trace(plain, plain_random, 12)) << Describe(c);
              }
}

TEST(GenerationFastPaths, HandlersThatChangeWhatAPickReadsAreSeenAsOnThePlainPaths) {
  // A child's handler lowers the fitness of a parent, renames it and widens
  // the tournament in the middle of a generation: picks after it must see all of that.
  for (TGASelectionMethod method : {TGASelectionMethod::smTournament, TGASelectionMethod::smStochasticTournament}) {
    const TCase c{method, TGAFitnessMethod::fmMaximize, TGACrossoverMethod::cmGeneBoundary, 16, 5, true};
    zp::TRandom fast_random(9), plain_random(9);
    TZPGeneticAlgorithm fast;
    TPlainPathsGA plain;
    for (TZPCustomGeneticAlgorithm* ga :
         {static_cast<TZPCustomGeneticAlgorithm*>(&fast), static_cast<TZPCustomGeneticAlgorithm*>(&plain)}) {
      Configure(*ga, ga == &fast ? fast_random : plain_random, c);
      ga->OnInitializeChild = [](TZPCustomGeneticAlgorithm& g, TZPGAIndividual& p1, TZPGAIndividual&,
                                 TZPGAIndividual&) {
        p1.SetFitness(p1.Fitness() - 1);
        p1.SetName("picked");
        g.SetTournamentField(g.TournamentField() % 4 + 2);
      };
    }
    EXPECT_EQ(Trace(fast, fast_random, 8), Trace(plain, plain_random, 8)) << ToString(method);
  }
}

TEST(GenerationFastPaths, FitnessChangedBetweenGenerationsIsWhatTheTournamentsRead) {
  // Parents' Fitness set from outside after their scoring: the tournament reads the new values.
  const TCase c{
      TGASelectionMethod::smTournament, TGAFitnessMethod::fmMaximize, TGACrossoverMethod::cmGeneBoundary, 32, 5, true};
  zp::TRandom fast_random(3), plain_random(3);
  TZPGeneticAlgorithm fast;
  TPlainPathsGA plain;
  Configure(fast, fast_random, c);
  Configure(plain, plain_random, c);
  for (TZPCustomGeneticAlgorithm* ga :
       {static_cast<TZPCustomGeneticAlgorithm*>(&fast), static_cast<TZPCustomGeneticAlgorithm*>(&plain)}) {
    ga->Initialize();
    ga->OnEvolve = [](TZPCustomGeneticAlgorithm& g) {
      for (int i = 0; i < g.Population().Count(); ++i) g.Population().Items(i).SetFitness(i % 3 == 0 ? 100 : -i);
    };
  }
  EXPECT_EQ(Trace(fast, fast_random, 6), Trace(plain, plain_random, 6));
}

}  // namespace
