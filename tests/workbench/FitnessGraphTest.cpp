// The run's per-generation reports and the fitness graph that plots them:
// five captioned curves, cleared at initialization; a workbench with no
// graph reports the same generations as one with a graph; the graph's CSV is
// the plot of those reports, curve by curve, since the last initialization.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Numbers.h"
#include "platform/Random.h"
#include "platform/RecordingCanvas.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

using namespace zp;
using ga::TGASelectionMethod;
using queens::TFitnessGraph;
using queens::TGenerationReport;
using queens::TQueensWorkbench;

namespace {

// Everything an observer is told, in order: a reset carries its cutoff, a generation its report.
struct TEvent {
  bool Reset = false;
  double Cutoff = 0;
  TGenerationReport Report{};
  bool operator==(const TEvent&) const = default;
};

struct TRecorder : queens::IRunObserver {
  std::vector<TEvent> events;
  void OnCurvesReset(double Cutoff) override { events.push_back({true, Cutoff, {}}); }
  void OnGeneration(const TGenerationReport& Report) override { events.push_back({false, 0, Report}); }
  int Generations() const {
    int n = 0;
    for (const TEvent& e : events) n += !e.Reset;
    return n;
  }
};

// The session both workbenches go through: runs with the Graph box on and
// off, a second run counting on, and a re-initialization at another size.
void PlaySession(TQueensWorkbench& wb) {
  wb.FormCreate();
  wb.SpinEdit1Change(6);
  wb.btnRunClick("6");
  wb.cbGraphClick(false);
  wb.btnRunClick("3");
  wb.cbGraphClick(true);
  wb.btnRunClick("4");
  wb.SpinEdit1Change(7);
  wb.btnRunClick("5");
}

// The rows a plot of Events gives: each generation's best fitness on its
// method's curve, every curve emptied by a reset, curves written in run order.
std::string PlottedCsv(const std::vector<TEvent>& Events) {
  const std::pair<TGASelectionMethod, const char*> curves[] = {
      {TGASelectionMethod::smRoulette, "Roulette"},
      {TGASelectionMethod::smRandom, "Random"},
      {TGASelectionMethod::smTournament, "Tournament"},
      {TGASelectionMethod::smStochasticTournament, "Stochastic Tournament"},
      {TGASelectionMethod::smElitist, "Elitist"}};
  std::array<std::string, 5> rows;
  for (const TEvent& e : Events) {
    if (e.Reset) rows.fill("");
    for (size_t c = 0; c < rows.size(); ++c)
      if (!e.Reset && curves[c].first == e.Report.Method)
        rows[c] += std::string(curves[c].second) + "," + FormatFloat15(e.Report.Generation) + "," +
                   FormatFloat15(e.Report.MaxFitness) + "\n";
  }
  std::string csv = "method,generation,fitness\n";
  for (const std::string& r : rows) csv += r;
  return csv;
}

}  // namespace

TEST(TFitnessGraph, FiveCurvesSetUpForTheGraphPage) {
  TFitnessGraph g;
  chart::TZPChartPanel& p = g.Panel();
  EXPECT_EQ(p.LeftAxis().Title().Text(), "Fitness");
  EXPECT_EQ(p.BottomAxis().Title().Text(), "Generation");
  EXPECT_TRUE(p.LeftAxis().Options().Contains(chart::TAxisOption::axAutomaticMaximum));
  ASSERT_EQ(p.Charts().Count(), 5);
  const char* captions[] = {"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist"};
  // The method palette (colour-blind safe; Elitist darkened for 3:1 against the gradient's yellow), as pen and brush.
  const TColor pens[] = {RGB(0xD5, 0x5E, 0x00), RGB(0x7F, 0x7F, 0x7F), RGB(0x00, 0x72, 0xB2), RGB(0x00, 0x9E, 0x73),
                         RGB(0xC0, 0x72, 0x9D)};
  const TColor* brushes = pens;
  for (int i = 0; i < 5; ++i) {
    chart::TZPLineChart& s = g.Series(i);
    EXPECT_EQ(p.Charts().Items(i), &s);
    EXPECT_EQ(s.Caption(), captions[i]);
    EXPECT_EQ(s.Brush().Color(), brushes[i]);
    EXPECT_EQ(s.Pen().Color(), pens[i]);
    EXPECT_EQ(s.Color(), pens[i]);
    EXPECT_EQ(s.Pen().Width(), 2);
    EXPECT_EQ(s.Options(), chart::TChartOptions{chart::TChartOption::coShowInLegend});
    EXPECT_EQ(queens::CurveOf(ga::MethodOrder()[static_cast<size_t>(i)]), i);
  }
  EXPECT_EQ(p.Legend().Lines().Count(), 5);
  EXPECT_EQ(g.Csv(), "method,generation,fitness\n");
  // Curves hidden from the legend stay listed there, to be shown again.
  EXPECT_TRUE(p.UserActions().Contains(chart::TChartUserAction::cuaLegendToggle));
  EXPECT_TRUE(p.Legend().ListHiddenSeries());
  for (int i = 1; i < 5; ++i) g.Series(i).SetVisible(false);
  EXPECT_EQ(p.Legend().Lines().Count(), 5);
  EXPECT_EQ(p.Legend().Lines().Strings(4), "Elitist");
}

// The graph as drawn: left and bottom axes with their room, the top and
// right ones hidden (10 pixels of room each), the legend at the right.
TEST(TFitnessGraph, LayoutOfTheGraphPage) {
  TFitnessGraph g;
  g.OnHeading({"8 queens", 0, queens::TRandomStreams::rsContinued});  // the footer shows from the first heading on
  chart::TZPChartPanel& p = g.Panel();
  for (int i = 0; i < 5; ++i) g.Series(i).Values().AddPoint(i + 1, 20 + i);
  std::map<std::string, TRect> drawn;
  auto watch = [&](chart::TZPChartGraphic& e, const std::string& name) {
    e.OnDraw = [&drawn, name](chart::TZPChartGraphic&, TCanvas&, TRect r) { drawn[name] = r; };
  };
  watch(p.BottomAxis(), "bottom");
  watch(p.LeftAxis(), "left");
  watch(p.TopAxis(), "top");
  watch(p.RightAxis(), "right");
  watch(p.Header(), "header");
  watch(p.Legend(), "legend");
  TRecordingCanvas c;
  p.Paint(c, Rect(0, 0, 800, 500));

  EXPECT_TRUE(p.LeftAxis().Visible());
  EXPECT_TRUE(p.BottomAxis().Visible());
  EXPECT_FALSE(p.TopAxis().Visible());
  EXPECT_FALSE(p.RightAxis().Visible());
  EXPECT_EQ(drawn.count("top") + drawn.count("right"), 0u);  // neither is drawn
  // Margins 3, 4 and the one-pixel bevel; the header strip below.
  const int header_bottom = 4 + 1 + p.Header().Height();
  const TRect plot = p.PlotRect();
  EXPECT_EQ(plot.Top, header_bottom + 10);  // hidden top axis: 10 pixels
  // The legend box at the right edge, the plot ending 10 pixels before it.
  int item_width = 0;
  c.Font().Assign(p.Legend().Font());
  const TRect legend = p.Legend().CalcRect(c, drawn.at("legend"), item_width);
  EXPECT_EQ(legend.Right, 800 - 3 - 1);
  EXPECT_EQ(legend.Top, header_bottom);
  EXPECT_EQ(plot.Right, legend.Left - 10);
  // The left and bottom axes take the room they measured: title, labels, ticks.
  const TRect left = drawn.at("left"), bottom = drawn.at("bottom");
  EXPECT_EQ(left.Left, 3 + 1);
  EXPECT_EQ(bottom.Bottom, 500 - 4 - 1 - p.Footer().Height());
  p.LeftAxis().Measure(c, Rect(left.Left, header_bottom, legend.Left, bottom.Bottom));
  p.BottomAxis().Measure(c, Rect(left.Left, header_bottom, legend.Left, bottom.Bottom));
  EXPECT_EQ(plot.Left, left.Left + p.LeftAxis().UsedWidth());
  EXPECT_EQ(plot.Bottom, bottom.Bottom - p.BottomAxis().UsedHeight());
  EXPECT_GT(p.LeftAxis().UsedWidth(), 10);
  EXPECT_GT(p.BottomAxis().UsedHeight(), 10);
  EXPECT_EQ(bottom.Right, plot.Right);
  EXPECT_EQ(drawn.at("left").Top, plot.Top);
  // Every curve is drawn inside the plot.
  for (const TCanvasCall& call : c.CallsOf("Polyline"))
    if (call.Points.size() == 2 && call.Points[0].Y >= plot.Top)
      for (const TPoint& pt : call.Points) {
        EXPECT_GE(pt.X, plot.Left);
        EXPECT_LE(pt.X, plot.Right);
      }
}

TEST(TFitnessGraph, TheWorkbenchFeedsAndClearsItsCurves) {
  TQueensWorkbench wb;
  TFitnessGraph g;
  wb.Attach(g);
  wb.FormCreate();
  wb.btnRunClick("5");
  EXPECT_EQ(g.Panel().LeftAxis().Maximum(), 28);  // the cutoff of 8 queens
  EXPECT_FALSE(g.Panel().LeftAxis().Options().Contains(chart::TAxisOption::axAutomaticMaximum));
  for (int i = 0; i < 5; ++i) {
    const chart::TZP2DChartValues& values = g.Series(i).Values();
    const std::vector<queens::TGraphPoint> points = g.Points(i);
    ASSERT_EQ(values.Count(), static_cast<int>(points.size()));
    ASSERT_GT(values.Count(), 0);
    EXPECT_EQ(values.Items(0).X(), 1);
    EXPECT_EQ(values.Items(values.Count() - 1).Y(), points.back().Y);
    EXPECT_EQ(values.Items(0).Caption(), "");
  }
  wb.SpinEdit1Change(12);
  EXPECT_EQ(g.Panel().LeftAxis().Maximum(), 66);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g.Series(i).Values().Count(), 0);
}

// A second run restarts every method at the generation the first run's last
// method reached: a curve that went further gets points amid its own. The
// line is drawn by generation; the CSV lists the points as they came.
TEST(TFitnessGraph, PointsKeepTheirArrivalOrderWhileTheLineIsSortedByGeneration) {
  TFitnessGraph g;
  g.OnCurvesReset(15);
  for (int gen = 1; gen <= 3; ++gen) g.OnGeneration({TGASelectionMethod::smRandom, gen, 10.0 + gen, 0, 0});
  for (int gen = 2; gen <= 3; ++gen) g.OnGeneration({TGASelectionMethod::smRandom, gen, 20.0 + gen, 0, 0});
  std::vector<double> drawn;
  for (int i = 0; i < g.Series(1).Values().Count(); ++i) drawn.push_back(g.Series(1).Values().Items(i).X());
  EXPECT_EQ(drawn, (std::vector<double>{1, 2, 2, 3, 3}));
  EXPECT_EQ(g.Csv(), "method,generation,fitness\nRandom,1,11\nRandom,2,12\nRandom,3,13\nRandom,2,22\nRandom,3,23\n");

  // A reset starts the count again.
  g.OnCurvesReset(15);
  g.OnGeneration({TGASelectionMethod::smRandom, 7, 9, 0, 0});
  g.OnGeneration({TGASelectionMethod::smRandom, 5, 8, 0, 0});
  EXPECT_EQ(g.Csv(), "method,generation,fitness\nRandom,7,9\nRandom,5,8\n");
}

TEST(TFitnessGraph, GenerationsOfAMethodOutsideTheRunAreNotPlotted) {
  TFitnessGraph g;
  g.OnGeneration({TGASelectionMethod::smCustom, 1, 5, 4, 3});
  g.OnGeneration({TGASelectionMethod::smElitist, 2, 7, 6, 5});
  EXPECT_EQ(g.Csv(), "method,generation,fitness\nElitist,2,7\n");
}

// A run reports to whoever listens and to nobody alike: the same draws, the
// same reports, and the graph holds exactly the plot of those reports.
TEST(TQueensWorkbench, WithoutAGraphTheSameGenerationsAreReported) {
  const uint32_t saved = GlobalRandom().Seed();
  GlobalRandom().SetSeed(12345);
  TQueensWorkbench bare;
  TRecorder bare_events;
  bare.Attach(bare_events);
  bare.Attach(bare_events);  // once is enough
  PlaySession(bare);
  const uint32_t bare_seed = GlobalRandom().Seed();

  GlobalRandom().SetSeed(12345);
  TQueensWorkbench plotted;
  TFitnessGraph graph;
  TRecorder plotted_events;
  plotted.Attach(graph);
  plotted.Attach(plotted_events);
  PlaySession(plotted);
  EXPECT_EQ(GlobalRandom().Seed(), bare_seed);
  GlobalRandom().SetSeed(saved);

  EXPECT_EQ(bare.Log(), plotted.Log());
  EXPECT_EQ(bare_events.events, plotted_events.events);
  EXPECT_EQ(graph.Csv(), PlottedCsv(plotted_events.events));

  // Each method block of a graphed run is told as one report per generation
  // evolved, the last one carrying the block's numbers; the run with the
  // Graph box off (the second) reports nothing.
  const std::vector<std::string>& log = plotted.Log();
  auto after = [](const std::string& line, const std::string& prefix) { return line.substr(prefix.size()); };
  std::vector<TGenerationReport> reports;
  for (const TEvent& e : plotted_events.events)
    if (!e.Reset) reports.push_back(e.Report);
  size_t next = 0;
  int block = 0, start = 0, last = 0;
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i].rfind("Selection Method: ", 0) != 0) continue;
    const int run = block++ / 5;
    if (block % 5 == 1) start = run == 3 ? 0 : last;  // the fourth run follows a re-initialization
    last = std::stoi(after(log[i + 1], "Number of generations:"));
    if (run == 1) continue;
    SCOPED_TRACE("block " + std::to_string(block));
    for (int g = start + 1; g <= last; ++g, ++next) {
      ASSERT_LT(next, reports.size());
      EXPECT_EQ(ga::ToString(reports[next].Method), after(log[i], "Selection Method: "));
      EXPECT_EQ(reports[next].Generation, g);
    }
    ASSERT_GT(last, start);
    const TGenerationReport& end = reports[next - 1];
    EXPECT_EQ(FormatFloat15(end.AvgFitness), after(log[i + 4], "Avg Fitness:"));
    EXPECT_EQ(FormatFloat15(end.MinFitness), after(log[i + 5], "Min Fitness:"));
    EXPECT_EQ(FormatFloat15(end.MaxFitness), after(log[i + 6], "Max Fitness:"));
  }
  EXPECT_EQ(block, 20);
  EXPECT_EQ(next, reports.size());
  // Resets: the first initialization at 6 queens (cutoff 15) and the one at 7 (cutoff 21).
  std::vector<double> cutoffs;
  for (const TEvent& e : plotted_events.events)
    if (e.Reset) cutoffs.push_back(e.Cutoff);
  EXPECT_EQ(cutoffs, (std::vector<double>{15, 21}));
}

TEST(TQueensWorkbench, ObserversAreToldInTheOrderAttachedUntilDetached) {
  TQueensWorkbench wb;
  std::vector<std::string> heard;
  struct TNamed : queens::IRunObserver {
    std::vector<std::string>& heard;
    std::string name;
    TNamed(std::vector<std::string>& Heard, std::string Name) : heard(Heard), name(std::move(Name)) {}
    void OnCurvesReset(double) override { heard.push_back(name + " reset"); }
    void OnGeneration(const TGenerationReport&) override { heard.push_back(name + " generation"); }
  } first(heard, "first"), second(heard, "second");
  wb.Attach(first);
  wb.Attach(second);
  wb.FormCreate();
  wb.SpinEdit1Change(4);
  wb.Algorithm().Evolve();
  wb.Detach(first);
  wb.Detach(first);  // no longer attached: ignored
  wb.Algorithm().Evolve();
  EXPECT_EQ(heard, (std::vector<std::string>{"first reset", "second reset", "first generation", "second generation",
                                             "second generation"}));
}

// The graph's header names the problem at its size, its footer the seed the
// start population was drawn from and the streams of the Run shown.
TEST(TFitnessGraph, HeaderAndFooterSayWhatIsShown) {
  using queens::TRandomStreams;
  TRandom random(0);
  TQueensWorkbench wb(random);
  TFitnessGraph g;
  wb.Attach(g);
  chart::TZPChartPanel& p = g.Panel();
  EXPECT_EQ(p.Header().Text(), "Best fitness per generation");
  EXPECT_FALSE(p.Footer().Visible());

  wb.SpinEdit1Change(8);  // as nqueens-ga -q 8
  wb.btnRunClick("5");
  EXPECT_EQ(p.Header().Text(), "Best fitness per generation, 8 queens");
  EXPECT_EQ(p.Footer().Text(), "seed 0, streams continued");
  EXPECT_TRUE(p.Footer().Visible());
  // The setting alone does not change what the curves shown were run with; the next Run does.
  wb.SetStreams(TRandomStreams::rsShared);
  EXPECT_EQ(p.Footer().Text(), "seed 0, streams continued");
  wb.btnRunClick("5");
  EXPECT_EQ(p.Footer().Text(), "seed 0, streams shared");

  // A new start population is drawn from the source's state at that moment, and
  // a workbench started there draws the same curves.
  const uint32_t state = random.Seed();
  wb.SpinEdit1Change(10);
  wb.btnRunClick("5");
  EXPECT_EQ(p.Header().Text(), "Best fitness per generation, 10 queens");
  EXPECT_EQ(p.Footer().Text(), "seed " + std::to_string(state) + ", streams shared");
  TRandom again(state);
  TQueensWorkbench replay(again);
  TFitnessGraph replayed;
  replay.Attach(replayed);
  replay.SetStreams(TRandomStreams::rsShared);
  replay.SpinEdit1Change(10);
  replay.btnRunClick("5");
  EXPECT_EQ(replayed.Csv(), g.Csv());
  EXPECT_EQ(replayed.Panel().Footer().Text(), p.Footer().Text());

  // A loaded population came from no seed.
  const std::string file = testing::TempDir() + "nqueens_graph_heading.xml";
  wb.SaveAll(file);
  TQueensWorkbench loader(again);
  TFitnessGraph loaded;
  loader.Attach(loaded);
  loader.FormCreate();
  try {
    loader.LoadAll(file);
  } catch (const std::exception& e) {
    GTEST_SKIP() << e.what();
  }
  EXPECT_EQ(loaded.Panel().Header().Text(), "Best fitness per generation, 10 queens");
  EXPECT_EQ(loaded.Panel().Footer().Text(), "loaded population, streams continued");
  loader.btnRunClick("5");
  EXPECT_EQ(loaded.Panel().Footer().Text(), "loaded population, streams continued");
  EXPECT_EQ(queens::GraphFooter({"OneMax, size 64", 7, TRandomStreams::rsShared}), "seed 7, streams shared");
  EXPECT_EQ(queens::GraphHeader({"OneMax, size 64", 7, TRandomStreams::rsShared}),
            "Best fitness per generation, OneMax, size 64");
}

namespace {

// WCAG 2 relative luminance and contrast ratio.
double Luminance(TColor C) {
  auto channel = [](uint8_t V) {
    const double c = V / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(C)) + 0.7152 * channel(GetGValue(C)) + 0.0722 * channel(GetBValue(C));
}

double Contrast(TColor A, TColor B) {
  const double a = Luminance(A), b = Luminance(B);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace

// Every method colour stands out at 3:1 or more from both ends of the graph's
// gradient, which stays (yellow to white); no two methods share a colour.
TEST(MethodPalette, EveryColourStandsOutFromBothEndsOfTheGradient) {
  EXPECT_NEAR(Contrast(clBlack, clWhite), 21, 1e-9);
  TFitnessGraph g;
  const chart::TZPChartGradient& gradient = g.Panel().Gradient();
  EXPECT_TRUE(gradient.Visible());
  EXPECT_EQ(gradient.StartColor(), clYellow);
  EXPECT_EQ(gradient.EndColor(), clWhite);
  for (size_t i = 0; i < ga::kMethodCount; ++i) {
    const ga::TSelectionMethodInfo& m = ga::kSelectionMethods[i];
    SCOPED_TRACE(std::string(m.Caption));
    EXPECT_GE(Contrast(m.Color, gradient.StartColor()), 3.0);
    EXPECT_GE(Contrast(m.Color, gradient.EndColor()), 3.0);
    EXPECT_EQ(g.Series(static_cast<int>(i)).Pen().Color(), m.Color);
    EXPECT_EQ(g.Series(static_cast<int>(i)).Pen().Width(), ga::kMethodLineWidth);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(ga::kSelectionMethods[j].Color, m.Color);
  }
  // The darkest of the five against the yellow: Tournament's blue, 4.83:1; the least, Stochastic's green, 3.19:1.
  EXPECT_NEAR(Contrast(ga::kSelectionMethods[2].Color, clYellow), 4.83, 0.01);
  EXPECT_NEAR(Contrast(ga::kSelectionMethods[3].Color, clYellow), 3.19, 0.01);
}
