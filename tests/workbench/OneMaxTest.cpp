// OneMax as a second problem of the run core: its genotype and derived
// settings, a chromosome of exactly its bits, its log block and a fitness that
// agrees with reading every gene on its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Random.h"
#include "workbench/ComparisonRun.h"
#include "workbench/OneMaxProblem.h"

namespace {

using namespace zp::queens;
using namespace zp::ga;

struct TLog : IRunObserver {
  std::vector<std::string> lines;
  std::vector<TMethodReport> methods;
  bool WantsLog() const override { return true; }
  void OnLog(const std::string& Line) override { lines.push_back(Line); }
  void OnMethodFinished(const TMethodReport& Report) override { methods.push_back(Report); }
};

TEST(OneMax, BuildsItsGenotypeAndTheDerivedSettingsOnAChromosomeOfExactlyItsBits) {
  zp::TRandom random(0);
  TZPGeneticAlgorithm ga;
  ga.SetRandomSource(random);
  ApplyStoredSettings(ga);  // the stored 24-bit chromosome does not stay
  TOneMaxProblem problem(10);
  TLog log;
  TRunCore core(ga, problem, log);
  core.ApplySettings(TGASettings{});
  core.Initialize();
  ASSERT_EQ(ga.Genes().Count(), 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(ga.Genes().Items(i).GeneType(), TGeneType::gtBoolean);
    EXPECT_EQ(ga.Genes().Items(i).Name(), "Bit " + std::to_string(i));
    EXPECT_EQ(ga.Genes().Items(i).Size(), 1);
  }
  EXPECT_EQ(ga.GeneSize(), 10);
  EXPECT_EQ(ga.Population().Count(), 40);
  EXPECT_EQ(ga.Population().Items(0).Bits().Size(), 10);
  EXPECT_EQ(ga.FitnessCutoff(), 10);
  EXPECT_EQ(ga.MutationProbability(), 0.1);
  const std::vector<std::string> block{"",
                                       "Population Initialized.",
                                       "     Problem is OneMax, size 10",
                                       "     Chromosome Size is 10 (10 genes X 1 bits)",
                                       "     Population is 40",
                                       "     Fitness Cutoff is 10",
                                       "     Mutation probability is 0.1",
                                       ""};
  EXPECT_EQ(log.lines, block);
}

TEST(OneMax, ScoresTheOnesGeneByGene) {
  for (int n : {2, 63, 64, 65, 130}) {
    zp::TRandom random(static_cast<uint32_t>(n));
    TZPGeneticAlgorithm ga;
    ga.SetRandomSource(random);
    TOneMaxProblem problem(n);
    TLog log;
    TRunCore core(ga, problem, log);
    core.ApplySettings(TGASettings{});
    core.Initialize();
    for (int i = 0; i < ga.Population().Count(); ++i) {
      TZPGAIndividual& item = ga.Population().Items(i);
      int ones = 0;
      for (int g = 0; g < n; ++g) ones += ga.Genes().Items(g).DecodeInteger(item.Bits()) != 0 ? 1 : 0;
      EXPECT_EQ(item.Fitness(), ones) << "n " << n << " individual " << i;
    }
  }
}

TEST(OneMax, ARunReportsSolutionsByTheProblemsTarget) {
  TOneMaxProblem problem(20);
  TComparisonRequest request;
  request.Settings.Generations = 300;
  request.Seed = 4;
  TLog log;
  EXPECT_FALSE(RunComparison(problem, request, log).Stopped);
  ASSERT_EQ(log.methods.size(), 5u);
  int solved = 0;
  for (const TMethodReport& m : log.methods) {
    EXPECT_EQ(m.Solved, m.MaxFitness == 20);
    EXPECT_EQ(m.Fittest.size(), 20u);
    solved += m.Solved ? 1 : 0;
  }
  EXPECT_GE(solved, 3);  // OneMax 20 is easy for most methods within 300 generations
}

}  // namespace
