// What an experiment runs: problems and their sizes, repeats, generations, the
// base seed, the random streams and the methods written; the seed of each
// repeat; and the parsing of the option texts a front end is given, each error
// naming its option.
//
//   TExperimentDesign design;
//   design.Sizes = ParseSizeList("--queens", "8,10-12");   // {8, 10, 11, 12}
//   uint32_t s = RepeatSeed(design.Seed, 10, 3);            // the seed of repeat 3 of 10 queens
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/ZPGAConsts.h"
#include "workbench/ProblemCatalogue.h"
#include "workbench/QueensWorkbench.h"
#include "workbench/SettingValues.h"

namespace zp::experiment {

// A bad option text: the option ("--queens", or the file that held the options,
// "DIR/experiment.json") and what is wrong with it, apart;
// what() joins them for a command line: "--queens: 'x' is not ...", or with a
// space for a message that reads on from the option's name ("--repeats takes ...").
class TDesignError : public std::runtime_error {
 public:
  enum class TJoin { jnColon, jnSpace };
  TDesignError(std::string Option, std::string Message, TJoin Join = TJoin::jnColon)
      : std::runtime_error(Option + (Join == TJoin::jnColon ? ": " : " ") + Message),
        option_(std::move(Option)),
        message_(std::move(Message)) {}
  const std::string& Option() const noexcept { return option_; }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string option_;
  std::string message_;
};

// An evaluation budget: E, or K times the size for "Kn".
struct TEvaluationBudget {
  std::string Text;
  int64_t Value = 0;
  bool PerSize = false;
  int64_t For(int32_t Size) const { return PerSize ? Value * Size : Value; }
  bool operator==(const TEvaluationBudget&) const = default;
};

struct TExperimentDesign {
  std::vector<queens::TProblemChoice> Problems{queens::TProblemChoice{}};  // distinct, in the order given; N-Queens
  std::vector<int32_t> Sizes{8};  // ascending, distinct, each a size of every problem
  int32_t Repeats = 30;           // numbered 0 .. Repeats-1
  int32_t Generations = 100;
  uint32_t Seed = 0;
  queens::TRandomStreams Streams = queens::TRandomStreams::rsContinued;
  std::vector<ga::TGASelectionMethod> Methods;  // written ones, in the workbench's order; all five by default
  std::string Label;  // names the experiment in the IOHprofiler files; empty until a folder gives the default
  // The values each setting takes, in queens::TSettingName order; an empty list
  // keeps the derived value. Their product is the configurations.
  std::array<std::vector<queens::TSettingValue>, queens::kSettingCount> Settings;
  // The budget in evaluations instead of Generations: each configuration runs
  // floor(E / population) - 1 generations.
  std::optional<TEvaluationBudget> Evaluations;

  // Configurations: the product of the lists' lengths (1 without any).
  int32_t ConfigCount() const;
  // The place in each list of configuration Config (0 for an empty list), the last varying fastest.
  std::array<size_t, queens::kSettingCount> ConfigPlaces(int32_t Config) const;
  // The settings of Config for a problem of Size, Generations included.
  queens::TGASettings SettingsFor(int32_t Config, int32_t Size) const;
  // True when Setting takes more than one value.
  bool Varies(queens::TSettingName Setting) const { return Settings[static_cast<size_t>(Setting)].size() > 1; }

  TExperimentDesign();
  // The methods a repeat runs: the written ones with shared streams, all five with
  // continued streams (each method's numbers depend on those before it).
  std::span<const ga::TGASelectionMethod> MethodsToRun() const;
  // Rows in the whole experiment.
  int64_t RowCount() const;
  bool operator==(const TExperimentDesign&) const = default;
};

// The experiment's unit of work: one repeat of one cell: the problem (its place
// in the design's Problems), the size and the configuration.
struct TRepeatKey {
  int32_t Problem = 0;
  int32_t Size = 0;
  int32_t Config = 0;
  int32_t Repeat = 0;
  auto operator<=>(const TRepeatKey&) const = default;
};

// Repeats of a design in key order (problems as given, sizes ascending,
// configurations, then repeats), from a place in that order on. The keys are
// worked out as they are asked for, so that a list of 10^8 repeats takes no
// memory of its own.
class TRepeatList {
 public:
  TRepeatList() = default;
  explicit TRepeatList(const TExperimentDesign& Design)
      : problems_(Design.Problems.size()),
        sizes_(Design.Sizes),
        configs_(static_cast<size_t>(Design.ConfigCount())),
        repeats_(static_cast<size_t>(std::max(Design.Repeats, 1))),
        end_(Design.Repeats > 0 ? problems_ * sizes_.size() * configs_ * repeats_ : 0) {}
  size_t size() const { return end_ - first_; }
  bool empty() const { return size() == 0; }
  TRepeatKey operator[](size_t I) const {
    size_t k = first_ + I;
    const auto repeat = static_cast<int32_t>(k % repeats_);
    k /= repeats_;
    const auto config = static_cast<int32_t>(k % configs_);
    k /= configs_;
    const int32_t size = sizes_[k % sizes_.size()];
    return {static_cast<int32_t>(k / sizes_.size()), size, config, repeat};
  }
  // The keys from place I on.
  TRepeatList From(size_t I) const {
    TRepeatList rest = *this;
    rest.first_ = std::min(first_ + I, end_);
    return rest;
  }

 private:
  size_t problems_ = 0;
  std::vector<int32_t> sizes_;
  size_t configs_ = 1;
  size_t repeats_ = 1;
  size_t end_ = 0;
  size_t first_ = 0;
};

// Every repeat of Design in key order.
inline TRepeatList RepeatKeys(const TExperimentDesign& Design) { return TRepeatList(Design); }

// MurmurHash3's 32-bit finaliser, a bijection with Fmix32(0) = 0.
constexpr uint32_t Fmix32(uint32_t h) {
  h ^= h >> 16;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  h *= 0xc2b2ae35u;
  h ^= h >> 16;
  return h;
}

// The name experiment.json gives the seed functions.
inline constexpr const char* kSeedFunctionName =
    "nqueens: S for r = 0, else S xor fmix32(r xor (N << 24)); the others: "
    "S xor fmix32(r xor fmix32(0x9E3779B9 xor (funcId << 16) xor n))";

// The most repeats per cell: the seeds of one cell stay distinct below it.
inline constexpr int32_t kMaxRepeats = int32_t{1} << 24;

// The seed of repeat Repeat of Queens queens: Seed for repeat 0, else
// Seed XOR Fmix32(Repeat XOR (Queens << 24)); distinct within one queen count.
constexpr uint32_t RepeatSeed(uint32_t Seed, int32_t Queens, int32_t Repeat) {
  if (Repeat == 0) return Seed;
  return Seed ^ Fmix32(static_cast<uint32_t>(Repeat) ^ (static_cast<uint32_t>(Queens) << 24));
}

// The seed of repeat Repeat of Problem at Size: N-Queens' as above; for the
// others Seed XOR Fmix32(Repeat XOR Fmix32(0x9E3779B9 XOR (funcId << 16) XOR Size)),
// so that the problems' streams differ even where their sizes agree.
constexpr uint32_t RepeatSeed(uint32_t Seed, const queens::TProblemChoice& Problem, int32_t Size, int32_t Repeat) {
  if (Problem.Kind == queens::TProblemKind::pkNQueens) return RepeatSeed(Seed, Size, Repeat);
  const uint32_t cell =
      Fmix32(0x9E3779B9u ^ (static_cast<uint32_t>(Problem.FuncId()) << 16) ^ static_cast<uint32_t>(Size));
  return Seed ^ Fmix32(static_cast<uint32_t>(Repeat) ^ cell);
}

// The name experiment.json gives the bootstrap's seed function (config is 0 until
// an experiment sweeps settings).
inline constexpr const char* kBootstrapSeedName = "fmix32(S xor fmix32(N xor (config << 16)))";

// The seed of the ERT bootstrap of one cell (a queen count, Size, and a setting, Config) of
// an experiment with seed Seed.
constexpr uint32_t BootstrapSeed(uint32_t Seed, int32_t Size, int32_t Config = 0) {
  return Fmix32(Seed ^ Fmix32(static_cast<uint32_t>(Size) ^ (static_cast<uint32_t>(Config) << 16)));
}

// "8,10-12": sizes and ascending ranges, each a positive integer; duplicates
// dropped, sorted. TDesignError "OPTION: ..." (Option "--queens" or "--sizes")
// for an empty list, a bad size or a descending range.
std::vector<int32_t> ParseSizeList(const std::string& Option, const std::string& Text);

// "8,10-12" for --queens: ParseSizeList with each size 4..32.
std::vector<int32_t> ParseQueenList(const std::string& Text);

// "nqueens,jump:3": problems in the order given; TDesignError "--problem: ..."
// for an unknown name or a problem named twice.
std::vector<queens::TProblemChoice> ParseProblemList(const std::string& Text);

// TDesignError naming Option when a size is not one of every problem of Design,
// or Design has more repeats than kMaxRepeats ("--repeats").
void CheckSizes(const TExperimentDesign& Design, const std::string& Option);

// TDesignError naming Option (or "configuration N" in a sweep) when one generation of
// a cell would ask for more work than a loaded document may: no generation may take seconds.
void CheckGenerationWork(const TExperimentDesign& Design, const std::string& Option);

// The most configurations and rows a design may have.
inline constexpr int64_t kMaxConfigs = 1000;
inline constexpr int64_t kMaxRows = 10'000'000;

// "0.9,0.5" for --crossover and the like: values in the order given; TDesignError
// "--crossover: ..." for a bad or repeated value.
std::vector<queens::TSettingValue> ParseSettingList(queens::TSettingName Setting, const std::string& Text);

// "E" or "Kn" for --evaluations; TDesignError otherwise.
TEvaluationBudget ParseEvaluations(const std::string& Text);

// TDesignError when Design has more than kMaxConfigs configurations or kMaxRows
// rows, or an evaluation budget leaves a configuration less than one generation.
void CheckConfigurations(const TExperimentDesign& Design);

// The label a folder gives when none is asked for: its base name with every
// character outside [A-Za-z0-9._-] replaced by "_", or "experiment" when that is empty.
std::string DefaultLabel(const std::string& Folder);

// A label as --label gives it: one or more of [A-Za-z0-9._-], which every
// IOHprofiler reader takes inside its quotes; TDesignError "--label: ..." otherwise.
[[nodiscard]] std::string ParseLabel(const std::string& Text);

// A positive integer for Option ("--repeats"); TDesignError naming it otherwise.
int32_t ParsePositive(const std::string& Option, const std::string& Text);

// A seed, decimal or 0x hexadecimal, 0..4294967295; TDesignError "--seed ..." otherwise.
uint32_t ParseSeedOption(const std::string& Text);

// "continued" or "shared"; TDesignError "--streams ..." otherwise.
[[nodiscard]] queens::TRandomStreams ParseStreams(const std::string& Text);

// Method names as the log prints them or short names (roulette, random,
// tournament, stochastic, elitist), case-insensitive, comma-separated; the
// result in the workbench's order without duplicates. TDesignError "--methods ..."
// for an unknown or missing name.
[[nodiscard]] std::vector<ga::TGASelectionMethod> ParseMethodList(const std::string& Text);

}  // namespace zp::experiment
