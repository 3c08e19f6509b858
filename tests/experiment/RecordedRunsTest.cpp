// Reading runs.csv and traces.csv back for a resumed experiment: whole lines
// only, strict about everything before the last line, and which repeats are done.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "TwoRunExperiment.h"
#include "experiment/RecordedRuns.h"
#include "platform/Exceptions.h"

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

namespace {

constexpr std::array kBoth{TGASelectionMethod::smRoulette, TGASelectionMethod::smElitist};

std::string RunsText(const std::vector<TRunRow>& Rows) {
  std::string text = std::string(kRunsCsvHeader) + "\n";
  for (const TRunRow& row : Rows) text += FormatRunRow(row) + "\n";
  return text;
}

void ExpectError(const std::string& Runs, const std::string& Message) {
  try {
    (void)ParseRunsCsv(Runs);
    ADD_FAILURE() << "no error for " << Runs;
  } catch (const zp::Exception& e) {
    EXPECT_EQ(e.Message(), Message);
  }
}

// Lines ended by a line end within the first Length characters of Text.
size_t WholeLines(const std::string& Text, size_t Length) {
  return static_cast<size_t>(std::count(Text.begin(), Text.begin() + static_cast<std::ptrdiff_t>(Length), '\n'));
}

}  // namespace

TEST(ParseRunsCsv, ReadsEveryFieldAndWritesBackTheSameText) {
  const std::vector<TRunRow> rows = ParseRunsCsv(fixture::kTwoRunRunsCsv);
  ASSERT_EQ(rows.size(), 4u);
  const TRunRow& r = rows[2];
  EXPECT_EQ(r.Size, 4);
  EXPECT_EQ(r.Repeat, 1);
  EXPECT_EQ(r.Seed, 2749829512u);
  EXPECT_EQ(r.Method, TGASelectionMethod::smRoulette);
  EXPECT_TRUE(r.Solved);
  EXPECT_EQ(r.HitGeneration, 4);
  EXPECT_EQ(r.Generations, 4);
  EXPECT_EQ(r.Evaluations, 80);
  EXPECT_EQ(r.Population, 16);  // 80 evaluations over 1 + 4 scorings
  EXPECT_FALSE(rows[0].HitGeneration.has_value());
  EXPECT_EQ(rows[3].HitGeneration, 0);
  EXPECT_EQ(r.MaxFitness, 6);
  EXPECT_EQ(r.AvgFitness, 4.1875);
  EXPECT_EQ(r.MinFitness, 0.5);
  EXPECT_EQ(r.BestEver, 6);
  EXPECT_EQ(r.Fittest, "01101100");
  EXPECT_EQ(RunsText(rows), fixture::kTwoRunRunsCsv);

  // Fifteen-digit and exponent texts come back as the same text.
  TRunRow odd = rows[0];
  odd.AvgFitness = 1.0 / 3.0;
  odd.MinFitness = 0.00005;
  odd.MaxFitness = 1e20;
  EXPECT_EQ(RunsText(ParseRunsCsv(RunsText({odd}))), RunsText({odd}));
}

TEST(ParseRunsCsv, AnInterruptionLeavesTheWholeRowsBeforeIt) {
  const std::string text = fixture::kTwoRunRunsCsv;
  const std::vector<TRunRow> all = ParseRunsCsv(text);
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    const size_t whole = WholeLines(text, cut);
    const std::vector<TRunRow> rows = ParseRunsCsv(text.substr(0, cut));
    ASSERT_EQ(rows.size(), whole > 0 ? whole - 1 : 0) << "cut at " << cut;
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), all.begin(),
                           [](const TRunRow& a, const TRunRow& b) { return FormatRunRow(a) == FormatRunRow(b); }));
  }
  // A last line with its line end but too few fields was cut short as well.
  EXPECT_EQ(ParseRunsCsv(text + "nqueens,4,0,2,77,smRoulette\n").size(), 4u);
  EXPECT_EQ(ParseRunsCsv(text + "\n").size(), 4u);
}

TEST(ParseTracesCsv, AnInterruptionLeavesTheWholeLinesBeforeIt) {
  const std::string text = fixture::kTwoRunTracesCsv;
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    size_t points = 0;
    for (const TRunTrace& t : ParseTracesCsv(text.substr(0, cut))) points += t.Improvements.size();
    const size_t whole = WholeLines(text, cut);
    EXPECT_EQ(points, whole > 0 ? whole - 1 : 0) << "cut at " << cut;
  }
}

TEST(ParseRunsCsv, AFaultBeforeTheLastLineNamesItsLine) {
  const std::string header = std::string(kRunsCsvHeader) + "\n";
  const std::string good = "nqueens,4,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5,01001110\n";
  const std::string later = "nqueens,4,0,0,0,smElitist,1,2,2,48,6,4.0625,2,6,10000111\n";
  ExpectError("queens,repeat\n" + good, "runs.csv line 1: expected the header \"" + std::string(kRunsCsvHeader) + "\"");
  ExpectError(header + "nqueens,4,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5\n" + later,
              "runs.csv line 2: expected 15 fields, found 14");
  ExpectError(header + good + good + later, "runs.csv line 3: run nqueens,4,0,0,smRoulette repeated or out of order");
  ExpectError(header + later + good, "runs.csv line 3: run nqueens,4,0,0,smRoulette repeated or out of order");
  // Too many fields is no interruption, even on the last line.
  ExpectError(header + "nqueens,4,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5,0100,1110\n",
              "runs.csv line 2: expected 15 fields, found 16");

  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"queens,4,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad problem \"queens\""},
      {"jump:0,4,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad problem \"jump:0\""},
      {"nqueens,x,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad size \"x\""},
      {"nqueens,4,-1,0,0,smRoulette,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad config \"-1\""},
      {"nqueens,4,0,-1,0,smRoulette,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad repeat \"-1\""},
      {"nqueens,4,0,0,4294967296,smRoulette,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad seed \"4294967296\""},
      {"nqueens,4,0,0,0,roulette,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad method \"roulette\""},
      {"nqueens,4,0,0,0,smCustom,0,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad method \"smCustom\""},
      {"nqueens,4,0,0,0,smRoulette,yes,,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad solved \"yes\""},
      {"nqueens,4,0,0,0,smRoulette,0,-1,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad hit_generation \"-1\""},
      // A hit after the run's last generation, or evaluations that are no whole
      // number of populations, cannot come from a run.
      {"nqueens,4,0,0,0,smRoulette,0,6,5,96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad hit_generation \"6\""},
      {"nqueens,4,0,0,0,smRoulette,0,,5,97,5,3.4375,1,5,0100\n", "runs.csv line 2: bad evaluations \"97\""},
      {"nqueens,4,0,0,0,smRoulette,0,,5,-96,5,3.4375,1,5,0100\n", "runs.csv line 2: bad evaluations \"-96\""},
      {"nqueens,4,0,0,0,smRoulette,0,,5,96,5,3,4375,1,5\n", "runs.csv line 2: bad fittest \"5\""},
      {"nqueens,4,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5 ,0100\n", "runs.csv line 2: bad best_ever \"5 \""},
      {"nqueens,4,0,0,0,smRoulette,0,,5,96,nan,3.4375,1,5,0100\n", "runs.csv line 2: bad max_fitness \"nan\""},
  };
  for (const Case& c : cases) ExpectError(header + c.line + later, c.message);
}

TEST(ParseTracesCsv, ImprovementsMustRiseWithinARun) {
  const std::string header = std::string(kTracesCsvHeader) + "\n";
  const auto message = [&](const std::string& text) -> std::string {
    try {
      (void)ParseTracesCsv(text);
    } catch (const zp::Exception& e) {
      return e.Message();
    }
    return "no error";
  };
  EXPECT_EQ(
      message(header + "nqueens,4,0,0,smRoulette,2,4\nnqueens,4,0,0,smRoulette,3,4\nnqueens,4,0,1,smRoulette,1,4\n"),
      "traces.csv line 3: run nqueens,4,0,0,smRoulette does not improve on its previous line");
  EXPECT_EQ(
      message(header + "nqueens,4,0,0,smRoulette,2,4\nnqueens,4,0,0,smRoulette,2,5\nnqueens,4,0,1,smRoulette,1,4\n"),
      "traces.csv line 3: run nqueens,4,0,0,smRoulette does not improve on its previous line");
  EXPECT_EQ(
      message(header + "nqueens,4,0,0,smElitist,1,4\nnqueens,4,0,0,smRoulette,1,4\nnqueens,4,0,1,smRoulette,1,4\n"),
      "traces.csv line 3: run nqueens,4,0,0,smRoulette out of order");
  EXPECT_EQ(message(header + "nqueens,4,0,0,smElitist,-1,4\nnqueens,4,0,1,smRoulette,1,4\n"),
            "traces.csv line 2: bad generation \"-1\"");
}

TEST(RepeatComplete, NeedsEveryExpectedRowAndItsWholeTrace) {
  const std::string runs = fixture::kTwoRunRunsCsv;
  const std::string traces = fixture::kTwoRunTracesCsv;
  const TRecordedRuns all{ParseRunsCsv(runs), ParseTracesCsv(traces)};
  EXPECT_TRUE(RepeatComplete(all, TCell{"nqueens", 4, 0}, 0, kBoth));
  EXPECT_TRUE(RepeatComplete(all, TCell{"nqueens", 4, 0}, 1, kBoth));
  constexpr std::array kReversed{TGASelectionMethod::smElitist, TGASelectionMethod::smRoulette};
  EXPECT_TRUE(RepeatComplete(all, TCell{"nqueens", 4, 0}, 1, kReversed));
  EXPECT_FALSE(RepeatComplete(all, TCell{"nqueens", 4, 0}, 2, kBoth));
  EXPECT_FALSE(RepeatComplete(all, TCell{"nqueens", 5, 0}, 0, kBoth));
  // Rows of another method set belong to another experiment.
  EXPECT_FALSE(RepeatComplete(all, TCell{"nqueens", 4, 0}, 0, std::array{TGASelectionMethod::smRoulette}));
  EXPECT_FALSE(RepeatComplete(
      all, TCell{"nqueens", 4, 0}, 0,
      std::array{TGASelectionMethod::smRoulette, TGASelectionMethod::smRandom, TGASelectionMethod::smElitist}));
  EXPECT_FALSE(RepeatComplete(all, TCell{"nqueens", 4, 0}, 0, std::span<const TGASelectionMethod>()));

  // The last row lost: repeat 1 is partial.
  const TRecordedRuns fewer_rows{ParseRunsCsv(runs.substr(0, runs.size() - 3)), all.Traces};
  EXPECT_TRUE(RepeatComplete(fewer_rows, TCell{"nqueens", 4, 0}, 0, kBoth));
  EXPECT_FALSE(RepeatComplete(fewer_rows, TCell{"nqueens", 4, 0}, 1, kBoth));

  // Repeat 1's roulette trace lost its last improvement (and elitist its only record).
  const size_t cut = traces.find("nqueens,4,0,1,smRoulette,4,6");
  const TRecordedRuns short_trace{all.Rows, ParseTracesCsv(traces.substr(0, cut))};
  EXPECT_TRUE(RepeatComplete(short_trace, TCell{"nqueens", 4, 0}, 0, kBoth));
  EXPECT_FALSE(RepeatComplete(short_trace, TCell{"nqueens", 4, 0}, 1, kBoth));

  // Every run has a trace from its start population on: one without is not whole.
  TRecordedRuns no_trace = all;
  no_trace.Traces.erase(no_trace.Traces.begin() + 1);
  EXPECT_FALSE(RepeatComplete(no_trace, TCell{"nqueens", 4, 0}, 0, kBoth));
}

TEST(KeepCompleteRepeats, DropsAPartialLastRepeat) {
  const std::string runs = fixture::kTwoRunRunsCsv;
  const TRecordedRuns cut{ParseRunsCsv(runs.substr(0, runs.size() - 3)), ParseTracesCsv(fixture::kTwoRunTracesCsv)};
  const TRecordedRuns kept = KeepCompleteRepeats(cut, kBoth);
  ASSERT_EQ(kept.Rows.size(), 2u);
  EXPECT_EQ(kept.Rows[1].Method, TGASelectionMethod::smElitist);
  EXPECT_EQ(kept.Rows[1].Repeat, 0);
  EXPECT_EQ(TracesCsv(kept.Traces),
            "problem,size,config,repeat,method,generation,best\n"
            "nqueens,4,0,0,smRoulette,0,4\n"
            "nqueens,4,0,0,smRoulette,3,5\n"
            "nqueens,4,0,0,smElitist,0,4\n"
            "nqueens,4,0,0,smElitist,1,5\n"
            "nqueens,4,0,0,smElitist,2,6\n");
  EXPECT_TRUE(KeepCompleteRepeats({}, kBoth).Rows.empty());
}
