// The IOHprofiler files of the worked two-run experiment, expected texts worked
// out by hand from its table (population 16: generation g costs 16 (1 + g),
// the start population 16).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "TwoRunExperiment.h"
#include "experiment/IohProfiler.h"
#include "experiment/RecordedRuns.h"
#include "platform/Exceptions.h"

using namespace zp::experiment;

namespace {

const TIohProfilerInfo kInfo{"two-run", "streams continued, seed 0, generations 5, version 1.0"};

// The header line of an info block as the IOHprofiler loggers write it.
std::string Header(int Dim, const std::string& Caption) {
  return "suite = \"NQueens\", funcId = 1, funcName = \"NQueens\", DIM = " + std::to_string(Dim) +
         ", maximization = \"T\", algId = \"" + Caption +
         "@two-run\", algInfo = \"streams continued, seed 0, generations 5, version 1.0\"\n";
}

const std::vector<TOutputFile> kExpected{
    {"iohprofiler/smRoulette/IOHprofiler_f1_NQueens.info",
     Header(4, "Roulette") + "%\n"
                             "data_f1_NQueens/IOHprofiler_f1_DIM4.dat, 1:96|5, 1:80|6\n"},
    {"iohprofiler/smRoulette/data_f1_NQueens/IOHprofiler_f1_DIM4.dat",
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "16 4\n"
     "64 5\n"
     "96 5\n"
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "16 2\n"
     "32 3\n"
     "48 4.5\n"
     "80 6\n"
     "80 6\n"},
    {"iohprofiler/smElitist/IOHprofiler_f1_NQueens.info",
     Header(4, "Elitist") + "%\n"
                            "data_f1_NQueens/IOHprofiler_f1_DIM4.dat, 1:48|6, 1:32|6\n"},
    {"iohprofiler/smElitist/data_f1_NQueens/IOHprofiler_f1_DIM4.dat",
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "16 4\n"
     "32 5\n"
     "48 6\n"
     "48 6\n"
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "16 6\n"
     "32 6\n"},
};

std::string ReadFile(const std::filesystem::path& File) { return zp::test::ReadFile(File.string()); }

TRunRow MakeRun(int32_t Queens, int32_t Generations, int32_t Population, double BestEver) {
  TRunRow row;
  row.Size = Queens;
  row.Method = zp::ga::TGASelectionMethod::smRandom;
  row.Generations = Generations;
  row.Population = Population;
  row.Evaluations = int64_t{Population} * (1 + Generations);
  row.BestEver = BestEver;
  return row;
}

}  // namespace

TEST(IohProfilerFiles, TwoRunExperiment) {
  std::vector<TRunRow> rows = ParseRunsCsv(fixture::kTwoRunRunsCsv);
  std::vector<TRunTrace> traces = ParseTracesCsv(fixture::kTwoRunTracesCsv);
  EXPECT_EQ(IohProfilerFiles(rows, traces, kInfo), kExpected);
  // The files follow the key order whatever order the rows come in.
  std::reverse(rows.begin(), rows.end());
  std::reverse(traces.begin(), traces.end());
  EXPECT_EQ(IohProfilerFiles(rows, traces, kInfo), kExpected);
  EXPECT_TRUE(IohProfilerFiles({}, {}, kInfo).empty());
}

TEST(IohProfilerFiles, OneBlockPerQueenCountAscending) {
  // Random only: 6 queens (population 24) from 9 at generation 0 to 10.5 at 2; 5 queens (population 20) without a
  // trace.
  TRunTrace six{"nqueens", 6, 0, 0, zp::ga::TGASelectionMethod::smRandom, {{0, 9}, {2, 10.5}}};
  const std::vector<TOutputFile> files =
      IohProfilerFiles({MakeRun(6, 2, 24, 10.5), MakeRun(5, 3, 20, 7)}, {six}, {"x", "info"});
  const std::string header = "suite = \"NQueens\", funcId = 1, funcName = \"NQueens\", DIM = ";
  const std::string rest = ", maximization = \"T\", algId = \"Random@x\", algInfo = \"info\"\n%\n";
  const std::vector<TOutputFile> expected{
      {"iohprofiler/smRandom/IOHprofiler_f1_NQueens.info",
       header + "5" + rest + "data_f1_NQueens/IOHprofiler_f1_DIM5.dat, 1:80|7\n" + header + "6" + rest +
           "data_f1_NQueens/IOHprofiler_f1_DIM6.dat, 1:72|10.5\n"},
      {"iohprofiler/smRandom/data_f1_NQueens/IOHprofiler_f1_DIM5.dat",
       "\"function evaluation\" \"best-so-far f(x)\"\n"
       "80 7\n"},
      {"iohprofiler/smRandom/data_f1_NQueens/IOHprofiler_f1_DIM6.dat",
       "\"function evaluation\" \"best-so-far f(x)\"\n"
       "24 9\n"
       "72 10.5\n"
       "72 10.5\n"},
  };
  EXPECT_EQ(files, expected);
}

TEST(IohAlgInfo, NamesStreamsSeedGenerationsAndVersion) {
  TExperimentDesign design;
  design.Seed = 5;
  EXPECT_EQ(IohAlgInfo(design, "2.0+abc", 100), "streams continued, seed 5, generations 100, version 2.0+abc");
  design.Streams = zp::queens::TRandomStreams::rsShared;
  EXPECT_EQ(IohAlgInfo(design, "v", 7), "streams shared, seed 5, generations 7, version v");
  design.Evaluations = ParseEvaluations("20n");
  EXPECT_EQ(IohAlgInfo(design, "v", 9), "streams shared, seed 5, generations 9, evaluations 20n, version v");
}

TEST(WriteOutputFiles, WritesTheFolderTreeAndNamesAFileItCannotWrite) {
  const auto folder = std::filesystem::path(::testing::TempDir()) / "ioh_write_test";
  std::filesystem::remove_all(folder);
  WriteOutputFiles(folder, kExpected);
  for (const TOutputFile& file : kExpected) EXPECT_EQ(ReadFile(folder / file.Path), file.Text) << file.Path;
  // Written again over the old files, nothing else is left beside them.
  WriteOutputFiles(folder, kExpected);
  size_t count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) count += entry.is_regular_file();
  EXPECT_EQ(count, kExpected.size());

  // A folder where a file should go.
  std::filesystem::create_directories(folder / "blocked");
  try {
    WriteOutputFiles(folder, {{"blocked", "x"}});
    ADD_FAILURE() << "no error";
  } catch (const zp::Exception& e) {
    EXPECT_EQ(std::string(e.what()), (folder / "blocked").string() + ": cannot write the file (Is a directory)");
  }
  std::filesystem::remove_all(folder);
}
