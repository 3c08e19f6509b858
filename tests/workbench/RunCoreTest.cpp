// The run core: one comparison run over a problem, driven without the window's
// model. It runs exactly what the workbench runs, builds the log's lines only
// for an observer that asks, takes typed settings and ends at a stop request
// without reporting the method it stopped.
#include <gtest/gtest.h>

#include <stop_token>
#include <string>
#include <vector>

#include "platform/Numbers.h"
#include "platform/Random.h"
#include "workbench/ComparisonRun.h"
#include "workbench/QueensProblem.h"
#include "workbench/QueensWorkbench.h"

namespace {

using namespace zp::queens;
using zp::ga::TGASelectionMethod;

struct TRecorder : IRunObserver {
  bool wants_log = false;
  std::vector<std::string> log;
  std::vector<TGenerationReport> starts;
  std::vector<TGenerationReport> generations;
  std::vector<TMethodReport> methods;
  int resets = 0;
  bool WantsLog() const override { return wants_log; }
  void OnLog(const std::string& Line) override { log.push_back(Line); }
  void OnCurvesReset(double) override { ++resets; }
  void OnMethodStarted(const TGenerationReport& Report) override { starts.push_back(Report); }
  void OnGeneration(const TGenerationReport& Report) override { generations.push_back(Report); }
  void OnMethodFinished(const TMethodReport& Report) override { methods.push_back(Report); }
};

TEST(RunCore, RunsWhatTheWorkbenchRunsForEverySeedSizeAndStreamsMode) {
  for (TRandomStreams streams : {TRandomStreams::rsContinued, TRandomStreams::rsShared})
    for (uint32_t seed : {0u, 12345u})
      for (int n : {4, 7, 12}) {
        zp::TRandom random(seed);
        TQueensWorkbench wb(random);
        TRecorder window;
        wb.Attach(window);
        wb.SetStreams(streams);
        wb.FormCreate();
        wb.SpinEdit1Change(n);
        wb.btnRunClick("60");

        TQueensProblem problem(n);
        TComparisonRequest request;
        request.Settings.Generations = 60;
        request.Seed = seed;
        request.Streams = streams;
        TRecorder core;
        core.wants_log = true;
        EXPECT_FALSE(RunComparison(problem, request, core).Stopped);

        const std::string what = ToString(streams) + " seed " + std::to_string(seed) + " N " + std::to_string(n);
        EXPECT_EQ(core.generations, window.generations) << what;
        EXPECT_EQ(core.methods, window.methods) << what;
        ASSERT_EQ(core.methods.size(), 5u) << what;
        for (const TMethodReport& m : core.methods) EXPECT_EQ(m.Solved, m.MaxFitness == problem.Target()) << what;
        // The core's log is the workbench's after its introduction.
        const std::vector<std::string>& full = wb.Log();
        ASSERT_GE(full.size(), core.log.size());
        EXPECT_EQ(std::vector<std::string>(full.end() - static_cast<long>(core.log.size()), full.end()), core.log)
            << what;
      }
}

// Every method starts from the same scored start population, reported once at
// the start generation before its first generation, and never as a generation.
TEST(RunCore, ReportsEachMethodsStartPopulationApartFromItsGenerations) {
  TQueensProblem problem(6);
  TComparisonRequest request;
  request.Settings.Generations = 20;
  request.Seed = 11;
  TRecorder recorder;
  RunComparison(problem, request, recorder);
  ASSERT_EQ(recorder.starts.size(), 5u);
  ASSERT_EQ(recorder.methods.size(), 5u);
  for (size_t m = 0; m < 5; ++m) {
    EXPECT_EQ(recorder.starts[m].Method, recorder.methods[m].Method);
    EXPECT_EQ(recorder.starts[m].Generation, 0);
    EXPECT_EQ(recorder.starts[m].MaxFitness, recorder.starts[0].MaxFitness);
    EXPECT_EQ(recorder.starts[m].AvgFitness, recorder.starts[0].AvgFitness);
  }
  for (const TGenerationReport& g : recorder.generations) EXPECT_GE(g.Generation, 1);
}

TEST(RunCore, BuildsNoLogLinesForAnObserverThatDoesNotAskAndReportsTheSameRun) {
  TQueensProblem a(8), b(8);
  TComparisonRequest request;
  request.Settings.Generations = 40;
  TRecorder quiet, talkative;
  talkative.wants_log = true;
  RunComparison(a, request, quiet);
  RunComparison(b, request, talkative);
  EXPECT_TRUE(quiet.log.empty());
  EXPECT_EQ(talkative.log[2], "     Number of queens is 8");
  EXPECT_EQ(talkative.log[3], "     Chromosome Size is 24 (8 genes X 3 bits)");
  EXPECT_EQ(quiet.methods, talkative.methods);
  EXPECT_EQ(quiet.resets, 1);
}

TEST(RunCore, TakesTypedSettingsAndKeepsTheDerivedOnesByDefault) {
  zp::TRandom random(3);
  zp::ga::TZPGeneticAlgorithm ga;
  ga.SetRandomSource(random);
  ApplyStoredSettings(ga);
  TQueensProblem problem(6);
  TRecorder observer;
  TRunCore core(ga, problem, observer);
  core.ApplySettings(TGASettings{});
  core.Initialize();
  // Six queens keep the stored 24-bit chromosome: GeneSize never shrinks for N-Queens.
  EXPECT_EQ(ga.GeneSize(), 24);
  EXPECT_EQ(ga.Population().Count(), 24);
  EXPECT_DOUBLE_EQ(ga.MutationProbability(), 1.0 / 24);
  EXPECT_EQ(ga.FitnessCutoff(), 15);

  TGASettings settings;
  settings.Population = 10;
  settings.MutationProbability = 0.25;
  settings.CrossoverProbability = 0.5;
  settings.InversionProbability = 0;
  settings.TournamentField = 7;
  settings.ElitistPct = 0.3;
  settings.CrossoverMethod = zp::ga::TGACrossoverMethod::cmBitBoundary;
  zp::ga::TZPGeneticAlgorithm other;
  ApplyStoredSettings(other);
  TRunCore changed(other, problem, observer);
  changed.ApplySettings(settings);
  changed.Initialize();
  EXPECT_EQ(other.Population().Count(), 10);
  EXPECT_EQ(other.MutationProbability(), 0.25);
  EXPECT_EQ(other.CrossoverProbability(), 0.5);
  EXPECT_EQ(other.InversionProbability(), 0);
  EXPECT_EQ(other.TournamentField(), 7);
  EXPECT_EQ(other.ElitistPct(), 0.3);
  EXPECT_EQ(other.CrossoverMethod(), zp::ga::TGACrossoverMethod::cmBitBoundary);
}

// Asks for a stop when a method reaches generation At.
struct TStopAt : TRecorder {
  std::stop_source stop;
  TGASelectionMethod method;
  int at;
  TStopAt(TGASelectionMethod Method, int At) : method(Method), at(At) {}
  void OnGeneration(const TGenerationReport& Report) override {
    TRecorder::OnGeneration(Report);
    if (Report.Method == method && Report.Generation == at) stop.request_stop();
  }
};

TEST(RunCore, AStopEndsTheRunInsideTheMethodWithoutReportingIt) {
  TQueensProblem problem(32);
  TStopAt observer(TGASelectionMethod::smTournament, 7);
  observer.wants_log = true;
  TComparisonRequest request;
  request.Settings.Generations = 50;
  const std::vector<TGASelectionMethod> methods{TGASelectionMethod::smRandom, TGASelectionMethod::smTournament,
                                                TGASelectionMethod::smElitist};
  request.Methods = methods;
  request.Stop = observer.stop.get_token();
  const TRunOutcome outcome = RunComparison(problem, request, observer);
  EXPECT_TRUE(outcome.Stopped);
  EXPECT_EQ(outcome.Method, TGASelectionMethod::smTournament);
  EXPECT_EQ(outcome.Generations, 7);
  ASSERT_EQ(observer.methods.size(), 1u);  // Random finished; Elitist never started
  EXPECT_EQ(observer.methods[0].Method, TGASelectionMethod::smRandom);
  EXPECT_EQ(observer.generations.back().Method, TGASelectionMethod::smTournament);
  EXPECT_EQ(observer.generations.back().Generation, 7);
  EXPECT_EQ(observer.log.back(), "Max Fitness:" + zp::FormatFloat15(observer.methods[0].MaxFitness));

  // A request made before the run: every method is set up, none makes a generation.
  std::stop_source early;
  early.request_stop();
  request.Stop = early.get_token();
  TRecorder none;
  const TRunOutcome at_once = RunComparison(problem, request, none);
  EXPECT_TRUE(at_once.Stopped);
  EXPECT_EQ(at_once.Method, TGASelectionMethod::smRandom);
  EXPECT_EQ(at_once.Generations, 0);
  EXPECT_TRUE(none.generations.empty());
  EXPECT_TRUE(none.methods.empty());
}

}  // namespace
