// The chart command of nqueens-ga and the workbench's fitness graph behind
// it: five captioned curves fed per generation, cleared at initialization,
// pictures at the asked size, and a clear error for unknown file types.
#include <gtest/gtest.h>

#include <QImage>
#include <QSvgRenderer>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chart/ZPChartPanel.h"
#include "cli/CliRunner.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

using namespace zp;

namespace {

struct TResult {
  int status;
  std::string out, err;
};

TResult RunTool(const std::vector<std::string>& Args) {
  std::ostringstream out, err;
  std::istringstream in;
  const int status = cli::RunCli(Args, out, err, in);
  return {status, out.str(), err.str()};
}

std::string TempFile(const std::string& Name) { return ::testing::TempDir() + "nqueens_chart_" + Name; }

}  // namespace

TEST(TFitnessGraph, FiveCurvesSetUpForTheGraphPage) {
  queens::TFitnessGraph g;
  chart::TZPChartPanel& p = g.Panel();
  EXPECT_EQ(p.LeftAxis().Title().Text(), "Fitness");
  EXPECT_EQ(p.BottomAxis().Title().Text(), "Generation");
  ASSERT_EQ(p.Charts().Count(), 5);
  const char* captions[] = {"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist"};
  const TColor brushes[] = {0x00FF00, 0x0000FF, 0x00FFFF, 0x00FFFF, 0x00FFFF};
  const TColor pens[] = {0x00FF00, 0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF};
  for (int i = 0; i < 5; ++i) {
    chart::TZPLineChart& s = g.Series(i);
    EXPECT_EQ(p.Charts().Items(i), &s);
    EXPECT_EQ(s.Caption(), captions[i]);
    EXPECT_EQ(s.Brush().Color(), brushes[i]);
    EXPECT_EQ(s.Pen().Color(), pens[i]);
    EXPECT_EQ(s.Color(), pens[i]);
    EXPECT_EQ(s.Options(), chart::TChartOptions{chart::TChartOption::coShowInLegend});
  }
  EXPECT_EQ(p.Legend().Lines().Count(), 5);
}

TEST(TFitnessGraph, TheWorkbenchFeedsAndClearsItsCurves) {
  queens::TQueensWorkbench wb;
  wb.FormCreate();
  wb.btnRunClick("5");
  queens::TFitnessGraph& g = wb.FitnessGraph();
  EXPECT_EQ(&wb.ChartPanel(), &g.Panel());
  EXPECT_EQ(g.Panel().LeftAxis().Maximum(), 28);  // the cutoff of 8 queens
  EXPECT_FALSE(g.Panel().LeftAxis().Options().Contains(chart::TAxisOption::axAutomaticMaximum));
  for (int i = 0; i < 5; ++i) {
    const auto& fed = wb.Graph().Points(i);
    chart::TZP2DChartValues& values = g.Series(i).Values();
    ASSERT_EQ(values.Count(), static_cast<int>(fed.size()));
    ASSERT_GT(values.Count(), 0);
    EXPECT_EQ(values.Items(0).X(), fed[0].X);
    EXPECT_EQ(values.Items(values.Count() - 1).Y(), fed.back().Y);
    EXPECT_EQ(values.Items(0).Caption(), "");
  }
  wb.SpinEdit1Change(12);
  EXPECT_EQ(g.Panel().LeftAxis().Maximum(), 66);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g.Series(i).Values().Count(), 0);
}

TEST(ChartCommand, WritesPngAndSvgAtTheAskedSize) {
  const std::string png = TempFile("graph.png"), svg = TempFile("graph.svg");
  const TResult r = RunTool({"--size", "640x360", "-e", "run 20; chart " + png + "; chart " + svg});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), QSize(640, 360));
  QSvgRenderer renderer(QString::fromStdString(svg));
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 640, 360));

  const TResult d = RunTool({"-e", "run 3; chart " + png});
  EXPECT_EQ(d.status, 0) << d.err;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), QSize(800, 500));
}

TEST(ChartCommand, AnUnknownPictureTypeIsAnErrorAndTheRestGoOn) {
  const std::string gif = TempFile("graph.gif"), png = TempFile("after.png");
  const TResult r = RunTool({"-e", "chart " + gif + "; chart " + png});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "error: line 1: cannot tell the picture type of \"" + gif + "\": use a file name ending in .png or .svg\n");
  EXPECT_FALSE(std::ifstream(gif).good());
  EXPECT_TRUE(std::ifstream(png).good());
}
