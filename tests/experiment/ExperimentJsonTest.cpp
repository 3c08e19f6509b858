// experiment.json read back: strict JSON, no duplicate keys, and each
// parameter of the design checked for its type and range, every refusal
// naming the place; and what the writer does with text that is not UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "experiment/ExperimentJson.h"
#include "platform/Exceptions.h"

namespace {

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

// Line 6 holds the seed and line 10 the version, for the positions below.
constexpr const char* kDocument = R"json({"format": 3,
  "parameters": {
    "problems": ["nqueens", "jump:2"], "sizes": [8, 10],
    "repeats": 30,
    "generations": 100, "evaluations": null, "population": ["2n", "40"], "crossover": [], "mutation": ["2/L"], "inversion": [], "tournament": [], "elitist": [], "crossover-method": [],
    "seed": 7,
    "streams": "shared",
    "methods": ["smRoulette", "smElitist"], "label": "exp-1.b_2",
    "seed_function": "S xor fmix32(r xor (N << 24))",
    "version": "1.0"
  },
  "run": {"start": "2024-01-01T00:00:00Z", "end": null, "jobs": 2, "host": "h"}
}
)json";

// kDocument with the first From replaced by To.
std::string Edited(const std::string& From, const std::string& To) {
  std::string text = kDocument;
  const size_t at = text.find(From);
  EXPECT_NE(at, std::string::npos) << From;
  return at == std::string::npos ? text : text.replace(at, From.size(), To);
}

TEST(ReadExperimentJson, ReadsTheDocumentAsItsDesign) {
  const TStoredExperiment stored = ReadExperimentJson(kDocument);
  EXPECT_EQ(stored.Design.Problems, (std::vector<zp::queens::TProblemChoice>{{zp::queens::TProblemKind::pkNQueens, 0},
                                                                             {zp::queens::TProblemKind::pkJump, 2}}));
  EXPECT_EQ(stored.Design.Sizes, (std::vector<int32_t>{8, 10}));
  EXPECT_EQ(stored.Design.Repeats, 30);
  EXPECT_EQ(stored.Design.Generations, 100);
  EXPECT_EQ(stored.Design.Seed, 7u);
  EXPECT_EQ(stored.Design.Streams, zp::queens::TRandomStreams::rsShared);
  EXPECT_EQ(stored.Design.Methods,
            (std::vector<TGASelectionMethod>{TGASelectionMethod::smRoulette, TGASelectionMethod::smElitist}));
  EXPECT_EQ(stored.Design.Label, "exp-1.b_2");
  EXPECT_EQ(stored.Design.ConfigCount(), 2);
  EXPECT_EQ(stored.Design.Settings[0][0].Text, "2n");
  EXPECT_FALSE(stored.Design.Evaluations);
  EXPECT_EQ(stored.Parameters.front(), (std::pair<std::string, std::string>{"problems", "[\"nqueens\", \"jump:2\"]"}));
  // The ends of each range, and \u00e9 as the two bytes of é.
  const TStoredExperiment edge = ReadExperimentJson([] {
    std::string text = Edited("\"sizes\": [8, 10],\n    \"repeats\": 30,\n    \"generations\": 100,",
                              "\"sizes\": [1, 2147483647], \"repeats\": 1, \"generations\": 2147483647,");
    return text.replace(text.find("\"seed\": 7"), 9, "\"seed\": 4294967295");
  }());
  EXPECT_EQ(edge.Design.Sizes, (std::vector<int32_t>{1, 2147483647}));
  EXPECT_EQ(edge.Design.Generations, 2147483647);
  EXPECT_EQ(edge.Design.Seed, 4294967295u);
  const TStoredExperiment accented = ReadExperimentJson(Edited("\"1.0\"", R"("caf\u00e9")"));
  EXPECT_EQ(accented.Parameters.back().second, "\"caf\xC3\xA9\"");
}

TEST(ReadExperimentJson, RefusesEachFaultNamingWhereItIs) {
  const std::string deep = std::string(40, '[') + std::string(40, ']');
  std::string deep_path = "run.host";
  for (int i = 0; i < 30; ++i) deep_path += "[0]";
  const std::vector<std::pair<std::string, std::string>> cases{
      // Not strict JSON: the parser's position and reason.
      {Edited("\"1.0\"", R"("1\q")"),
       R"(line 10, column 19: invalid string: forbidden character after backslash; last read: '"1\q')"},
      {Edited("\"1.0\"", "\"1\t0\""),
       R"(line 10, column 18: invalid string: control character U+0009 (HT) must be escaped to \u0009 or \t; last read: '"1<U+0009>')"},
      {Edited("\"1.0\"", R"("\ud800")"),
       R"(line 10, column 23: invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF; last read: '"\ud800"')"},
      {Edited("\"seed\": 7", "\"seed\": 1.2.3"), "line 6, column 16: invalid literal; last read: '1.2.'; expected '}'"},
      {Edited("\"seed\": 7", "\"seed\": --5"),
       "line 6, column 14: invalid number; expected digit after '-'; last read: '--'"},
      {Edited("\"seed\": 7", "\"seed\": 1e"),
       "line 6, column 15: invalid number; expected '+', '-', or digit after exponent; last read: '1e,'"},
      {std::string(kDocument) + "x", "line 14, column 1: text after the document"},
      {"", "line 1, column 1: unexpected end of input; expected '[', '{', or a literal"},
      {Edited("\"seed\": 7", "\"seed\": 1e400"), "number overflow parsing '1e400'"},
      // Strict JSON that is not an experiment.
      {Edited("\"seed\": 7", "\"seed\": 7, \"seed\": 8"), R"(parameters: duplicate key "seed")"},
      {Edited("\"host\": \"h\"", "\"host\": \"h\", \"host\": \"h\""), R"(run: duplicate key "host")"},
      {Edited("\"h\"", deep), deep_path + ": nested more than 32 deep"},
      {Edited("\"seed\": 7", "\"seed\": 18446744073709551616"),
       "parameters.seed: 18446744073709551616 is out of range 0..4294967295"},
      {Edited("\"seed\": 7", "\"seed\": 4294967296"), "parameters.seed: 4294967296 is out of range 0..4294967295"},
      {Edited("\"seed\": 7", "\"seed\": -1"), "parameters.seed: -1 is out of range 0..4294967295"},
      {Edited("\"repeats\": 30", "\"repeats\": -3"), "parameters.repeats: -3 is out of range 1..2147483647"},
      {Edited("\"repeats\": 30", "\"repeats\": 0"), "parameters.repeats: 0 is out of range 1..2147483647"},
      {Edited("\"generations\": 100", "\"generations\": 2147483648"),
       "parameters.generations: 2147483648 is out of range 1..2147483647"},
      {Edited("\"seed\": 7,\n", ""), "parameters.seed: missing"},
      {Edited("\"parameters\"", "\"settings\""), "parameters: missing"},
      {Edited("\"repeats\": 30", "\"repeats\": \"30\""), R"(parameters.repeats: expected an integer, got "30")"},
      {Edited("\"repeats\": 30", "\"repeats\": 2.5"), "parameters.repeats: expected an integer, got 2.5"},
      {Edited("\"seed\": 7", "\"seed\": null"), "parameters.seed: expected an integer, got null"},
      {"[]", "expected an object, got an array"},
      {R"({"format": 3, "parameters": 1})", "parameters: expected an object, got 1"},
      // An experiment of an older format, or of one this version does not know.
      {Edited("{\"format\": 3,", "{"),
       "an experiment of format 1, written before hits and labels; this version goes on with format 3 only"},
      {Edited("\"format\": 3", "\"format\": 2"),
       "format: an experiment of format 2; this version goes on with format 3 only"},
      {Edited("\"format\": 3", "\"format\": 4"),
       "format: an experiment of format 4; this version goes on with format 3 only"},
      {Edited("\"format\": 3", "\"format\": \"3\""), R"(format: expected an integer, got "3")"},
      {Edited("\"exp-1.b_2\"", "\"a b\""),
       "parameters.label: 'a b' holds a character other than A-Z, a-z, 0-9, '.', '_' and '-'"},
      {Edited("\"exp-1.b_2\"", "7"), "parameters.label: expected a string, got 7"},
      {Edited(", \"label\": \"exp-1.b_2\"", ""), "parameters.label: missing"},
      {Edited("[8, 10]", "\"8\""), R"(parameters.sizes: expected an array, got "8")"},
      {Edited("[8, 10]", "[]"), "parameters.sizes: the list is empty"},
      {Edited("[8, 10]", "[8, 0]"), "parameters.sizes[1]: 0 is out of range 1..2147483647"},
      {Edited("[8, 10]", "[10, 8]"), "parameters.sizes[1]: 8 after 10; the sizes are distinct and ascending"},
      {Edited("[8, 10]", "[8, 8]"), "parameters.sizes[1]: 8 after 8; the sizes are distinct and ascending"},
      {Edited("\"sizes\"", "\"queens\""), "parameters.sizes: missing"},
      {Edited("\"evaluations\": null", "\"evaluations\": 5"),
       "parameters.evaluations: expected null or a string, got 5"},
      {Edited("\"evaluations\": null", "\"evaluations\": \"x\""),
       "parameters.evaluations: takes a positive integer or Kn (K times the size), not 'x'"},
      {Edited("[\"2n\", \"40\"]", "[\"2n\", \"2n\"]"), "parameters.population[1]: \"2n\" named twice"},
      {Edited("[\"2/L\"]", "[\"2/M\"]"),
       "parameters.mutation[0]: '2/M' is not a mutation probability: a number from 0 to 1, or K/L (K over the "
       "chromosome's bits)"},
      {Edited("\"tournament\": []", "\"tournament\": [3]"), "parameters.tournament[0]: expected a string, got 3"},
      {Edited(", \"elitist\": []", ""), "parameters.elitist: missing"},
      {Edited("\"jump:2\"", "\"jump:0\""),
       "parameters.problems[1]: expected one of nqueens, onemax, leadingones or jump:K, got \"jump:0\""},
      {Edited("\"jump:2\"", "\"nqueens\""), "parameters.problems[1]: \"nqueens\" named twice"},
      {Edited("[\"nqueens\", \"jump:2\"]", "[]"), "parameters.problems: the list is empty"},
      {Edited("\"shared\"", "\"Shared\""), R"(parameters.streams: expected "continued" or "shared", got "Shared")"},
      {Edited("\"smElitist\"]", "\"roulette\"]"),
       "parameters.methods[1]: expected one of smRoulette, smRandom, smTournament, smStochasticTournament, "
       "smElitist, got \"roulette\""},
      {Edited("[\"smRoulette\", \"smElitist\"]", "[\"smElitist\", \"smRoulette\"]"),
       "parameters.methods[1]: \"smRoulette\" after \"smElitist\"; the methods are distinct and in the order "
       "smRoulette, smRandom, smTournament, smStochasticTournament, smElitist"},
  };
  for (const auto& [text, message] : cases) EXPECT_THROW_MSG((void)ReadExperimentJson(text), zp::Exception, message);
}

TEST(ExperimentJson, WritesBytesThatAreNotUtf8AsReplacementCharacters) {
  TExperimentDesign design;
  design.Label = "x";
  const std::string text = ExperimentJson(design, "1.0", {"2024-01-01T00:00:00Z", "", 1, "bad\xFFhost\n"});
  const std::string host = "\"host\": \"bad\xEF\xBF\xBDhost\\n\"";  // U+FFFD, and the newline escaped
  EXPECT_NE(text.find(host), std::string::npos) << text;
  EXPECT_EQ(ReadExperimentJson(text).Design, design);
}

TEST(ReadExperimentJson, FinishedOnlyWithAnEndTime) {
  TExperimentDesign design;
  design.Label = "x";
  EXPECT_FALSE(ReadExperimentJson(ExperimentJson(design, "1.0", {"2024-01-01T00:00:00Z", "", 1, "h"})).Finished);
  EXPECT_TRUE(
      ReadExperimentJson(ExperimentJson(design, "1.0", {"2024-01-01T00:00:00Z", "2024-01-01T00:01:00Z", 1, "h"}))
          .Finished);
}

}  // namespace
