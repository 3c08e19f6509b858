// The application window around the form: menus and shortcuts, Stop from the
// menu, closing during a run, recent files with their document kinds, the
// title, the settings remembered in a temporary file, the progress line, and a
// window that answers posted events while a run goes.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "WindowTestSupport.h"
#include "app/MainWindow.h"
#include "app/RecentFiles.h"
#include "app/RunProgress.h"
#include "chart/qt/ChartWidget.h"

namespace {

using zp::app::TDocumentKind;
using zp::app::TMainWindow;

// A window over a settings file of its own in a temporary folder, its errors collected.
struct Window {
  QTemporaryDir folder;
  std::unique_ptr<TMainWindow> window;
  std::vector<QString> errors;

  Window() { Open(); }
  QString Settings() const { return folder.filePath("settings.ini"); }
  QString File(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
  // A new window over the same settings file, as at the next start.
  void Open() {
    window = std::make_unique<TMainWindow>(Settings());
    Form().ShowErrorMessage = [this](const QString& message) { errors.push_back(message); };
  }
  zp::app::TForm1& Form() { return window->Form(); }
  template <class W = QWidget>
  W* Child(const char* name) {
    W* w = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QAction* Action(const char* name) { return Child<QAction>(name); }
  void ShowActive() {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  bool WaitForRun(int Milliseconds = 60000) {
    return QTest::qWaitFor([&] { return !Form().Running(); }, Milliseconds);
  }
  void StartLongRun() {
    Child<QSpinBox>("SpinEdit1")->setValue(32);
    Child<QLineEdit>("Edit1")->setText("2000000000");
    Action("actRun")->trigger();
    ASSERT_TRUE(Form().Running());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Child<QLabel>("lblProgress")->text().contains("generation"); }, 10000));
  }
  std::vector<std::string> Log() { return zp::app_test::LogLines(*window); }
  int Blocks() {
    int n = 0;
    for (const std::string& line : Log()) n += line.starts_with("Selection Method: ") ? 1 : 0;
    return n;
  }
};

TEST(TMainWindow, TheFormKeepsItsSizeAndPlacesBetweenTheBars) {
  Window w;
  w.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
  EXPECT_EQ(w.window->centralWidget(), &w.Form());
  EXPECT_EQ(w.Form().size(), QSize(881, 434));
  EXPECT_EQ(w.Child("btnRun")->geometry(), QRect(8, 71, 75, 25));
  EXPECT_EQ(w.Child("PageControl1")->geometry(), QRect(232, 16, 617, 393));
  EXPECT_EQ(w.window->windowTitle(), "N Queens Solution using Genetic Algorithms");

  // The progress line and its bar live in the status bar, the bar only during a run.
  auto* status = w.window->statusBar();
  EXPECT_EQ(w.Child("lblProgress")->parentWidget(), status);
  EXPECT_EQ(w.Child("pbProgress")->parentWidget(), status);
  EXPECT_FALSE(w.Child("pbProgress")->isVisible());
  // The strip they leave under the pages holds the solution's caption whole,
  // from the board's left edge to the pages' right edge, at any window size.
  EXPECT_EQ(w.Child("lblSolution")->geometry(), QRect(16, 412, 833, 18));
  w.window->resize(w.window->size() + QSize(100, 50));
  QTest::qWait(50);
  EXPECT_EQ(w.Child("lblSolution")->geometry().right(), w.Child("PageControl1")->geometry().right());
  EXPECT_EQ(w.Child("lblSolution")->geometry().bottom() + 4, w.Form().height() - 1);

  // "Generations" names the generations box from the free space above it.
  auto* label = w.Child<QLabel>("lblGenerations");
  EXPECT_EQ(label->text().remove('&'), "Generations");
  EXPECT_EQ(label->buddy(), w.Child("Edit1"));
  const QRect place = label->geometry(), edit = w.Child("Edit1")->geometry();
  EXPECT_GE(place.top(), w.Child("SpinEdit1")->geometry().bottom());
  EXPECT_LE(place.bottom(), edit.top());
  EXPECT_EQ(place.left(), edit.left());
  EXPECT_FALSE(place.intersects(w.Child("btnInit")->geometry()));
  EXPECT_GE(place.height(), label->fontMetrics().height());
}

TEST(TMainWindow, MenusHoldTheCommandsWithTheirShortcuts) {
  Window w;
  struct Row {
    const char* menu;
    std::vector<const char*> actions;
  };
  const Row rows[] = {
      {"mnuFile",
       {"actNew", "actLoad", "actSave", "actLoadGenoType", "actSaveGenoType", "actLoadPopulation", "actSavePopulation",
        "actQuit"}},
      {"mnuRun", {"actRun", "actStop", "actInitialize"}},
      {"mnuHelp", {"actGuide"}},
  };
  QStringList titles;
  for (QAction* a : w.window->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Run", "&Help"}));
  for (const Row& row : rows) {
    auto* menu = w.Child<QMenu>(row.menu);
    for (const char* name : row.actions) EXPECT_TRUE(menu->actions().contains(w.Action(name))) << name;
  }
  const std::pair<const char*, QKeySequence> keys[] = {
      {"actNew", QKeySequence("Ctrl+N")},  {"actLoad", QKeySequence("Ctrl+O")}, {"actSave", QKeySequence("Ctrl+S")},
      {"actQuit", QKeySequence("Ctrl+Q")}, {"actRun", QKeySequence("F5")},      {"actStop", QKeySequence("Esc")},
  };
  for (const auto& [name, key] : keys) EXPECT_EQ(w.Action(name)->shortcut(), key) << name;

  // The tool bar: Run, Stop and the streams setting, off by default.
  auto* bar = w.Child<QToolBar>("tbRun");
  EXPECT_TRUE(bar->actions().contains(w.Action("actRun")));
  EXPECT_TRUE(bar->actions().contains(w.Action("actStop")));
  auto* streams = w.Child<QCheckBox>("cbSharedStreams");
  EXPECT_EQ(streams->text(), "Same random numbers for every method");
  EXPECT_FALSE(streams->isChecked());
  streams->click();
  EXPECT_TRUE(w.Form().SharedStreams());
  EXPECT_EQ(w.Form().Workbench().Streams(), zp::queens::TRandomStreams::rsShared);
}

TEST(TMainWindow, ShortcutsRunSaveLoadAndQuit) {
  Window w;
  w.ShowActive();
  const QString file = w.File("doc.xml");
  w.Form().FileDialogs().OnChooseSaveFile = [&](const QString&) { return file; };
  w.Form().FileDialogs().OnChooseOpenFile = [&](const QString&) { return file; };
  w.Child<QLineEdit>("Edit1")->setText("3");

  QTest::keyClick(w.window.get(), Qt::Key_F5);
  ASSERT_TRUE(w.WaitForRun());
  EXPECT_EQ(w.Blocks(), 5);

  QTest::keyClick(w.window.get(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(w.errors.empty()) << w.errors[0].toStdString();
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_EQ(w.window->windowTitle(), QString::fromUtf8("doc.xml \u2013 N Queens Solution using Genetic Algorithms"));

  w.Form().Initialize();
  QTest::keyClick(w.window.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(w.errors.empty());
  EXPECT_TRUE(w.Form().Workbench().Algorithm().Initialized());

  QTest::keyClick(w.window.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_TRUE(QFile::exists(w.Settings()));  // written on closing
}

TEST(TMainWindow, StopFromTheMenuOrEscAndTheCommandsLockedMeanwhile) {
  Window w;
  w.ShowActive();
  EXPECT_FALSE(w.Action("actStop")->isEnabled());
  w.StartLongRun();
  EXPECT_TRUE(w.Action("actStop")->isEnabled());
  for (const char* name : {"actRun", "actInitialize", "actLoad", "actSave", "actLoadPopulation"})
    EXPECT_FALSE(w.Action(name)->isEnabled()) << name;
  EXPECT_FALSE(w.Child("cbSharedStreams")->isEnabled());
  EXPECT_TRUE(w.Child("pbProgress")->isVisible());

  w.Action("actStop")->trigger();
  ASSERT_TRUE(w.WaitForRun(2000));
  EXPECT_EQ(w.Blocks(), 0);  // the stopped method logs only the stop
  EXPECT_TRUE(w.Log().back().starts_with("Run stopped after "));
  EXPECT_FALSE(w.Action("actStop")->isEnabled());
  EXPECT_TRUE(w.Action("actRun")->isEnabled());
  EXPECT_TRUE(w.Child("cbSharedStreams")->isEnabled());
  EXPECT_FALSE(w.Child("pbProgress")->isVisible());

  // Esc reaches Stop through the window's shortcut.
  w.StartLongRun();
  QTest::keyClick(w.window.get(), Qt::Key_Escape);
  ASSERT_TRUE(w.WaitForRun(2000));
  EXPECT_EQ(w.Blocks(), 0);
  EXPECT_TRUE(w.Log().back().starts_with("Run stopped after "));
  EXPECT_TRUE(w.errors.empty());
}

TEST(TMainWindow, ClosingDuringARunStopsItClosesQuicklyAndRemembersTheSettings) {
  Window w;
  w.window->show();
  w.StartLongRun();
  QElapsedTimer clock;
  clock.start();
  w.window->close();
  EXPECT_TRUE(w.window->isVisible());  // until the generation in progress is done
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w.window->isVisible(); }, 1000));
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_FALSE(w.Form().Running());
  EXPECT_EQ(QSettings(w.Settings(), QSettings::IniFormat).value("queens").toInt(), 32);
}

TEST(TMainWindow, EventsPostedToTheWindowAreProcessedDuringARun) {
  Window w;
  w.window->show();
  w.StartLongRun();
  // From another thread, as a desktop's input would come: each is answered while the run still goes.
  std::atomic<int> answered{0};
  std::thread poster([&] {
    for (int i = 0; i < 5; ++i)
      QMetaObject::invokeMethod(
          w.window.get(), [&] { answered += w.Form().Running() ? 1 : 0; }, Qt::QueuedConnection);
  });
  poster.join();
  EXPECT_TRUE(QTest::qWaitFor([&] { return answered == 5; }, 5000));
  EXPECT_TRUE(w.Form().Running());
  w.Form().Stop();
  ASSERT_TRUE(w.WaitForRun(2000));
}

TEST(TMainWindow, TheChartIsRepaintedAtMostAboutThirtyTimesASecondDuringARun) {
  Window w;
  w.window->show();
  w.Child<QTabWidget>("PageControl1")->setCurrentIndex(1);
  auto* chart = w.Child<zp::chart::TZPChartWidget>("ChartPanel");
  const int before = chart->ChartPaintCount();
  QElapsedTimer clock;
  clock.start();
  w.StartLongRun();
  EXPECT_TRUE(QTest::qWaitFor([&] { return chart->ChartPaintCount() > before + 2; }, 5000));
  QTest::qWait(500);
  const int paints = chart->ChartPaintCount() - before;
  // A busy machine paints less often, never more: one paint per interval, one for the page.
  EXPECT_LE(paints, clock.elapsed() / zp::app::TForm1::kShowIntervalMs + 2);
  w.Form().Stop();
  ASSERT_TRUE(w.WaitForRun(2000));
}

TEST(TMainWindow, ProgressNamesTheMethodItsPlaceAndTheGenerationsWithCommas) {
  Window w;
  w.window->show();
  w.StartLongRun();
  const QString text = w.Child<QLabel>("lblProgress")->text();
  // In every locale, the German one too (app_tests_de), "," groups the thousands.
  static const QRegularExpression pattern(
      "^Running Roulette \\(1 of 5\\): generation (\\d{1,3}(,\\d{3})*) of 2,000,000,000$");
  EXPECT_TRUE(pattern.match(text).hasMatch()) << text.toStdString();
  auto* bar = w.Child<QProgressBar>("pbProgress");
  EXPECT_GE(bar->value(), 0);
  EXPECT_LT(bar->value(), 200);  // within the first of five methods
  w.Action("actStop")->trigger();
  ASSERT_TRUE(w.WaitForRun(2000));
  EXPECT_TRUE(w.Child<QLabel>("lblProgress")->text().isEmpty());
}

TEST(TRunProgress, TextAndShareOfTheWholeRun) {
  using zp::app::GroupThousands;
  EXPECT_EQ(GroupThousands(0), "0");
  EXPECT_EQ(GroupThousands(999), "999");
  EXPECT_EQ(GroupThousands(1000), "1,000");
  EXPECT_EQ(GroupThousands(6520), "6,520");
  EXPECT_EQ(GroupThousands(2147483647), "2,147,483,647");
  EXPECT_EQ(GroupThousands(-1234567), "-1,234,567");
  EXPECT_EQ(GroupThousands(INT64_MIN), "-9,223,372,036,854,775,808");

  // Generations count from where each method starts (a Run after an earlier one starts at its end).
  zp::app::TRunProgress progress(100000, 5, 300);
  EXPECT_EQ(progress.Text(), "Running...");
  EXPECT_EQ(progress.Permille(), 0);
  progress.SetGeneration(2, 6820);
  EXPECT_EQ(progress.Text(), "Running Tournament (3 of 5): generation 6,520 of 100,000");
  EXPECT_EQ(progress.Permille(), 413);  // (2 + 0.0652) / 5
  progress.SetMethodFinished(2);        // with the graph off only the methods' ends are told
  EXPECT_EQ(progress.Text(), "Running Stochastic Tournament (4 of 5)");
  EXPECT_EQ(progress.Permille(), 600);
  progress.SetMethodFinished(4);
  EXPECT_EQ(progress.Permille(), 1000);

  zp::app::TRunProgress none(0, 5, 0);  // no generations, or a text that is no number
  none.SetGeneration(0, 0);
  EXPECT_EQ(none.Text(), "Running Roulette (1 of 5): generation 0 of 0");
  EXPECT_EQ(none.Permille(), 200);
}

TEST(TMainWindow, SettingsComeBackAtTheNextStartWithoutInitializing) {
  Window w;
  w.window->show();
  w.Child<QSpinBox>("SpinEdit1")->setValue(12);  // initializes, as the control does
  w.Child<QLineEdit>("Edit1")->setText("250");
  w.Child<QCheckBox>("cbGraph")->click();
  w.Child<QCheckBox>("cbSharedStreams")->click();
  w.Form().SetSavedExperimentSeed(4000000000u);
  w.Child<QLineEdit>("edRepeats")->setText("77");
  w.Child<QLineEdit>("edSetting-population")->setText("10,20");
  w.Child<QLineEdit>("edFolder")->setText(w.File("exp"));
  w.Form().FileDialogs().SetOpenFileName(w.File("some.xml"));
  w.window->resize(1000, 640);
  w.window->close();

  const QSettings ini(w.Settings(), QSettings::IniFormat);
  QStringList keys = ini.allKeys();
  keys.removeIf([](const QString& key) { return key.startsWith("experiments/"); });  // below
  keys.sort();
  EXPECT_EQ(keys, QStringList(
                      {"generations", "geometry", "graph", "lastFolder", "queens", "recentFiles", "seed", "streams"}));
  EXPECT_EQ(ini.value("streams").toString(), "shared");
  EXPECT_EQ(ini.value("seed").toString(), "4000000000");
  EXPECT_EQ(ini.value("lastFolder").toString(), w.folder.path());
  EXPECT_EQ(ini.value("experiments/repeats").toString(), "77");
  EXPECT_EQ(ini.value("experiments/setting-population").toString(), "10,20");
  EXPECT_FALSE(ini.contains("experiments/seed"));  // kept as "seed"

  w.Open();
  w.window->show();
  auto& form = w.Form();
  // The Experiments page's fields come back; its folder, still new, too.
  EXPECT_EQ(w.Child<QLineEdit>("edRepeats")->text(), "77");
  EXPECT_EQ(w.Child<QLineEdit>("edSetting-population")->text(), "10,20");
  EXPECT_EQ(w.Child<QLineEdit>("edFolder")->text(), w.File("exp"));
  EXPECT_EQ(w.Child<QSpinBox>("SpinEdit1")->value(), 12);
  EXPECT_EQ(form.Workbench().NumQueens(), 12);
  EXPECT_EQ(form.Workbench().Algorithm().InitialPopulation(), 48);
  EXPECT_FALSE(form.Workbench().Algorithm().Initialized());
  EXPECT_EQ(w.Log().size(), 7u);  // the introduction alone
  EXPECT_EQ(w.Child<QLineEdit>("Edit1")->text(), "250");
  EXPECT_FALSE(w.Child<QCheckBox>("cbGraph")->isChecked());
  EXPECT_FALSE(form.Workbench().GraphEnabled());
  EXPECT_TRUE(w.Child<QCheckBox>("cbSharedStreams")->isChecked());
  EXPECT_TRUE(form.SharedStreams());
  EXPECT_EQ(form.SavedExperimentSeed(), 4000000000u);
  EXPECT_EQ(form.FileDialogs().Folder(), w.folder.path());
  EXPECT_EQ(w.window->size(), QSize(1000, 640));

  // Run initializes the remembered queen count as the control would have.
  w.Child<QLineEdit>("Edit1")->setText("1");
  form.Run();
  ASSERT_TRUE(w.WaitForRun());
  EXPECT_EQ(w.Log()[9], "     Number of queens is 12");
}

TEST(TMainWindow, UnreadableSettingsGiveTheDefaultsOrTheNearestValue) {
  Window w;
  {
    QSettings ini(w.Settings(), QSettings::IniFormat);
    ini.setValue("queens", 99);
    ini.setValue("seed", "-5");
    ini.setValue("streams", "sometimes");
    ini.setValue("graph", "false");
    ini.setValue("recentFiles", QStringList({"genotype:/a.xml", "nonsense", "video:/b.xml", "population:/c.xml"}));
  }
  w.Open();
  EXPECT_EQ(w.Child<QSpinBox>("SpinEdit1")->value(), 32);
  EXPECT_EQ(w.Form().SavedExperimentSeed(), 0u);
  EXPECT_FALSE(w.Form().SharedStreams());
  EXPECT_FALSE(w.Child<QCheckBox>("cbGraph")->isChecked());
  ASSERT_EQ(w.window->RecentFiles().Entries().size(), 2u);
  EXPECT_EQ(w.window->RecentFiles().Entries()[1], (zp::app::TRecentFile{"/c.xml", TDocumentKind::dkPopulation}));
}

TEST(TMainWindow, RecentFilesOpenWithTheLoadCommandTheyWereUsedWith) {
  Window w;
  const QString genotype = w.File("genes.xml"), population = w.File("people.xml");
  w.Form().Initialize();
  w.Form().FileDialogs().OnChooseSaveFile = [&](const QString&) { return genotype; };
  w.Action("actSaveGenoType")->trigger();
  w.Form().FileDialogs().OnChooseSaveFile = [&](const QString&) { return population; };
  w.Action("actSavePopulation")->trigger();
  ASSERT_TRUE(w.errors.empty()) << w.errors[0].toStdString();
  w.window->close();

  w.Open();  // remembered across sessions, newest first
  auto* menu = w.Child<QMenu>("mnuRecent");
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "&1 people.xml (population)");
  EXPECT_EQ(menu->actions()[1]->text(), "&2 genes.xml (genotype)");
  // A genotype document through Load would fail ("Interface not supported"): the entry knows its kind.
  menu->actions()[1]->trigger();
  EXPECT_TRUE(w.errors.empty()) << w.errors[0].toStdString();
  EXPECT_EQ(w.window->windowTitle(), QString::fromUtf8("genes.xml \u2013 N Queens Solution using Genetic Algorithms"));
  EXPECT_EQ(w.Child<QMenu>("mnuRecent")->actions()[0]->text(), "&1 genes.xml (genotype)");

  // A file that has gone leaves the list; its load says why it failed.
  QFile::remove(population);
  w.Child<QMenu>("mnuRecent")->actions()[1]->trigger();
  EXPECT_EQ(w.errors.size(), 1u);
  ASSERT_EQ(w.window->RecentFiles().Entries().size(), 1u);
  EXPECT_EQ(w.window->RecentFiles().Entries()[0].File, genotype);
}

TEST(TRecentFiles, NewestFirstOncePerFileAtMostEight) {
  zp::app::TRecentFiles recent;
  recent.Add("", TDocumentKind::dkAlgorithm);
  EXPECT_TRUE(recent.Entries().empty());
  for (int i = 0; i < 10; ++i) recent.Add(QString("/f%1.xml").arg(i), TDocumentKind::dkAlgorithm);
  recent.Add("/f5.xml", TDocumentKind::dkPopulation);  // used again, as another kind
  ASSERT_EQ(recent.Entries().size(), 8u);
  EXPECT_EQ(recent.Entries()[0], (zp::app::TRecentFile{"/f5.xml", TDocumentKind::dkPopulation}));
  EXPECT_EQ(recent.Entries()[1].File, "/f9.xml");
  EXPECT_EQ(recent.Entries()[7].File, "/f2.xml");  // f5 moved to the front

  zp::app::TRecentFiles copy;
  copy.FromStrings(recent.ToStrings());
  EXPECT_EQ(copy.Entries(), recent.Entries());
  EXPECT_EQ(recent.ToStrings()[0], "population:/f5.xml");
}

TEST(TMainWindow, TheGuideExplainsTheControlsTheChartAndASolvedBoard) {
  Window w;
  w.ShowActive();
  QTest::keyClick(w.window.get(), Qt::Key_F1);
  auto* guide = w.Child<QTextBrowser>("tbGuide");
  ASSERT_NE(guide, nullptr);
  EXPECT_TRUE(guide->isVisible());
  const QString text = guide->toPlainText();
  for (const char* words :
       {"Num Queens", "Stop (Esc)", "Same random numbers for every method", "Backspace", "double-click",
        "Logarithmic generation axis", "legend", "Fitness Cutoff", "Solution shown: Tournament, Run 3"})
    EXPECT_TRUE(text.contains(QString::fromLatin1(words), Qt::CaseInsensitive)) << words;
  EXPECT_TRUE(text.contains(w.Settings()));
}

TEST(TFileDialogs, StartInTheFolderOfTheLastFileUntilOneIsChosen) {
  zp::app::TFileDialogs dialogs(nullptr);
  std::vector<QString> proposed;
  dialogs.OnChooseOpenFile = [&](const QString& p) {
    proposed.push_back(p);
    return QString();
  };
  dialogs.OnChooseSaveFile = dialogs.OnChooseOpenFile;
  dialogs.SetFolder("/data/runs");
  dialogs.ExecuteOpen();
  dialogs.SetSaveFileName("/elsewhere/a.xml");
  dialogs.ExecuteSave();
  dialogs.ExecuteOpen();
  EXPECT_EQ(proposed, (std::vector<QString>{"/data/runs", "/elsewhere/a.xml", "/elsewhere"}));
  EXPECT_EQ(dialogs.Folder(), "/elsewhere");
}

}  // namespace
