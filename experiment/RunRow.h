// One row of runs.csv: the outcome of one selection method in one repeat of a
// cell (a problem, a size and a configuration of the GA's settings), and the
// method order (the engine's method table) that every output follows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/SelectionMethods.h"
#include "engine/ZPGAConsts.h"

namespace zp::experiment {

// The methods in the order the workbench runs them (and its graph lists them).
inline constexpr std::array<ga::TGASelectionMethod, ga::kMethodCount> kMethodOrder = ga::MethodOrder();

// Position of Method in kMethodOrder; empty for a method the workbench never runs (smCustom).
constexpr std::optional<size_t> MethodRank(ga::TGASelectionMethod Method) { return ga::MethodPlace(Method); }

// What the statistics treat apart: a problem (as the options name it, "nqueens",
// "jump:3"), its size and a configuration of the GA's settings.
struct TCell {
  std::string Problem = "nqueens";
  int32_t Size = 0;
  int32_t Config = 0;
  auto operator<=>(const TCell&) const = default;
};

// The cell of a row, a trace or a table row.
template <typename T>
TCell CellOf(const T& Item) {
  return {Item.Problem, Item.Size, Item.Config};
}

// "8 queens", "OneMax, size 64", with ", configuration 2" for a configuration other than 0.
std::string CellCaption(const TCell& Cell);

struct TRunRow {
  std::string Problem = "nqueens";
  int32_t Size = 0;
  int32_t Config = 0;
  int32_t Repeat = 0;
  uint32_t Seed = 0;
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  bool Solved = false;                   // the log's verdict on the last generation
  std::optional<int32_t> HitGeneration;  // 0 for a start population holding a solution; empty if never hit
  int32_t Generations = 0;               // the log's "Number of generations"
  int64_t Evaluations = 0;               // Population x (1 + Generations): all the run scored
  int32_t Population = 0;                // not a column: Evaluations / (1 + Generations)
  double MaxFitness = 0;
  double AvgFitness = 0;
  double MinFitness = 0;
  double BestEver = 0;  // largest MaxFitness over generations 0 .. Generations
  std::string Fittest;  // the fittest individual's bit text
};

// The run's length: its hit generation, or all its generations when it never hit.
inline int32_t RunLength(const TRunRow& Row) { return Row.HitGeneration.value_or(Row.Generations); }

// The evaluations a run spent up to its hit (all of them when it never hit): Population x (1 + length).
inline int64_t SpentEvaluations(const TRunRow& Row) {
  return static_cast<int64_t>(Row.Population) * (1 + static_cast<int64_t>(RunLength(Row)));
}

// The header line of runs.csv, without the line end.
inline constexpr const char* kRunsCsvHeader =
    "problem,size,config,repeat,seed,method,solved,hit_generation,generations,evaluations,max_fitness,avg_fitness,min_"
    "fitness,"
    "best_ever,fittest";

// Row as one runs.csv line without the line end; fitness values in FormatFloat15,
// an empty hit_generation for a run that never hit.
std::string FormatRunRow(const TRunRow& Row);

}  // namespace zp::experiment
