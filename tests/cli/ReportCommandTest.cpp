#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliTestSupport.h"

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
