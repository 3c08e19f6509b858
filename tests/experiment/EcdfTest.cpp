#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/SelectionMethods.h"
#include "experiment/Ecdf.h"
#include "platform/RecordingCanvas.h"

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
  TEcdfChart chart(Table(), TCell{"nqueens", 8, 0}, 10, EcdfHeader("8 queens", 0));
  auto& panel = chart.Panel();
  EXPECT_EQ(panel.Header().Text(), "Run-length ECDF, 8 queens, configuration 0");
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
  EXPECT_EQ(elitist.Pen().Color(), zp::RGB(0xC0, 0x72, 0x9D));
  EXPECT_EQ(elitist.Pen().Width(), 2);
  EXPECT_EQ(elitist.LineStyle(), zp::chart::TLineChartStyle::lsStairStep);
  EXPECT_TRUE(elitist.Options().Contains(zp::chart::TChartOption::coShowInLegend));
  ASSERT_EQ(elitist.Values().Count(), 2);
  EXPECT_EQ(elitist.Values().Items(1).X(), 10);
  EXPECT_EQ(elitist.Values().Items(1).Y(), 1);
  EXPECT_EQ(chart.Curves()[1]->Caption(), "Tournament");
  EXPECT_EQ(chart.Curves()[1]->Pen().Color(), zp::RGB(0x00, 0x72, 0xB2));
}

TEST(TEcdfChart, GenerationAxisTurnsLogarithmicAtAThousand) {
  TEcdfChart short_run(Table(), TCell{"nqueens", 8, 0}, 999, "");
  EXPECT_FALSE(short_run.Panel().BottomAxis().Options().Contains(zp::chart::TAxisOption::axLogarithmic));
  TEcdfChart long_run(Table(), TCell{"nqueens", 8, 0}, 1000, "");
  EXPECT_TRUE(long_run.Panel().BottomAxis().Options().Contains(zp::chart::TAxisOption::axLogarithmic));
  // By decades: 1, 10, 100, 1,000.
  EXPECT_EQ(long_run.Panel().BottomAxis().LogarithmicType(), zp::chart::TZPLogarithmicType::ltDecades);
  EXPECT_TRUE(long_run.Panel().BottomAxis().DecadeTicks());
  EXPECT_EQ(long_run.Panel().BottomAxis().Maximum(), 1000);
  EXPECT_EQ(long_run.Panel().BottomAxis().Minimum(), 1);
}

TEST(TEcdfChart, TheHeaderIsTheCallersText) {
  EXPECT_EQ(EcdfHeader("8 queens", 0), "Run-length ECDF, 8 queens, configuration 0");
  EXPECT_EQ(EcdfHeader("OneMax, size 64", 3), "Run-length ECDF, OneMax, size 64, configuration 3");
  TEcdfChart chart(Table(), TCell{"nqueens", 8, 0}, 10, "Any text");
  EXPECT_EQ(chart.Panel().Header().Text(), "Any text");
}

// At one generation the axis runs from 0 to 1 and each curve's one step is
// drawn across the plot: the elitist's 1/2 (a hit in the start population).
TEST(TEcdfChart, OneGenerationDrawsItsOneStep) {
  TEcdfChart chart(Table(), TCell{"nqueens", 8, 0}, 1, EcdfHeader("8 queens", 0));
  zp::chart::TZPChartPanel& panel = chart.Panel();
  EXPECT_EQ(panel.BottomAxis().Minimum(), 0);
  EXPECT_EQ(panel.BottomAxis().Maximum(), 1);
  ASSERT_EQ(chart.Curves().size(), 3u);
  const auto& elitist = *chart.Curves()[2];
  ASSERT_EQ(elitist.Values().Count(), 2);
  EXPECT_EQ(elitist.Values().Items(0).Y(), 0.5);
  EXPECT_EQ(elitist.Values().Items(1).Y(), 0.5);

  zp::TRecordingCanvas c;
  panel.Paint(c, zp::Rect(0, 0, 400, 250));
  const zp::TRect plot = panel.PlotRect();
  const int half = panel.LeftAxis().ValueToPixel(plot, 0.5);
  bool across = false;
  for (const zp::TCanvasCall& call : c.CallsOf("Polyline")) {
    if (call.Points.size() < 2) continue;
    const bool level =
        std::all_of(call.Points.begin(), call.Points.end(), [&](const zp::TPoint& p) { return p.Y == half; });
    const auto [lo, hi] = std::minmax_element(call.Points.begin(), call.Points.end(),
                                              [](const zp::TPoint& a, const zp::TPoint& b) { return a.X < b.X; });
    across = across || (level && lo->X == plot.Left && hi->X == plot.Right);
  }
  EXPECT_TRUE(across);
  // Whole generations: the axis is labelled 0 and 1 only.
  std::vector<std::string> bottom;
  for (const zp::TCanvasCall& call : c.CallsOf("TextOut"))
    if (call.Points[0].Y > plot.Bottom && call.Points[0].Y < 240 && !call.Text.empty() && call.Text != "Generation")
      bottom.push_back(call.Text);
  EXPECT_EQ(bottom, (std::vector<std::string>{"1", "0"}));
}

// Neither axis' labels overlap in a 400 x 250 picture, on the decade axis of
// 1 .. 1,200 and of 1 .. 10^6 alike; the fraction axis keeps its 1 at the top.
TEST(TEcdfChart, NoLabelsOverlapAtFourHundredByTwoHundredFifty) {
  for (const int32_t generations : {1200, 1000000}) {
    SCOPED_TRACE(generations);
    TEcdfChart chart(Table(), TCell{"nqueens", 8, 0}, generations, EcdfHeader("8 queens", 0));
    zp::chart::TZPChartPanel& panel = chart.Panel();
    zp::TRecordingCanvas c;
    panel.Paint(c, zp::Rect(0, 0, 400, 250));
    const zp::TRect plot = panel.PlotRect();
    c.Font().Assign(panel.BottomAxis().Labels().Font());
    struct TBox {
      std::string Text;
      zp::TRect Box;
    };
    std::vector<TBox> bottom, left;
    for (const zp::TCanvasCall& call : c.CallsOf("TextOut")) {
      if (call.Text.empty()) continue;
      const zp::TSize size = c.TextExtent(call.Text);
      const zp::TPoint at = call.Points[0];
      const zp::TRect box = zp::Rect(at.X, at.Y, at.X + size.cx, at.Y + size.cy);
      if (at.Y > plot.Bottom && at.X >= plot.Left - size.cx && call.Text != "Generation")
        bottom.push_back({call.Text, box});
      if (at.X < plot.Left && at.Y <= plot.Bottom && call.Text.find_first_not_of("0123456789.") == std::string::npos)
        left.push_back({call.Text, box});
    }
    std::vector<std::string> texts;
    for (const TBox& b : bottom) texts.push_back(b.Text);
    if (generations == 1200) {
      EXPECT_EQ(texts, (std::vector<std::string>{"1,000", "100", "10", "1"}));
    }
    ASSERT_GE(bottom.size(), 3u);
    EXPECT_EQ(bottom.back().Text, "1");
    std::vector<std::string> fractions;
    for (const TBox& b : left) fractions.push_back(b.Text);
    EXPECT_EQ(fractions, (std::vector<std::string>{"1", "0.8", "0.6", "0.4", "0.2", "0"}));
    for (size_t i = 0; i < bottom.size(); ++i)
      for (size_t j = 0; j < i; ++j)
        EXPECT_TRUE(bottom[i].Box.Right < bottom[j].Box.Left || bottom[j].Box.Right < bottom[i].Box.Left)
            << bottom[i].Text << " and " << bottom[j].Text;
    ASSERT_GE(left.size(), 2u);
    EXPECT_EQ(left.front().Text, "1");
    for (size_t i = 0; i < left.size(); ++i)
      for (size_t j = 0; j < i; ++j)
        EXPECT_TRUE(left[i].Box.Bottom < left[j].Box.Top || left[j].Box.Bottom < left[i].Box.Top)
            << left[i].Text << " and " << left[j].Text;
  }
}
