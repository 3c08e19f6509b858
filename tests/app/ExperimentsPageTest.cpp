// The Experiments page: an experiment runs into a folder that equals what
// nqueens-ga batch writes for the same options, whether it ran at once or was
// stopped and resumed; the table is the folder's summary, live while it runs;
// folders made by the batch and its MPI front end open; Export copies the
// folder; every field is checked as typed, the page's Start and the main
// page's Run exclude each other, and a row's repeat 0 replayed on the main
// page runs exactly as the experiment ran it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "app/ExperimentResults.h"
#include "app/QueensMain.h"
#include "experiment/RecordedRuns.h"
#include "experiment/Report.h"
#include "experiment/Runner.h"
#include "experiment/Summary.h"

namespace {

using zp::app::TExperimentResults;
using zp::app::TExperimentsPage;
using zp::app::TForm1;

struct Window {
  TForm1 form;
  TExperimentsPage& page = form.ExperimentsPage();
  std::vector<QString> errors;
  QTemporaryDir scratch;  // the run folder unless a test gives one
  Window() {
    form.ShowErrorMessage = [this](const QString& message) { errors.push_back(message); };
    page.ShowErrorMessage = form.ShowErrorMessage;
    page.SetRunFolder(scratch.filePath("run"));
  }
  template <class W = QWidget>
  W* Child(const char* name) {
    W* w = form.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Set(const char* field, const QString& text) { Child<QLineEdit>(field)->setText(text); }
  void SetUp(const QString& queens, const QString& repeats, const QString& generations, const QString& seed,
             bool same_numbers, const QString& jobs = "2") {
    Set("edQueens", queens);
    Set("edRepeats", repeats);
    Set("edGenerations", generations);
    Set("edSeed", seed);
    Set("edJobs", jobs);
    Child<QCheckBox>("cbSameNumbers")->setChecked(same_numbers);
  }
  bool WaitFor(const std::function<bool()>& done, int milliseconds = 120000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds) QTest::qWait(5);
    return done();
  }
  // Starts the experiment the fields describe and waits for its end.
  void RunExperiment() {
    ASSERT_TRUE(Child("btnStart")->isEnabled());
    QTest::mouseClick(Child<QPushButton>("btnStart"), Qt::LeftButton);
    ASSERT_TRUE(page.Running());
    ASSERT_TRUE(WaitFor([&] { return !page.Running(); }));
    ASSERT_TRUE(errors.empty()) << errors.front().toStdString();
  }
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    for (const QString& line : Child<QPlainTextEdit>("Memo1")->toPlainText().split(QLatin1Char('\n')))
      lines.push_back(line.toStdString());
    return lines;
  }
};

// Runs nqueens-ga with Arguments; its exit status.
int RunTool(const QStringList& Arguments) {
  QProcess tool;
  tool.start(QStringLiteral(ZP_NQUEENS_GA), Arguments);
  if (!tool.waitForFinished(120000)) return -1;
  return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

// Every file under Folder by its relative path, the lock file aside.
std::map<QString, std::string> FilesUnder(const QString& Folder) {
  std::map<QString, std::string> files;
  QDirIterator it(Folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    if (QFileInfo(path).fileName() == ".lock") continue;
    files[QDir(Folder).relativeFilePath(path)] = zp::test::ReadFile(path.toStdString());
  }
  return files;
}

// Expects the folders to hold the same files, byte for byte but for the times.
void ExpectSameExperiment(const QString& Written, const QString& Expected) {
  std::map<QString, std::string> expected = FilesUnder(Expected), written = FilesUnder(Written);
  ASSERT_EQ(written.size(), expected.size()) << Written.toStdString();
  for (auto& [name, text] : expected) {
    ASSERT_TRUE(written.contains(name)) << name.toStdString();
    if (name == "timing.csv") continue;  // the times
    if (name == "experiment.json") {     // the "run" part says when and where
      EXPECT_EQ(written[name].substr(0, written[name].find("\"run\"")), text.substr(0, text.find("\"run\"")));
      continue;
    }
    EXPECT_TRUE(written[name] == text) << name.toStdString() << " differs";
  }
}

// The summary nqueens-ga batch works out from Folder's runs.csv as it stands.
std::string SummaryOfRows(const QString& Folder, uint32_t Seed) {
  return zp::experiment::SummaryCsv(zp::experiment::Summarize(
      zp::experiment::ParseRunsCsv(zp::test::ReadFile((Folder + "/runs.csv").toStdString())), Seed));
}

TEST(ExperimentsPageFolder, RunFolderTableAndExportEqualTheBatchTool) {
  Window w;
  QTemporaryDir tmp;
  const QString tool = tmp.filePath("tool"), run = tmp.filePath("page/new"), exported = tmp.filePath("export/deeper");
  w.page.SetRunFolder(run);
  w.SetUp("5-6", "4", "50", "5", true);
  w.RunExperiment();
  EXPECT_TRUE(w.page.Complete());
  EXPECT_EQ(w.page.ShownFolder(), run);
  // The next experiment is offered a new folder beside this one.
  EXPECT_EQ(w.page.RunFolder(), tmp.filePath("page/experiment-1"));

  ASSERT_EQ(RunTool({"batch", "--queens", "5,6", "--repeats", "4", "--generations", "50", "--seed", "5", "--streams",
                     "shared", "--jobs", "1", "--quiet", "--out", tool + "/new"}),
            0);
  // The folder is the tool's, written as the repeats finished (its label is the folder's name, as the tool's).
  ExpectSameExperiment(run, tool + "/new");

  // The table's values are the folder's summary.csv, and its differing methods the tool's comparisons.
  EXPECT_EQ(zp::experiment::SummaryCsv(w.page.Results().Summary()),
            zp::test::ReadFile((tool + "/new/summary.csv").toStdString()));
  const TExperimentResults& results = w.page.Results();
  ASSERT_EQ(results.rowCount(), 10);
  std::set<std::string> differing_pairs, shown_pairs;
  {
    std::istringstream comparisons(zp::test::ReadFile((tool + "/new/comparisons.csv").toStdString()));
    std::string line;
    std::getline(comparisons, line);
    while (std::getline(comparisons, line)) {
      QStringList f = QString::fromStdString(line).split(',');
      if (!f[11].isEmpty() && f[11].toDouble() < 0.05) {  // p_holm; empty for an undefined test
        differing_pairs.insert((f[1] + " " + f[3] + " " + f[4]).toStdString());
        differing_pairs.insert((f[1] + " " + f[4] + " " + f[3]).toStdString());
      }
    }
  }
  const std::map<QString, QString> log_names{{"Roulette", "smRoulette"},
                                             {"Random", "smRandom"},
                                             {"Tournament", "smTournament"},
                                             {"Stochastic Tournament", "smStochasticTournament"},
                                             {"Elitist", "smElitist"}};
  for (int r = 0; r < results.rowCount(); ++r) {
    const QString queens = results.index(r, TExperimentResults::colSize).data().toString();
    const QString method = log_names.at(results.index(r, TExperimentResults::colMethod).data().toString());
    const QString differs = results.index(r, TExperimentResults::colDiffers).data().toString();
    // "Tournament (better, A12 0.81); Elitist (worse, odds 3.00)": the method and which of the two is better.
    for (const QString& entry : differs.split("; ")) {
      const QString other = entry.section(" (", 0, 0);
      if (!log_names.contains(other)) continue;
      shown_pairs.insert((queens + " " + method + " " + log_names.at(other)).toStdString());
      EXPECT_TRUE(entry.contains(QRegularExpression(R"( \((better|worse), (A12|odds) (\d+\.\d\d|∞)\)$)")))
          << entry.toStdString();
    }
  }
  EXPECT_EQ(shown_pairs, differing_pairs);
  // A row as a person reads it: percentages and one decimal, "–" when nothing solved.
  const zp::experiment::TSummaryRow& first = results.Summary()[0];
  QString success = QString::number(100 * first.SuccessRate, 'f', 1) + "%";
  EXPECT_TRUE(results.index(0, TExperimentResults::colSuccess).data().toString().startsWith(success));
  EXPECT_EQ(results.index(0, TExperimentResults::colErt).data().toString(),
            first.ErtGenerations ? QString::number(*first.ErtGenerations, 'f', 1) : QString("\u2013"));

  // Export copies the folder into a new one, made with its parents.
  w.page.ChooseExportFolder = [&] { return exported; };
  ASSERT_TRUE(w.Child("btnExport")->isEnabled());
  QTest::mouseClick(w.Child<QPushButton>("btnExport"), Qt::LeftButton);
  ASSERT_TRUE(w.errors.empty()) << w.errors.front().toStdString();
  EXPECT_EQ(FilesUnder(exported), FilesUnder(run));
  const std::map<QString, std::string> expected = FilesUnder(run);
  EXPECT_TRUE(expected.contains("ecdf-nqueens-6.png") && expected.contains("ecdf-nqueens-5.svg"));
  EXPECT_TRUE(expected.contains("iohprofiler/smElitist/IOHprofiler_f1_NQueens.info"));

  // A folder that holds anything is refused: another experiment's files would mix in.
  QTest::mouseClick(w.Child<QPushButton>("btnExport"), Qt::LeftButton);
  ASSERT_EQ(w.errors.size(), 1u);
  EXPECT_TRUE(w.errors[0].contains("is not empty")) << w.errors[0].toStdString();
  // A folder that cannot be made: the message names it, and the page stays usable.
  zp::test::WriteFile(tmp.filePath("plain-file").toStdString(), "x");
  w.page.ChooseExportFolder = [&] { return tmp.filePath("plain-file/export"); };
  QTest::mouseClick(w.Child<QPushButton>("btnExport"), Qt::LeftButton);
  ASSERT_EQ(w.errors.size(), 2u);
  EXPECT_TRUE(w.errors[1].startsWith("cannot make the folder '" + tmp.filePath("plain-file/export") + "'"))
      << w.errors[1].toStdString();
  EXPECT_TRUE(w.Child("btnExport")->isEnabled());
  // Start into a folder that holds anything is refused too: the tool's experiment stays as it was.
  w.page.SetRunFolder(tool + "/new");
  QTest::mouseClick(w.Child<QPushButton>("btnStart"), Qt::LeftButton);
  ASSERT_EQ(w.errors.size(), 3u);
  EXPECT_TRUE(w.errors[2].contains("is not empty")) << w.errors[2].toStdString();
  EXPECT_FALSE(w.page.Running());
}

TEST(ExperimentsPageReport, ReportWritesTheToolsReportIntoTheFolderAndOpensIt) {
  Window w;
  QTemporaryDir tmp;
  const QString run = tmp.filePath("exp");
  w.page.SetRunFolder(run);
  w.SetUp("5-6", "6", "40", "3", false);
  EXPECT_FALSE(w.Child("btnReport")->isEnabled());
  w.RunExperiment();
  QString opened;
  w.page.OpenReport = [&](const QString& File) { opened = File; };
  ASSERT_TRUE(w.Child("btnReport")->isEnabled());
  QTest::mouseClick(w.Child<QPushButton>("btnReport"), Qt::LeftButton);
  ASSERT_TRUE(w.errors.empty()) << w.errors.front().toStdString();
  EXPECT_EQ(opened, run + "/report/report.md");
  // The tool's report of the same folder, elsewhere, says the same.
  ASSERT_EQ(RunTool({"report", run, "--out", tmp.filePath("tool-report")}), 0);
  EXPECT_EQ(zp::test::ReadFile((run + "/report/report.md").toStdString()),
            zp::test::ReadFile(tmp.filePath("tool-report/report.md").toStdString()));
  EXPECT_EQ(zp::test::ReadFile((run + "/report/report.tex").toStdString()),
            zp::test::ReadFile(tmp.filePath("tool-report/report.tex").toStdString()));
}

TEST(ExperimentsPage, APopulationPastTheBatchsGenerationCapIsRefusedAsTheBatchRefusesIt) {
  Window w;
  w.Set("edSetting-population", "8n,5000000");
  // 5,000,000 chromosomes with a tournament field of 4 draw 20,000,000 times a generation.
  EXPECT_FALSE(w.Child<QLabel>("lblDesignError")->isHidden());
  EXPECT_TRUE(w.Child<QLabel>("lblDesignError")->text().contains("20000000 selection draws"))
      << w.Child<QLabel>("lblDesignError")->text().toStdString();
  EXPECT_FALSE(w.Child("btnStart")->isEnabled());
  w.Set("edSetting-population", "8n");
  EXPECT_TRUE(w.Child<QLabel>("lblDesignError")->isHidden());
}

TEST(ExperimentsPage, EveryFieldIsCheckedAsTyped) {
  Window w;
  auto* start = w.Child("btnStart");
  EXPECT_TRUE(start->isEnabled());
  struct Case {
    const char* field;
    const char* error;
    QString text;
    QString complaint;  // "" for a valid text
  };
  const Case cases[] = {
      {"edQueens", "lblQueensError", "8,10-12", ""},
      {"edQueens", "lblQueensError", "3", "'3' is not a queen count from 4 to 32"},
      {"edQueens", "lblQueensError", "33", "'33' is not a queen count from 4 to 32"},
      {"edQueens", "lblQueensError", "12-10", "'12-10' is not an ascending range"},
      {"edQueens", "lblQueensError", "", "no queen count given"},
      {"edQueens", "lblQueensError", "8", ""},
      {"edRepeats", "lblRepeatsError", "0", "takes a positive integer, not '0'"},
      {"edRepeats", "lblRepeatsError", "ten", "takes a positive integer, not 'ten'"},
      {"edRepeats", "lblRepeatsError", "2000000", ""},
      {"edRepeats", "lblRepeatsError", "2000001",
       "at most 2000000 for these queen counts (10,000,000 rows, as nqueens-ga batch)"},
      {"edRepeats", "lblRepeatsError", "30", ""},
      {"edGenerations", "lblGenerationsError", "-5", "takes a positive integer, not '-5'"},
      {"edGenerations", "lblGenerationsError", "99999999999", "takes a positive integer, not '99999999999'"},
      {"edGenerations", "lblGenerationsError", " 100 ", ""},
      {"edSeed", "lblSeedError", "4294967296", "takes an integer from 0 to 4294967295, not '4294967296'"},
      {"edSeed", "lblSeedError", "0x10", ""},
      {"edJobs", "lblJobsError", "0", "takes a positive integer, not '0'"},
      {"edJobs", "lblJobsError", "257", "at most 256"},
      {"edJobs", "lblJobsError", "256", ""},
      {"edLabel", "lblLabelError", "a b", "'a b' holds a character other than A-Z, a-z, 0-9, '.', '_' and '-'"},
      {"edLabel", "lblLabelError", "", ""},
      {"edFolder", "lblFolderError", " ", "no folder given"},
      {"edFolder", "lblFolderError", "x", ""},
  };
  for (const Case& c : cases) {
    w.Set(c.field, c.text);
    const bool bad = !c.complaint.isEmpty();
    const std::string what = std::string(c.field) + " '" + c.text.toStdString() + "'";
    EXPECT_EQ(w.Child<QLabel>(c.error)->isHidden(), !bad) << what;
    EXPECT_EQ(w.Child<QLabel>(c.error)->text(), c.complaint) << what;
    EXPECT_EQ(start->isEnabled(), !bad) << what;
    EXPECT_EQ(w.page.Design().has_value(), !bad) << what;
  }
  // The row limit follows the queen counts.
  w.Set("edJobs", "1");
  w.Set("edRepeats", "100000");
  EXPECT_TRUE(start->isEnabled());
  w.Set("edQueens", "4-32");
  EXPECT_FALSE(start->isEnabled());
  EXPECT_TRUE(w.Child<QLabel>("lblRepeatsError")->text().startsWith("at most 68965 for"));
  w.Set("edQueens", "8");
  EXPECT_TRUE(start->isEnabled());
}

TEST(ExperimentsPage, StartAndTheMainRunExcludeEachOther) {
  Window w;
  w.SetUp("32", "4", "2000000000", "0", false, "1");
  QTest::mouseClick(w.Child<QPushButton>("btnStart"), Qt::LeftButton);
  ASSERT_TRUE(w.page.Running());
  EXPECT_FALSE(w.Child("btnRun")->isEnabled());
  EXPECT_FALSE(w.Child("edQueens")->isEnabled());
  w.form.findChild<QPushButton*>("btnRun")->click();  // refused even when pressed
  EXPECT_FALSE(w.form.Running());
  // The window stays responsive meanwhile: an event posted now is handled at once.
  bool handled = false;
  QTimer::singleShot(0, &w.form, [&] { handled = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return handled; }, 200));
  QTest::mouseClick(w.Child<QPushButton>("btnStopExperiment"), Qt::LeftButton);
  ASSERT_TRUE(w.WaitFor([&] { return !w.page.Running(); }, 2000));
  EXPECT_TRUE(w.Child("btnRun")->isEnabled());
  EXPECT_EQ(w.page.Results().rowCount(), 0);  // no repeat finished
  EXPECT_TRUE(w.Child<QLabel>("lblRate")->text().startsWith("stopped after 0 of 4 repeats"));
  EXPECT_TRUE(w.Child("btnResume")->isEnabled());

  w.Child<QSpinBox>("SpinEdit1")->setValue(32);
  w.Set("Edit1", "2000000000");
  QTest::mouseClick(w.Child<QPushButton>("btnRun"), Qt::LeftButton);
  ASSERT_TRUE(w.form.Running());
  EXPECT_FALSE(w.Child("btnStart")->isEnabled());
  w.page.btnStartClick();
  EXPECT_FALSE(w.page.Running());
  w.form.Stop();
  ASSERT_TRUE(w.WaitFor([&] { return !w.form.Running(); }, 2000));
  EXPECT_TRUE(w.Child("btnStart")->isEnabled());
  EXPECT_TRUE(w.errors.empty());
}

TEST(ExperimentsPage, ClosingTheWindowDuringAnExperimentEndsItWithinASecond) {
  auto w = std::make_unique<Window>();
  w->SetUp("32", "8", "2000000000", "0", false, "2");
  w->page.SetSeed(4294967295u);
  EXPECT_EQ(w->page.Seed(), 4294967295u);
  QTest::mouseClick(w->Child<QPushButton>("btnStart"), Qt::LeftButton);
  ASSERT_TRUE(w->page.Running());
  QTest::qWait(200);
  QElapsedTimer clock;
  clock.start();
  w->form.close();
  w.reset();
  EXPECT_LT(clock.elapsed(), 1000);
}

TEST(ExperimentsPage, ReplayRunsRepeatZeroOnTheMainPageAsTheExperimentDid) {
  Window w;
  // A larger board first: its longer chromosome must not reach the replay.
  w.Child<QSpinBox>("SpinEdit1")->setValue(12);
  w.Set("Edit1", "3");
  QTest::mouseClick(w.Child<QPushButton>("btnRun"), Qt::LeftButton);
  ASSERT_TRUE(w.WaitFor([&] { return !w.form.Running(); }));

  w.SetUp("6", "2", "40", "77", false);
  w.RunExperiment();
  w.form.show();
  w.Child<QTabWidget>("PageControl1")->setCurrentWidget(&w.page);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  auto* table = w.Child<QTableView>("tvResults");
  const size_t from = w.Log().size();
  const QPoint cell = table->visualRect(table->model()->index(1, 1)).center();
  // A double click as a mouse makes it: the view takes the press first.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
  ASSERT_TRUE(w.form.Running());
  ASSERT_TRUE(w.WaitFor([&] { return !w.form.Running(); }));
  EXPECT_TRUE(w.errors.empty());
  EXPECT_EQ(w.Child<QLineEdit>("Edit1")->text(), "40");
  EXPECT_EQ(w.Child<QSpinBox>("SpinEdit1")->value(), 6);

  // The log of a fresh workbench seeded with the experiment's seed, as the batch runs repeat 0.
  zp::TRandom random(zp::experiment::RepeatSeed(77, 6, 0));
  zp::queens::TQueensWorkbench fresh(random);
  fresh.FormCreate();
  fresh.SpinEdit1Change(6);
  fresh.btnRunClick("40");
  const std::vector<std::string> log = w.Log();
  const std::vector<std::string> replayed(log.begin() + static_cast<std::ptrdiff_t>(from), log.end());
  EXPECT_EQ(replayed, std::vector<std::string>(fresh.Log().begin() + 7, fresh.Log().end()));

  // And the method blocks are the batch's rows of repeat 0.
  zp::experiment::TExperimentDesign design;
  design.Sizes = {6};
  design.Repeats = 2;
  design.Generations = 40;
  design.Seed = 77;
  const zp::experiment::TRepeatResult batch = zp::experiment::RunRepeat(design, {0, 6, 0, 0});
  for (const zp::experiment::TRunRow& row : batch.Rows) {
    EXPECT_NE(std::find(replayed.begin(), replayed.end(), "Fittest Individual:" + row.Fittest), replayed.end());
    EXPECT_NE(std::find(replayed.begin(), replayed.end(), "Number of generations:" + std::to_string(row.Generations)),
              replayed.end());
  }
}

// Stops the page's experiment once at least Repeats repeats are in its folder.
void StopAfter(Window& w, size_t Repeats) {
  ASSERT_TRUE(w.WaitFor([&] { return w.page.DoneRepeats() >= Repeats || !w.page.Running(); }));
  QTest::mouseClick(w.Child<QPushButton>("btnStopExperiment"), Qt::LeftButton);
  ASSERT_TRUE(w.WaitFor([&] { return !w.page.Running(); }, 5000));
}

TEST(ExperimentsPageResume, StopKeepsTheRepeatsAndResumeEndsWithTheBatchToolsFolder) {
  QTemporaryDir tmp;
  const QString run = tmp.filePath("stopped"), tool = tmp.filePath("tool/stopped");
  size_t stopped_at = 0;
  {
    Window w;
    w.page.SetRunFolder(run);
    w.SetUp("6,8", "12", "300", "9", false, "1");
    QTest::mouseClick(w.Child<QPushButton>("btnStart"), Qt::LeftButton);
    ASSERT_TRUE(w.page.Running());
    StopAfter(w, 3);
    ASSERT_TRUE(w.errors.empty()) << w.errors.front().toStdString();
    ASSERT_FALSE(w.page.Complete()) << "the experiment ended before Stop; make it longer";
    // Every finished repeat is in the folder, whole, and the table is what its rows say, tests included.
    stopped_at = w.page.DoneRepeats();
    const auto rows = zp::experiment::ParseRunsCsv(zp::test::ReadFile((run + "/runs.csv").toStdString()));
    EXPECT_EQ(rows.size(), stopped_at * 5);
    EXPECT_EQ(zp::experiment::SummaryCsv(w.page.Results().Summary()), SummaryOfRows(run, 9));
    EXPECT_EQ(w.Child<QLabel>("lblRate")->text(), QString("stopped after %1 of 24 repeats").arg(stopped_at));
    EXPECT_TRUE(w.Child("btnExport")->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(run + "/summary.csv"));  // the end files come at the end only

    // Resume goes on in the same window; stopped again, the count goes on from where it was.
    ASSERT_TRUE(w.Child("btnResume")->isEnabled());
    QTest::mouseClick(w.Child<QPushButton>("btnResume"), Qt::LeftButton);
    ASSERT_TRUE(w.page.Running());
    StopAfter(w, stopped_at + 2);
    ASSERT_FALSE(w.page.Complete());
    EXPECT_GE(w.page.DoneRepeats(), stopped_at + 2);
    stopped_at = w.page.DoneRepeats();
    EXPECT_EQ(zp::experiment::SummaryCsv(w.page.Results().Summary()), SummaryOfRows(run, 9));
  }
  // A new window opens the stopped folder and finishes it: the tool's folder, byte for byte.
  Window w;
  w.page.OpenFolder(run);
  EXPECT_EQ(w.page.DoneRepeats(), stopped_at);
  EXPECT_EQ(w.Child<QLabel>("lblRate")->text(), QString("stopped after %1 of 24 repeats").arg(stopped_at));
  QTest::mouseClick(w.Child<QPushButton>("btnResume"), Qt::LeftButton);
  ASSERT_TRUE(w.WaitFor([&] { return !w.page.Running(); }));
  ASSERT_TRUE(w.errors.empty()) << w.errors.front().toStdString();
  EXPECT_TRUE(w.page.Complete());
  EXPECT_FALSE(w.Child("btnResume")->isEnabled());
  ASSERT_EQ(RunTool({"batch", "--queens", "6,8", "--repeats", "12", "--generations", "300", "--seed", "9", "--jobs",
                     "2", "--quiet", "--out", tool}),
            0);
  ExpectSameExperiment(run, tool);
  EXPECT_EQ(zp::experiment::SummaryCsv(w.page.Results().Summary()),
            zp::test::ReadFile((tool + "/summary.csv").toStdString()));
}

TEST(ExperimentsPageFolder, ResultsShowWhileTheExperimentRuns) {
  Window w;
  w.SetUp("6,8", "400", "300", "0", false, "1");
  QTest::mouseClick(w.Child<QPushButton>("btnStart"), Qt::LeftButton);
  ASSERT_TRUE(w.WaitFor([&] { return w.page.DoneRepeats() >= 2; }));
  // Within a second of a repeat's end its rows are in the table and the ECDF.
  ASSERT_TRUE(w.WaitFor([&] { return w.page.Results().rowCount() == 5; }, 1100));
  EXPECT_TRUE(w.page.Running());
  const int64_t runs = w.page.Results().Summary()[0].Runs;
  EXPECT_TRUE(w.WaitFor([&] { return w.page.Results().Summary()[0].Runs > runs; }, 3000));
  EXPECT_NE(w.Child<QWidget>("EcdfChart"), nullptr);
  StopAfter(w, 0);
}

TEST(ExperimentsPageOpen, OpensTheBatchToolsFolderAndRefusesAnOlderOne) {
  QTemporaryDir tmp;
  const QString tool = tmp.filePath("tool");
  ASSERT_EQ(RunTool({"batch", "--problem", "onemax,jump:3", "--sizes", "12", "--repeats", "3", "--generations", "20",
                     "--population", "10,20", "--quiet", "--out", tool}),
            0);
  Window w;
  w.page.OpenFolder(tool);
  EXPECT_TRUE(w.page.Complete());
  EXPECT_EQ(w.page.TotalRepeats(), 12u);
  EXPECT_EQ(zp::experiment::SummaryCsv(w.page.Results().Summary()),
            zp::test::ReadFile((tool + "/summary.csv").toStdString()));
  EXPECT_EQ(w.page.Results().index(0, TExperimentResults::colProblem).data().toString(), "OneMax, size 12");
  EXPECT_EQ(w.page.Results().index(5, TExperimentResults::colConfig).data().toString(), "1");
  EXPECT_EQ(w.Child<QComboBox>("cbEcdfQueens")->count(), 4);
  EXPECT_FALSE(w.Child("btnResume")->isEnabled());
  EXPECT_TRUE(w.Child("btnExport")->isEnabled());

  // A folder of an older format, or none at all, is refused by name; what was shown stays.
  std::string json = zp::test::ReadFile((tool + "/experiment.json").toStdString());
  json.erase(json.find("\"format\""), json.find('\n', json.find("\"format\"")) - json.find("\"format\"") + 1);
  const QString old = tmp.filePath("old");
  QDir().mkpath(old);
  zp::test::WriteFile((old + "/experiment.json").toStdString(), json);
  try {
    w.page.OpenFolder(old);
    ADD_FAILURE() << "opened";
  } catch (const std::exception& e) {
    EXPECT_TRUE(QString(e.what()).startsWith(old + "/experiment.json: ")) << e.what();
    EXPECT_TRUE(QString(e.what()).contains("format 1")) << e.what();
  }
  w.page.ChooseOpenFolder = [&] { return tmp.filePath("nothing"); };
  QTest::mouseClick(w.Child<QPushButton>("btnOpen"), Qt::LeftButton);
  ASSERT_EQ(w.errors.size(), 1u);
  EXPECT_TRUE(w.errors[0].contains("holds no experiment.json")) << w.errors[0].toStdString();
  EXPECT_EQ(w.page.ShownFolder(), tool);
}

TEST(ExperimentsPageOpen, OpensTheMpiFrontEndsFolder) {
#ifndef ZP_NQUEENS_GA_MPI
  GTEST_SKIP() << "no nqueens-ga-mpi in this build";
#else
  QTemporaryDir tmp;
  const QString out = tmp.filePath("mpi");
  QProcess mpi;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const auto& [key, value] : {std::pair{"OMPI_ALLOW_RUN_AS_ROOT", "1"},
                                   {"OMPI_ALLOW_RUN_AS_ROOT_CONFIRM", "1"},
                                   {"OMPI_MCA_btl", "self,vader"},
                                   {"OMPI_MCA_rmaps_base_oversubscribe", "1"}})
    env.insert(key, value);
  mpi.setProcessEnvironment(env);
  mpi.start("mpirun", {"-n", "2", "--oversubscribe", ZP_NQUEENS_GA_MPI, "batch", "--queens", "6", "--repeats", "4",
                       "--generations", "30", "--quiet", "--out", out});
  ASSERT_TRUE(mpi.waitForFinished(120000));
  ASSERT_EQ(mpi.exitCode(), 0) << mpi.readAllStandardError().toStdString();
  ASSERT_NE(zp::test::ReadFile((out + "/experiment.json").toStdString()).find("\"ranks\""), std::string::npos);
  Window w;
  w.page.OpenFolder(out);
  EXPECT_TRUE(w.page.Complete());
  EXPECT_EQ(zp::experiment::SummaryCsv(w.page.Results().Summary()),
            zp::test::ReadFile((out + "/summary.csv").toStdString()));
#endif
}

TEST(ExperimentsPageFolder, LayoutGivesTheTableAndTheEcdfTheRoom) {
  Window w;
  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  w.Child<QTabWidget>("PageControl1")->setCurrentWidget(&w.page);
  w.SetUp("6,8", "3", "40", "0", false);
  w.RunExperiment();
  // At the window's design size the ECDF is large enough to read.
  auto* tabs = w.Child<QTabWidget>("ExperimentTabs");
  tabs->setCurrentIndex(2);
  QTest::qWait(50);
  EXPECT_GE(w.Child("EcdfChart")->width(), 400);
  EXPECT_GE(w.Child("EcdfChart")->height(), 250);
  // Every column of the table is as wide as its widest text: none is cut.
  tabs->setCurrentIndex(1);
  QTest::qWait(50);
  auto* table = w.Child<QTableView>("tvResults");
  for (int c = 0; c < TExperimentResults::colCount; ++c)
    for (int r = 0; r < table->model()->rowCount(); ++r) {
      const QString text = table->model()->index(r, c).data().toString();
      EXPECT_GE(table->columnWidth(c), table->fontMetrics().horizontalAdvance(text)) << c << " " << r;
    }
  // The pages take the space the window gains, and the table with them.
  const QSize before = table->size();
  w.form.resize(w.form.size() + QSize(300, 200));
  QTest::qWait(50);
  EXPECT_EQ(table->size(), before + QSize(300, 200));
}

TEST(ExperimentsPageFolder, TheBatchsWholeDesignRunsAsTheBatchTool) {
  Window w;
  QTemporaryDir tmp;
  const QString run = tmp.filePath("page"), tool = tmp.filePath("tool");
  w.page.SetRunFolder(run);
  w.Set("edProblems", "onemax,jump:3");
  w.SetUp("12", "3", "20", "3", true);
  w.Set("edSetting-population", "10,20");
  w.Set("edSetting-mutation", "0.05");
  w.Set("edEvaluations", "30n");
  w.Set("edLabel", "mine");
  // Checked as typed: a bad list or problem names itself, and Start waits for a good one.
  for (const auto& [field, text, error] : {std::tuple{"edProblems", "onemax,nosuch", "lblProblemsError"},
                                           {"edSetting-crossover", "2", "lblSettingsError"},
                                           {"edEvaluations", "many", "lblEvaluationsError"},
                                           {"edQueens", "12-10", "lblQueensError"}}) {
    const QString before = w.Child<QLineEdit>(field)->text();
    w.Set(field, text);
    EXPECT_FALSE(w.Child("btnStart")->isEnabled()) << field;
    EXPECT_FALSE(w.Child<QLabel>(error)->isHidden()) << field;
    EXPECT_FALSE(w.Child<QLabel>(error)->text().isEmpty()) << field;
    w.Set(field, before);
  }
  w.RunExperiment();
  ASSERT_TRUE(w.page.Complete());
  ASSERT_EQ(
      RunTool({"batch",  "--problem",    "onemax,jump:3", "--sizes",    "12",    "--repeats", "3", "--evaluations",
               "30n",    "--population", "10,20",         "--mutation", "0.05",  "--seed",    "3", "--streams",
               "shared", "--label",      "mine",          "--quiet",    "--out", tool}),
      0);
  ExpectSameExperiment(run, tool);
  EXPECT_EQ(w.page.Results().rowCount(), 20);
}

TEST(ExperimentsPage, ReplayOfAnotherProblemsConfigurationRunsAsTheExperimentDid) {
  Window w;
  w.Set("edProblems", "onemax,jump:3");
  w.SetUp("12", "2", "30", "41", true);
  w.Set("edSetting-population", "10,20");
  w.Set("edSetting-mutation", "0.05");
  w.RunExperiment();
  w.form.show();
  w.Child<QTabWidget>("PageControl1")->setCurrentWidget(&w.page);
  w.Child<QTabWidget>("ExperimentTabs")->setCurrentIndex(1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  // Row 17: jump:3 at size 12, configuration 1 (population 20), the third method.
  auto* table = w.Child<QTableView>("tvResults");
  ASSERT_EQ(table->model()->index(17, TExperimentResults::colConfig).data().toString(), "1");
  const size_t from = w.Log().size();
  const QPoint cell = table->visualRect(table->model()->index(17, 1)).center();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
  ASSERT_TRUE(w.WaitFor([&] { return !w.form.Running(); }));
  ASSERT_TRUE(w.errors.empty()) << w.errors.front().toStdString();
  const std::vector<std::string> log = w.Log();
  const std::vector<std::string> replayed(log.begin() + static_cast<std::ptrdiff_t>(from), log.end());

  // The experiment's repeat 0 of that cell: the rows the batch writes.
  zp::experiment::TExperimentDesign design;
  design.Problems = zp::experiment::ParseProblemList("onemax,jump:3");
  design.Sizes = {12};
  design.Repeats = 2;
  design.Generations = 30;
  design.Seed = 41;
  design.Streams = zp::queens::TRandomStreams::rsShared;
  design.Settings[0] = zp::experiment::ParseSettingList(zp::queens::TSettingName::snPopulation, "10,20");
  design.Settings[2] = zp::experiment::ParseSettingList(zp::queens::TSettingName::snMutation, "0.05");
  const zp::experiment::TRepeatResult batch = zp::experiment::RunRepeat(design, {1, 12, 1, 0});
  ASSERT_EQ(batch.Rows.size(), 5u);
  for (const zp::experiment::TRunRow& row : batch.Rows) {
    EXPECT_NE(std::find(replayed.begin(), replayed.end(), "Fittest Individual:" + row.Fittest), replayed.end())
        << row.Fittest;
    EXPECT_NE(std::find(replayed.begin(), replayed.end(), "Number of generations:" + std::to_string(row.Generations)),
              replayed.end());
  }
}

}  // namespace
