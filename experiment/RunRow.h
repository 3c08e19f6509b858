// One row of runs.csv: the outcome of one selection method in one repeat of a
// queen count, and the method order (the engine's method table) that every output follows.
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

struct TRunRow {
  int32_t Queens = 0;
  int32_t Repeat = 0;
  uint32_t Seed = 0;
  ga::TGASelectionMethod Method = ga::TGASelectionMethod::smRoulette;
  bool Solved = false;
  int32_t Generations = 0;  // the log's "Number of generations"
  int64_t Evaluations = 0;  // population size x (1 + generations)
  double MaxFitness = 0;
  double AvgFitness = 0;
  double MinFitness = 0;
  double BestEver = 0;  // largest MaxFitness over generations 1 .. Generations
  std::string Fittest;  // the fittest individual's bit text
};

// The header line of runs.csv, without the line end.
inline constexpr const char* kRunsCsvHeader =
    "queens,repeat,seed,method,solved,generations,evaluations,max_fitness,avg_fitness,min_fitness,best_ever,fittest";

// Row as one runs.csv line without the line end; fitness values in FormatFloat15.
std::string FormatRunRow(const TRunRow& Row);

}  // namespace zp::experiment
