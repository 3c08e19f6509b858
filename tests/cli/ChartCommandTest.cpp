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
#include "engine/SelectionMethods.h"

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

namespace {

int CountPixels(const QImage& Image, TColor Color) {
  const QRgb wanted = qRgb(GetRValue(Color), GetGValue(Color), GetBValue(Color));
  const QImage img = Image.convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == wanted;
  return n;
}

}  // namespace

// The default picture of a default Run shows every method in its palette
// colour (Tournament, the first to solve, at generation 20 too), two pixels
// wide and twice that at --scale 2, under a header and footer that say what is shown.
TEST(ChartCommand, EveryMethodShowsInThePaletteUnderAHeaderThatSaysWhatIsShown) {
  const std::string png = TempFile("palette.png"), svg = TempFile("palette.svg"), big = TempFile("palette2.png");
  // In one process the random source goes on between sessions: each starts at seed 0 as the tool does.
  const Result r = RunTool({"--seed", "0", "-q", "8", "-e", "run 200; chart " + png + "; chart " + svg});
  ASSERT_EQ(r.status, 0) << r.err;
  QImage image, scaled;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  ASSERT_EQ(image.size(), QSize(800, 500));
  ASSERT_EQ(RunTool({"--seed", "0", "-q", "8", "--scale", "2", "-e", "run 200; chart " + big}).status, 0);
  ASSERT_TRUE(scaled.load(QString::fromStdString(big), "PNG"));
  for (const ga::TSelectionMethodInfo& m : ga::kSelectionMethods) {
    SCOPED_TRACE(std::string(m.Caption));
    const int pixels = CountPixels(image, m.Color);
    EXPECT_GE(pixels, 150);
    EXPECT_GE(CountPixels(scaled, m.Color), 3 * pixels);
  }
  std::ifstream in(svg);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find(">Best fitness per generation, 8 queens</text>"), std::string::npos);
  EXPECT_NE(text.str().find(">seed 0, streams continued</text>"), std::string::npos);
  EXPECT_EQ(text.str().find(">Chart</text>"), std::string::npos);
  EXPECT_EQ(text.str().find(">Footer</text>"), std::string::npos);

  ASSERT_EQ(RunTool({"--seed", "9", "-q", "6", "-e", "streams shared; run 5; chart " + svg}).status, 0);
  std::ifstream again(svg);
  std::stringstream shared;
  shared << again.rdbuf();
  EXPECT_NE(shared.str().find(">Best fitness per generation, 6 queens</text>"), std::string::npos);
  EXPECT_NE(shared.str().find(">seed 9, streams shared</text>"), std::string::npos);
}
