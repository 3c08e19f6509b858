#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "experiment/RunRow.h"

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

TEST(FormatRunRow, WritesTheFieldsInHeaderOrder) {
  TRunRow row;
  row.Queens = 12;
  row.Repeat = 29;
  row.Seed = 4000000000u;  // above the signed range: still written unsigned
  row.Method = TGASelectionMethod::smStochasticTournament;
  row.Solved = true;
  row.Generations = 431;
  row.Evaluations = int64_t{48} * 432;
  row.MaxFitness = 66;
  row.AvgFitness = 1.0 / 24.0;
  row.MinFitness = 0.00005;
  row.BestEver = 66;
  row.Fittest = "0101";
  EXPECT_EQ(FormatRunRow(row),
            "12,29,4000000000,smStochasticTournament,1,431,20736,66,0.0416666666666667,5E-5,66,0101");
  const std::string line = FormatRunRow(row);
  EXPECT_EQ(std::count(line.begin(), line.end(), ','),
            std::count(kRunsCsvHeader, kRunsCsvHeader + std::strlen(kRunsCsvHeader), ','));
}

TEST(MethodRank, FollowsTheWorkbenchOrderAndExcludesCustom) {
  EXPECT_EQ(MethodRank(TGASelectionMethod::smRoulette), 0u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smRandom), 1u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smTournament), 2u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smStochasticTournament), 3u);
  EXPECT_EQ(MethodRank(TGASelectionMethod::smElitist), 4u);
  EXPECT_FALSE(MethodRank(TGASelectionMethod::smCustom).has_value());
}
