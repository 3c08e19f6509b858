#include <gtest/gtest.h>

#include "experiment/FixedBudget.h"
#include "experiment/RecordedRuns.h"
#include "experiment/TwoRunExperiment.h"

namespace zp::experiment {
namespace {

using enum ga::TGASelectionMethod;

// By hand from the fixture's traces (population 16): roulette's runs stand at
// 4 and 2 at generation 0, 4 and 3 at 1, 4 and 4.5 at 2, 5 and 4.5 at 3, 5 and 6
// from 4 on; elitist's at 4 and 6, 5 and 6, then 6 and 6 (its second run ended at once).
TEST(FixedBudgetCurves, MedianAndQuartilesOfBestSoFarPerGeneration) {
  const auto rows = ParseRunsCsv(fixture::kTwoRunRunsCsv);
  const auto traces = ParseTracesCsv(fixture::kTwoRunTracesCsv);
  const std::vector<TBudgetCurve> curves = FixedBudgetCurves(rows, traces, 5);
  ASSERT_EQ(curves.size(), 2u);
  EXPECT_EQ(curves[0].Method, smRoulette);
  EXPECT_EQ(curves[1].Method, smElitist);
  EXPECT_EQ(curves[0].Points, (std::vector<TBudgetPoint>{{16, 2.5, 3, 3.5},
                                                         {32, 3.25, 3.5, 3.75},
                                                         {48, 4.125, 4.25, 4.375},
                                                         {64, 4.625, 4.75, 4.875},
                                                         {80, 5.25, 5.5, 5.75},
                                                         {96, 5.25, 5.5, 5.75}}));
  EXPECT_EQ(curves[1].Points[0], (TBudgetPoint{16, 4.5, 5, 5.5}));
  EXPECT_EQ(curves[1].Points[5], (TBudgetPoint{96, 6, 6, 6}));
}

TEST(FixedBudgetCurves, LongRunsAreThinnedKeepingBothEnds) {
  const auto rows = ParseRunsCsv(fixture::kTwoRunRunsCsv);
  const auto traces = ParseTracesCsv(fixture::kTwoRunTracesCsv);
  const std::vector<TBudgetCurve> curves = FixedBudgetCurves(rows, traces, 10000);
  ASSERT_EQ(curves.size(), 2u);
  ASSERT_EQ(curves[0].Points.size(), static_cast<size_t>(kBudgetPoints));
  EXPECT_EQ(curves[0].Points.front().Evaluations, 16);
  EXPECT_EQ(curves[0].Points.back().Evaluations, 16 * 10001);
  EXPECT_TRUE(FixedBudgetCurves({}, traces, 5).empty());
}

}  // namespace
}  // namespace zp::experiment
