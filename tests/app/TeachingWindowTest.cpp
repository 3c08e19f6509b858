// What a class meets in the window: File > New, the Help window's pages, the
// best board found when nothing solved, a restored queen count at start, and
// one test per small defect fixed (a failed Run is not counted, loads and
// saves are reported, no two accelerators clash, one streams setting in two
// places, --help without a display, a close within a second).
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "app/ExperimentsPage.h"
#include "app/HelpText.h"
#include "app/MainWindow.h"
#include "platform/Random.h"
#include "workbench/QueensWorkbench.h"

namespace {

using zp::app::TMainWindow;

struct Window {
  QTemporaryDir folder;
  std::unique_ptr<TMainWindow> window;
  std::vector<QString> errors;

  explicit Window(int Queens = 0) {
    if (Queens > 0) QSettings(Settings(), QSettings::IniFormat).setValue("queens", Queens);
    window = std::make_unique<TMainWindow>(Settings());
    Form().ShowErrorMessage = [this](const QString& message) { errors.push_back(message); };
  }
  QString Settings() const { return folder.filePath("settings.ini"); }
  zp::app::TForm1& Form() { return window->Form(); }
  template <class W = QWidget>
  W* Child(const char* name) {
    W* w = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Run(const char* Generations) {
    Child<QLineEdit>("Edit1")->setText(QString::fromLatin1(Generations));
    Child<QAction>("actRun")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form().Running(); }, 60000));
  }
  std::vector<std::string> Log() { return zp::app_test::LogLines(*window); }
  QString Caption() { return Child<QLabel>("lblSolution")->text(); }
};

// The lines after the introduction.
std::vector<std::string> AfterIntroduction(const std::vector<std::string>& Log) {
  return {Log.begin() + std::min<std::ptrdiff_t>(7, static_cast<std::ptrdiff_t>(Log.size())), Log.end()};
}

TEST(New, StartsAsAtProgramStartWithTheQueenCountShown) {
  zp::GlobalRandom().SetSeed(1234);  // the window's --seed
  Window w;
  ASSERT_EQ(w.Form().StartSeed(), 1234u);
  w.Child<QSpinBox>("SpinEdit1")->setValue(32);
  w.Run("2");
  w.Child<QSpinBox>("SpinEdit1")->setValue(8);  // the 32-queen chromosome stays: 160 bits
  ASSERT_EQ(w.Form().Workbench().Algorithm().GeneSize(), 160);

  w.Child<QAction>("actNew")->trigger();
  EXPECT_EQ(w.Log(), zp::queens::IntroductionLines(8));
  EXPECT_EQ(w.Caption(), "");
  EXPECT_EQ(w.Child<QTableWidget>("sgChessBoard")->columnCount(), 8);
  EXPECT_EQ(w.Form().FitnessGraph().Csv(), zp::queens::TFitnessGraph().Csv());
  w.Run("25");

  // nqueens-ga --seed 1234 -q 8 -e "run 25", on a workbench.
  zp::TRandom random(1234);
  zp::queens::TQueensWorkbench wb(random);
  wb.FormCreate();
  wb.SpinEdit1Change(8);
  wb.btnRunClick("25");
  EXPECT_EQ(AfterIntroduction(w.Log()), AfterIntroduction(wb.Log()));
}

TEST(RestoredQueenCount, SetsTheBoardTheIntroductionAndTheComponentAtStart) {
  Window w(11);
  EXPECT_EQ(w.Child<QSpinBox>("SpinEdit1")->value(), 11);
  EXPECT_EQ(w.Log(), zp::queens::IntroductionLines(11));
  EXPECT_EQ(w.Child<QTableWidget>("sgChessBoard")->columnCount(), 11);
  EXPECT_EQ(w.Child<QTableWidget>("sgChessBoard")->rowCount(), 11);
  EXPECT_EQ(w.Form().Workbench().Algorithm().InitialPopulation(), 44);
  EXPECT_FALSE(w.Form().Workbench().Algorithm().Initialized());  // nothing drawn before the first Run
}

TEST(Help, TheGeneticAlgorithmPageExplainsTheMethodsAndShowsTheSettingsOfTheQueenCount) {
  std::set<std::string> names;
  for (const zp::app::THelpPage& page : zp::app::HelpPages()) EXPECT_TRUE(names.insert(page.Name).second);

  Window w;
  w.window->show();
  w.window->ShowGuide(QStringLiteral("hpGeneticAlgorithm"));
  auto* pages = w.Child<QListWidget>("lwHelpPages");
  ASSERT_EQ(pages->count(), static_cast<int>(zp::app::HelpPages().size()));
  EXPECT_EQ(pages->currentItem()->text(), "The genetic algorithm");
  QString text = w.Child<QTextBrowser>("tbGuide")->toPlainText();
  for (const char* words : {"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist",
                            "Crossover probability\n0.98", "Population\n32", "Chromosome\n24 bits",
                            "Mutation probability\n0.0416666666666667", "Inversion probability\n0.1",
                            "Tournament field\n4", "Elitist share\n0.1", "Fitness cutoff\n28", "hits", "solution"})
    EXPECT_TRUE(text.contains(QString::fromLatin1(words))) << words << "\n" << text.toStdString();

  // The values follow the algorithm: after 32 queens, 8 keep the 160-bit chromosome.
  w.window->findChild<QDialog*>("dlgGuide")->close();
  w.Child<QSpinBox>("SpinEdit1")->setValue(32);
  w.Child<QSpinBox>("SpinEdit1")->setValue(8);
  w.window->ShowGuide();
  text = w.Child<QTextBrowser>("tbGuide")->toPlainText();
  EXPECT_TRUE(text.contains("Chromosome\n160 bits")) << text.toStdString();
  EXPECT_TRUE(text.contains("Mutation probability\n0.00625"));
  EXPECT_TRUE(text.contains("never shrinks"));

  // The first page is the guide to the window, F1's page at first.
  pages->setCurrentRow(0);
  EXPECT_TRUE(w.Child<QTextBrowser>("tbGuide")->toPlainText().contains("File \u2192 New"));
}

TEST(Help, F1OnTheExperimentsPageExplainsItsCommandsColumnsAndStatistics) {
  Window w;
  w.window->show();
  auto* tabs = w.Child<QTabWidget>("PageControl1");
  tabs->setCurrentWidget(&w.Form().ExperimentsPage());
  w.window->findChild<QAction*>("actGuide")->trigger();
  EXPECT_EQ(w.Child<QListWidget>("lwHelpPages")->currentItem()->text(), "The Experiments page");
  const QString text = w.Child<QTextBrowser>("tbGuide")->toPlainText();
  // Every command, every column and every figure the table shows has its words.
  const std::vector<const char*> commands = {"Start",
                                             "Stop",
                                             "stopped after K of M repeats",
                                             "Resume",
                                             "Open",
                                             "Report\u2026",
                                             "nqueens-ga report",
                                             "report.md",
                                             "Export",
                                             "new or empty folder",
                                             "configuration",
                                             "Double-click a row",
                                             "repeat 0"};
  const std::vector<const char*> columns = {
      "Queens", "Method",      "Hits", "hit", "95% interval", "ERT", "divided by the number of hits",
      "Median", "Differs from"};
  const std::vector<const char*> statistics = {"effect", "odds ratio", "\u00c212", "Holm", "0.05", "ECDF"};
  for (const auto* list : {&commands, &columns, &statistics})
    for (const char* words : *list)
      EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words << "\n" << text.toStdString();

  // Elsewhere F1 keeps the page shown last; the list names each page.
  tabs->setCurrentIndex(0);
  w.Child<QListWidget>("lwHelpPages")->setCurrentRow(0);
  w.window->findChild<QAction*>("actGuide")->trigger();
  EXPECT_EQ(w.Child<QListWidget>("lwHelpPages")->currentItem()->text(), "The window");
}

TEST(BestBoard, TheFirstDefaultRunShowsTheFittestBoardWithItsAttackedQueens) {
  zp::GlobalRandom().SetSeed(0);  // as at program start: no method reaches 28 in 100 generations
  Window w;
  w.Run("100");
  ASSERT_TRUE(w.errors.empty());
  EXPECT_TRUE(QRegularExpression("^Best found: (Roulette|Random|Tournament|Stochastic Tournament|Elitist), "
                                 "fitness 2[0-7] of 28$")
                  .match(w.Caption())
                  .hasMatch())
      << w.Caption().toStdString();
  auto* grid = w.Child<QTableWidget>("sgChessBoard");
  int queens = 0, attacked = 0;
  for (int r = 0; r < grid->rowCount(); ++r)
    for (int c = 0; c < grid->columnCount(); ++c) {
      const QTableWidgetItem* item = grid->item(r, c);
      queens += item->text() == "Q" ? 1 : 0;
      attacked += !item->toolTip().isEmpty() ? 1 : 0;
      if (!item->toolTip().isEmpty()) {
        EXPECT_EQ(item->text(), "Q");
      }
    }
  EXPECT_EQ(queens, 8);
  EXPECT_GE(attacked, 2);
  const zp::queens::TChessBoard& board = w.Form().Workbench().Board();
  EXPECT_EQ(w.Caption().toStdString(), board.Caption());
}

TEST(FailedRun, IsNotCounted) {
  Window w;
  w.Child<QSpinBox>("SpinEdit1")->setValue(4);
  w.Run("abc");
  ASSERT_EQ(w.errors.size(), 1u);
  w.Run("30");  // four queens in 30 generations: some method solves them
  EXPECT_TRUE(w.Caption().startsWith("Solution shown: ")) << w.Caption().toStdString();
  EXPECT_TRUE(w.Caption().endsWith(", Run 1")) << w.Caption().toStdString();
  w.Run("x");
  w.Run("0");
  EXPECT_TRUE(w.Caption().endsWith(", Run 2")) << w.Caption().toStdString();
}

TEST(LoadAndSave, ReportTheFileAndItsKindInTheStatusBarAndTheLog) {
  Window w;
  const QString file = w.folder.filePath("people.xml");
  w.Form().Initialize();
  w.Form().FileDialogs().OnChooseSaveFile = [&](const QString&) { return file; };
  w.Form().FileDialogs().OnChooseOpenFile = [&](const QString&) { return file; };
  w.Child<QAction>("actSavePopulation")->trigger();
  ASSERT_TRUE(w.errors.empty());
  const QString saved = "Saved population document " + file;
  EXPECT_EQ(w.Child<QLabel>("lblProgress")->text(), saved);
  EXPECT_EQ(w.Log().back(), saved.toStdString());
  w.Child<QAction>("actLoadPopulation")->trigger();
  const QString loaded = "Loaded population document " + file;
  EXPECT_EQ(w.Child<QLabel>("lblProgress")->text(), loaded);
  EXPECT_EQ(w.Log().back(), loaded.toStdString());
  // A failed load is the message box's alone.
  w.Child<QAction>("actLoad")->trigger();
  EXPECT_EQ(w.errors.size(), 1u);
  EXPECT_EQ(w.Log().back(), loaded.toStdString());
}

// The accelerator letters ("&G") of the visible texts that take one: buttons, labels, tabs and menus.
std::map<QChar, QStringList> Accelerators(QWidget& Root) {
  std::map<QChar, QStringList> letters;
  auto add = [&](const QString& text) {
    const qsizetype at = text.indexOf(QRegularExpression("&[^&]"));
    if (at >= 0) letters[text[at + 1].toLower()] << text;
  };
  for (QAbstractButton* b : Root.findChildren<QAbstractButton*>())
    if (b->isVisible()) add(b->text());
  for (QLabel* l : Root.findChildren<QLabel*>())
    if (l->isVisible() && l->buddy()) add(l->text());
  for (QTabWidget* t : Root.findChildren<QTabWidget*>())
    if (t->isVisible())
      for (int i = 0; i < t->count(); ++i) add(t->tabText(i));
  for (QMenuBar* m : Root.findChildren<QMenuBar*>())
    for (QAction* a : m->actions()) add(a->text());
  return letters;
}

TEST(Accelerators, NoTwoOnTheMainPageShareALetterAndAltGOpensTheGraphPage) {
  Window w;
  w.window->show();
  w.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
  for (const auto& [letter, texts] : Accelerators(*w.window))
    EXPECT_EQ(texts.size(), 1) << texts.join(", ").toStdString();
  QTest::keyClick(w.window.get(), Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(w.Child<QTabWidget>("PageControl1")->currentIndex(), 1);  // at the first press
}

TEST(SharedStreamsSetting, IsOneSettingShownOnTheToolBarAndTheExperimentsPage) {
  Window w;
  auto* bar = w.Child<QCheckBox>("cbSharedStreams");
  auto* page = w.Child<QCheckBox>("cbSameNumbers");
  bar->click();
  EXPECT_TRUE(page->isChecked());
  EXPECT_TRUE(w.Form().SharedStreams());
  page->click();
  EXPECT_FALSE(bar->isChecked());
  EXPECT_FALSE(w.Form().SharedStreams());
  page->click();
  w.window->close();
  EXPECT_EQ(QSettings(w.Settings(), QSettings::IniFormat).value("streams").toString(), "shared");
  Window again;
  Q_UNUSED(again);
}

// The window is off the screen within a second of Quit in the slowest cases found: a
// settings file the disk is slow to take, a long run with its chart on screen, an
// experiment going. The threads end and the window goes soon after.
TEST(Close, TheWindowLeavesTheScreenWithinASecondWhateverItWasDoing) {
  constexpr qint64 kBoundMs = 1000;
  QElapsedTimer clock;
  auto closed_within_bound = [&](Window& w) {
    clock.start();
    w.window->close();
    const bool hidden = QTest::qWaitFor([&] { return !w.window->isVisible(); }, 10000);
    const qint64 ms = clock.elapsed();
    w.window.reset();
    return hidden && ms < kBoundMs ? ::testing::AssertionSuccess()
                                   : ::testing::AssertionFailure() << "closed after " << ms << " ms";
  };

  {  // the settings write waits for a slow disk: the window has already gone
    Window w;
    w.window->show();
    std::optional<bool> visible_at_write;
    qint64 write_at_ms = -1;
    w.window->WriteSettings = [&](const QString& File, const zp::app::TWindowSettings& Settings) {
      visible_at_write = w.window->isVisible();
      write_at_ms = clock.elapsed();
      QTest::qSleep(1200);
      return zp::app::WriteWindowSettings(File, Settings);
    };
    clock.start();
    w.window->close();
    ASSERT_TRUE(visible_at_write.has_value());
    EXPECT_FALSE(*visible_at_write);
    EXPECT_LT(write_at_ms, kBoundMs);
    EXPECT_TRUE(QSettings(w.Settings(), QSettings::IniFormat).contains("queens"));  // written all the same
  }
  {  // during a long run on the Graph page: stopped after the generation in progress
    Window w;
    w.window->show();
    w.Child<QSpinBox>("SpinEdit1")->setValue(32);
    w.Child<QTabWidget>("PageControl1")->setCurrentIndex(1);
    w.Child<QLineEdit>("Edit1")->setText("1000000");
    w.Child<QAction>("actRun")->trigger();
    QTest::qWait(3000);
    ASSERT_TRUE(w.Form().Running());
    EXPECT_TRUE(closed_within_bound(w));
  }
  {  // during an experiment: its repeats are abandoned
    Window w;
    w.window->show();
    zp::app::TExperimentsPage& page = w.Form().ExperimentsPage();
    page.findChild<QLineEdit*>("edQueens")->setText("32");
    page.findChild<QLineEdit*>("edGenerations")->setText("100000");
    page.findChild<QLineEdit*>("edJobs")->setText("2");
    page.btnStartClick();
    QTest::qWait(1000);
    ASSERT_TRUE(page.Running());
    EXPECT_TRUE(closed_within_bound(w));
  }
}

TEST(HelpOption, PrintsWithoutADisplay) {
#ifdef ZP_NQUEENS_WORKBENCH
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.insert("QT_QPA_PLATFORM", "xcb");  // a window would abort here
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(ZP_NQUEENS_WORKBENCH), {"--help"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_TRUE(process.readAllStandardOutput().contains("--seed <S>"));
#else
  GTEST_SKIP() << "nqueens-workbench is not built next to the tests";
#endif
}

}  // namespace
