// The IOHprofiler files of the worked two-run experiment, expected texts worked
// out by hand from its table (population 16: generation g costs 16 (1 + g)).
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

const std::vector<TOutputFile> kExpected{
    {"iohprofiler/smRoulette/IOHprofiler_f1_NQueens.info",
     "suite = 'NQueens', funcId = 1, DIM = 4, algId = 'smRoulette', maximization = 'T'\n"
     "%\n"
     "data_f1_NQueens/IOHprofiler_f1_DIM4.dat, 1:96|5, 1:80|6\n"},
    {"iohprofiler/smRoulette/data_f1_NQueens/IOHprofiler_f1_DIM4.dat",
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "32 4\n"
     "64 5\n"
     "96 5\n"
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "32 3\n"
     "48 4.5\n"
     "80 6\n"
     "80 6\n"},
    {"iohprofiler/smElitist/IOHprofiler_f1_NQueens.info",
     "suite = 'NQueens', funcId = 1, DIM = 4, algId = 'smElitist', maximization = 'T'\n"
     "%\n"
     "data_f1_NQueens/IOHprofiler_f1_DIM4.dat, 1:48|6, 1:96|4\n"},
    {"iohprofiler/smElitist/data_f1_NQueens/IOHprofiler_f1_DIM4.dat",
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "32 5\n"
     "48 6\n"
     "48 6\n"
     "\"function evaluation\" \"best-so-far f(x)\"\n"
     "32 4\n"
     "96 4\n"},
};

std::string ReadFile(const std::filesystem::path& File) { return zp::test::ReadFile(File.string()); }

TRunRow MakeRun(int32_t Queens, int32_t Generations, int64_t Evaluations, double BestEver) {
  TRunRow row;
  row.Queens = Queens;
  row.Method = zp::ga::TGASelectionMethod::smRandom;
  row.Generations = Generations;
  row.Evaluations = Evaluations;
  row.BestEver = BestEver;
  return row;
}

}  // namespace

TEST(IohProfilerFiles, TwoRunExperiment) {
  std::vector<TRunRow> rows = ParseRunsCsv(fixture::kTwoRunRunsCsv);
  std::vector<TRunTrace> traces = ParseTracesCsv(fixture::kTwoRunTracesCsv);
  EXPECT_EQ(IohProfilerFiles(rows, traces), kExpected);
  // The files follow the key order whatever order the rows come in.
  std::reverse(rows.begin(), rows.end());
  std::reverse(traces.begin(), traces.end());
  EXPECT_EQ(IohProfilerFiles(rows, traces), kExpected);
  EXPECT_TRUE(IohProfilerFiles({}, {}).empty());
}

TEST(IohProfilerFiles, OneBlockPerQueenCountAscending) {
  // Random only: 6 queens (population 24) improving at generation 2; 5 queens (population 20) without a trace.
  TRunTrace six{6, 0, zp::ga::TGASelectionMethod::smRandom, {{2, 10.5}}};
  const std::vector<TOutputFile> files = IohProfilerFiles({MakeRun(6, 2, 72, 10.5), MakeRun(5, 3, 80, 7)}, {six});
  const std::vector<TOutputFile> expected{
      {"iohprofiler/smRandom/IOHprofiler_f1_NQueens.info",
       "suite = 'NQueens', funcId = 1, DIM = 5, algId = 'smRandom', maximization = 'T'\n"
       "%\n"
       "data_f1_NQueens/IOHprofiler_f1_DIM5.dat, 1:80|7\n"
       "suite = 'NQueens', funcId = 1, DIM = 6, algId = 'smRandom', maximization = 'T'\n"
       "%\n"
       "data_f1_NQueens/IOHprofiler_f1_DIM6.dat, 1:72|10.5\n"},
      {"iohprofiler/smRandom/data_f1_NQueens/IOHprofiler_f1_DIM5.dat",
       "\"function evaluation\" \"best-so-far f(x)\"\n"
       "80 7\n"},
      {"iohprofiler/smRandom/data_f1_NQueens/IOHprofiler_f1_DIM6.dat",
       "\"function evaluation\" \"best-so-far f(x)\"\n"
       "72 10.5\n"
       "72 10.5\n"},
  };
  EXPECT_EQ(files, expected);
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
