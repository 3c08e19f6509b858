#include <gtest/gtest.h>

#include <cmath>

#include "TwoRunExperiment.h"
#include "experiment/RecordedRuns.h"
#include "experiment/Traces.h"

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

TEST(TTraceBuilder, KeepsTheStartPopulationAndStrictImprovements) {
  TTraceBuilder b(TCell{"nqueens", 12, 0}, 3, TGASelectionMethod::smTournament);
  EXPECT_FALSE(b.BestEver().has_value());
  b.AddGeneration(-1, 70);  // before the start: ignored
  b.AddGeneration(0, 48);   // the start population is the first record
  b.AddGeneration(1, 50);
  b.AddGeneration(2, 50);  // equal: no improvement
  b.AddGeneration(3, 49);
  b.AddGeneration(4, std::nan(""));
  b.AddGeneration(5, 50.5);
  b.AddGeneration(6, 66);
  const TRunTrace& t = b.Trace();
  EXPECT_EQ(t.Size, 12);
  EXPECT_EQ(t.Repeat, 3);
  EXPECT_EQ(t.Method, TGASelectionMethod::smTournament);
  EXPECT_EQ(t.Improvements, (std::vector<TTracePoint>{{0, 48}, {1, 50}, {5, 50.5}, {6, 66}}));
  EXPECT_EQ(b.BestEver(), 66);
  EXPECT_EQ(FormatRunTrace(t),
            "nqueens,12,0,3,smTournament,0,48\n"
            "nqueens,12,0,3,smTournament,1,50\n"
            "nqueens,12,0,3,smTournament,5,50.5\n"
            "nqueens,12,0,3,smTournament,6,66\n");
}

TEST(TracesCsv, BuilderTracesOfTheWorkedExperimentGiveItsFile) {
  std::vector<TRunTrace> traces;
  for (const auto& run : fixture::TwoRunFitness()) {
    TTraceBuilder b(TCell{"nqueens", 4, 0}, run.Repeat, run.Method);
    for (size_t g = 0; g < run.MaxFitness.size(); ++g) b.AddGeneration(static_cast<int32_t>(g), run.MaxFitness[g]);
    traces.push_back(b.Trace());
  }
  EXPECT_EQ(TracesCsv(traces), fixture::kTwoRunTracesCsv);
  EXPECT_EQ(ParseTracesCsv(fixture::kTwoRunTracesCsv), traces);
  EXPECT_EQ(TracesCsv({}), "problem,size,config,repeat,method,generation,best\n");
}
