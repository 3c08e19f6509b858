// nqueens-ga batch: the files are the same for any job count and any split of
// the queen counts, each row is the log of the run its seed replays, bad input
// writes nothing, and an interrupted experiment resumes to the same files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CliTestSupport.h"
#include "TestSupport.h"
#include "cli/CliRunner.h"
#include "experiment/ExperimentFolder.h"

extern char** environ;

using zp::cli_test::Result;
using zp::cli_test::RunTool;

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& name) { return zp::test::ReadFile(name.string()); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
  return fields;
}

// A fresh, empty folder under the test's temporary directory.
fs::path Folder(const std::string& name) {
  const fs::path path = fs::path(testing::TempDir()) / ("nqueens_batch_" + name);
  fs::remove_all(path);
  return path;
}

// Runs a batch into Out and returns it; the test fails unless it succeeds. The
// label is "batch-test" unless given, so that folders of one experiment compare equal.
fs::path Batch(const std::string& name, std::vector<std::string> args) {
  const fs::path out = Folder(name);
  if (std::find(args.begin(), args.end(), "--label") == args.end()) args.insert(args.end(), {"--label", "batch-test"});
  args.insert(args.begin(), "batch");
  args.insert(args.end(), {"--quiet", "--out", out.string()});
  const Result r = RunTool(args);
  EXPECT_EQ(r.status, 0) << r.err;
  return out;
}

// experiment.json without its "run" part, the part that may differ between runs.
std::string ParametersOf(const fs::path& folder) {
  const std::string json = ReadFile(folder / "experiment.json");
  return json.substr(0, json.find("\"run\""));
}

// The repeats timing.csv holds a line for, in file order; the test fails on any other line.
std::vector<std::string> TimedRepeats(const fs::path& folder) {
  const std::vector<std::string> lines = Lines(ReadFile(folder / "timing.csv"));
  EXPECT_FALSE(lines.empty());
  EXPECT_EQ(lines.empty() ? "" : lines[0], "problem,size,config,repeat,seconds");
  std::vector<std::string> keys;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Split(lines[i]);
    EXPECT_EQ(f.size(), 5u) << lines[i];
    if (f.size() == 5) keys.push_back(f[0] + "," + f[1] + "," + f[2] + "," + f[3]);
  }
  return keys;
}

// Every file the same, the times in timing.csv and the "run" part of experiment.json
// aside; timing.csv holds one line per repeat in both.
void ExpectSameFiles(const fs::path& a, const fs::path& b) {
  std::vector<fs::path> files_a, files_b;
  for (const auto& [root, files] : {std::pair{a, &files_a}, std::pair{b, &files_b}})
    for (const auto& entry : fs::recursive_directory_iterator(root))
      if (entry.is_regular_file()) files->push_back(fs::relative(entry.path(), root));
  std::sort(files_a.begin(), files_a.end());
  std::sort(files_b.begin(), files_b.end());
  ASSERT_EQ(files_a, files_b);
  EXPECT_GT(files_a.size(), 10u);  // the CSV files, experiment.json, pictures and iohprofiler/
  for (const fs::path& file : files_a) {
    if (file == "timing.csv")
      EXPECT_EQ(TimedRepeats(a), TimedRepeats(b));
    else if (file == "experiment.json")
      EXPECT_EQ(ParametersOf(a), ParametersOf(b));
    else
      EXPECT_EQ(ReadFile(a / file), ReadFile(b / file)) << file;
  }
}

TEST(BatchCommandTest, FilesAreTheSameForOneAndTwoJobs) {
  const std::vector<std::string> args{"--queens", "5,7", "--repeats", "6", "--generations", "30", "--seed", "0x51"};
  const fs::path one = Batch("jobs1", [&] {
    auto a = args;
    a.insert(a.end(), {"--jobs", "1"});
    return a;
  }());
  const fs::path two = Batch("jobs2", [&] {
    auto a = args;
    a.insert(a.end(), {"--jobs", "2"});
    return a;
  }());
  EXPECT_EQ(Lines(ReadFile(one / "runs.csv")).size(), 1u + 2 * 6 * 5);
  ExpectSameFiles(one, two);
  EXPECT_EQ(Lines(ReadFile(two / "timing.csv")).size(), 1u + 2 * 6);
  for (const char* picture : {"ecdf-nqueens-5.png", "ecdf-nqueens-7.svg"})
    EXPECT_TRUE(fs::exists(two / picture)) << picture;
  EXPECT_EQ(Lines(ReadFile(two / "summary.csv")).size(), 1u + 2 * 5);
  EXPECT_NE(ReadFile(two / "experiment.json").find("\"jobs\": 2"), std::string::npos);
}

TEST(BatchCommandTest, SeveralQueenCountsAreTheSeparateBatchesInOrder) {
  const std::vector<std::string> common{"--repeats", "3", "--generations", "20", "--jobs", "1", "--seed", "9"};
  auto with = [&](const std::string& queens) {
    auto a = common;
    a.insert(a.end(), {"--queens", queens});
    return a;
  };
  const std::string all = ReadFile(Batch("all", with("12,8,4")) / "runs.csv");
  std::string separate = Lines(all)[0] + "\n";
  for (const char* n : {"4", "8", "12"}) {
    const std::string runs = ReadFile(Batch(std::string("q") + n, with(n)) / "runs.csv");
    separate += runs.substr(runs.find('\n') + 1);
  }
  EXPECT_EQ(all, separate);
}

// The five method blocks printed after Mark, as runs.csv would hold them (hit_generation and
// best_ever aside: the log does not print the start population's best).
std::vector<std::string> RowsFromLog(const std::vector<std::string>& log, size_t mark, const std::string& problem,
                                     int size, const std::string& target, int repeat, const std::string& seed) {
  std::vector<std::string> rows;
  for (size_t at = mark; at + 8 <= log.size(); at += 8) {
    auto after = [&](size_t i, const std::string& prefix) {
      EXPECT_EQ(log[at + i].rfind(prefix, 0), 0u) << log[at + i];
      return log[at + i].substr(prefix.size());
    };
    const std::string max = after(7, "Max Fitness:");
    const std::string generations = after(2, "Number of generations:");
    rows.push_back(problem + "," + std::to_string(size) + ",0," + std::to_string(repeat) + "," + seed + "," +
                   after(1, "Selection Method: ") + "," + (max == target ? "1" : "0") + ",*," + generations + "," +
                   std::to_string(4 * size * (1 + std::stoi(generations))) + "," + max + "," +
                   after(5, "Avg Fitness:") + "," + after(6, "Min Fitness:") + ",*," + after(3, "Fittest Individual:"));
  }
  return rows;
}

// A row with its hit_generation and best_ever fields replaced by "*".
std::string WithoutBestEver(const std::string& row) {
  std::vector<std::string> f = Split(row);
  f[7] = "*";
  f[13] = "*";
  std::string text;
  for (size_t i = 0; i < f.size(); ++i) text += (i ? "," : "") + f[i];
  return text;
}

TEST(BatchCommandTest, EachRepeatIsTheRunItsSeedReplays) {
  for (const char* streams : {"continued", "shared"}) {
    SCOPED_TRACE(streams);
    const fs::path out = Batch(std::string("replay_") + streams,
                               {"--queens", "6,9", "--repeats", "3", "--generations", "60", "--streams", streams});
    const std::vector<std::string> rows = Lines(ReadFile(out / "runs.csv"));
    ASSERT_EQ(rows.size(), 1u + 2 * 3 * 5);
    for (size_t first = 1; first < rows.size(); first += 5) {
      const std::vector<std::string> key = Split(rows[first]);
      const std::string script = std::string(streams) == "shared" ? "streams shared; " : "";
      const Result replay = RunTool({"--seed", key[4], "-e", script + "queens " + key[1] + "; run 60"});
      ASSERT_EQ(replay.status, 0);
      const std::vector<std::string> log = Lines(replay.out);
      const int queens = std::stoi(key[1]);
      const std::vector<std::string> expected = RowsFromLog(
          log, 7 + 8, "nqueens", queens, std::to_string(queens * (queens - 1) / 2), std::stoi(key[3]), key[4]);
      ASSERT_EQ(expected.size(), 5u);
      for (size_t m = 0; m < 5; ++m) EXPECT_EQ(WithoutBestEver(rows[first + m]), expected[m]);
    }
  }
}

TEST(BatchCommandTest, RowsOfOtherProblemsStandInKeyOrderAndAreTheRunsTheirSeedsReplay) {
  const fs::path out = Batch("problems", {"--problem", "jump:2,onemax,leadingones", "--sizes", "6,9", "--repeats", "2",
                                          "--generations", "30", "--seed", "77"});
  const std::vector<std::string> rows = Lines(ReadFile(out / "runs.csv"));
  ASSERT_EQ(rows.size(), 1u + 3 * 2 * 2 * 5);
  // Problems as given, sizes ascending, configuration 0, repeats, the five methods.
  std::vector<std::string> keys;
  for (size_t i = 1; i < rows.size(); i += 5) {
    const std::vector<std::string> f = Split(rows[i]);
    keys.push_back(f[0] + "," + f[1] + "," + f[2] + "," + f[3]);
  }
  EXPECT_EQ(keys,
            (std::vector<std::string>{"jump:2,6,0,0", "jump:2,6,0,1", "jump:2,9,0,0", "jump:2,9,0,1", "onemax,6,0,0",
                                      "onemax,6,0,1", "onemax,9,0,0", "onemax,9,0,1", "leadingones,6,0,0",
                                      "leadingones,6,0,1", "leadingones,9,0,0", "leadingones,9,0,1"}));
  for (size_t first = 1; first < rows.size(); first += 5) {
    const std::vector<std::string> key = Split(rows[first]);
    const int size = std::stoi(key[1]);
    const Result replay = RunTool({"--seed", key[4], "-e", "problem " + key[0] + " " + key[1] + "; run 30"});
    ASSERT_EQ(replay.status, 0) << replay.err;
    const std::vector<std::string> log = Lines(replay.out);
    ASSERT_GT(log.size(), 9u);
    EXPECT_EQ(log[7 + 2], "     Problem is " +
                              std::string(key[0] == "onemax"        ? "OneMax"
                                          : key[0] == "leadingones" ? "LeadingOnes"
                                                                    : "Jump_2") +
                              ", size " + key[1]);
    const std::string target = std::to_string(key[0] == "jump:2" ? size + 2 : size);
    const std::vector<std::string> expected = RowsFromLog(log, 7 + 8, key[0], size, target, std::stoi(key[3]), key[4]);
    ASSERT_EQ(expected.size(), 5u);
    for (size_t m = 0; m < 5; ++m) EXPECT_EQ(WithoutBestEver(rows[first + m]), expected[m]);
  }
  // Each problem has its own pictures and IOHprofiler function; N-Queens' suite is not theirs.
  for (const char* file : {"ecdf-jump2-6.png", "ecdf-onemax-9.svg", "ecdf-leadingones-6.png",
                           "iohprofiler/smElitist/IOHprofiler_f2_OneMax.info",
                           "iohprofiler/smElitist/data_f3_LeadingOnes/IOHprofiler_f3_DIM9.dat"})
    EXPECT_TRUE(fs::exists(out / file)) << file;
  const std::string jump = ReadFile(out / "iohprofiler/smRoulette/IOHprofiler_f4_Jump_2.info");
  EXPECT_EQ(jump.rfind("suite = \"GAWorkbench\", funcId = 4, funcName = \"Jump_2\", DIM = 6, ", 0), 0u) << jump;
  EXPECT_NE(jump.find(", K 2\"\n"), std::string::npos) << jump;
  // One Holm family per problem and size: the summary and comparisons hold every cell.
  EXPECT_EQ(Lines(ReadFile(out / "summary.csv")).size(), 1u + 3 * 2 * 5);
  EXPECT_EQ(Lines(ReadFile(out / "comparisons.csv")).size(), 1u + 3 * 2 * 20);
}

TEST(BatchCommandTest, ASweepsRowsAreTheRunsTheirSetLinesReplayAndItsEffectsPoolThem) {
  const fs::path out =
      Batch("sweep", {"--problem", "onemax,nqueens", "--sizes", "6", "--population", "2n,30", "--mutation", "2/L",
                      "--tournament", "2,3", "--repeats", "2", "--evaluations", "20n", "--seed", "3"});
  // Configurations: population slowest, tournament fastest; generations floor(120 / population) - 1.
  const std::vector<std::string> configs = Lines(ReadFile(out / "configurations.csv"));
  ASSERT_EQ(configs.size(), 1u + 2 * 4);
  EXPECT_EQ(configs[1], "onemax,6,0,12,0.98,0.333333333333333,0.1,2,0.1,cmGeneBoundary,9,120");
  EXPECT_EQ(configs[2], "onemax,6,1,12,0.98,0.333333333333333,0.1,3,0.1,cmGeneBoundary,9,120");
  EXPECT_EQ(configs[3], "onemax,6,2,30,0.98,0.333333333333333,0.1,2,0.1,cmGeneBoundary,3,120");
  // N-Queens of 6 runs on the stored 24 bits: 2/L is 2 / 24.
  EXPECT_EQ(configs[8], "nqueens,6,3,30,0.98,0.0833333333333333,0.1,3,0.1,cmGeneBoundary,3,120");
  const std::vector<std::string> rows = Lines(ReadFile(out / "runs.csv"));
  ASSERT_EQ(rows.size(), 1u + 2 * 4 * 2 * 5);
  for (size_t first = 1; first < rows.size(); first += 5) {
    const std::vector<std::string> key = Split(rows[first]);
    const std::vector<std::string> config = Split(configs[1 + (key[0] == "nqueens" ? 4 : 0) + std::stoul(key[2])]);
    // Every configuration of a repeat starts from the repeat's seed.
    const size_t group = (first - 1) / 5;  // 8 per problem: configurations, then repeats
    EXPECT_EQ(key[4], Split(rows[1 + 5 * (group / 8 * 8 + group % 2)])[4]);
    const std::string script = "set population " + config[3] + "; set mutation 2/L; set tournament " + config[7] +
                               "; problem " + key[0] + " 6; run " + config[10];
    const Result replay = RunTool({"--seed", key[4], "-e", script});
    ASSERT_EQ(replay.status, 0) << replay.err;
    const std::vector<std::string> log = Lines(replay.out);
    for (size_t m = 0; m < 5; ++m) {
      const std::vector<std::string> f = Split(rows[first + m]);
      const std::string block = "Selection Method: " + f[5] + "\nNumber of generations:" + f[8];
      EXPECT_NE(replay.out.find(block), std::string::npos) << block;
      EXPECT_NE(replay.out.find("Fittest Individual:" + f[14]), std::string::npos) << rows[first + m];
      EXPECT_NE(replay.out.find("Avg Fitness:" + f[11] + "\nMin Fitness:" + f[12] + "\nMax Fitness:" + f[10]),
                std::string::npos)
          << rows[first + m];
    }
  }
  // effects.csv pools each value's configurations: population 2n holds configurations 0 and 1.
  int64_t runs = 0, hits = 0, spent = 0;
  for (size_t i = 1; i < rows.size(); ++i) {
    const std::vector<std::string> f = Split(rows[i]);
    if (f[0] != "onemax" || f[5] != "smTournament" || std::stoi(f[2]) > 1) continue;
    ++runs;
    if (!f[7].empty()) {
      ++hits;
      spent += 12 * (1 + std::stoll(f[7]));
    }
  }
  const std::vector<std::string> effects = Lines(ReadFile(out / "effects.csv"));
  EXPECT_EQ(effects[0], "problem,size,method,setting,value,configs,runs,hits,hit_rate,ert_evaluations");
  const auto line = std::find_if(effects.begin(), effects.end(), [](const std::string& l) {
    return l.rfind("onemax,6,smTournament,population,2n,", 0) == 0;
  });
  ASSERT_NE(line, effects.end());
  const std::vector<std::string> f = Split(*line);
  EXPECT_EQ(f[5], "2");
  EXPECT_EQ(std::stoll(f[6]), runs);
  EXPECT_EQ(std::stoll(f[7]), hits);
  if (hits > 0) {
    EXPECT_NEAR(std::stod(f[9]), static_cast<double>(spent) / static_cast<double>(hits), 1e-9);
  }
  // Mutation takes one value: it is no main effect. Each configuration is an algorithm of its own.
  EXPECT_EQ(ReadFile(out / "effects.csv").find(",mutation,"), std::string::npos);
  EXPECT_TRUE(fs::exists(out / "ecdf-onemax-6-c0.svg"));
  for (const char* picture : {"effects-onemax-6-population.svg", "effects-nqueens-6-tournament.png"})
    EXPECT_TRUE(fs::exists(out / picture)) << picture;
  EXPECT_FALSE(fs::exists(out / "effects-onemax-6-mutation.svg"));
  EXPECT_NE(
      ReadFile(out / "iohprofiler/smElitist-c3/IOHprofiler_f1_NQueens.info").find("algId = \"Elitist@batch-test#c3\""),
      std::string::npos);
}

TEST(BatchCommandTest, SweepsAreRefusedBeforeAnythingRunsWhenTooLargeOrOutOfBudget) {
  const fs::path out = Folder("sweep_bad");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--population", "2n,2n"}, "error: --population: '2n' is given twice\n"},
      {{"--population", "1"}, "error: --population: '1' is not a population"},
      {{"--mutation", "2/K"}, "error: --mutation: '2/K' is not a mutation probability"},
      {{"--elitist", "1"}, "error: --elitist: '1' is not an elitist share"},
      {{"--tournament", "1"}, "error: --tournament: '1' is not a tournament field"},
      {{"--crossover-method", "cmNone"}, "error: --crossover-method: 'cmNone' is not a crossover method"},
      {{"--generations", "5", "--evaluations", "100"}, "error: --generations: and --evaluations both"},
      // 4n individuals spend 8n in two generations' worth: floor(8n / 4n) - 1 = 1 is the least.
      {{"--evaluations", "7n"},
       "error: --evaluations: 7n leaves configuration 0 (population 32) of nqueens size 8 "
       "less than one generation\n"},
      {{"--crossover", "0,0.1,0.2,0.3,0.4,0.5,0.6,0.7,0.8,0.9,1", "--inversion",
        "0,0.1,0.2,0.3,0.4,0.5,0.6,0.7,0.8,0.9,1", "--elitist", "0,0.1,0.2,0.3,0.4,0.5,0.6,0.7,0.8,0.9"},
       "error: configurations: the setting lists make 1210 configurations, more than the 1000"},
      {{"--repeats", "2000001"}, "error: --repeats: the design has 10000005 rows, more than the 10000000"},
  };
  for (const auto& [args, message] : cases) {
    std::vector<std::string> a{"batch", "--out", out.string()};
    a.insert(a.end(), args.begin(), args.end());
    const Result r = RunTool(a);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(r.err.rfind(message, 0), 0u) << r.err;
    EXPECT_FALSE(fs::exists(out)) << args[0];
  }
  EXPECT_EQ(RunTool({"batch", "--quiet", "--out", out.string(), "--evaluations", "8n", "--repeats", "1"}).status, 0);
}

TEST(BatchCommandTest, OneRepeatFromSeedZeroIsTheDefaultSessionsRun) {
  // What nqueens-ga printed with no arguments when this was written: 8 queens, 100 generations.
  const std::vector<std::string> log = Lines(ReadFile(fs::path(ZP_TESTS_DIR) / "cli/golden/default/stdout.txt"));
  ASSERT_EQ(log.size(), 7u + 8 + 5 * 8);
  const std::vector<std::string> expected = RowsFromLog(log, 7 + 8, "nqueens", 8, "28", 0, "0");
  const fs::path out = Batch("first", {"--repeats", "1", "--seed", "0"});
  const std::vector<std::string> rows = Lines(ReadFile(out / "runs.csv"));
  ASSERT_EQ(rows.size(), 6u);
  for (size_t m = 0; m < 5; ++m) EXPECT_EQ(WithoutBestEver(rows[1 + m]), expected[m]);
}

TEST(BatchCommandTest, BadInputIsOneErrorLineNamingTheOptionAndWritesNothing) {
  const fs::path out = Folder("bad");
  const fs::path file = Folder("a_file");
  std::ofstream(file) << "x";
  const fs::path full = Folder("full");
  fs::create_directories(full);
  std::ofstream(full / "something") << "x";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--queens", "3"}, "--queens"},
      {{"--queens", "8,x"}, "--queens"},
      {{"--queens", "12-10"}, "--queens"},
      {{"--queens", "8-"}, "--queens"},
      {{"--repeats", "0"}, "--repeats"},
      {{"--repeats", "2.5"}, "--repeats"},
      {{"--generations", "-3"}, "--generations"},
      {{"--seed", "4294967296"}, "--seed"},
      {{"--seed", "-1"}, "--seed"},
      {{"--jobs", "0"}, "--jobs"},
      {{"--jobs", "-2"}, "--jobs"},
      {{"--methods", "roulette,best"}, "--methods"},
      {{"--streams", "mixed"}, "--streams"},
      {{"--label", "two words"}, "--label"},
      {{"--label", ""}, "--label"},
      {{"--problem", "nqueens,twomax"}, "--problem"},
      {{"--problem", "jump:0"}, "--problem"},
      {{"--problem", "onemax,onemax"}, "--problem"},
      {{"--problem", "nqueens,onemax", "--sizes", "8,64"}, "--sizes: 64 is not a size of nqueens: 4 to 32"},
      {{"--problem", "jump:4", "--sizes", "8"}, "--sizes: 8 is not a size of jump:4"},
      {{"--problem", "onemax", "--sizes", "4097"}, "--sizes"},
      {{"--problem", "onemax", "--queens", "8"}, "--queens"},
      {{"--queens", "8", "--sizes", "8"}, "--queens"},
      {{"--repeats", "16777217"}, "--repeats takes at most 16777216 repeats"},
  };
  for (const auto& [args, option] : cases) {
    std::vector<std::string> a{"batch", "--out", out.string()};
    a.insert(a.end(), args.begin(), args.end());
    const Result r = RunTool(a);
    EXPECT_EQ(r.status, 2) << args[0] << " " << args[1];
    EXPECT_EQ(r.err.rfind("error: " + option, 0), 0u) << r.err;
    EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
    EXPECT_FALSE(fs::exists(out)) << args[0] << " " << args[1];
  }
  const Result on_file = RunTool({"batch", "--out", file.string()});
  EXPECT_EQ(on_file.status, 2);
  EXPECT_EQ(on_file.err, "error: --out: '" + file.string() + "' is a file\n");
  const Result unwritable = RunTool({"batch", "--out", (file / "sub").string()});
  EXPECT_EQ(unwritable.status, 2);
  EXPECT_EQ(unwritable.err.rfind("error: --out: ", 0), 0u);
  const Result not_empty = RunTool({"batch", "--out", full.string()});
  EXPECT_EQ(not_empty.status, 2);
  EXPECT_EQ(not_empty.err.rfind("error: --out: '" + full.string() + "' is not empty", 0), 0u);
  EXPECT_EQ(ReadFile(full / "something"), "x");
}

TEST(BatchCommandTest, ResumeTakesTheStoredOptionsAndRefusesOtherOnes) {
  const fs::path out = Batch("resume_opts", {"--queens", "5", "--repeats", "2", "--generations", "10"});
  const std::string runs = ReadFile(out / "runs.csv");
  const Result differs =
      RunTool({"batch", "--quiet", "--resume", "--out", out.string(), "--repeats", "3", "--seed", "1"});
  EXPECT_EQ(differs.status, 2);
  EXPECT_EQ(differs.err, "error: --resume: the experiment in '" + out.string() +
                             "' differs in repeats (2 in the folder, 3 given), seed (0 in the folder, 1 given)\n");
  // The same options again, or none: nothing is left to run and nothing changes.
  EXPECT_EQ(RunTool({"batch", "--quiet", "--resume", "--out", out.string(), "--queens", "5"}).status, 0);
  EXPECT_EQ(RunTool({"batch", "--quiet", "--resume", "--out", out.string()}).status, 0);
  EXPECT_EQ(ReadFile(out / "runs.csv"), runs);
  // The label is stored: given again it must agree, whatever the folder is called now.
  const Result label = RunTool({"batch", "--quiet", "--resume", "--out", out.string(), "--label", "other"});
  EXPECT_EQ(label.status, 2);
  EXPECT_EQ(label.err, "error: --resume: the experiment in '" + out.string() +
                           "' differs in label (\"batch-test\" in the folder, \"other\" given)\n");
  EXPECT_EQ(RunTool({"batch", "--quiet", "--resume", "--out", out.string(), "--label", "batch-test"}).status, 0);
}

TEST(BatchCommandTest, TheLabelIsTheFolderNameByDefaultAndNamesEveryAlgId) {
  const fs::path out = Batch(
      "label (default)", {"--queens", "5", "--repeats", "2", "--generations", "5", "--label", "x"});  // a label given
  EXPECT_NE(ReadFile(out / "iohprofiler/smElitist/IOHprofiler_f1_NQueens.info").find("algId = \"Elitist@x\""),
            std::string::npos);
  const fs::path plain = Folder("label (default)");
  ASSERT_EQ(RunTool({"batch", "--quiet", "--queens", "5", "--repeats", "2", "--generations", "5", "--seed", "3",
                     "--out", plain.string()})
                .status,
            0);
  const std::string info = ReadFile(plain / "iohprofiler/smRoulette/IOHprofiler_f1_NQueens.info");
  EXPECT_EQ(
      info.substr(0, info.find('\n')),
      "suite = \"NQueens\", funcId = 1, funcName = \"NQueens\", DIM = 5, maximization = \"T\", algId = "
      "\"Roulette@nqueens_batch_label__default_\", algInfo = \"streams continued, seed 3, generations 5, version " +
          std::string(zp::experiment::ProgramVersion()) + "\"");
  // Only the info and data files go under iohprofiler/.
  for (const auto& entry : fs::recursive_directory_iterator(plain / "iohprofiler")) {
    if (entry.is_regular_file()) {
      EXPECT_TRUE(entry.path().extension() == ".info" || entry.path().extension() == ".dat") << entry.path();
    }
  }
}

// Every file under Folder with its bytes.
std::vector<std::pair<fs::path, std::string>> Snapshot(const fs::path& folder) {
  std::vector<std::pair<fs::path, std::string>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files.emplace_back(entry.path(), ReadFile(entry.path()));
  std::sort(files.begin(), files.end());
  return files;
}

TEST(BatchCommandTest, ResumeRefusesABrokenExperimentJsonNamingItAndTouchesNothing) {
  const fs::path out = Batch("broken_json", {"--queens", "5", "--repeats", "2", "--generations", "10"});
  const fs::path json = out / "experiment.json";
  const std::string written = ReadFile(json);
  auto edited = [&](const std::string& from, const std::string& to) {
    std::string text = written;
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  };
  // The streams are on line 21: the format takes line 2, the lists before them lines 4 to 20.
  const std::vector<std::pair<std::string, std::string>> cases{
      {edited(R"("continued")", R"("contin\qued")"),
       R"(line 21, column 24: invalid string: forbidden character after backslash; last read: '"contin\q')"},
      {edited(R"("seed": 0)", R"("seed": 18446744073709551616)"),
       "parameters.seed: 18446744073709551616 is out of range 0..4294967295"},
      {edited(R"("seed": 0)", R"("seed": 0, "seed": 0)"), R"(parameters: duplicate key "seed")"},
      // A folder of the older format (without "format") is refused by name.
      {edited("  \"format\": 3,\n", ""),
       "an experiment of format 1, written before hits and labels; this version goes on with format 3 only"},
      // An experiment made before the other problems, whose rows lead with the queen count.
      {edited("  \"format\": 3,", "  \"format\": 2,"),
       "format: an experiment of format 2; this version goes on with format 3 only"},
  };
  for (const auto& [text, message] : cases) {
    std::ofstream(json, std::ios::trunc | std::ios::binary) << text;
    const auto before = Snapshot(out);
    const Result r = RunTool({"batch", "--quiet", "--resume", "--out", out.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: " + json.string() + ": " + message + "\n");
    EXPECT_TRUE(Snapshot(out) == before) << message;
  }
}

TEST(BatchCommandTest, ResumeDropsACutLineAndAPartialRepeatAndEndsWithTheSameFiles) {
  // N-Queens second: the repeats kept are found by the problem's place in the design.
  const std::vector<std::string> args{"--problem", "onemax,nqueens", "--sizes", "6,7", "--repeats",
                                      "5",         "--generations",  "25"};
  const fs::path whole = Batch("cut_whole", args);
  const fs::path cut = Folder("cut");
  fs::copy(whole, cut);
  const std::string runs = ReadFile(whole / "runs.csv");
  // Cut in the middle of a row of the fourth repeat of 6 queens.
  std::ofstream(cut / "runs.csv", std::ios::trunc) << runs.substr(0, runs.find("\nnqueens,6,0,3,") + 28);
  std::vector<std::string> again{"batch", "--quiet", "--resume", "--out", cut.string()};
  ASSERT_EQ(RunTool(again).status, 0);
  ExpectSameFiles(whole, cut);
}

// Runs nqueens-ga as a child process with stdout and stderr in files.
pid_t Spawn(const std::vector<std::string>& args, const fs::path& log) {
  std::vector<std::string> argv{ZP_NQUEENS_GA};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

TEST(BatchCommandTest, InterruptedExperimentKeepsWholeRowsAndResumesToTheSameFiles) {
  const std::vector<std::string> args{"--queens", "11",     "--repeats", "60",      "--generations",
                                      "200",      "--jobs", "2",         "--label", "batch-test"};
  for (const int sig : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig);
    const fs::path out = Folder("interrupted" + std::to_string(sig));
    const fs::path log = Folder("interrupted.log");
    std::vector<std::string> a{"batch", "--out", out.string()};
    a.insert(a.end(), args.begin(), args.end());
    const pid_t pid = Spawn(a, log);
    // Wait for a few repeats to be written, then interrupt.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Lines(ReadFile(out / "runs.csv")).size() < 1 + 2 * 5 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(pid, sig);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + sig);
    const std::string runs = ReadFile(out / "runs.csv");
    const size_t rows = Lines(runs).size() - 1;
    EXPECT_EQ(runs.back(), '\n');
    EXPECT_EQ(rows % 5, 0u);
    EXPECT_LT(rows, 60u * 5) << "the experiment ended before the signal";
    EXPECT_NE(ReadFile(log).find("--resume"), std::string::npos) << ReadFile(log);

    ASSERT_EQ(RunTool({"batch", "--quiet", "--resume", "--out", out.string(), "--jobs", "1"}).status, 0);
    if (sig == SIGINT) {
      std::vector<std::string> b(args.begin(), args.end());
      ExpectSameFiles(Batch("uninterrupted", b), out);
    } else {
      EXPECT_EQ(Lines(ReadFile(out / "runs.csv")).size(), 1u + 60 * 5);
    }
  }
}

TEST(BatchCommandTest, AFolderIsOneProcesssAndASecondBatchIsRefused) {
  const fs::path out = Folder("locked");
  const fs::path log = Folder("locked.log");
  const pid_t first =
      Spawn({"batch", "--out", out.string(), "--queens", "12", "--repeats", "400", "--generations", "500"}, log);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Lines(ReadFile(out / "runs.csv")).size() < 2 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  // Another batch on the folder, with the same options or others, resumed or not.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--resume"}, std::vector<std::string>{"--seed", "1"}}) {
    std::vector<std::string> a{"batch", "--quiet", "--out", out.string()};
    a.insert(a.end(), args.begin(), args.end());
    const Result second = RunTool(a);
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(second.err,
              "error: --out: '" + out.string() + "' is in use by another batch; wait for it, or give another --out\n");
  }
  kill(first, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(first, &status, 0), first);
  // Once the first has ended, the folder is free again; the lock file is no result.
  EXPECT_TRUE(fs::exists(out / ".lock"));
  const Result resumed = RunTool({"batch", "--quiet", "--resume", "--out", out.string(), "--repeats", "3"});
  EXPECT_NE(resumed.err.find("differs in repeats"), std::string::npos) << resumed.err;
}

TEST(BatchCommandTest, ResumeRefusesAFileWithoutWriteBitAndStartsAfreshAfterAKilledStart) {
  const fs::path out = Batch("readonly", {"--queens", "5", "--repeats", "2", "--generations", "5"});
  fs::permissions(out / "summary.csv", fs::perms::owner_read | fs::perms::group_read);
  const std::string before = ReadFile(out / "summary.csv");
  const Result refused = RunTool({"batch", "--quiet", "--resume", "--out", out.string()});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find((out / "summary.csv").string() + "' is not writable (its mode has no write bit)"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadFile(out / "summary.csv"), before);

  // What a start killed before experiment.json leaves: headers alone.
  const fs::path killed = Folder("killed_start");
  fs::create_directories(killed);
  std::ofstream(killed / "runs.csv") << ReadFile(out / "runs.csv").substr(0, ReadFile(out / "runs.csv").find('\n') + 1);
  std::ofstream(killed / "traces.csv") << "";
  const Result fresh = RunTool({"batch", "--quiet", "--resume", "--out", killed.string(), "--queens", "5", "--repeats",
                                "2", "--generations", "5", "--label", "batch-test"});
  EXPECT_EQ(fresh.status, 0) << fresh.err;
  EXPECT_EQ(ReadFile(killed / "runs.csv"), ReadFile(out / "runs.csv"));
}

TEST(BatchCommandTest, ResumeCutsTheFilesAtAZeroBlockAndRedoesTheRest) {
  const std::vector<std::string> args{"--queens", "6,7", "--repeats", "5", "--generations", "25"};
  const fs::path whole = Batch("zero_whole", args);
  const fs::path damaged = Folder("zero");
  fs::copy(whole, damaged);
  // A power loss can leave a block of zeros in place of rows that were written.
  std::string runs = ReadFile(whole / "runs.csv");
  const size_t at = runs.find("\nnqueens,6,0,2,") + 1;
  runs.replace(at, 200, std::string(200, '\0'));
  std::ofstream(damaged / "runs.csv", std::ios::trunc | std::ios::binary) << runs;
  const Result r = RunTool({"batch", "--quiet", "--resume", "--out", damaged.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("note: runs.csv line "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the files are cut there"), std::string::npos) << r.err;
  ExpectSameFiles(whole, damaged);
}

}  // namespace
