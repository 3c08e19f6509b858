// The experiment's design and seeds, one repeat, the threaded runner's order,
// stopping and failures, experiment.json and the appending writer.
#include <gtest/gtest.h>

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
    const TRepeatResult whole = RunRepeat(all, {9, 4});
    const TRepeatResult part = RunRepeat(some, {9, 4});
    ASSERT_EQ(whole.Rows.size(), 5u);
    ASSERT_EQ(part.Rows.size(), 2u);
    EXPECT_EQ(FormatRunRow(part.Rows[0]), FormatRunRow(whole.Rows[1]));
    EXPECT_EQ(FormatRunRow(part.Rows[1]), FormatRunRow(whole.Rows[4]));
    EXPECT_EQ(whole.Seed, RepeatSeed(0, 9, 4));
    // Every run made generations, so each has a trace ending at its best_ever.
    ASSERT_EQ(whole.Traces.size(), 5u);
    for (size_t m = 0; m < 5; ++m) EXPECT_EQ(whole.Traces[m].Improvements.back().Best, whole.Rows[m].BestEver);
  }
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
  design.Queens = {4, 6};
  design.Repeats = 7;
  design.Generations = 15;
  const std::vector<std::string> one = RunAll(design, 1);
  ASSERT_EQ(one.size(), 2u * 7u * 5u);
  EXPECT_EQ(RunAll(design, 3), one);
  EXPECT_EQ(RunAll(design, 40), one);  // more workers than repeats
}

TEST(RunRepeats, GoesOnWithTheThreadsItGotAndEndsAtOnceWithNone) {
  TExperimentDesign design;
  design.Queens = {5};
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
  design.Queens = {10};
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
  design.Queens = {8, 10, 11};
  design.Repeats = 12;
  design.Seed = 0xFFFFFFFFu;
  design.Streams = zp::queens::TRandomStreams::rsShared;
  design.Methods = {TGASelectionMethod::smTournament};
  const std::string text = ExperimentJson(design, "1.2+abc", {"2024-01-01T00:00:00Z", "", 3, "host \"x\""});
  const TStoredExperiment stored = ReadExperimentJson(text);
  EXPECT_EQ(stored.Design, design);
  EXPECT_TRUE(DifferingParameters(stored.Parameters, Parameters(design, "1.2+abc")).empty());

  TExperimentDesign other = design;
  other.Repeats = 30;
  EXPECT_EQ(DifferingParameters(stored.Parameters, Parameters(other, "1.3+def")),
            (std::vector<std::string>{"repeats (12 in the folder, 30 given)",
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
  EXPECT_THROW_MSG(files.Append(RunRepeat(design, {8, 0})), zp::Exception,
                   "cannot write " + (folder / "traces.csv").string() + ": No space left on device");
  std::filesystem::remove_all(folder);
}

}  // namespace
