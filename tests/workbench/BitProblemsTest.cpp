// LeadingOnes and Jump beside OneMax: their fitness on hand-worked bit strings
// and on whole random populations against reading every gene on its own, the
// problem names the options take, and the sizes each problem allows.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Random.h"
#include "workbench/BitProblems.h"
#include "workbench/ComparisonRun.h"
#include "workbench/ProblemCatalogue.h"

namespace {

using namespace zp::queens;
using namespace zp::ga;

TEST(CountLeadingOneBits, CountsFromBitZeroAndNeverPastTheChromosome) {
  const uint64_t all = ~uint64_t{0};
  EXPECT_EQ(CountLeadingOneBits({0b0111}, 10), 3);
  EXPECT_EQ(CountLeadingOneBits({0b1110}, 10), 0);
  // Ones past the chromosome's bits do not count, in the word that holds its end.
  EXPECT_EQ(CountLeadingOneBits({all}, 10), 10);
  EXPECT_EQ(CountLeadingOneBits({all}, 64), 64);
  EXPECT_EQ(CountLeadingOneBits({all, 0b1011}, 66), 66);
  EXPECT_EQ(CountLeadingOneBits({all, 0b1011}, 67), 66);
  EXPECT_EQ(CountLeadingOneBits({all, all ^ (uint64_t{1} << 5)}, 128), 69);
  // A chromosome of 64 bits never reads a second word, which may not exist.
  EXPECT_EQ(CountLeadingOneBits(std::vector<uint64_t>{all}, 64), 64);
  EXPECT_EQ(CountLeadingOneBits({}, 0), 0);
}

TEST(JumpFitness, ClimbsToTheGapFallsInsideItAndPeaksAtAllOnes) {
  // n = 8, K = 3: m ones score 3 + m up to m = 5, then 8 - m in the gap, and 11 at m = 8.
  const std::vector<double> expected{3, 4, 5, 6, 7, 8, 2, 1, 11};
  for (int32_t m = 0; m <= 8; ++m) EXPECT_EQ(TJumpProblem::Fitness(8, 3, m), expected[m]) << m;
  // K = 1 has no gap: OneMax shifted by one.
  for (int32_t m = 0; m <= 5; ++m) EXPECT_EQ(TJumpProblem::Fitness(5, 1, m), 1 + m);
  EXPECT_EQ(TJumpProblem(8, 3).Target(), 11);
}

struct TQuiet : IRunObserver {};

// Every individual of a fresh population of Problem against Expected(bits of the genes in order).
template <typename F>
void ExpectPopulationScores(IProblem& Problem, F Expected) {
  zp::TRandom random(static_cast<uint32_t>(Problem.Size()));
  TZPGeneticAlgorithm ga;
  ga.SetRandomSource(random);
  TQuiet quiet;
  TRunCore core(ga, Problem, quiet);
  core.ApplySettings(TGASettings{});
  core.Initialize();
  for (int i = 0; i < ga.Population().Count(); ++i) {
    TZPGAIndividual& item = ga.Population().Items(i);
    std::vector<int> bits;
    for (int g = 0; g < Problem.Size(); ++g) bits.push_back(ga.Genes().Items(g).DecodeInteger(item.Bits()) != 0);
    EXPECT_EQ(item.Fitness(), Expected(bits)) << Problem.Name() << " size " << Problem.Size() << " individual " << i;
  }
}

TEST(BitProblems, ScoreWholePopulationsAsTheirGenesRead) {
  for (int n : {2, 63, 64, 65, 130}) {
    TLeadingOnesProblem leading(n);
    ExpectPopulationScores(leading, [](const std::vector<int>& bits) {
      int ones = 0;
      while (ones < static_cast<int>(bits.size()) && bits[static_cast<size_t>(ones)] == 1) ++ones;
      return static_cast<double>(ones);
    });
  }
  for (int n : {7, 64, 130}) {
    TJumpProblem jump(n, 3);
    ExpectPopulationScores(jump, [n](const std::vector<int>& bits) {
      int ones = 0;
      for (int b : bits) ones += b;
      return TJumpProblem::Fitness(n, 3, ones);
    });
  }
}

TEST(BitProblems, ARunSolvesASmallInstanceOfEach) {
  for (const char* name : {"onemax", "leadingones", "jump:2"}) {
    const std::unique_ptr<IProblem> problem = ParseProblemName(name)->Make(12);
    TComparisonRequest request;
    request.Settings.Generations = 400;
    struct TSolved : IRunObserver {
      int solved = 0;
      void OnMethodFinished(const TMethodReport& Report) override { solved += Report.Solved ? 1 : 0; }
    } observer;
    RunComparison(*problem, request, observer);
    EXPECT_GT(observer.solved, 0) << name;
  }
}

TEST(ProblemCatalogue, NamesFunctionsAndSizes) {
  struct Case {
    const char* name;
    const char* tag;
    int32_t func_id;
    const char* func_name;
    const char* caption;
  };
  for (const Case& c :
       {Case{"nqueens", "nqueens", 1, "NQueens", "8 queens"}, Case{"onemax", "onemax", 2, "OneMax", "OneMax, size 8"},
        Case{"leadingones", "leadingones", 3, "LeadingOnes", "LeadingOnes, size 8"},
        Case{"jump:3", "jump3", 4, "Jump_3", "Jump_3, size 8"}}) {
    const auto chosen = ParseProblemName(c.name);
    ASSERT_TRUE(chosen) << c.name;
    EXPECT_EQ(chosen->Name(), c.name);
    EXPECT_EQ(chosen->FileTag(), c.tag);
    EXPECT_EQ(chosen->FuncId(), c.func_id);
    EXPECT_EQ(chosen->FuncName(), c.func_name);
    EXPECT_EQ(chosen->Caption(8), c.caption);
  }
  for (const char* bad :
       {"NQueens", "jump", "jump:", "jump:0", "jump:-1", "jump:+3", "jump: 3", "jump:3x", "jump:2048", "one max", ""})
    EXPECT_FALSE(ParseProblemName(bad)) << bad;

  EXPECT_EQ(ParseProblemName("nqueens")->SizeError(3), "3 is not a size of nqueens: 4 to 32");
  EXPECT_EQ(ParseProblemName("nqueens")->SizeError(32), "");
  EXPECT_EQ(ParseProblemName("onemax")->SizeError(1), "1 is not a size of onemax: 2 to 4096");
  EXPECT_EQ(ParseProblemName("leadingones")->SizeError(4097), "4097 is not a size of leadingones: 2 to 4096");
  EXPECT_EQ(ParseProblemName("onemax")->SizeError(4096), "");
  // Jump needs 2K < n, and n >= 4.
  EXPECT_EQ(ParseProblemName("jump:1")->SizeError(4), "");
  EXPECT_NE(ParseProblemName("jump:1")->SizeError(3), "");
  EXPECT_EQ(ParseProblemName("jump:3")->SizeError(7), "");
  EXPECT_EQ(ParseProblemName("jump:3")->SizeError(6),
            "6 is not a size of jump:3: 4 to 4096, and above twice its gap 3");
}

}  // namespace
