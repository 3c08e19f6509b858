#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "experiment/ExperimentJson.h"
#include "experiment/FolderLock.h"
#include "experiment/ReportFolder.h"
#include "experiment/TwoRunExperiment.h"
#include "platform/Exceptions.h"

namespace zp::experiment {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& Path, const std::string& Text) { std::ofstream(Path, std::ios::binary) << Text; }

TExperimentDesign TwoRunDesign() {
  TExperimentDesign design;
  design.Sizes = {4};
  design.Repeats = 2;
  design.Generations = 5;
  design.Methods = {ga::TGASelectionMethod::smRoulette, ga::TGASelectionMethod::smElitist};
  design.Label = "two";
  return design;
}

// The hand-worked two-repeat experiment as a finished folder (End empty: unfinished).
fs::path TwoRunFolder(const std::string& Name, const std::string& End = "2024-01-01T00:01:00Z") {
  const fs::path folder = fs::path(testing::TempDir()) / Name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  WriteText(folder / "runs.csv", fixture::kTwoRunRunsCsv);
  WriteText(folder / "traces.csv", fixture::kTwoRunTracesCsv);
  WriteText(folder / "experiment.json",
            ExperimentJson(TwoRunDesign(), "1.0+abc1234", {"2024-01-01T00:00:00Z", End, 1, "h"}));
  return folder;
}

std::vector<std::string> Drawn;

const TPictureWriter kNoPictures = [](chart::TZPCustomChartPanel&, const std::string& File, int, int) {
  Drawn.push_back(fs::path(File).filename().string());
};

// The expected file was checked by hand against the fixture: roulette spends 96 + 80
// evaluations for 1 hit (ERT 176), elitist 48 + 16 for 2 (ERT 32); one discordant
// repeat (McNemar p 1); roulette's lengths (6 for the miss, 4) exceed elitist's (2, 0):
// T = 0, exact p 0.5, A12 0, Holm over the two tests 1; Friedman on ranks (2, 1) of one
// instance 12 / 6 * (5 - 4.5) = 1, p 0.3173.
TEST(WriteReport, MarkdownOfTheTwoRunFolderIsTheExpectedFile) {
  const fs::path folder = TwoRunFolder("report_two_run");
  Drawn.clear();
  const TReportContent report = WriteReport(folder, folder / "report", kNoPictures);
  const std::string expected = ReadText(fs::path(ZP_TEST_SOURCE_DIR) / "experiment/golden/report.md");
  EXPECT_EQ(ReadText(folder / "report/report.md"), expected);
  EXPECT_EQ(Drawn, (std::vector<std::string>{"ecdf-nqueens-4.pdf", "ecdf-nqueens-4.svg", "ecdf-nqueens-4.png",
                                             "budget-nqueens-4.pdf", "budget-nqueens-4.svg", "budget-nqueens-4.png"}));
  ASSERT_EQ(report.Cells.size(), 1u);
  // A second report is the same, byte for byte, and the experiment's files stay as they were.
  const std::string runs = ReadText(folder / "runs.csv");
  WriteReport(folder, folder / "report", kNoPictures);
  EXPECT_EQ(ReadText(folder / "report/report.md"), expected);
  EXPECT_EQ(ReadText(folder / "runs.csv"), runs);
  EXPECT_FALSE(fs::exists(folder / kLockFileName));
}

TEST(WriteReport, RefusesFoldersThatAreNoFinishedExperiment) {
  const fs::path unfinished = TwoRunFolder("report_unfinished", "");
  EXPECT_THROW_MSG(WriteReport(unfinished, unfinished / "report", kNoPictures), Exception,
                   "'" + unfinished.string() +
                       "' holds an unfinished experiment (its run has no end); finish it with 'batch --resume' first");
  EXPECT_FALSE(fs::exists(unfinished / "report"));

  const fs::path empty = fs::path(testing::TempDir()) / "report_empty";
  fs::create_directories(empty);
  EXPECT_THROW_MSG(WriteReport(empty, empty / "report", kNoPictures), Exception,
                   "'" + empty.string() + "' holds no experiment.json: it is no experiment folder");

  const fs::path running = TwoRunFolder("report_running");
  {
    TFolderLock lock(running);
    EXPECT_THROW_MSG(WriteReport(running, running / "report", kNoPictures), Exception,
                     "'" + running.string() + "' is in use by a running batch; report on it when it has finished");
  }
  EXPECT_NO_THROW(WriteReport(running, running / "report", kNoPictures));

  // Into the experiment's own folder the figures would replace the batch's pictures.
  EXPECT_THROW_MSG(
      WriteReport(running, running / "." / "", kNoPictures), Exception,
      "'" + (running / "." / "").string() + "' is the experiment's folder; the report goes into a folder of its own");
}

}  // namespace
}  // namespace zp::experiment
