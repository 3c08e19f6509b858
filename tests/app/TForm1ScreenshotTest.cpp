// Pictures of the window for a person to look at: the Text page after a run
// the Graph page, a run going and a stopped one; the Experiments page before,
// during and after an experiment, and with bad input; the application window
// with its menus, tool bar, status bar and guide. Written only when
// ZP_SCREENSHOT_DIR names a folder, e.g. (QT_SCALE_FACTOR=2 for a high-density screen)
//   ZP_SCREENSHOT_DIR=/tmp/shots xvfb-run -a build/debug/tests/app_tests --gtest_filter='*Screenshot*'
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "app/MainWindow.h"
#include "app/QueensMain.h"

namespace {

// The window shown, its pictures going to ZP_SCREENSHOT_DIR; skipped without it.
class TForm1Screenshots : public testing::Test {
 protected:
  void SetUp() override {
    if (folder.isEmpty()) GTEST_SKIP() << "set ZP_SCREENSHOT_DIR to write screenshots";
    ASSERT_TRUE(QDir().mkpath(folder));
    form.ShowErrorMessage = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
  const QString folder = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
  zp::app::TForm1 form;
};

TEST_F(TForm1Screenshots, TextPageAfterARunAndGraphPage) {
  QTest::mouseClick(form.findChild<QPushButton*>("btnRun"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Running(); }, 60000));
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("text-page.png")));

  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("graph-page.png")));

  // A run long enough to be watched: the progress line while it goes, then the
  // window after Stop, with the stop line at the log's end.
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
  form.findChild<QSpinBox*>("SpinEdit1")->setValue(32);
  form.findChild<QLineEdit*>("Edit1")->setText("2000000000");
  QTest::mouseClick(form.findChild<QPushButton*>("btnRun"), Qt::LeftButton);
  QTest::qWait(700);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("during-run.png")));
  form.Stop();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Running(); }, 5000));
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("stopped-run.png")));

  // Many queens: small cells, smaller letters.
  form.findChild<QSpinBox*>("SpinEdit1")->setValue(20);
  form.findChild<QLineEdit*>("Edit1")->setText("300");
  QTest::mouseClick(form.findChild<QPushButton*>("btnRun"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Running(); }, 60000));
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("twenty-queens.png")));

  form.resize(1200, 700);
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("resized.png")));
}

TEST_F(TForm1Screenshots, ExperimentsPage) {
  auto* pages = form.findChild<QTabWidget*>("PageControl1");
  pages->setCurrentWidget(&form.ExperimentsPage());
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("experiments-empty.png")));

  form.findChild<QLineEdit*>("edQueens")->setText("6,8");
  form.findChild<QLineEdit*>("edRepeats")->setText("20");
  form.findChild<QLineEdit*>("edGenerations")->setText("300");
  QTest::mouseClick(form.findChild<QPushButton*>("btnStart"), Qt::LeftButton);
  QTest::qWait(150);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("experiments-running.png")));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form.ExperimentsPage().Running(); }, 120000));
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("experiments-results.png")));

  form.resize(1200, 760);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("experiments-resized.png")));
  form.resize(881, 434);

  form.findChild<QLineEdit*>("edQueens")->setText("3,40");
  form.findChild<QLineEdit*>("edRepeats")->setText("0");
  form.findChild<QLineEdit*>("edJobs")->setText("x");
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("experiments-bad-input.png")));
}

TEST(TMainWindowScreenshots, AfterARunGraphPageMenusProgressAndGuide) {
  const QString folder = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "set ZP_SCREENSHOT_DIR to write screenshots";
  ASSERT_TRUE(QDir().mkpath(folder));
  QTemporaryDir settings;
  zp::app::TMainWindow window(settings.filePath("settings.ini"));
  auto& form = window.Form();
  form.ShowErrorMessage = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // One name per scale: the same test under QT_SCALE_FACTOR=2 writes its own pictures.
  const QString scale = QStringLiteral("-x%1").arg(window.devicePixelRatio());
  auto save = [&](QWidget& widget, const char* name) {
    QTest::qWait(200);
    EXPECT_TRUE(widget.grab().save(QDir(folder).filePath(QString::fromLatin1(name) + scale + ".png")));
  };

  form.findChild<QLineEdit*>("Edit1")->setText("1000");  // long enough for a solution on the board
  form.Run();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Running(); }, 60000));
  save(window, "window-after-run");
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  save(window, "window-graph-page");

  form.findChild<QSpinBox*>("SpinEdit1")->setValue(32);
  form.findChild<QLineEdit*>("Edit1")->setText("100000");
  form.Run();
  QTest::qWait(1500);
  save(window, "window-during-run");
  form.Stop();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Running(); }, 5000));

  auto* menu = window.findChild<QMenu*>("mnuFile");
  menu->popup(window.mapToGlobal(QPoint(0, 0)));
  save(*menu, "window-file-menu");
  menu->close();

  window.ShowGuide();
  auto* guide = window.findChild<QTextBrowser*>("tbGuide");
  save(*guide->window(), "window-guide");
  guide->verticalScrollBar()->setValue(guide->verticalScrollBar()->maximum());
  save(*guide->window(), "window-guide-end");
}

}  // namespace
