// nqueens-ga driven in-process: usage errors, failing commands, the command
// sources, the show and csv output, and the log against the workbench's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "TestSupport.h"
#include "cli/CliRunner.h"
#include "cli/ScriptCommands.h"
#include "platform/Random.h"
#include "workbench/QueensWorkbench.h"

using zp::cli_test::Result;
using zp::cli_test::RunTool;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string TempFile(const std::string& name) { return zp::test::TempFile("nqueens_cli_" + name); }

using zp::test::ReadFile;

constexpr size_t kIntroductionLines = 7;
constexpr size_t kInitBlockLines = 8;
constexpr size_t kMethodBlockLines = 8;

TEST(CliRunnerTest, UsageErrorsExitTwoAndRunNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {"-e", "frobnicate"},
      {"-e", "init; frobnicate"},
      {"--size", "8000x8000", "--scale", "2", "-e", "run 1"},  // a picture past 64 megapixels
      {"--frob"},
      {"-x", "-e", "init"},
      {"-e", "graph maybe"},
      {"-e", "graph"},
      {"-e", "show nothing"},
      {"-e", "queens"},
      {"-e", "queens 4 5"},
      {"-e", "init now"},
      {"-e", "csv"},
      {"-q", "abc"},
      {"-q"},
      {"-e"},
      {"-e", "init", "-e", "run"},
      {"-e", "init", "script.txt"},
      {"one.txt", "two.txt"},
      {"--size", "15x300"},
      {"--size", "300"},
      {"--scale", "0"},
      {"--scale", "5"},
      {"--scale", "x"},
      {"-q", "5", "-q", "x"},
      {"-q", "3"},  // no board of fewer than 4 or more than 32 queens
      {"-q", "40"},
      {"/nonexistent/script.txt"},
      {"--seed", "-1"},
      {"--seed", "4294967296"},
      {"--seed", "0x"},
      {"--seed", "seven"},
  };
  for (const auto& args : cases) {
    const uint32_t seed = zp::GlobalRandom().Seed();
    const Result r = RunTool(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    EXPECT_NE(r.err, "") << args[0];
    EXPECT_EQ(zp::GlobalRandom().Seed(), seed) << "something ran for " << args[0];
  }
  // A bad command is named by its segment (blank ones count).
  EXPECT_EQ(RunTool({"-e", "init;; frob"}).err,
            "nqueens-ga: line 3: unknown command 'frob'\nTry 'nqueens-ga --help'.\n");
}

TEST(CliRunnerTest, HelpExitsZeroAndNamesEveryCommand) {
  for (const char* flag : {"--help", "-h"}) {
    const Result r = RunTool({flag});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, zp::cli::UsageText());
  }
  // Help anywhere among the options, even after a usage error.
  EXPECT_EQ(RunTool({"-q", "5", "-e", "init", "--help"}).status, 0);
  EXPECT_EQ(RunTool({"--frob", "-h"}).status, 0);
  // An option's value is not an option: here "--help" is the generation text.
  const Result value = RunTool({"-g", "--help"});
  EXPECT_EQ(value.status, 1);
  EXPECT_EQ(value.err, "error: '--help' is not a valid integer value\n");
  EXPECT_NE(value.out.find("Population Initialized."), std::string::npos);

  const std::string help = zp::cli::UsageText();
  for (const char* word : {"--seed S",
                           "-q N",
                           "-g TEXT",
                           "streams shared|continued",
                           "-e COMMANDS",
                           "SCRIPT-FILE",
                           "queens N",
                           "init",
                           "run [TEXT]",
                           "graph on|off",
                           "show population|board",
                           "csv FILE",
                           "save FILE",
                           "load FILE",
                           "save-genotype",
                           "load-genotype",
                           "save-population",
                           "load-population",
                           "chart FILE",
                           "error: MESSAGE"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

// --seed sets the seed before -q initializes: the run is that of a workbench
// drawing from a source with that seed, in decimal or hexadecimal alike.
TEST(CliRunnerTest, SeedOptionSeedsTheRandomSourceBeforeTheQueenCount) {
  const Result hex = RunTool({"--seed", "0x2A", "-q", "6", "-e", "run 4"});
  const Result dec = RunTool({"--seed", "42", "-q", "6", "-e", "run 4"});
  ASSERT_EQ(hex.status, 0);
  EXPECT_EQ(hex.out, dec.out);
  zp::TRandom own(42);
  zp::queens::TQueensWorkbench wb(own);
  wb.FormCreate();
  wb.SpinEdit1Change(6);
  wb.btnRunClick("4");
  std::string log;
  for (const std::string& line : wb.Log()) log += line + "\n";
  EXPECT_EQ(hex.out, log);
  EXPECT_NE(RunTool({"--seed", "43", "-q", "6", "-e", "run 4"}).out, log);
}

TEST(CliRunnerTest, FailingCommandReportsOnStderrAndTheRestGoOn) {
  const Result r = RunTool({"-q", "4", "-e", "run abc; run 1; show board"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "error: line 1: 'abc' is not a valid integer value\n");
  const auto lines = Lines(r.out);
  // Introduction, the initialization of -q, no block of the failed run, five of the second, the board.
  ASSERT_EQ(lines.size(), kIntroductionLines + kInitBlockLines + 5 * kMethodBlockLines + 4);
  EXPECT_EQ(lines[kIntroductionLines + kInitBlockLines + 1], "Selection Method: smRoulette");
  EXPECT_EQ(lines[kIntroductionLines + kInitBlockLines + 2], "Number of generations:1");
}

TEST(CliRunnerTest, WithoutCommandsRunIsPressedOnceWithTheGenerationText) {
  const Result r = RunTool({"-q", "6", "-g", "2"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), kIntroductionLines + kInitBlockLines + 5 * kMethodBlockLines);
  EXPECT_EQ(lines[kIntroductionLines + 2], "     Number of queens is 6");
  for (size_t m = 0; m < 5; ++m) {
    const std::string& generations = lines[kIntroductionLines + kInitBlockLines + m * kMethodBlockLines + 2];
    EXPECT_TRUE(generations == "Number of generations:1" || generations == "Number of generations:2") << generations;
  }
}

TEST(CliRunnerTest, ARepeatedOptionKeepsItsLastValue) {
  const Result r = RunTool({"-q", "5", "-g", "7", "-q", "6", "-g", "1", "-e", "run"});
  EXPECT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_GT(lines.size(), kIntroductionLines + kInitBlockLines + 2);
  EXPECT_EQ(lines[kIntroductionLines + 2], "     Number of queens is 6");
  EXPECT_EQ(lines[kIntroductionLines + kInitBlockLines + 2], "Number of generations:1");
}

TEST(CliRunnerTest, OnlyBlankSegmentsMeanNoCommandsSoRunIsPressed) {
  const Result blank = RunTool({"-g", "1", "-e", " ; ;"});
  const Result none = RunTool({"-g", "1"});
  EXPECT_EQ(blank.status, 0);
  EXPECT_EQ(Lines(blank.out).size(), kIntroductionLines + kInitBlockLines + 5 * kMethodBlockLines);
  EXPECT_EQ(Lines(blank.out).size(), Lines(none.out).size());
}

TEST(CliRunnerTest, SemicolonSegmentsAreCommandsAndBlankOnesAreSkipped) {
  const Result r = RunTool({"-e", " ; init ;;   ; show board ; "});
  EXPECT_EQ(r.status, 0);
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), kIntroductionLines + kInitBlockLines + 8);
  EXPECT_EQ(lines[kIntroductionLines + 1], "Population Initialized.");
  for (size_t i = kIntroductionLines + kInitBlockLines; i < lines.size(); ++i) EXPECT_EQ(lines[i], "........");
}

TEST(CliRunnerTest, ScriptFileAndStdinRunOneCommandPerLine) {
  const std::string script = "queens 5\r\n\r\n# a comment\r\ninit\r\nshow population\r\n";
  const std::string path = TempFile("script.txt");
  {
    std::ofstream file(path, std::ios::binary);
    file << script;
  }
  const uint32_t seed = zp::GlobalRandom().Seed();
  const Result from_file = RunTool({path});
  zp::GlobalRandom().SetSeed(seed);
  const Result from_stdin = RunTool({"-"}, script);
  EXPECT_EQ(from_file.status, 0);
  EXPECT_EQ(from_file.err, "");
  EXPECT_EQ(from_file.out, from_stdin.out);
  EXPECT_EQ(from_stdin.status, 0);

  const auto lines = Lines(from_file.out);
  // Two initialization blocks (queens, init), then 20 chromosomes of 24 bits.
  ASSERT_EQ(lines.size(), kIntroductionLines + 2 * kInitBlockLines + 20);
  EXPECT_EQ(lines[kIntroductionLines + kInitBlockLines + 2], "     Number of queens is 5");
  const std::regex bits("[01]{24}");
  for (size_t i = kIntroductionLines + 2 * kInitBlockLines; i < lines.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], bits)) << lines[i];
  std::remove(path.c_str());
}

TEST(CliRunnerTest, ShowPrintsThePopulationAndTheBoardOfTheWorkbench) {
  const uint32_t seed = zp::GlobalRandom().Seed();
  const Result r = RunTool({"-q", "4", "-e", "run 30; show population; show board"});
  ASSERT_EQ(r.status, 0);

  zp::GlobalRandom().SetSeed(seed);
  zp::queens::TQueensWorkbench wb;
  wb.FormCreate();
  wb.SpinEdit1Change(4);
  wb.btnRunClick("30");
  std::vector<std::string> expected = wb.Log();
  for (int i = 0; i < wb.Algorithm().Population().Count(); ++i)
    expected.push_back(wb.Algorithm().Population().Items(i).Bits().BitString());
  const auto board = wb.Board().Lines();
  expected.insert(expected.end(), board.begin(), board.end());
  EXPECT_EQ(r.out, Joined(expected));

  // Four rows of four cells; thirty generations solve four queens for some method.
  ASSERT_EQ(board.size(), 4u);
  int queens = 0;
  for (const std::string& row : board) {
    EXPECT_TRUE(std::regex_match(row, std::regex("[Q.]{4}"))) << row;
    for (char c : row) queens += c == 'Q';
  }
  EXPECT_EQ(queens, 4);
}

TEST(QueenCountOutOfRange, IsRefusedByTheOptionAndTheCommandAndChangesNothing) {
  EXPECT_EQ(RunTool({"-q", "3"}).err,
            "nqueens-ga: -q: takes a queen count from 4 to 32, not '3'\nTry 'nqueens-ga --help'.\n");
  const Result r = RunTool({"-q", "6", "-e", "queens 40; queens 3; queens 32x; show board"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "error: line 1: the queen count must be from 4 to 32, not 40\n"
            "error: line 2: the queen count must be from 4 to 32, not 3\n"
            "error: line 3: '32x' is not a valid integer value\n");
  // Still the six-queen board of -q, never initialized again.
  EXPECT_EQ(r.out.find("Number of queens is 32"), std::string::npos);
  EXPECT_NE(r.out.find("......\n......\n......\n......\n......\n......\n"), std::string::npos) << r.out;
  for (const char* n : {"4", "32"}) EXPECT_EQ(RunTool({"-q", n, "-e", std::string("queens ") + n}).status, 0) << n;
}

TEST(BestBoard, ShowBoardPrintsTheCaptionAndMarksTheAttackedQueens) {
  // Eight queens from seed 0, 100 generations: no method solves them.
  const Result r = RunTool({"--seed", "0", "-e", "run 100; show board"});
  ASSERT_EQ(r.status, 0);
  const std::regex board(
      "Best found: (Roulette|Random|Tournament|Stochastic Tournament|Elitist), fitness 2[0-7] of 28\n"
      "([.QX]{8}\n){8}$");
  EXPECT_TRUE(std::regex_search(r.out, board)) << r.out.substr(r.out.size() - 120);
  const std::string tail = r.out.substr(r.out.rfind("of 28\n"));
  EXPECT_NE(tail.find('X'), std::string::npos);
  EXPECT_EQ(std::count(tail.begin(), tail.end(), 'Q') + std::count(tail.begin(), tail.end(), 'X'), 8);
}

TEST(CliRunnerTest, CsvListsEveryPointByMethodInRunOrder) {
  const std::string path = TempFile("points.csv");
  const Result r = RunTool({"-q", "10", "-e", "run 3; csv " + path});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = Lines(ReadFile(path));
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0], "method,generation,fitness");

  // The generations each method reached, from the log.
  const auto log = Lines(r.out);
  std::vector<int> reached;
  for (const std::string& line : log)
    if (line.rfind("Number of generations:", 0) == 0) reached.push_back(std::stoi(line.substr(22)));
  ASSERT_EQ(reached.size(), 5u);

  const char* const captions[] = {"Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist"};
  size_t at = 1;
  for (size_t m = 0; m < 5; ++m)
    for (int g = 1; g <= reached[m]; ++g, ++at) {
      ASSERT_LT(at, rows.size());
      const std::string prefix = std::string(captions[m]) + "," + std::to_string(g) + ",";
      EXPECT_EQ(rows[at].rfind(prefix, 0), 0u) << rows[at] << " expected " << prefix;
    }
  EXPECT_EQ(at, rows.size());
  std::remove(path.c_str());

  // A file that cannot be written is a failing command, not a usage error.
  const Result bad = RunTool({"-e", "csv /nonexistent/dir/points.csv"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.rfind("error: ", 0), 0u);
}

TEST(CliRunnerTest, IdenticalInvocationsPrintIdenticalOutput) {
  const std::vector<std::string> args = {"-q", "6", "-e", "run 5; graph off; run 3; graph on; show board"};
  const uint32_t seed = zp::GlobalRandom().Seed();
  const Result first = RunTool(args);
  zp::GlobalRandom().SetSeed(seed);
  const Result second = RunTool(args);
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, second.out);
  EXPECT_EQ(first.err, second.err);
}

TEST(CliRunnerTest, LogEqualsTheWorkbenchLogForTheSameActions) {
  const uint32_t seed = zp::GlobalRandom().Seed();
  const Result r = RunTool({"-q", "5", "-g", "4", "-e", "run; init; run 2; queens 5; graph off; run 0"});
  ASSERT_EQ(r.status, 0) << r.err;

  zp::GlobalRandom().SetSeed(seed);
  zp::queens::TQueensWorkbench wb;
  wb.FormCreate();
  wb.SpinEdit1Change(5);
  wb.btnRunClick("4");
  wb.btnInitClick();
  wb.btnRunClick("2");
  wb.SpinEdit1Change(5);
  wb.cbGraphClick(false);
  wb.btnRunClick("0");
  EXPECT_EQ(r.out, Joined(wb.Log()));
}

// Each of the six file commands, refused: the error names the script line and
// the file (once), a refused load changes nothing, and a save afterwards works.
TEST(CliRunnerTest, ARefusedFileCommandNamesLineAndFileAndChangesNothing) {
  // A space in the folder: a file name is the rest of the line.
  const std::string dir = TempFile("file commands/");
  std::filesystem::create_directories(dir);
  const Result kinds =
      RunTool({"-q", "5", "-e",
               "save " + dir + "all.xml; save-genotype " + dir + "geno.xml; save-population " + dir + "pop.xml"});
  ASSERT_EQ(kinds.status, 0) << kinds.err;

  const std::string nowhere = dir + "no folder/x.xml";
  const std::string cannot_create = "cannot create a temporary file next to it (No such file or directory)";
  const std::string other_kind = "Interface not supported (this file holds ";
  struct Case {
    const char* command;
    std::string file, reason;
  };
  const Case cases[] = {
      {"save", nowhere, cannot_create},
      {"save-genotype", nowhere, cannot_create},
      {"save-population", nowhere, cannot_create},
      {"load", dir + "geno.xml", other_kind + "a genotype: use Load GenoType)"},
      {"load-genotype", dir + "pop.xml", other_kind + "a population: use Load Population)"},
      {"load-population", dir + "all.xml", other_kind + "a whole algorithm: use Load)"},
  };
  const std::string before = dir + "before.xml", after = dir + "after.xml";
  for (const Case& c : cases) {
    std::remove(after.c_str());
    const std::string script = "queens 6\nshow population\nsave " + before + "\n# refused:\n" + c.command + " " +
                               c.file + "\nshow population\nsave " + after + "\n";
    const Result r = RunTool({"-"}, script);
    EXPECT_EQ(r.status, 1) << c.command;
    EXPECT_EQ(r.err, "error: line 5: " + c.file + ": " + c.reason + "\n") << c.command;
    // Six queens: 24 chromosomes, shown before and after the refused command.
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), kIntroductionLines + kInitBlockLines + 2 * 24) << c.command;
    const auto first = lines.begin() + kIntroductionLines + kInitBlockLines;
    EXPECT_TRUE(std::equal(first, first + 24, first + 24)) << c.command;
    EXPECT_EQ(ReadFile(after), ReadFile(before)) << c.command;
    EXPECT_NE(ReadFile(after), "") << c.command;
  }

  // With -e the line is the ";" segment.
  const Result segment = RunTool({"-e", "init; ; load-genotype " + dir + "all.xml"});
  EXPECT_EQ(segment.err, "error: line 3: " + dir + "all.xml: " + other_kind + "a whole algorithm: use Load)\n");
  std::filesystem::remove_all(dir);
}

}  // namespace

TEST(CliRunnerTest, AScriptsUsageErrorCarriesItsLineApartFromItsMessage) {
  try {
    (void)zp::cli::ReadCommands("init\nrun 5\nfrobnicate now", '\n');
    ADD_FAILURE() << "accepted";
  } catch (const zp::cli::TUsageError& e) {
    EXPECT_EQ(e.Line(), 3);
    EXPECT_EQ(e.Message(), "unknown command 'frobnicate'");
    EXPECT_STREQ(e.what(), "line 3: unknown command 'frobnicate'");
  }
}
