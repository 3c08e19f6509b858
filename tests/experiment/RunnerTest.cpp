// The experiment's design and seeds, one repeat, the threaded runner's order,
// stopping and failures, experiment.json and the appending writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "TestSupport.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/Runner.h"
#include "platform/Exceptions.h"

namespace {

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

TEST(RepeatSeed, MatchesValuesWorkedOutByHand) {
  EXPECT_EQ(Fmix32(0), 0u);
  EXPECT_EQ(Fmix32(1), 0x514E28B7u);
  EXPECT_EQ(Fmix32(0xDEADBEEFu), 0x0DE5C6A9u);
  EXPECT_EQ(RepeatSeed(1234, 8, 0), 1234u);  // repeat 0 is the experiment's seed itself
  EXPECT_EQ(RepeatSeed(5, 8, 1), 3245307984u);
  EXPECT_EQ(RepeatSeed(0xFFFFFFFFu, 12, 29), 1663320076u);
  EXPECT_EQ(RepeatSeed(0, 32, 3), 1626231674u);
  // The other problems: S xor fmix32(r xor fmix32(0x9E3779B9 xor (funcId << 16) xor n)), worked out apart.
  using zp::queens::TProblemKind;
  EXPECT_EQ(RepeatSeed(5, {TProblemKind::pkOneMax, 0}, 64, 3), 3958841757u);
  EXPECT_EQ(RepeatSeed(0, {TProblemKind::pkLeadingOnes, 0}, 10, 0), 950511270u);  // repeat 0 too
  EXPECT_EQ(RepeatSeed(0xDEADBEEFu, {TProblemKind::pkJump, 3}, 4096, (1 << 24) - 1), 1688814678u);
  // The gap does not enter: jump:2 and jump:5 share their seeds; N-Queens keeps its own formula.
  EXPECT_EQ(RepeatSeed(9, {TProblemKind::pkJump, 2}, 40, 7), RepeatSeed(9, {TProblemKind::pkJump, 5}, 40, 7));
  EXPECT_EQ(RepeatSeed(5, {TProblemKind::pkNQueens, 0}, 8, 1), 3245307984u);
}

TEST(RepeatSeed, SeedsOfOneQueenCountAreDistinct) {
  std::set<uint32_t> seeds;
  for (int32_t r = 0; r < 50000; ++r) seeds.insert(RepeatSeed(77, 12, r));
  EXPECT_EQ(seeds.size(), 50000u);
}

TEST(ExperimentDesign, QueenListsAreSortedWithoutDuplicatesAndBadOnesNameTheOption) {
  EXPECT_EQ(ParseQueenList("8"), (std::vector<int32_t>{8}));
  EXPECT_EQ(ParseQueenList("12,8,10-12,4"), (std::vector<int32_t>{4, 8, 10, 11, 12}));
  EXPECT_EQ(ParseQueenList("32-32"), (std::vector<int32_t>{32}));
  for (const char* bad : {"", "3", "33", "8,", ",8", "x", "12-10", "4-40", "8--9", "-8", "8.5", " 8"}) {
    try {
      ParseQueenList(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const TDesignError& e) {
      EXPECT_EQ(e.Option(), "--queens");
      EXPECT_EQ(std::string(e.what()), "--queens: " + e.Message());
    }
  }
  EXPECT_THROW_MSG(ParseQueenList("12-10"), TDesignError, "--queens: '12-10' is not an ascending range");
}

TEST(ExperimentDesign, MethodsByLogOrShortNameInTheWorkbenchOrder) {
  EXPECT_EQ(ParseMethodList("elitist,SMROULETTE,Stochastic,elitist"),
            (std::vector<TGASelectionMethod>{TGASelectionMethod::smRoulette, TGASelectionMethod::smStochasticTournament,
                                             TGASelectionMethod::smElitist}));
  EXPECT_THROW((void)ParseMethodList("smCustom"), TDesignError);
  EXPECT_THROW((void)ParseMethodList("roulette,best"), TDesignError);
  EXPECT_THROW((void)ParseMethodList(""), TDesignError);
  EXPECT_EQ(ParseStreams("Shared"), zp::queens::TRandomStreams::rsShared);
  EXPECT_THROW((void)ParseStreams("both"), TDesignError);
  EXPECT_THROW(ParsePositive("--repeats", "0"), TDesignError);
  // The option apart from its message, which reads on from the option's name on a command line.
  try {
    (void)ParsePositive("--generations", "x");
    ADD_FAILURE();
  } catch (const TDesignError& e) {
    EXPECT_EQ(e.Option(), "--generations");
    EXPECT_EQ(e.Message(), "takes a positive integer, not 'x'");
    EXPECT_STREQ(e.what(), "--generations takes a positive integer, not 'x'");
  }
  EXPECT_EQ(ParseSeedOption("0x10"), 16u);
}

// Continued streams run all five methods whatever is written, so the rows of a
// subset are those of the whole; shared streams run the subset alone, with the same rows.
TEST(RunRepeat, WrittenMethodsAreTheWholeRunsRowsForBothStreams) {
  for (auto streams : {zp::queens::TRandomStreams::rsContinued, zp::queens::TRandomStreams::rsShared}) {
    TExperimentDesign all;
    all.Streams = streams;
    all.Generations = 40;
    TExperimentDesign some = all;
    some.Methods = {TGASelectionMethod::smRandom, TGASelectionMethod::smElitist};
    const TRepeatResult whole = RunRepeat(all, {0, 9, 0, 4});
    const TRepeatResult part = RunRepeat(some, {0, 9, 0, 4});
    ASSERT_EQ(whole.Rows.size(), 5u);
    ASSERT_EQ(part.Rows.size(), 2u);
    EXPECT_EQ(FormatRunRow(part.Rows[0]), FormatRunRow(whole.Rows[1]));
    EXPECT_EQ(FormatRunRow(part.Rows[1]), FormatRunRow(whole.Rows[4]));
    EXPECT_EQ(whole.Seed, RepeatSeed(0, 9, 4));
    // Every run has a trace from generation 0, ending at its best_ever.
    ASSERT_EQ(whole.Traces.size(), 5u);
    for (size_t m = 0; m < 5; ++m) EXPECT_EQ(whole.Traces[m].Improvements.back().Best, whole.Rows[m].BestEver);
  }
}

// Repeat 58 of 4 queens from seed 0: every method starts from a population that
// holds a solution. Roulette's one generation loses it, so the log says unsolved
// while the run hit at generation 0; the others keep it and stop at the cutoff.
TEST(RunRepeat, AStartPopulationHoldingASolutionIsAHitAtGenerationZero) {
  TExperimentDesign design;
  design.Sizes = {4};
  design.Generations = 1;
  const TRepeatResult r = RunRepeat(design, {0, 4, 0, 58});
  ASSERT_EQ(r.Rows.size(), 5u);
  EXPECT_EQ(r.Seed, 1824869119u);
  for (const TRunRow& row : r.Rows) {
    SCOPED_TRACE(zp::ga::ToString(row.Method));
    EXPECT_EQ(row.HitGeneration, 0);
    EXPECT_EQ(row.BestEver, 6);
    EXPECT_EQ(row.Population, 16);
    EXPECT_EQ(SpentEvaluations(row), 16);  // the start population's scoring only
  }
  EXPECT_EQ(FormatRunRow(r.Rows[0]),
            "nqueens,4,0,58,1824869119,smRoulette,0,0,1,32,4,2.625,1,6,001110111010001001000110");
  // Every trace starts with the start population.
  ASSERT_EQ(r.Traces.size(), 5u);
  EXPECT_EQ(FormatRunTrace(r.Traces[0]), "nqueens,4,0,58,smRoulette,0,6\n");
  for (const TRunTrace& t : r.Traces) EXPECT_EQ(t.Improvements.front(), (TTracePoint{0, 6}));
}

TEST(RunRepeat, HitGenerationIsTheFirstGenerationAtTheTarget) {
  TExperimentDesign design;
  design.Sizes = {6};
  design.Generations = 60;
  const TRepeatResult r = RunRepeat(design, {0, 6, 0, 1});
  for (size_t m = 0; m < r.Rows.size(); ++m) {
    const TRunRow& row = r.Rows[m];
    const TRunTrace& trace = r.Traces[m];
    EXPECT_EQ(trace.Improvements.front().Generation, 0);
    // A hit is the trace's first record at the target (10 for 6 queens), and the run stops there.
    const auto at = std::find_if(trace.Improvements.begin(), trace.Improvements.end(),
                                 [](const TTracePoint& p) { return p.Best == 10; });
    if (at == trace.Improvements.end()) {
      EXPECT_FALSE(row.HitGeneration.has_value());
    } else {
      EXPECT_EQ(row.HitGeneration, at->Generation);
      if (at->Generation > 0) {
        EXPECT_EQ(row.Generations, at->Generation);
      }
    }
  }
}

TEST(ExperimentLabel, TheFolderNameWithOddCharactersReplacedOrAGivenOne) {
  EXPECT_EQ(DefaultLabel("/tmp/exp12"), "exp12");
  EXPECT_EQ(DefaultLabel("runs/8 queens (v2)/"), "8_queens__v2_");
  EXPECT_EQ(DefaultLabel("caf\xC3\xA9-1.0"), "caf_-1.0");  // one "_" per character, not per byte
  EXPECT_EQ(DefaultLabel("/"), "experiment");
  EXPECT_EQ(ParseLabel("A.z_0-9"), "A.z_0-9");
  EXPECT_THROW_MSG((void)ParseLabel(""), TDesignError, "--label: the label is empty");
  EXPECT_THROW_MSG((void)ParseLabel("a\"b"), TDesignError,
                   "--label: 'a\"b' holds a character other than A-Z, a-z, 0-9, '.', '_' and '-'");
}

TEST(ExperimentJson, DescribesTheResolvedSettingsPerProblemAndSize) {
  TExperimentDesign design;
  design.Sizes = {4, 10};
  design.Generations = 50;
  design.Seed = 9;
  design.Label = "d";
  const std::string text = ExperimentJson(design, "1.0", {});
  EXPECT_EQ(text.rfind("{\n  \"format\": 3,\n  \"parameters\": {", 0), 0u) << text;
  // 4 queens run on the stored 24 bits, 10 queens on 10 genes of 4 bits: mutation 1 / bits.
  for (const char* part :
       {"\"problem\": \"nqueens\",\n        \"size\": 4,\n        \"config\": 0,\n        \"funcId\": 1,\n"
        "        \"funcName\": \"NQueens\",\n        \"population\": 16,\n"
        "        \"chromosome_bits\": 24,\n        \"MutationProbability\": 0.041666666666666664,",
        "\"size\": 10,\n        \"config\": 0,\n        \"funcId\": 1,\n        \"funcName\": \"NQueens\",\n"
        "        \"population\": 40,\n        \"chromosome_bits\": 40,\n"
        "        \"MutationProbability\": 0.025,",
        "\"target\": 45.0,\n        \"evaluations_per_generation\": 40,\n"
        "        \"budget_generations\": 50,\n        \"budget_evaluations\": 2040\n",
        "\"seed_function\": \"fmix32(S xor fmix32(N xor (config << 16)))\"", "\"label\": \"d\"\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  EXPECT_EQ(ReadExperimentJson(text).Design, design);
}

std::vector<std::string> RunAll(const TExperimentDesign& design, int jobs) {
  std::vector<std::string> lines;
  std::atomic<bool> stop{false};
  RunRepeats(design, RepeatKeys(design), jobs, stop, [&](TRepeatResult& r) {
    for (const TRunRow& row : r.Rows) lines.push_back(FormatRunRow(row));
  });
  return lines;
}

TEST(RunRepeats, DeliversInKeyOrderWhateverTheJobCount) {
  TExperimentDesign design;
  design.Sizes = {4, 6};
  design.Repeats = 7;
  design.Generations = 15;
  const std::vector<std::string> one = RunAll(design, 1);
  ASSERT_EQ(one.size(), 2u * 7u * 5u);
  EXPECT_EQ(RunAll(design, 3), one);
  EXPECT_EQ(RunAll(design, 40), one);  // more workers than repeats
}

TEST(RunRepeats, GoesOnWithTheThreadsItGotAndEndsAtOnceWithNone) {
  TExperimentDesign design;
  design.Sizes = {5};
  design.Repeats = 6;
  design.Generations = 10;
  const std::vector<std::string> whole = RunAll(design, 1);
  // A system that gives one thread of the four asked for, then none at all.
  for (const int limit : {1, 0}) {
    auto started = std::make_shared<int>(0);
    const auto start = [=](std::function<void()> Body) {
      if (++*started > limit) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      return std::jthread(std::move(Body));
    };
    std::atomic<bool> stop{false};
    std::vector<std::string> lines, notes;
    const auto run = [&] {
      RunRepeats(
          design, RepeatKeys(design), 4, stop,
          [&](TRepeatResult& r) {
            for (const TRunRow& row : r.Rows) lines.push_back(FormatRunRow(row));
          },
          {}, 250, [&](const std::string& note) { notes.push_back(note); }, start);
    };
    if (limit == 0) {
      EXPECT_THROW(run(), std::system_error);
      EXPECT_TRUE(lines.empty());
      continue;
    }
    run();
    EXPECT_EQ(lines, whole);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].rfind("started 1 of 4 worker threads (", 0), 0u) << notes[0];
  }
}

TEST(RunRepeats, StopEndsItEarlyAndAWriteFailureIsRaisedAfterTheWorkersEnd) {
  TExperimentDesign design;
  design.Sizes = {10};
  design.Repeats = 400;
  design.Generations = 200;
  std::atomic<bool> stop{false};
  size_t delivered = 0;
  RunRepeats(design, RepeatKeys(design), 2, stop, [&](TRepeatResult& r) {
    EXPECT_EQ(r.Key.Repeat, static_cast<int32_t>(delivered));
    if (++delivered == 3) stop = true;
  });
  EXPECT_GE(delivered, 3u);
  EXPECT_LT(delivered, 400u);

  stop = false;
  delivered = 0;
  EXPECT_THROW(RunRepeats(design, RepeatKeys(design), 2, stop,
                          [&](TRepeatResult&) {
                            if (++delivered == 2) throw std::runtime_error("disk full");
                          }),
               std::runtime_error);
  EXPECT_EQ(delivered, 2u);
}

TEST(ExperimentJson, ReadsBackItsParametersAndNamesEachDifference) {
  TExperimentDesign design;
  design.Sizes = {8, 10, 11};
  design.Repeats = 12;
  design.Seed = 0xFFFFFFFFu;
  design.Streams = zp::queens::TRandomStreams::rsShared;
  design.Methods = {TGASelectionMethod::smTournament};
  design.Label = "run-1";
  const std::string text = ExperimentJson(design, "1.2+abc", {"2024-01-01T00:00:00Z", "", 3, "host \"x\""});
  const TStoredExperiment stored = ReadExperimentJson(text);
  EXPECT_EQ(stored.Design, design);
  EXPECT_TRUE(DifferingParameters(stored.Parameters, Parameters(design, "1.2+abc")).empty());

  TExperimentDesign other = design;
  other.Repeats = 30;
  other.Label = "run-2";
  EXPECT_EQ(DifferingParameters(stored.Parameters, Parameters(other, "1.3+def")),
            (std::vector<std::string>{"repeats (12 in the folder, 30 given)",
                                      "label (\"run-1\" in the folder, \"run-2\" given)",
                                      "version (\"1.2+abc\" in the folder, \"1.3+def\" given)"}));
  EXPECT_THROW((void)ReadExperimentJson("{\"parameters\": {\"queens\": [3]}}"), zp::Exception);
  EXPECT_THROW((void)ReadExperimentJson("{\"parameters\": "), zp::Exception);
}

TEST(TResultFiles, AFailedWriteIsRaisedNamingTheFile) {
  const auto folder = std::filesystem::temp_directory_path() / "zp_result_files_test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::create_symlink("/dev/full", folder / "traces.csv");
  TResultFiles files(folder);
  TExperimentDesign design;
  design.Generations = 5;
  EXPECT_THROW_MSG(files.Append(RunRepeat(design, {0, 8, 0, 0})), zp::Exception,
                   "cannot write " + (folder / "traces.csv").string() + ": No space left on device");
  std::filesystem::remove_all(folder);
}

}  // namespace
