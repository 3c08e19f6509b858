// The chart command of nqueens-ga: pictures at the asked size, and a clear
// error for unknown file types.
#include <gtest/gtest.h>

#include <QImage>
#include <QSvgRenderer>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "cli/CliRunner.h"

using namespace zp;

using zp::cli_test::Result;
using zp::cli_test::RunTool;

namespace {

std::string TempFile(const std::string& Name) { return ::testing::TempDir() + "nqueens_chart_" + Name; }

}  // namespace

TEST(ChartCommand, WritesPngAndSvgAtTheAskedSize) {
  const std::string png = TempFile("graph.png"), svg = TempFile("graph.svg");
  const Result r = RunTool({"--size", "640x360", "-e", "run 20; chart " + png + "; chart " + svg});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), QSize(640, 360));
  QSvgRenderer renderer(QString::fromStdString(svg));
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 640, 360));

  const Result d = RunTool({"-e", "run 3; chart " + png});
  EXPECT_EQ(d.status, 0) << d.err;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), QSize(800, 500));
}

TEST(ChartCommand, ScaleMultipliesPngPixelsButNotTheLayoutOrTheSvg) {
  const std::string png = TempFile("scaled.png"), svg = TempFile("scaled.svg"), one = TempFile("one.png");
  const Result r = RunTool(
      {"--size", "400x300", "--scale", "2", "-e", "run 10; chart " + png + "; chart " + svg + "; chart " + one});
  EXPECT_EQ(r.status, 0) << r.err;
  QImage scaled, plain;
  ASSERT_TRUE(scaled.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(scaled.size(), QSize(800, 600));
  QSvgRenderer renderer(QString::fromStdString(svg));
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 400, 300));
  // The same layout: halved, the picture matches the scale-1 one nearly everywhere.
  ASSERT_TRUE(RunTool({"--size", "400x300", "-e", "run 10; chart " + one}).status == 0);
  ASSERT_TRUE(plain.load(QString::fromStdString(one), "PNG"));
  const QImage halved = scaled.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  int differ = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      const QColor a = halved.pixelColor(x, y), b = plain.pixelColor(x, y);
      differ += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) > 96;
    }
  EXPECT_LT(differ, 400 * 300 / 10);
}

TEST(ChartCommand, AnUnknownPictureTypeIsAnErrorAndTheRestGoOn) {
  const std::string gif = TempFile("graph.gif"), png = TempFile("after.png");
  const Result r = RunTool({"-e", "chart " + gif + "; chart " + png});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "error: line 1: cannot tell the picture type of \"" + gif + "\": use a file name ending in .png or .svg\n");
  EXPECT_FALSE(std::ifstream(gif).good());
  EXPECT_TRUE(std::ifstream(png).good());
}
