#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "platform/Strings.h"

using namespace zp;
using namespace zp::ga;
using namespace enginetest;

using M = TGASelectionMethod;

TEST(GeneticAlgorithm, DefaultsAndRangeSetters) {
  TZPGeneticAlgorithm ga;
  EXPECT_EQ(ga.SelectionMethod(), M::smStochasticTournament);
  EXPECT_TRUE(static_cast<bool>(ga.OnSelection()));
  EXPECT_EQ(ga.MutationProbability(), 0.01);
  EXPECT_EQ(ga.CrossoverProbability(), 0.98);
  EXPECT_EQ(ga.InversionProbability(), 0.1);
  EXPECT_EQ(ga.DiversityLimit(), 0.02);
  EXPECT_EQ(ga.ElitistPct(), 0.1);
  EXPECT_EQ(ga.FitnessCutoff(), 1.0);
  EXPECT_EQ(ga.FitnessMethod(), TGAFitnessMethod::fmMinimize);
  EXPECT_EQ(ga.CrossoverMethod(), TGACrossoverMethod::cmGeneBoundary);
  EXPECT_EQ(ga.InitialPopulation(), 100);
  EXPECT_EQ(ga.TournamentField(), 2);
  EXPECT_EQ(ga.Operations(), (TGAGeneticOperations{TGAGeneticOperation::goCrossover, TGAGeneticOperation::goMutate,
                                                   TGAGeneticOperation::goInvert}));
  EXPECT_FALSE(ga.Initialized());
  EXPECT_EQ(ga.PreviousPopulation(), nullptr);
  EXPECT_EQ(ga.FittestIndividual(), nullptr);
  EXPECT_EQ(&ga.RandomSource(), &GlobalRandom());
}

// Every probability setter takes values in [0, 1] and ignores the rest, NaN
// included, leaving the value it had.
TEST(GeneticAlgorithm, ProbabilitySettersTakeOnlyZeroToOne) {
  using Getter = TGAProbability (TZPCustomGeneticAlgorithm::*)() const;
  using Setter = void (TZPCustomGeneticAlgorithm::*)(TGAProbability);
  struct Property {
    const char* Name;
    Getter Get;
    Setter Set;
  };
  const Property properties[] = {
      {"MutationProbability", &TZPCustomGeneticAlgorithm::MutationProbability,
       &TZPCustomGeneticAlgorithm::SetMutationProbability},
      {"CrossoverProbability", &TZPCustomGeneticAlgorithm::CrossoverProbability,
       &TZPCustomGeneticAlgorithm::SetCrossoverProbability},
      {"InversionProbability", &TZPCustomGeneticAlgorithm::InversionProbability,
       &TZPCustomGeneticAlgorithm::SetInversionProbability},
      {"DiversityLimit", &TZPCustomGeneticAlgorithm::DiversityLimit, &TZPCustomGeneticAlgorithm::SetDiversityLimit},
      {"ElitistPct", &TZPCustomGeneticAlgorithm::ElitistPct, &TZPCustomGeneticAlgorithm::SetElitistPct},
  };
  struct Row {
    double Value;
    bool Taken;
  };
  const Row rows[] = {{-0.1, false}, {0, true}, {1, true}, {1.5, false}, {std::nan(""), false}};
  for (const Property& p : properties)
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(p.Name) + " := " + std::to_string(row.Value));
      TZPGeneticAlgorithm ga;
      const double before = (ga.*p.Get)();
      (ga.*p.Set)(row.Value);
      EXPECT_EQ((ga.*p.Get)(), row.Taken ? row.Value : before);
    }
}

TEST(GeneticAlgorithm, TournamentFieldAndInitialPopulationSetters) {
  struct Row {
    int32_t Value, Expected;
  };
  // From a field of 3: one contestant is no tournament and is ignored.
  for (const Row row : {Row{1, 3}, Row{2, 2}, Row{5, 5}}) {
    TZPGeneticAlgorithm ga;
    ga.SetTournamentField(3);
    ga.SetTournamentField(row.Value);
    EXPECT_EQ(ga.TournamentField(), row.Expected) << "field " << row.Value;
  }
  for (const Row row : {Row{-4, 0}, Row{0, 0}, Row{7, 7}}) {
    TZPGeneticAlgorithm ga;
    ga.SetInitialPopulation(row.Value);
    EXPECT_EQ(ga.InitialPopulation(), row.Expected) << "population " << row.Value;
  }
}

TEST(GeneticAlgorithm, SelectionSlotFollowsTheMethod) {
  PinnedGA p;
  p.Populate({1, 2, 3});
  int calls = 0;
  p.ga.SetOnSelection([&](TZPCustomGeneticAlgorithm& sender, TZPGAPopulation& pop, TZPGAIndividual*& parent) {
    EXPECT_EQ(&sender, &p.ga);
    ++calls;
    parent = &pop.Items(2);
  });
  EXPECT_EQ(p.ga.SelectionMethod(), M::smCustom);
  EXPECT_EQ(&p.ga.SelectParent(p.ga.Population()), &p.ga.Population().Items(2));
  EXPECT_EQ(calls, 1);

  // Clearing the handler falls back to roulette, which installs its routine.
  p.ga.SetOnSelection(nullptr);
  EXPECT_EQ(p.ga.SelectionMethod(), M::smRoulette);
  EXPECT_TRUE(static_cast<bool>(p.ga.OnSelection()));
  p.ga.SelectParent(p.ga.Population());
  EXPECT_EQ(calls, 1);

  // Already roulette: clearing installs nothing and leaves the slot empty.
  p.ga.SetOnSelection(nullptr);
  EXPECT_FALSE(static_cast<bool>(p.ga.OnSelection()));
  EXPECT_THROW_MSG(p.ga.SelectParent(p.ga.Population()), EGAException, "No custom selection function defined");
  p.ga.SetSelectionMethod(M::smCustom);
  EXPECT_FALSE(static_cast<bool>(p.ga.OnSelection()));
  p.ga.SetSelectionMethod(M::smRandom);
  EXPECT_TRUE(static_cast<bool>(p.ga.OnSelection()));
}

TEST(GeneticAlgorithm, EvaluatePopulationStatistics) {
  PinnedGA p;
  p.Populate({3, 1, 4, 1, 5});
  EXPECT_EQ(p.ga.MaxFitness(), 5);
  EXPECT_EQ(p.ga.MinFitness(), 1);
  EXPECT_EQ(p.ga.TotalFitness(), 14);
  EXPECT_DOUBLE_EQ(p.ga.AvgFitness(), 2.8);
  EXPECT_EQ(p.ga.FittestIndividual(), &p.ga.Population().Items(1));  // minimize: the earliest 1
  EXPECT_EQ(p.ga.Diversity(), p.ga.AvgFitness() / 5);
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.ga.EvaluatePopulation();
  EXPECT_EQ(p.ga.FittestIndividual(), &p.ga.Population().Items(4));

  // Ties keep the first argument.
  TZPGAIndividual& a = p.ga.Population().Items(1);
  TZPGAIndividual& b = p.ga.Population().Items(3);
  EXPECT_EQ(&p.ga.FitterOf(a, b), &a);
  EXPECT_EQ(&p.ga.FitterOf(b, a), &b);

  // An empty population zeroes three statistics and keeps the rest.
  auto kept = p.ga.Population().Extract(p.ga.Population().Items(0));
  p.ga.Population().Clear();
  EXPECT_EQ(p.ga.FittestIndividual(), nullptr);
  p.ga.EvaluatePopulation();
  EXPECT_EQ(p.ga.MaxFitness(), 0);
  EXPECT_EQ(p.ga.MinFitness(), 0);
  EXPECT_EQ(p.ga.AvgFitness(), 0);
  EXPECT_EQ(p.ga.TotalFitness(), 14);
  EXPECT_EQ(p.ga.Diversity(), std::numeric_limits<double>::infinity());

  // Without a handler every fitness is 0.
  TZPGeneticAlgorithm bare;
  bare.Population().Add().SetFitness(9);
  bare.EvaluatePopulation();
  EXPECT_EQ(bare.Population().Items(0).Fitness(), 0);
}

TEST(GeneticAlgorithm, EvolveInitializesFirst) {
  PinnedGA p;
  p.ga.SetGeneSize(6);
  p.ga.SetInitialPopulation(32);
  int inits = 0, evolves = 0;
  p.ga.OnInitialization = [&](TZPCustomGeneticAlgorithm&, bool&) { ++inits; };
  p.ga.OnEvolve = [&](TZPCustomGeneticAlgorithm& sender) {
    EXPECT_EQ(&sender, &p.ga);
    ++evolves;
  };
  p.ga.Evolve();
  EXPECT_EQ(p.ga.Population().Count(), 32);
  EXPECT_EQ(p.ga.PreviousPopulation()->Count(), 32);
  EXPECT_EQ(inits, 1);
  EXPECT_EQ(evolves, 1);
  EXPECT_EQ(p.ga.Generation(), 1);
  EXPECT_TRUE(p.ga.Initialized());

  // The buffers swap every generation.
  TZPGAPopulation* current = &p.ga.Population();
  TZPGAPopulation* previous = p.ga.PreviousPopulation();
  p.ga.Evolve();
  EXPECT_EQ(&p.ga.Population(), previous);
  EXPECT_EQ(p.ga.PreviousPopulation(), current);
  EXPECT_EQ(inits, 1);
}

TEST(GeneticAlgorithm, InitializeKeepsASurplusAndResetsTheGeneration) {
  PinnedGA p;
  p.Populate({1, 2, 3, 4, 5});
  p.ga.SetInitialPopulation(2);
  p.ga.SetGeneration(40);
  p.ga.Initialize();
  EXPECT_EQ(p.ga.Population().Count(), 5);
  EXPECT_EQ(p.ga.Generation(), 0);
  EXPECT_EQ(p.ga.PreviousPopulation()->Count(), 5);

  // An empty population after initialization: Evolve does nothing at all.
  PinnedGA e;
  e.ga.SetInitialPopulation(0);
  e.ga.OnEvaluateFitness = nullptr;
  int evolves = 0;
  e.ga.OnEvolve = [&](TZPCustomGeneticAlgorithm&) { ++evolves; };
  e.ga.Evolve();
  EXPECT_TRUE(e.ga.Initialized());
  EXPECT_EQ(e.ga.Generation(), 0);
  EXPECT_EQ(evolves, 0);
}

TEST(GeneticAlgorithm, OddPopulationDrawsSixParentsForFiveChildren) {
  PinnedGA p;
  p.ga.SetOperations({});
  p.ga.SetInitialPopulation(5);
  p.Populate({10, 11, 12, 13, 14});
  p.ga.Initialize();
  std::vector<int> picks{4, 3, 2, 1, 0, 4};
  size_t next = 0;
  p.ga.SetOnSelection([&](TZPCustomGeneticAlgorithm&, TZPGAPopulation& pop, TZPGAIndividual*& parent) {
    EXPECT_EQ(&pop, p.ga.PreviousPopulation());  // parents come from the swapped-out buffer
    parent = &pop.Items(picks.at(next++));
  });
  std::vector<std::string> made;
  p.ga.OnInitializeChild = [&](TZPCustomGeneticAlgorithm&, TZPGAIndividual& p1, TZPGAIndividual& p2,
                               TZPGAIndividual& child) {
    made.push_back(std::to_string(p1.Index()) + std::to_string(p2.Index()) + ">" + std::to_string(child.Index()));
  };
  p.ga.Evolve();
  EXPECT_EQ(next, 6u);
  EXPECT_EQ(made, (std::vector<std::string>{"43>0", "34>1", "21>2", "12>3", "04>4"}));
}

TEST(GeneticAlgorithm, FitnessCutoffStopsAfterTheGenerationThatReachesIt) {
  PinnedGA p;
  p.ga.SetGeneSize(4);
  p.ga.SetInitialPopulation(6);
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.ga.SetFitnessCutoff(28);
  p.ga.SetUseFitnessCutoff(true);
  p.ga.OnEvaluateFitness = [&](TZPCustomGeneticAlgorithm& sender, TZPGAIndividual& item, TGAFitness& f) {
    // Scored while Generation is 2: the third generation is the first to reach 28.
    f = sender.Generation() >= 2 && item.Index() == 4 ? 28 : item.Index();
  };
  p.ga.Initialize();
  EXPECT_EQ(p.ga.EvolveGenerations(100), 3);
  EXPECT_EQ(p.ga.Generation(), 3);
  EXPECT_EQ(p.ga.FittestIndividual()->Fitness(), 28);

  // At least one generation even when the start population meets the cutoff.
  EXPECT_EQ(p.ga.EvolveGenerations(100), 1);
  EXPECT_EQ(p.ga.EvolveGenerations(0), 0);
  EXPECT_EQ(p.ga.EvolveGenerations(-3), 0);

  // Minimizing stops at or below the cutoff.
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMinimize);
  p.ga.SetFitnessCutoff(-1);
  p.ga.OnEvaluateFitness = [&](TZPCustomGeneticAlgorithm& sender, TZPGAIndividual&, TGAFitness& f) {
    f = sender.Generation() >= 6 ? -1 : 0;
  };
  EXPECT_EQ(p.ga.Generation(), 4);
  EXPECT_EQ(p.ga.EvolveGenerations(100), 3);  // generations 5, 6, 7; the seventh scores -1
}

TEST(GeneticAlgorithm, DiversityLimit) {
  PinnedGA p;
  p.ga.SetGeneSize(4);
  p.ga.SetInitialPopulation(4);
  p.ga.SetUseDiversityLimit(true);
  p.ga.SetDiversityLimit(0.02);
  p.ga.OnEvaluateFitness = [](TZPCustomGeneticAlgorithm&, TZPGAIndividual&, TGAFitness& f) { f = 0; };
  p.ga.Initialize();
  EXPECT_EQ(p.ga.EvolveGenerations(7), 7);  // +infinity is never below the limit
  EXPECT_EQ(p.ga.Diversity(), std::numeric_limits<double>::infinity());

  // Average 1, maximum 100: 0.01 < 0.02 stops after the first generation.
  p.ga.OnEvaluateFitness = [](TZPCustomGeneticAlgorithm&, TZPGAIndividual& item, TGAFitness& f) {
    f = item.Index() == 0 ? 100 : -32;
  };
  EXPECT_EQ(p.ga.EvolveGenerations(7), 1);
  EXPECT_DOUBLE_EQ(p.ga.Diversity(), 0.01);
}

TEST(GeneticAlgorithm, EvolveRefusesBeforeAnythingChanges) {
  PinnedGA p;
  p.rng.SetSeed(99);
  p.ga.SetGeneSize(5);
  p.ga.SetInitialPopulation(4);
  p.ga.Initialize();
  const uint32_t seed = p.rng.Seed();
  TZPGAPopulation* current = &p.ga.Population();
  const std::string bits = p.ga.Population().Items(2).Bits().BitString();

  p.ga.OnEvaluateFitness = nullptr;
  EXPECT_THROW_MSG(p.ga.Evolve(), EGAException, "No fitness function defined");
  p.ga.OnEvaluateFitness = [](TZPCustomGeneticAlgorithm&, TZPGAIndividual&, TGAFitness& f) { f = 1; };
  p.ga.SetSelectionMethod(M::smCustom);
  EXPECT_THROW_MSG(p.ga.Evolve(), EGAException, "No custom selection function defined");
  EXPECT_EQ(&p.ga.Population(), current);
  EXPECT_EQ(p.ga.Generation(), 0);
  EXPECT_EQ(p.rng.Seed(), seed);
  EXPECT_EQ(p.ga.Population().Items(2).Bits().BitString(), bits);
}

TEST(GeneticAlgorithm, AFailingSelectionLeavesTheGenerationAndResumesNotifications) {
  PinnedGA p;
  p.ga.SetGeneSize(5);
  p.ga.SetInitialPopulation(4);
  p.ga.Initialize();
  p.ga.SetSelectionMethod(M::smRoulette);
  p.ga.SetOnSelection(nullptr);  // already roulette: the slot stays empty
  TZPGAPopulation* current = &p.ga.Population();
  EXPECT_THROW(p.ga.Evolve(), EGAException);
  EXPECT_EQ(p.ga.Generation(), 0);
  EXPECT_EQ(p.ga.PreviousPopulation(), current);  // swapped before the selection failed
  EXPECT_EQ(p.ga.Population().UpdateCount(), 0);

  // A handler's exception passes through unchanged, with the same cleanup.
  p.ga.SetSelectionMethod(M::smRandom);
  p.ga.OnReproduction = [](TZPCustomGeneticAlgorithm&, TZPGAIndividual&) { throw std::runtime_error("boom"); };
  EXPECT_THROW_MSG(p.ga.Evolve(), std::runtime_error, "boom");
  EXPECT_EQ(p.ga.Population().UpdateCount(), 0);
  EXPECT_EQ(p.ga.Generation(), 0);
}

TEST(GeneticAlgorithm, EventsFireInOrder) {
  PinnedGA p;
  p.ga.SetGeneSize(4);
  p.ga.SetInitialPopulation(2);
  p.ga.SetSelectionMethod(M::smRandom);
  p.ga.SetCrossoverProbability(1);
  p.ga.SetMutationProbability(1);
  p.ga.SetInversionProbability(1);
  p.ga.Initialize();
  std::vector<std::string> log;
  auto name = [](const TZPGAIndividual& i) { return std::to_string(i.Index()); };
  p.ga.OnInitializeChild = [&](auto&, TZPGAIndividual&, TZPGAIndividual&, TZPGAIndividual& c) {
    log.push_back("init" + name(c));
  };
  p.ga.OnCrossover = [&](auto&, TZPGAIndividual&, TZPGAIndividual&, TZPGAIndividual& c, int32_t&, bool&) {
    log.push_back("cross" + name(c));
  };
  p.ga.OnMutation = [&](auto&, TZPGAIndividual& c, bool&) { log.push_back("mutate" + name(c)); };
  p.ga.OnInversion = [&](auto&, TZPGAIndividual& c, bool&) { log.push_back("invert" + name(c)); };
  p.ga.OnReproduction = [&](auto&, TZPGAIndividual& c) { log.push_back("made" + name(c)); };
  p.ga.OnEvaluateFitness = [&](auto&, TZPGAIndividual& c, TGAFitness& f) {
    log.push_back("score" + name(c));
    f = 1;
  };
  p.ga.OnEvolve = [&](auto&) { log.push_back("evolve"); };
  p.ga.Evolve();
  EXPECT_EQ(log, (std::vector<std::string>{"init0", "init1", "cross0", "cross1", "mutate0", "mutate1", "made0", "made1",
                                           "score0", "score1", "evolve"}));
}

TEST(GeneticAlgorithm, AssignCopiesSettingsGenotypeAndPopulation) {
  PinnedGA src;
  src.ga.Genes().Add().SetSize(3);
  src.ga.Genes().Add().SetSize(2);
  src.ga.SetInitialPopulation(4);
  src.ga.SetMutationProbability(0.5);
  src.ga.SetCrossoverMethod(TGACrossoverMethod::cmBitBoundary);
  src.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  src.ga.SetTournamentField(3);
  src.ga.SetUseFitnessCutoff(true);
  src.ga.SetSelectionMethod(M::smElitist);
  src.fitness = {1, 2, 3, 4};
  src.ga.Initialize();
  src.ga.SetGeneration(7);

  PinnedGA dst;
  dst.ga.Assign(src.ga);
  EXPECT_EQ(dst.ga.Generation(), 7);
  EXPECT_EQ(dst.ga.MutationProbability(), 0.5);
  EXPECT_EQ(dst.ga.CrossoverMethod(), TGACrossoverMethod::cmBitBoundary);
  EXPECT_EQ(dst.ga.FitnessMethod(), TGAFitnessMethod::fmMaximize);
  EXPECT_EQ(dst.ga.TournamentField(), 3);
  EXPECT_TRUE(dst.ga.UseFitnessCutoff());
  EXPECT_EQ(dst.ga.GeneSize(), 5);
  EXPECT_EQ(dst.ga.MaxFitness(), 4);
  EXPECT_EQ(dst.ga.MinFitness(), 1);
  EXPECT_EQ(dst.ga.AvgFitness(), 2.5);
  EXPECT_TRUE(dst.ga.Initialized());
  EXPECT_EQ(dst.ga.SelectionMethod(), M::smElitist);
  EXPECT_TRUE(static_cast<bool>(dst.ga.OnSelection()));
  ASSERT_EQ(dst.ga.Genes().Count(), 2);
  EXPECT_EQ(dst.ga.Genes().Items(1).Offset(), 3);
  ASSERT_EQ(dst.ga.Population().Count(), 4);
  EXPECT_EQ(dst.ga.Population().Items(2).Bits().BitString(), src.ga.Population().Items(2).Bits().BitString());
  EXPECT_EQ(dst.ga.FittestIndividual(), nullptr);
  EXPECT_EQ(dst.ga.PreviousPopulation(), nullptr);

  // The copy is initialized without a second buffer; its next generation must still work.
  dst.fitness = {5, 6, 7, 8};
  dst.ga.Evolve();
  EXPECT_EQ(dst.ga.Generation(), 8);
  EXPECT_EQ(dst.ga.Population().Count(), 4);
  EXPECT_EQ(dst.ga.MaxFitness(), 8);

  TStrings other;
  EXPECT_THROW(dst.ga.Assign(other), EConvertError);
}
