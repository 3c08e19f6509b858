#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliTestSupport.h"
#include "experiment/ExperimentJson.h"
#include "workbench/ProblemCatalogue.h"

namespace {

namespace fs = std::filesystem;
using zp::cli_test::RunTool;

std::string ReadText(const fs::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A command's status and its standard output and error together.
std::pair<int, std::string> Shell(const std::string& Command) {
  std::string output;
  FILE* pipe = popen((Command + " 2>&1").c_str(), "r");
  if (!pipe) return {-1, ""};
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  return {pclose(pipe), output};
}

// Two problems, two configurations: eight instances, five methods.
const fs::path& SweepFolder() {
  static const fs::path folder = [] {
    const fs::path dir = fs::path(testing::TempDir()) / "report_cli_sweep";
    fs::remove_all(dir);
    const auto result =
        RunTool({"batch", "--problem", "nqueens,onemax", "--sizes", "8,10", "--population", "2n,4n", "--repeats", "6",
                 "--generations", "40", "--jobs", "2", "--quiet", "--out", dir.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    return dir;
  }();
  return folder;
}

TEST(ReportCommand, WritesTheReportAndLeavesTheExperimentAlone) {
  const fs::path dir = SweepFolder();
  const std::string runs = ReadText(dir / "runs.csv"), summary = ReadText(dir / "summary.csv");
  const fs::path out = fs::path(testing::TempDir()) / "report_cli_out";
  fs::remove_all(out);
  const auto result = RunTool({"report", dir.string(), "--out", out.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "report written to " + out.string() + "\n");
  for (const char* name : {"report.md", "report.tex", "report-standalone.tex", "ecdf-nqueens-8-c0.pdf",
                           "ecdf-onemax-10-c1.svg", "ecdf-onemax-10-c1.png", "budget-nqueens-8-c1.pdf",
                           "cd-diagram.pdf", "cd-diagram.svg", "cd-diagram.png", "effects-onemax-10-population.pdf"})
    EXPECT_TRUE(fs::exists(out / name)) << name;
  EXPECT_EQ(ReadText(dir / "runs.csv"), runs);
  EXPECT_EQ(ReadText(dir / "summary.csv"), summary);
  EXPECT_FALSE(fs::exists(dir / "report"));

  // Byte for byte the same a second time, pictures included.
  const fs::path again = fs::path(testing::TempDir()) / "report_cli_again";
  fs::remove_all(again);
  ASSERT_EQ(RunTool({"report", dir.string(), "--out", again.string()}).status, 0);
  for (const auto& entry : fs::directory_iterator(out))
    EXPECT_EQ(ReadText(entry.path()), ReadText(again / entry.path().filename())) << entry.path();
}

TEST(ReportCommand, StandaloneDocumentCompilesWithoutOverfullBoxesAndEveryPdfReads) {
  const fs::path out = fs::path(testing::TempDir()) / "report_cli_latex";
  fs::remove_all(out);
  ASSERT_EQ(RunTool({"report", SweepFolder().string(), "--out", out.string()}).status, 0);
  const auto [status, log] =
      Shell("cd '" + out.string() + "' && pdflatex -interaction=nonstopmode -halt-on-error report-standalone.tex");
  ASSERT_EQ(status, 0) << log;
  EXPECT_EQ(log.find("Overfull \\hbox"), std::string::npos) << log;
  EXPECT_TRUE(fs::exists(out / "report-standalone.pdf"));
  int figures = 0;
  for (const auto& entry : fs::directory_iterator(out)) {
    if (entry.path().extension() != ".pdf") continue;
    ++figures;
    const auto [info_status, info] = Shell("pdfinfo '" + entry.path().string() + "'");
    EXPECT_EQ(info_status, 0) << entry.path() << info;
    EXPECT_NE(info.find("Pages:"), std::string::npos) << info;
    if (entry.path().filename() != "report-standalone.pdf") {
      EXPECT_NE(info.find("CreationDate:"), std::string::npos) << info;
    }
  }
  EXPECT_GE(figures, 18);  // an ECDF and a fixed-budget figure per instance, the CD diagram, the document
}

TEST(ReportCommand, RefusesAMissingOrUnfinishedFolderByName) {
  const fs::path missing = fs::path(testing::TempDir()) / "report_cli_missing";
  fs::remove_all(missing);
  auto result = RunTool({"report", missing.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: '" + missing.string() + "' holds no experiment.json: it is no experiment folder\n");
  EXPECT_FALSE(fs::exists(missing));

  const fs::path unfinished = fs::path(testing::TempDir()) / "report_cli_unfinished";
  fs::remove_all(unfinished);
  fs::copy(SweepFolder(), unfinished, fs::copy_options::recursive);
  std::string json = ReadText(unfinished / "experiment.json");
  const size_t end = json.find("\"end\": \"");
  ASSERT_NE(end, std::string::npos);
  json.replace(end, json.find('"', end + 8) + 1 - end, "\"end\": null");
  std::ofstream(unfinished / "experiment.json", std::ios::binary) << json;
  result = RunTool({"report", unfinished.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("holds an unfinished experiment"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(unfinished / "report"));
}

}  // namespace

namespace {

// 100,000 rows of OneMax 10 (20,000 repeats of five methods, 50 generations, population
// 40), made up without running them: a method hits at a generation drawn from a small
// generator, or never; its trace climbs one fitness step at a time up to its best.
fs::path HundredThousandRowFolder() {
  const fs::path dir = fs::path(testing::TempDir()) / "report_cli_100k";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const char* const methods[] = {"smRoulette", "smRandom", "smTournament", "smStochasticTournament", "smElitist"};
  std::string runs =
      "problem,size,config,repeat,seed,method,solved,hit_generation,generations,evaluations,max_fitness,avg_fitness,"
      "min_fitness,best_ever,fittest\n";
  std::string traces = "problem,size,config,repeat,method,generation,best\n";
  uint32_t state = 12345;
  for (int repeat = 0; repeat < 20000; ++repeat)
    for (int m = 0; m < 5; ++m) {
      state = state * 1664525u + 1013904223u;
      const int hit = static_cast<int>(state >> 26) - 10 * m;  // below 0: never hit
      const int generations = hit >= 0 && hit <= 50 ? std::max(hit, 1) : 50;
      const int best = hit >= 0 && hit <= 50 ? 10 : 9;
      const std::string key = "onemax,10,0," + std::to_string(repeat);
      runs += key + ",0," + methods[m] + "," + (best == 10 ? "1," + std::to_string(hit) : "0,") + "," +
              std::to_string(generations) + "," + std::to_string(40 * (1 + generations)) + "," + std::to_string(best) +
              ",8,5," + std::to_string(best) + ",1111111111\n";
      // c improvements up to best, spread over the run's generations, strictly rising in both.
      const int c = std::min(best - 5, generations + 1);
      for (int k = 0; k < c; ++k)
        traces += key + "," + methods[m] + "," + std::to_string(c == 1 ? 0 : k * generations / (c - 1)) + "," +
                  std::to_string(best - c + 1 + k) + "\n";
    }
  std::ofstream(dir / "runs.csv", std::ios::binary) << runs;
  std::ofstream(dir / "traces.csv", std::ios::binary) << traces;
  zp::experiment::TExperimentDesign design;
  design.Problems = {*zp::queens::ParseProblemName("onemax")};
  design.Sizes = {10};
  design.Repeats = 20000;
  design.Generations = 50;
  design.Label = "big";
  std::ofstream(dir / "experiment.json", std::ios::binary)
      << zp::experiment::ExperimentJson(design, "1.0+abc", {"2024-01-01T00:00:00Z", "2024-01-01T01:00:00Z", 1, "h"});
  return dir;
}

TEST(ReportCommand, AHundredThousandRowsTakeUnderTenSecondsAndLittleMemory) {
  const fs::path dir = HundredThousandRowFolder();
  const auto start = std::chrono::steady_clock::now();
  const auto result = RunTool({"report", dir.string()});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_LT(seconds, 10.0);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss, 300 * 1024) << "kilobytes at most, the whole test process";
  EXPECT_NE(ReadText(dir / "report/report.md").find("| Elitist | "), std::string::npos);
}

}  // namespace
