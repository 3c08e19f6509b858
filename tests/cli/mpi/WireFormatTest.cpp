// The bytes between ranks: a report with real repeats reads back to the very
// lines the files get, a failure keeps its message, damaged bytes are refused.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "cli/mpi/WireFormat.h"
#include "experiment/Runner.h"
#include "platform/Exceptions.h"

namespace {

using namespace zp::cli::mpi;
using namespace zp::experiment;

TEST(WireFormat, ReportOfRealRepeatsReadsBackToTheSameLines) {
  TExperimentDesign design;
  design.Generations = 25;
  TWorkerReport report{3, {}, std::nullopt, 2};
  for (int32_t r : {4, 0})
    report.Finished.push_back({static_cast<size_t>(10 + r), RepeatLines(RunRepeat(design, {0, 6, 0, r}))});
  report.Finished[1].Result.Seconds = 0.1 + 0.2;  // no shortest decimal of its own
  ASSERT_FALSE(report.Finished[0].Result.Traces.empty());

  const TWorkerReport back = DecodeReport(EncodeReport(report));
  EXPECT_EQ(back.Want, 3u);
  EXPECT_EQ(back.Ahead, 2u);
  EXPECT_FALSE(back.Failure);
  ASSERT_EQ(back.Finished.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const TRepeatLines &a = report.Finished[i].Result, &b = back.Finished[i].Result;
    EXPECT_EQ(back.Finished[i].Index, report.Finished[i].Index);
    EXPECT_EQ(b.Key, a.Key);
    EXPECT_EQ(b.Problem, a.Problem);
    EXPECT_EQ(b.Runs, a.Runs);
    EXPECT_EQ(b.Traces, a.Traces);
    EXPECT_EQ(b.Seconds, a.Seconds);
  }
}

TEST(WireFormat, FailureKeepsItsMessageWhateverItHolds) {
  const std::string message = "cannot write /x y\nrepeat 1 2 3";
  const TWorkerReport back = DecodeReport(EncodeReport({0, {}, message}));
  ASSERT_TRUE(back.Failure);
  EXPECT_EQ(*back.Failure, message);
  EXPECT_TRUE(back.Finished.empty());
}

TEST(WireFormat, DamagedBytesAreRefused) {
  const std::string good = EncodeReport({1, {{0, {{0, 8, 0, 0}, "nqueens", "a\n", "", 1.5}}}, std::nullopt});
  for (const std::string& bad : {std::string(""), std::string("want 1\n"), good.substr(0, good.size() - 1),
                                 std::string("want x\n"), std::string("want 1\nother 2\n")})
    EXPECT_THROW(DecodeReport(bad), zp::Exception) << bad;
}

TEST(WireFormat, HandOutRoundTripsAndAnEmptyOneMeansTheEnd) {
  const std::vector<TNumberedKey> keys{{0, {8, 0}}, {5000000000, {32, 2147483647}}};
  EXPECT_EQ(DecodeHandOut(EncodeHandOut(keys)), keys);
  EXPECT_TRUE(DecodeHandOut(EncodeHandOut({})).empty());
  EXPECT_THROW_MSG(DecodeHandOut({1, 2}), zp::Exception, "bad hand-out");
  EXPECT_TRUE(IsNoMoreAhead(NoMoreAhead()));
  EXPECT_FALSE(IsNoMoreAhead(EncodeHandOut(keys)));
}

}  // namespace
