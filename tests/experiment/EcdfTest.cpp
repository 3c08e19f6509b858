#include <gtest/gtest.h>

#include "engine/SelectionMethods.h"
#include "experiment/Ecdf.h"

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

namespace {

TRunRow MakeRun(int32_t Queens, TGASelectionMethod Method, bool Solved, int32_t Generations) {
  TRunRow row;
  row.Size = Queens;
  row.Method = Method;
  row.Solved = Solved;
  if (Solved) row.HitGeneration = Generations;  // a solved run hit where it stopped
  row.Generations = Generations;
  return row;
}

// Eight queens, 10 generations:
//   roulette    solved at 3, 3 and 7, one unsolved   -> 0 until 3, 2/4 from 3, 3/4 from 7
//   tournament  three runs, none solved              -> flat at 0
//   elitist     solved at 10 and at 0 (the start)    -> 1/2 from 1, 1 from 10
// plus rows of 10 queens and of a method the workbench never runs, which do not count.
std::vector<TRunRow> Table() {
  using enum TGASelectionMethod;
  return {MakeRun(8, smElitist, true, 10),     MakeRun(8, smRoulette, true, 3), MakeRun(8, smRoulette, false, 10),
          MakeRun(8, smTournament, false, 10), MakeRun(8, smRoulette, true, 7), MakeRun(8, smTournament, false, 10),
          MakeRun(8, smElitist, true, 0),      MakeRun(8, smRoulette, true, 3), MakeRun(8, smTournament, false, 10),
          MakeRun(10, smRoulette, true, 1),    MakeRun(8, smCustom, true, 2)};
}

}  // namespace

TEST(RunLengthEcdfs, StepPointsPerMethodInWorkbenchOrder) {
  const std::vector<TEcdfCurve> curves = RunLengthEcdfs(Table(), TCell{"nqueens", 8, 0}, 10);
  ASSERT_EQ(curves.size(), 3u);
  EXPECT_EQ(curves[0].Method, TGASelectionMethod::smRoulette);
  EXPECT_EQ(curves[0].Runs, 4);
  EXPECT_EQ(curves[0].Steps, (std::vector<TEcdfPoint>{{1, 0}, {3, 0.5}, {7, 0.75}, {10, 0.75}}));
  EXPECT_EQ(curves[1].Method, TGASelectionMethod::smTournament);
  EXPECT_EQ(curves[1].Steps, (std::vector<TEcdfPoint>{{1, 0}, {10, 0}}));
  EXPECT_EQ(curves[2].Method, TGASelectionMethod::smElitist);
  EXPECT_EQ(curves[2].Steps, (std::vector<TEcdfPoint>{{1, 0.5}, {10, 1}}));

  // Cut at 5 generations, runs solved later do not count.
  EXPECT_EQ(RunLengthEcdfs(Table(), TCell{"nqueens", 8, 0}, 5)[0].Steps,
            (std::vector<TEcdfPoint>{{1, 0}, {3, 0.5}, {5, 0.5}}));
  EXPECT_EQ(RunLengthEcdfs(Table(), TCell{"nqueens", 10, 0}, 1)[0].Steps, (std::vector<TEcdfPoint>{{1, 1}}));
  EXPECT_TRUE(RunLengthEcdfs(Table(), TCell{"nqueens", 9, 0}, 10).empty());
  EXPECT_TRUE(RunLengthEcdfs(Table(), TCell{"nqueens", 8, 0}, 0).empty());
}

TEST(TEcdfChart, StairCurvesInTheMethodColoursOverFixedAxes) {
  TEcdfChart chart(Table(), TCell{"nqueens", 8, 0}, 10);
  auto& panel = chart.Panel();
  EXPECT_EQ(panel.Header().Text(), "8 queens");
  EXPECT_EQ(panel.BottomAxis().Title().Text(), "Generation");
  EXPECT_EQ(panel.BottomAxis().Minimum(), 1);
  EXPECT_EQ(panel.BottomAxis().Maximum(), 10);
  EXPECT_FALSE(panel.BottomAxis().Options().Contains(zp::chart::TAxisOption::axLogarithmic));
  EXPECT_EQ(panel.LeftAxis().Minimum(), 0);
  EXPECT_EQ(panel.LeftAxis().Maximum(), 1);
  EXPECT_FALSE(panel.LeftAxis().Options().Contains(zp::chart::TAxisOption::axAutomaticMinimum));
  EXPECT_FALSE(panel.LeftAxis().Options().Contains(zp::chart::TAxisOption::axAutomaticMaximum));

  ASSERT_EQ(chart.Curves().size(), 3u);
  const auto& elitist = *chart.Curves()[2];
  EXPECT_EQ(elitist.Caption(), "Elitist");
  EXPECT_EQ(elitist.Pen().Color(), zp::clFuchsia);
  EXPECT_EQ(elitist.LineStyle(), zp::chart::TLineChartStyle::lsStairStep);
  EXPECT_TRUE(elitist.Options().Contains(zp::chart::TChartOption::coShowInLegend));
  ASSERT_EQ(elitist.Values().Count(), 2);
  EXPECT_EQ(elitist.Values().Items(1).X(), 10);
  EXPECT_EQ(elitist.Values().Items(1).Y(), 1);
  EXPECT_EQ(chart.Curves()[1]->Caption(), "Tournament");
  EXPECT_EQ(chart.Curves()[1]->Pen().Color(), zp::clYellow);
}

TEST(TEcdfChart, GenerationAxisTurnsLogarithmicAtAThousand) {
  TEcdfChart short_run(Table(), TCell{"nqueens", 8, 0}, 999);
  EXPECT_FALSE(short_run.Panel().BottomAxis().Options().Contains(zp::chart::TAxisOption::axLogarithmic));
  TEcdfChart long_run(Table(), TCell{"nqueens", 8, 0}, 1000);
  EXPECT_TRUE(long_run.Panel().BottomAxis().Options().Contains(zp::chart::TAxisOption::axLogarithmic));
  EXPECT_EQ(long_run.Panel().BottomAxis().Maximum(), 1000);
  EXPECT_EQ(long_run.Panel().BottomAxis().Minimum(), 1);
}
