// What nqueens-ga writes never replaces what is not a regular file, never
// leaves a cut copy in place of a good one, and says so when standard output
// cannot be written; what it loads is a regular file, opened without blocking.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CliTestSupport.h"
#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;
using zp::cli_test::Result;
using zp::cli_test::RunTool;

fs::path Folder(const std::string& Name) {
  const fs::path dir = fs::path(testing::TempDir()) / ("nqueens_files_" + Name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::string ReadFile(const fs::path& File) { return zp::test::ReadFile(File.string()); }

// Runs nqueens-ga in a shell, so that the shell can set limits and redirections first.
int Shell(const std::string& Command) {
  const int status = std::system(Command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Every writing command refuses a target of another kind and leaves it as it was.
TEST(FileSafety, NoWriterReplacesAFifoASocketOrADevice) {
  const fs::path dir = Folder("kinds");
  std::vector<fs::path> targets;
  const fs::path fifo = dir / "fifo.xml";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  targets.push_back(fifo);
  const fs::path socket_path = dir / "socket.svg";
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  targets.push_back(socket_path);
  const fs::path device = dir / "null.png";
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets.push_back(device);  // root only
  for (const fs::path& target : targets) {
    const std::string t = target.string();
    const auto kind = fs::status(target).type();
    for (const std::string command : {"save", "save-genotype", "save-population", "csv", "chart"}) {
      const std::string name = command == "chart" && target.extension() == ".xml" ? t + ".svg" : t;
      if (command == "chart" && name != t) continue;
      const Result r = RunTool({"-q", "5", "-e", "run 2; " + command + " " + name});
      EXPECT_EQ(r.status, 1) << command << " " << t;
      EXPECT_NE(r.err.find(t + ": cannot write the file (not a regular file)"), std::string::npos) << r.err;
      EXPECT_EQ(fs::status(target).type(), kind) << command << " " << t;
    }
  }
  ::close(sock);
}

TEST(FileSafety, ALoadOpensWithoutBlockingAndTakesOnlyARegularFile) {
  const fs::path dir = Folder("load");
  const fs::path fifo = dir / "nobody-writes.xml";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  for (const std::string command : {"load", "load-genotype", "load-population"}) {
    const Result r = RunTool({"-q", "5", "-e", command + " " + fifo.string()});
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find(fifo.string() + ": cannot read the file (not a regular file)"), std::string::npos) << r.err;
  }
}

TEST(FileSafety, AFailedWriteKeepsTheOldFileAndIsReported) {
  const fs::path dir = Folder("cut");
  const std::string tool = ZP_NQUEENS_GA;
  // First the good files, then the same commands with files limited to 1 KiB:
  // each write fails part way (EFBIG, the signal ignored) like on a full disk.
  const std::string commands = "run 30; csv c.csv; chart c.svg; chart c.png; save s.xml";
  ASSERT_EQ(Shell("cd '" + dir.string() + "' && '" + tool + "' -q 8 -e '" + commands + "' >/dev/null 2>&1"), 0);
  const std::vector<std::string> files{"c.csv", "c.svg", "c.png", "s.xml"};
  std::vector<std::string> before;
  for (const std::string& f : files) before.push_back(ReadFile(dir / f));
  for (const std::string& b : before) ASSERT_GT(b.size(), 1024u);
  const int status = Shell("cd '" + dir.string() + "' && (ulimit -f 1; trap '' XFSZ; exec '" + tool +
                           "' -q 8 -e 'run 60; csv c.csv; chart c.svg; chart c.png; save s.xml' >/dev/null 2>err.txt)");
  EXPECT_EQ(status, 1);
  const std::string err = ReadFile(dir / "err.txt");
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_NE(err.find(files[i] + ": cannot write the file (File too large)"), std::string::npos) << err;
    EXPECT_EQ(ReadFile(dir / files[i]), before[i]) << files[i];
  }
  // No temporary file is left behind.
  for (const auto& entry : fs::directory_iterator(dir)) EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(FileSafety, StandardOutputThatCannotBeWrittenIsAnErrorAndDashWritesThere) {
  const std::string tool = ZP_NQUEENS_GA;
  const fs::path dir = Folder("stdout");
  EXPECT_EQ(Shell("'" + tool + "' -q 6 -e 'run 5' >/dev/full 2>'" + (dir / "err.txt").string() + "'"), 1);
  EXPECT_EQ(ReadFile(dir / "err.txt").rfind("error: cannot write to standard output", 0), 0u);

  const Result saved = RunTool({"-q", "5", "-e", "save-genotype -; csv -; chart -"});
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_NE(saved.out.find("<GenoType"), std::string::npos);
  EXPECT_NE(saved.out.find("method,generation,fitness\n"), std::string::npos);
  EXPECT_NE(saved.out.find("<svg"), std::string::npos);
}

TEST(FileSafety, ALongLegalNameCanBeSaved) {
  const fs::path dir = Folder("long");
  const std::string name = (dir / (std::string(245, 'n') + ".xml")).string();
  const Result r = RunTool({"-q", "5", "-e", "save " + name + "; load " + name});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_regular_file(name));
}

}  // namespace
