// The main window while a run goes on its own thread: Stop and Esc end it after
// the generation in progress, closing the window ends it quickly, and what the
// window shows around a run: a loaded population that Run continues from, the log's end, the board of the current queen
// count with its caption, and a minimum size that keeps every control visible.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "app/QueensMain.h"

namespace {

using zp::app::TForm1;

struct Window {
  TForm1 form;
  std::vector<QString> errors;
  Window() {
    form.ShowErrorMessage = [this](const QString& message) { errors.push_back(message); };
  }
  template <class W = QWidget>
  W* Child(const char* name) {
    W* w = form.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Press(const char* button) { QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton); }
  // Waits at most Milliseconds for the run to end; true if it did.
  bool WaitForRun(int Milliseconds = 60000) {
    QElapsedTimer clock;
    clock.start();
    while (form.Running() && clock.elapsed() < Milliseconds) QTest::qWait(2);
    return !form.Running();
  }
  // Starts a run of Generations on Queens queens and waits until it is well under way.
  void StartLongRun(int Queens, const char* Generations) {
    Child<QSpinBox>("SpinEdit1")->setValue(Queens);
    Child<QLineEdit>("Edit1")->setText(QString::fromLatin1(Generations));
    Press("btnRun");
    ASSERT_TRUE(form.Running());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Child<QLabel>("lblProgress")->text().contains("generation"); }, 10000));
  }
  std::vector<std::string> Log() { return zp::app_test::LogLines(form); }
  bool BoardHasQueens() {
    auto* grid = Child<QTableWidget>("sgChessBoard");
    for (int r = 0; r < grid->rowCount(); ++r)
      for (int c = 0; c < grid->columnCount(); ++c)
        if (grid->item(r, c) && grid->item(r, c)->text() == "Q") return true;
    return false;
  }
};

int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  int n = 0;
  for (const std::string& l : lines) n += l.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

// The stop line right after the initialization's block: the stopped method logs no
// block of its own and the other methods never start.
void ExpectStoppedInRoulette(Window& w) {
  const std::vector<std::string> log = w.Log();
  EXPECT_EQ(Count(log, "Selection Method: "), 0);
  ASSERT_GE(log.size(), 3u);
  const int32_t generations = w.form.Workbench().Algorithm().Generation();
  EXPECT_GT(generations, 0);
  EXPECT_EQ(log.back(), "Run stopped after " + std::to_string(generations) + " of 2000000000 generations");
  EXPECT_EQ(log[log.size() - 3].rfind("     Mutation probability is ", 0), 0u);
  EXPECT_TRUE(w.errors.empty());
}

using zp::app_test::Chromosomes;

TEST(TForm1Run, StopEndsTheRunAfterTheGenerationInProgress) {
  Window w;
  w.StartLongRun(32, "2000000000");
  EXPECT_TRUE(w.Child("btnStop")->isEnabled());
  w.Press("btnStop");
  ASSERT_TRUE(w.WaitForRun(1000));
  ExpectStoppedInRoulette(w);
  EXPECT_FALSE(w.Child("btnStop")->isEnabled());
  EXPECT_TRUE(w.Child("btnRun")->isEnabled());
  EXPECT_FALSE(w.form.FitnessGraph().Points(0).empty());
  EXPECT_TRUE(w.form.FitnessGraph().Points(1).empty());

  // The window is usable again: a short run continues from the stopped population.
  w.Child<QLineEdit>("Edit1")->setText("2");
  w.Press("btnRun");
  ASSERT_TRUE(w.WaitForRun());
  EXPECT_EQ(Count(w.Log(), "Selection Method: "), 5);
}

TEST(TForm1Run, EscStopsTheRun) {
  Window w;
  w.form.show();
  w.StartLongRun(32, "2000000000");
  QTest::keyClick(&w.form, Qt::Key_Escape);
  ASSERT_TRUE(w.WaitForRun(1000));
  ExpectStoppedInRoulette(w);
}

TEST(TForm1Run, ClosingDuringARunStopsItAndClosesWithinASecond) {
  Window w;
  w.form.show();
  w.StartLongRun(32, "2000000000");
  QElapsedTimer clock;
  clock.start();
  w.form.close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w.form.isVisible(); }, 1000));
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_FALSE(w.form.Running());
  ExpectStoppedInRoulette(w);
}

TEST(TForm1Run, DestroyingTheWindowDuringARunEndsIt) {
  auto w = std::make_unique<Window>();
  w->StartLongRun(16, "2000000000");
  w.reset();  // no hang, no use of a window that has gone
}

TEST(TForm1Run, TheBoardIsClearedWhenTheQueenCountChangesAndNamesItsRun) {
  Window w;
  w.Child<QLineEdit>("Edit1")->setText("1000");
  w.Press("btnRun");
  ASSERT_TRUE(w.WaitForRun());
  ASSERT_TRUE(w.BoardHasQueens()) << "no method solved 8 queens in 1000 generations";
  const QString caption = w.Child<QLabel>("lblSolution")->text();
  EXPECT_TRUE(caption.startsWith("Solution shown: ")) << caption.toStdString();
  EXPECT_TRUE(caption.endsWith(", Run 1")) << caption.toStdString();

  w.Press("btnRun");  // a second Run since the initialization
  ASSERT_TRUE(w.WaitForRun());
  EXPECT_TRUE(w.Child<QLabel>("lblSolution")->text().endsWith(", Run 2"));

  w.Child<QSpinBox>("SpinEdit1")->setValue(12);
  EXPECT_FALSE(w.BoardHasQueens());
  EXPECT_TRUE(w.Child<QLabel>("lblSolution")->text().isEmpty());
  EXPECT_EQ(w.form.Workbench().Board().Cell(0, 0), "");
}

TEST(TForm1Run, TheGraphOfARunOnItsWorkerSaysWhatItShows) {
  // The heading comes from the worker's thread through the window's queue, as the curves do.
  Window w;
  w.Child<QLineEdit>("Edit1")->setText("20");
  w.Press("btnRun");
  ASSERT_TRUE(w.WaitForRun());
  EXPECT_EQ(w.form.FitnessGraph().Panel().Header().Text(), "Best fitness per generation, 8 queens");
  // The seed is the process-wide source's state, which earlier tests have moved on.
  const std::string footer = w.form.FitnessGraph().Panel().Footer().Text();
  EXPECT_TRUE(footer.starts_with("seed ") && footer.ends_with(", streams continued")) << footer;
}

TEST(TForm1Run, TheLogStaysAtItsEndWithTheGraphPageInFront) {
  Window w;
  w.form.show();
  auto* pages = w.Child<QTabWidget>("PageControl1");
  pages->setCurrentIndex(1);
  w.Child<QLineEdit>("Edit1")->setText("20");
  w.Press("btnRun");
  ASSERT_TRUE(w.WaitForRun());
  pages->setCurrentIndex(0);
  QTest::qWait(20);
  QScrollBar* bar = w.Child<QPlainTextEdit>("Memo1")->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(TForm1Run, AtItsMinimumSizeEveryControlIsVisibleAndTheBoardHasRoomForFourCells) {
  Window w;
  w.form.show();
  w.form.resize(100, 100);
  const QSize smallest = w.form.size();
  EXPECT_EQ(smallest, w.form.minimumSize());
  const QRect client(QPoint(0, 0), smallest);
  const QRect pages = w.Child("PageControl1")->geometry();
  for (QWidget* child : w.form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    const QRect place = child->geometry();
    EXPECT_TRUE(client.contains(place)) << child->objectName().toStdString();
    if (child->objectName() != "PageControl1" && child->objectName() != "lblProgress") {
      EXPECT_FALSE(place.intersects(pages)) << child->objectName().toStdString();
    }
  }
  auto* grid = w.Child<QTableWidget>("sgChessBoard");
  EXPECT_GE(grid->height(), 4 * 20);
  EXPECT_GE(grid->width(), 4 * 20);
}

TEST(TForm1Run, RunRightAfterALoadContinuesFromTheLoadedPopulation) {
  const QString file = QDir(QString::fromStdString(testing::TempDir())).filePath("nqueens_app_load_run.xml");
  std::vector<std::string> saved;
  {
    Window w;
    w.Child<QSpinBox>("SpinEdit1")->setValue(10);
    w.form.FileDialogs().OnChooseSaveFile = [&](const QString&) { return file; };
    w.Press("btnSave");
    if (!w.errors.empty()) GTEST_SKIP() << w.errors[0].toStdString();
    saved = Chromosomes(w.form);
  }
  Window w;
  w.form.FileDialogs().OnChooseOpenFile = [&](const QString&) { return file; };
  const size_t log_size = w.Log().size();
  w.Press("btnLoad");
  ASSERT_TRUE(w.errors.empty()) << w.errors[0].toStdString();
  ASSERT_EQ(w.Log().size(), log_size + 1);  // a file command logs its file and kind alone
  EXPECT_EQ(w.Log().back(), "Loaded algorithm document " + file.toStdString());
  EXPECT_EQ(w.Child<QSpinBox>("SpinEdit1")->value(), 10);
  EXPECT_EQ(w.form.Workbench().NumQueens(), 10);
  EXPECT_EQ(w.Child<QTableWidget>("sgChessBoard")->columnCount(), 10);
  EXPECT_EQ(Chromosomes(w.form), saved);

  w.Child<QLineEdit>("Edit1")->setText("0");  // the methods' blocks of the loaded population as it is
  w.Press("btnRun");
  ASSERT_TRUE(w.WaitForRun());
  const std::vector<std::string> log = w.Log();
  EXPECT_EQ(Count(log, "Population Initialized."), 0);
  EXPECT_EQ(Count(log, "Selection Method: "), 5);
  EXPECT_EQ(Chromosomes(w.form), saved);
  QFile::remove(file);
}

}  // namespace
