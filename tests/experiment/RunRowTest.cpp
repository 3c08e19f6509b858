#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "experiment/RunRow.h"

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

TEST(FormatRunRow, WritesTheFieldsInHeaderOrder) {
  TRunRow row;
  row.Size = 12;
  row.Repeat = 29;
  row.Seed = 4000000000u;  // above the signed range: still written unsigned
  row.Method = TGASelectionMethod::smStochasticTournament;
  row.Solved = true;
  row.HitGeneration = 431;
  row.Generations = 431;
  row.Evaluations = int64_t{48} * 432;
  row.MaxFitness = 66;
  row.AvgFitness = 1.0 / 24.0;
  row.MinFitness = 0.00005;
  row.BestEver = 66;
  row.Fittest = "0101";
  EXPECT_EQ(FormatRunRow(row),
            "nqueens,12,0,29,4000000000,smStochasticTournament,1,431,431,20736,66,0.0416666666666667,5E-5,66,0101");
  const std::string line = FormatRunRow(row);
  EXPECT_EQ(std::count(line.begin(), line.end(), ','),
            std::count(kRunsCsvHeader, kRunsCsvHeader + std::strlen(kRunsCsvHeader), ','));
  // A run that never hit has an empty hit_generation.
  row.Solved = false;
  row.HitGeneration.reset();
  EXPECT_EQ(FormatRunRow(row),
            "nqueens,12,0,29,4000000000,smStochasticTournament,0,,431,20736,66,0.0416666666666667,5E-5,66,0101");
}

TEST(RunLength, IsTheHitGenerationOrAllGenerationsAndCostsPopulationTimesOnePlusIt) {
  TRunRow row;
  row.Population = 32;
  row.Generations = 100;
  EXPECT_EQ(RunLength(row), 100);
  EXPECT_EQ(SpentEvaluations(row), 32 * 101);
  // A start population that held a solution costs its own scoring only,
  // however many generations the run went on for.
  row.HitGeneration = 0;
  row.Generations = 1;
  EXPECT_EQ(RunLength(row), 0);
  EXPECT_EQ(SpentEvaluations(row), 32);
}

TEST(MethodRank, FollowsTheWorkbenchOrderAndExcludesCustom) {
  EXPECT_EQ(MethodRank(TGASelectionMethod::smRoulette), 0u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smRandom), 1u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smTournament), 2u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smStochasticTournament), 3u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smElitist), 4u);
  EXPECT_FALSE(MethodRank(TGASelectionMethod::smCustom).has_value());
}
