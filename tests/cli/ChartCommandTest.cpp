// The chart command of nqueens-ga: pictures at the asked size, and a clear
// error for unknown file types.
#include <gtest/gtest.h>

#include <QImage>
#include <QSvgRenderer>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"

using namespace zp;

namespace {

struct TResult {
  int status;
  std::string out, err;
};

TResult RunTool(const std::vector<std::string>& Args) {
  std::ostringstream out, err;
  std::istringstream in;
  const int status = cli::RunCli(Args, out, err, in);
  return {status, out.str(), err.str()};
}

std::string TempFile(const std::string& Name) { return ::testing::TempDir() + "nqueens_chart_" + Name; }

}  // namespace

TEST(ChartCommand, WritesPngAndSvgAtTheAskedSize) {
  const std::string png = TempFile("graph.png"), svg = TempFile("graph.svg");
  const TResult r = RunTool({"--size", "640x360", "-e", "run 20; chart " + png + "; chart " + svg});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), QSize(640, 360));
  QSvgRenderer renderer(QString::fromStdString(svg));
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 640, 360));

  const TResult d = RunTool({"-e", "run 3; chart " + png});
  EXPECT_EQ(d.status, 0) << d.err;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), QSize(800, 500));
}

TEST(ChartCommand, AnUnknownPictureTypeIsAnErrorAndTheRestGoOn) {
  const std::string gif = TempFile("graph.gif"), png = TempFile("after.png");
  const TResult r = RunTool({"-e", "chart " + gif + "; chart " + png});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "error: line 1: cannot tell the picture type of \"" + gif + "\": use a file name ending in .png or .svg\n");
  EXPECT_FALSE(std::ifstream(gif).good());
  EXPECT_TRUE(std::ifstream(png).good());
}
