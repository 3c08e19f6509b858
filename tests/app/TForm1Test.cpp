// The main window driven as a user would: its controls as laid out, the
// comparison run, the queen count, the Graph box, errors shown in a message
// box, the file commands through their dialogs, and the log against the
// headless tool's.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <string>
#include <vector>

#include "CommaLocale.h"
#include "WindowTestSupport.h"
#include "app/FileDialogs.h"
#include "app/QueensMain.h"
#include "chart/qt/ChartWidget.h"
#include "platform/Random.h"

// Readable failure messages for Qt values.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QRect& r, std::ostream* out) {
  *out << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height();
}

namespace {

using zp::app::TForm1;

template <class W = QWidget>
W* Child(TForm1& form, const char* name) {
  W* w = form.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

std::vector<std::string> MemoLines(TForm1& form) {
  std::vector<std::string> lines;
  for (const QString& line : Child<QPlainTextEdit>(form, "Memo1")->toPlainText().split(QLatin1Char('\n')))
    lines.push_back(line.toStdString());
  return lines;
}

int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<int>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// A window whose error messages are collected instead of shown.
struct Window {
  TForm1 form;
  std::vector<QString> errors;
  Window() {
    form.ShowErrorMessage = [this](const QString& message) { errors.push_back(message); };
  }
  // Clicks button and, for Run, waits until the run's thread has ended and the window shows its results.
  void Click(const char* button) {
    QTest::mouseClick(Child<QPushButton>(form, button), Qt::LeftButton);
    WaitForRun();
  }
  void WaitForRun() {
    while (form.Running()) QTest::qWait(2);
  }
  void SetGenerations(const QString& text) {
    auto* edit = Child<QLineEdit>(form, "Edit1");
    edit->selectAll();
    edit->setText(text);
  }
};

using zp::app_test::Chromosomes;

TEST(TForm1, ControlsHaveTheirNamesPlacesTextsAndHints) {
  Window w;
  EXPECT_EQ(w.form.windowTitle(), "N Queens Solution using Genetic Algorithms");
  EXPECT_EQ(w.form.size(), QSize(881, 434));

  struct Row {
    const char* name;
    QRect place;
    QString text, hint;
  };
  const Row rows[] = {
      {"SpinEdit1", {112, 8, 105, 22}, "", "Number of Queens to solve for"},
      {"btnInit", {8, 40, 75, 25}, "&Initialize", "Initialize Genetic Algorithm problem"},
      // Run and Graph have no accelerators: Alt+R opens the Run menu, Alt+G the Graph page.
      {"btnRun", {8, 71, 75, 25}, "Run", "Run every selection method for the generations given (Enter, F5)"},
      {"Edit1", {112, 75, 105, 21}, "100", "Number of generations to evolve when you hit \"Run\"."},
      {"btnLoad", {8, 102, 107, 25}, "Load", ""},
      {"btnSave", {112, 102, 107, 25}, "Save", ""},
      {"btnLoadGenoType", {8, 126, 107, 25}, "Load GenoType", ""},
      {"Button1", {112, 126, 107, 25}, "Save GenoType", ""},
      {"btnLoadPopulation", {8, 150, 107, 25}, "Load Population", ""},
      {"Button2", {112, 150, 107, 25}, "Save Population", ""},
      {"cbGraph", {16, 184, 97, 17}, "Graph", ""},
      {"sgChessBoard", {16, 208, 201, 201}, "", ""},
      {"PageControl1", {232, 16, 617, 393}, "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* widget = Child(w.form, row.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), row.place);
    EXPECT_EQ(widget->toolTip(), row.hint);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      EXPECT_EQ(button->text(), row.text);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->text(), row.text);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      EXPECT_EQ(edit->text(), row.text);
    }
  }

  // The label fits its text, ending where it did, beside the control it names.
  auto* label = Child<QLabel>(w.form, "Label1");
  EXPECT_EQ(label->text(), "Num &Queens");
  EXPECT_EQ(label->geometry().right(), 44 + 62 - 1);
  EXPECT_GE(label->width(), std::max(62, label->sizeHint().width()));
  EXPECT_TRUE(label->alignment() & Qt::AlignRight);

  EXPECT_TRUE(Child<QPushButton>(w.form, "btnRun")->isDefault());
  EXPECT_TRUE(Child<QCheckBox>(w.form, "cbGraph")->isChecked());
  auto* spin = Child<QSpinBox>(w.form, "SpinEdit1");
  EXPECT_EQ(Child<QLabel>(w.form, "Label1")->buddy(), spin);
  EXPECT_EQ(spin->minimum(), 4);
  EXPECT_EQ(spin->maximum(), 32);
  EXPECT_EQ(spin->value(), 8);

  auto* pages = Child<QTabWidget>(w.form, "PageControl1");
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "&Text");
  EXPECT_EQ(pages->tabText(1), "&Graph");
  EXPECT_EQ(pages->tabText(2), "&Experiments");
  EXPECT_EQ(pages->widget(0)->objectName(), "tsText");
  EXPECT_EQ(pages->widget(1)->objectName(), "tsGraph");
  EXPECT_EQ(pages->widget(2)->objectName(), "tsExperiments");
  EXPECT_EQ(pages->currentIndex(), 0);
  // The Graph page shows the window's fitness graph, which the workbench reports to.
  EXPECT_EQ(Child<zp::chart::TZPChartWidget>(w.form, "ChartPanel")->Panel(), &w.form.FitnessGraph().Panel());

  auto* memo = Child<QPlainTextEdit>(w.form, "Memo1");
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  // Every character as wide as every other: fontconfig does not mark every
  // monospaced face as fixed pitch (Noto Sans Mono), so measure instead.
  const QFontMetrics metrics(memo->font());
  EXPECT_EQ(metrics.horizontalAdvance("iiiiiiiiii"), metrics.horizontalAdvance("WWWWWWWWWW"));
  EXPECT_EQ(MemoLines(w.form), w.form.Workbench().Log());
  EXPECT_EQ(MemoLines(w.form).size(), 7u);
}

TEST(TForm1, BoardIsAHeaderlessGridOfCellsFittedByIntegerDivision) {
  Window w;
  auto* grid = Child<QTableWidget>(w.form, "sgChessBoard");
  EXPECT_FALSE(grid->horizontalHeader()->isVisibleTo(grid));
  EXPECT_FALSE(grid->verticalHeader()->isVisibleTo(grid));
  EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  ASSERT_EQ(grid->columnCount(), 8);
  ASSERT_EQ(grid->rowCount(), 8);
  const int client = grid->width() - 2 * grid->frameWidth();
  EXPECT_EQ(grid->columnWidth(7), client / 8);
  EXPECT_EQ(grid->rowHeight(7), client / 8);

  // Anchors: the board keeps its place and size, the pages take all the space the window gains.
  w.form.show();  // a hidden window is told of its new size only when shown
  w.form.resize(981, 534);
  EXPECT_EQ(grid->geometry(), QRect(16, 208, 201, 201));
  EXPECT_EQ(Child(w.form, "PageControl1")->geometry(), QRect(232, 16, 717, 493));
  EXPECT_EQ(grid->columnWidth(0), client / 8);
  EXPECT_EQ(w.form.Workbench().Board().DefaultRowHeight(), client / 8);
}

TEST(TForm1, TabOrderFollowsTheCommands) {
  Window w;
  std::vector<QString> named;
  for (const char* name : {"btnInit", "btnRun", "Edit1", "sgChessBoard", "btnSave", "Button1", "Button2", "btnLoad",
                           "btnLoadGenoType", "btnLoadPopulation", "PageControl1", "cbGraph", "SpinEdit1"})
    named.push_back(QString::fromLatin1(name));

  // The named controls in the order Tab visits them; inner widgets (a spin box's editor) stand for their owner.
  std::vector<QString> order;
  QWidget* first = Child(w.form, "btnInit");
  QWidget* widget = first;
  do {
    const bool tab_stop = (widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(&w.form);
    for (QWidget* owner = widget; tab_stop && owner != &w.form; owner = owner->parentWidget())
      if (std::find(named.begin(), named.end(), owner->objectName()) != named.end()) {
        if (order.empty() || order.back() != owner->objectName()) order.push_back(owner->objectName());
        break;
      }
    widget = widget->nextInFocusChain();
  } while (widget != first && order.size() < 40);
  order.resize(std::min(order.size(), named.size()));
  EXPECT_EQ(order, named);
}

// Run as a German user (app_tests_de), the application has switched the C
// library to the decimal comma; the other tests then show that nothing the
// window writes noticed.
TEST(TForm1, TheApplicationTakesTheUsersLocale) {
  if (!zp::locale_test::CommaLocaleRequired()) GTEST_SKIP() << "only when run as a German user";
  EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}

TEST(TForm1, RunFirstThingInitializesAndRunsAllFiveMethods) {
  Window w;
  w.Click("btnRun");
  ASSERT_TRUE(w.errors.empty()) << w.errors.front().toStdString();
  const std::vector<std::string> log = MemoLines(w.form);
  EXPECT_EQ(log, w.form.Workbench().Log());
  ASSERT_EQ(log.size(), 7u + 8u + 5u * 8u);
  EXPECT_EQ(log[8], "Population Initialized.");
  EXPECT_EQ(log[9], "     Number of queens is 8");
  EXPECT_EQ(log[13], "     Mutation probability is 0.0416666666666667");  // 1/24, in every locale
  const char* const methods[] = {"smRoulette", "smRandom", "smTournament", "smStochasticTournament", "smElitist"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(log[static_cast<size_t>(15 + 8 * i + 1)], std::string("Selection Method: ") + methods[i]);

  // The grid shows the model's board, the solution (if one was found) as one "Q" per column.
  const auto& board = w.form.Workbench().Board();
  auto* grid = Child<QTableWidget>(w.form, "sgChessBoard");
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) EXPECT_EQ(grid->item(r, c)->text().toStdString(), board.Cell(c, r));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(TForm1, EnterPressesRun) {
  Window w;
  w.SetGenerations("3");
  QTest::keyClick(Child(w.form, "Edit1"), Qt::Key_Return);
  w.WaitForRun();
  EXPECT_EQ(Count(MemoLines(w.form), "Selection Method: "), 5);
}

TEST(TForm1, QueenCountTwelveReinitializesOnATwelveByTwelveBoard) {
  Window w;
  Child<QSpinBox>(w.form, "SpinEdit1")->setValue(12);
  const std::vector<std::string> log = MemoLines(w.form);
  EXPECT_EQ(Count(log, "     Number of queens is 12"), 1);
  EXPECT_EQ(Count(log, "     Population is 48"), 1);
  auto* grid = Child<QTableWidget>(w.form, "sgChessBoard");
  EXPECT_EQ(grid->columnCount(), 12);
  EXPECT_EQ(grid->rowCount(), 12);
  const int client = grid->width() - 2 * grid->frameWidth();
  EXPECT_EQ(grid->columnWidth(11), client / 12);
  EXPECT_EQ(grid->rowHeight(11), client / 12);
}

TEST(TForm1, UncheckedGraphLeavesTheCurvesAsTheyWere) {
  Window w;
  w.SetGenerations("5");
  w.Click("btnRun");
  const auto& graph = w.form.FitnessGraph();
  std::vector<size_t> before;
  for (int i = 0; i < 5; ++i) before.push_back(graph.Points(i).size());
  ASSERT_GT(before[0], 0u);

  QTest::mouseClick(Child<QCheckBox>(w.form, "cbGraph"), Qt::LeftButton);
  EXPECT_FALSE(w.form.Workbench().GraphEnabled());
  w.Click("btnRun");
  EXPECT_EQ(Count(MemoLines(w.form), "Selection Method: "), 10);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(graph.Points(i).size(), before[static_cast<size_t>(i)]) << i;

  QTest::mouseClick(Child<QCheckBox>(w.form, "cbGraph"), Qt::LeftButton);
  w.Click("btnRun");
  EXPECT_GT(graph.Points(0).size(), before[0]);
}

TEST(TForm1, InvalidGenerationTextIsShownAndTheWindowStaysUsable) {
  Window w;
  w.SetGenerations("abc");
  w.Click("btnRun");
  ASSERT_EQ(w.errors.size(), 1u);
  EXPECT_EQ(w.errors[0], "'abc' is not a valid integer value");
  const std::vector<std::string> log = MemoLines(w.form);
  EXPECT_EQ(Count(log, "Population Initialized."), 1);
  EXPECT_EQ(Count(log, "Selection Method: "), 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(Child(w.form, "btnRun")->isEnabled());
  EXPECT_FALSE(w.form.Running());

  w.SetGenerations("2");
  w.Click("btnRun");
  EXPECT_EQ(w.errors.size(), 1u);
  EXPECT_EQ(Count(MemoLines(w.form), "Selection Method: "), 5);
}

TEST(TForm1, DuringARunTheCommandsAreLockedProgressIsShownAndEventsAreProcessed) {
  Window w;
  w.form.show();
  Child<QSpinBox>(w.form, "SpinEdit1")->setValue(32);  // too hard to be solved in the run
  w.SetGenerations("300");
  struct Seen {
    bool running = false, run_enabled = true, stop_enabled = false;
    QString progress;
    int ticks = 0;
  } seen;
  // A timer's events come while the run goes: the window answers during a run.
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, &w.form, [&] {
    if (!w.form.Running()) return;
    ++seen.ticks;
    seen.running = true;
    seen.run_enabled = Child(w.form, "btnRun")->isEnabled();
    seen.stop_enabled = Child(w.form, "btnStop")->isEnabled();
    seen.progress = Child<QLabel>(w.form, "lblProgress")->text();
    w.Click("btnInit");  // disabled: starts nothing
  });
  ticker.start(1);
  w.Click("btnRun");
  ticker.stop();
  EXPECT_TRUE(seen.running);
  EXPECT_GE(seen.ticks, 1);
  EXPECT_FALSE(seen.run_enabled);
  EXPECT_TRUE(seen.stop_enabled);
  EXPECT_TRUE(seen.progress.startsWith("Running")) << seen.progress.toStdString();

  const std::vector<std::string> log = MemoLines(w.form);
  EXPECT_EQ(Count(log, "Selection Method: "), 5);
  EXPECT_EQ(Count(log, "Population Initialized."), 1);
  EXPECT_TRUE(Child(w.form, "btnRun")->isEnabled());
  EXPECT_FALSE(Child(w.form, "btnStop")->isEnabled());
  EXPECT_TRUE(Child<QLabel>(w.form, "lblProgress")->text().isEmpty());
}

// The headless tool next to the tests, if it was built.
QString HeadlessTool() {
  const QString path = QCoreApplication::applicationDirPath() + "/../cli/nqueens-ga";
  return QFileInfo(path).isExecutable() ? path : QString();
}

TEST(TForm1, LogEqualsTheHeadlessToolsForTheSameActions) {
  zp::GlobalRandom().SetSeed(0);  // as at program start
  Window w;
  Child<QSpinBox>(w.form, "SpinEdit1")->setValue(6);
  w.SetGenerations("20");
  w.Click("btnRun");
  QTest::mouseClick(Child<QCheckBox>(w.form, "cbGraph"), Qt::LeftButton);
  w.Click("btnInit");
  w.SetGenerations("15");
  w.Click("btnRun");
  const std::vector<std::string> window_log = MemoLines(w.form);
  EXPECT_EQ(Count(window_log, "Selection Method: "), 10);

  // The same actions on a workbench, in the order the tool takes them.
  zp::GlobalRandom().SetSeed(0);
  zp::queens::TQueensWorkbench wb;
  wb.FormCreate();
  wb.SpinEdit1Change(6);
  wb.btnRunClick("20");
  wb.cbGraphClick(false);
  wb.btnInitClick();
  wb.btnRunClick("15");
  EXPECT_EQ(window_log, wb.Log());

  const QString tool = HeadlessTool();
  if (tool.isEmpty()) GTEST_SKIP() << "nqueens-ga is not built next to the tests";
  QProcess process;
  process.start(tool, {"-e", "queens 6; run 20; graph off; init; run 15"});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  std::vector<std::string> tool_log;
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n')))
    tool_log.push_back(line.toStdString());
  if (!tool_log.empty() && tool_log.back().empty()) tool_log.pop_back();  // the last line's line break
  EXPECT_EQ(window_log, tool_log);
}

TEST(TForm1, SaveThenLoadGivesBackTheSameChromosomes) {
  Window w;
  const QString file = QDir(QString::fromStdString(testing::TempDir())).filePath("nqueens_app_save.xml");
  QFile::remove(file);
  w.Click("btnInit");
  const std::vector<std::string> saved = Chromosomes(w.form);

  std::vector<QString> proposed;
  auto& dialogs = w.form.FileDialogs();
  dialogs.OnChooseSaveFile = [&](const QString& name) {
    proposed.push_back(name);
    return file;
  };
  dialogs.OnChooseOpenFile = [&](const QString& name) {
    proposed.push_back(name);
    return file;
  };
  w.Click("btnSave");
  if (!w.errors.empty() && w.errors[0].contains("not available"))
    GTEST_SKIP() << "GA documents are not in this build: " << w.errors[0].toStdString();
  ASSERT_TRUE(w.errors.empty()) << w.errors[0].toStdString();
  EXPECT_EQ(dialogs.OpenFileName(), file);

  w.Click("btnInit");  // a new random population
  ASSERT_NE(Chromosomes(w.form), saved);
  const size_t log_size = MemoLines(w.form).size();
  w.Click("btnLoad");
  ASSERT_TRUE(w.errors.empty()) << w.errors[0].toStdString();
  EXPECT_EQ(Chromosomes(w.form), saved);
  // The file commands log only the file and its kind.
  ASSERT_EQ(MemoLines(w.form).size(), log_size + 1);
  EXPECT_EQ(MemoLines(w.form).back(), "Loaded algorithm document " + file.toStdString());
  EXPECT_EQ(proposed, (std::vector<QString>{QString(), file}));

  // A genotype document read as a population fails in the message box; the window goes on.
  w.Click("Button1");
  w.Click("btnLoadPopulation");
  ASSERT_EQ(w.errors.size(), 1u);
  EXPECT_EQ(w.errors[0], file + ": Interface not supported (this file holds a genotype: use Load GenoType)");
  QFile::remove(file);
}

TEST(TForm1, CancelledFileDialogsDoNothing) {
  Window w;
  auto& dialogs = w.form.FileDialogs();
  dialogs.OnChooseSaveFile = [](const QString&) { return QString(); };
  dialogs.OnChooseOpenFile = [](const QString&) { return QString(); };
  for (const char* button : {"btnSave", "Button1", "Button2", "btnLoad", "btnLoadGenoType", "btnLoadPopulation"})
    w.Click(button);
  EXPECT_TRUE(w.errors.empty());
  EXPECT_TRUE(dialogs.SaveFileName().isEmpty());
  EXPECT_TRUE(dialogs.OpenFileName().isEmpty());
  EXPECT_FALSE(w.form.Workbench().Algorithm().Initialized());
}

TEST(QtFileFilter, TurnsDescriptionPatternPairsIntoQtFilters) {
  using zp::app::QtFileFilter;
  EXPECT_EQ(QtFileFilter(zp::app::kGAFileFilter), "Genetic Algorithm File (*.xml)");
  EXPECT_EQ(QtFileFilter("Text|*.txt;*.log|All|*"), "Text (*.txt *.log);;All (*)");
  EXPECT_EQ(QtFileFilter(""), "");
  EXPECT_EQ(QtFileFilter("dangling"), "");
}

}  // namespace
