// Pictures of the window for a person to look at: the Text page after a run
// and the Graph page. Written only when ZP_SCREENSHOT_DIR names a folder, e.g.
//   ZP_SCREENSHOT_DIR=/tmp/shots xvfb-run -a build/debug/tests/app_tests --gtest_filter='*Screenshot*'
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <utility>

#include "app/QueensMain.h"

namespace {

TEST(TForm1Screenshots, TextPageAfterARunAndGraphPage) {
  const QString folder = qEnvironmentVariable("ZP_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "set ZP_SCREENSHOT_DIR to write screenshots";
  ASSERT_TRUE(QDir().mkpath(folder));

  zp::app::TForm1 form;
  form.ShowErrorMessage = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(form.findChild<QPushButton*>("btnRun"), Qt::LeftButton);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("text-page.png")));

  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("graph-page.png")));

  // A run long enough to be watched: the progress line and the board while it goes.
  form.SetProgressInterval(0);
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
  form.findChild<QLineEdit*>("Edit1")->setText("1000");
  // Told after the window, so the picture shows the progress line of that generation.
  struct TGrabber : zp::queens::IRunObserver {
    zp::app::TForm1& form;
    QString file;
    int generations = 0;
    TGrabber(zp::app::TForm1& Form, QString File) : form(Form), file(std::move(File)) {}
    void OnGeneration(const zp::queens::TGenerationReport&) override {
      if (++generations == 1500) {
        EXPECT_TRUE(form.grab().save(file));
      }
    }
  } grabber(form, QDir(folder).filePath("during-run.png"));
  form.Workbench().Attach(grabber);
  QTest::mouseClick(form.findChild<QPushButton*>("btnRun"), Qt::LeftButton);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("second-run.png")));

  // Many queens: small cells, smaller letters.
  form.Workbench().Detach(grabber);
  form.findChild<QSpinBox*>("SpinEdit1")->setValue(20);
  form.findChild<QLineEdit*>("Edit1")->setText("300");
  QTest::mouseClick(form.findChild<QPushButton*>("btnRun"), Qt::LeftButton);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("twenty-queens.png")));

  form.resize(1200, 700);
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
  QTest::qWait(200);
  EXPECT_TRUE(form.grab().save(QDir(folder).filePath("resized.png")));
}

}  // namespace
